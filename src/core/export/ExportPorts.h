#pragma once

#include "core/platform/FilePanels.h"
#include "core/platform/FileStore.h"
#include "core/platform/StorageInfo.h"

#include <functional>
#include <string>

namespace vimbo::export_ {

// What an export needs of the platform: the panels, the files and the volumes.
struct ExportPorts {
    platform::FilePanels& panels;
    platform::FileStore& files;
    platform::StorageInfo& storage;
};

// Evaluates one script call in the page (export calls are sent whether or not it has loaded).
using PageCall = std::function<void(const std::string& script)>;

} // namespace vimbo::export_
