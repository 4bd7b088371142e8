#pragma once

#include "core/platform/FileStore.h"

namespace vimbo::linuxdesktop {

// Local files through POSIX calls; error descriptions are the system's texts for errno.
class PosixFileStore : public platform::FileStore {
  public:
    std::optional<std::string> read(const std::string& path) override;
    bool remove(const std::string& path) override;
    // Never opens an existing file, so nothing planted at the path (a link) is written through.
    std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
    std::optional<std::string> replace(const std::string& from, const std::string& to) override;
};

} // namespace vimbo::linuxdesktop
