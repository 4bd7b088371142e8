#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbo::platform {

// The room left on a volume for the user's files.
struct FreeSpace {
    bool known = false; // false when the volume does not tell
    std::uint64_t bytes = 0;
};

// What the desktop knows about volumes and kinds of file. Main thread.
class StorageInfo {
  public:
    virtual ~StorageInfo() = default;

    // The volume holding `folder`; none when it could not be read.
    virtual std::optional<FreeSpace> freeSpace(const std::string& folder) = 0;
    // A byte count as the desktop shows file sizes, in decimal units ("1.0 MB").
    virtual std::string formatSize(std::uint64_t bytes) = 0;
    // The media type the desktop associates with the file name's extension; none when unknown.
    virtual std::optional<std::string> mediaType(const std::string& fileName) = 0;
};

} // namespace vimbo::platform
