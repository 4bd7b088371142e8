#pragma once

#include "core/platform/StorageInfo.h"

namespace vimbo::linuxdesktop {

// Free space, size texts and media types as GIO knows them.
class GioStorageInfo : public platform::StorageInfo {
  public:
    // What the user may still write: the space left to unprivileged users.
    std::optional<platform::FreeSpace> freeSpace(const std::string& folder) override;
    std::string formatSize(std::uint64_t bytes) override;
    std::optional<std::string> mediaType(const std::string& fileName) override;
};

} // namespace vimbo::linuxdesktop
