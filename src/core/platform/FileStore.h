#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::platform {

// A file open for writing; destroying it closes it, errors ignored. Main thread.
class WritableFile {
  public:
    virtual ~WritableFile() = default;

    // Writes all of `bytes` at `offset`; the error's description when that failed.
    virtual std::optional<std::string> writeAt(std::uint64_t offset, std::string_view bytes) = 0;
    // Flushes the file's data to storage and closes it; the error's description when that failed.
    virtual std::optional<std::string> syncAndClose() = 0;
};

// Local files by path. Main thread.
class FileStore {
  public:
    virtual ~FileStore() = default;

    // The whole file; none when it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Deletes the file; true when no file is left at `path` (also when there was none).
    virtual bool remove(const std::string& path) = 0;
    // A new empty file at `path`, open for writing; none when it cannot be made or a file is there.
    virtual std::unique_ptr<WritableFile> create(const std::string& path) = 0;
    // Moves `from` to `to`, replacing any file there in one step; the error's description on failure.
    virtual std::optional<std::string> replace(const std::string& from, const std::string& to) = 0;
};

} // namespace vimbo::platform
