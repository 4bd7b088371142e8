#pragma once

#include "core/export/ExportPorts.h"
#include "core/platform/SystemLog.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::export_ {

// One video export's file: the destination the user chose, the partial file beside it that takes the
// page's chunks at their offsets, and the first failure. The destination is touched only when every
// chunk was written and the page says the video is complete. Main thread.
class ExportSession : public std::enable_shared_from_this<ExportSession> {
  public:
    // A chunk message carries at most this much base64 (12 MiB of video); the page sends a few MiB.
    static constexpr std::size_t kMaxChunkText = 16 * 1024 * 1024;

    static std::shared_ptr<ExportSession> create(ExportPorts ports, platform::SystemLog& systemLog,
                                                 PageCall toPage);

    // Discards any unfinished export, then asks where to save, proposing `filename`, and checks that
    // the volume has room for `estimatedBytes` (0 or less skips the check).
    void chooseDestination(const std::string& filename, std::int64_t estimatedBytes);
    // `payload` is a decimal byte offset, ":" and the chunk's bytes in base64.
    void writeChunk(std::string_view payload);
    // Moves the complete partial file over the destination, or discards it.
    void finish();
    // Forgets the destination; closes the partial file and, if asked, deletes it.
    void reset(bool removePartial);

    ExportSession(ExportPorts ports, platform::SystemLog& systemLog, PageCall toPage);

  private:
    void destinationChosen(const std::string& path, std::int64_t estimatedBytes);
    // Discards what was prepared and tells the page the location cannot be used.
    void failPreparing();
    // Opens an empty partial file beside `path`; false when any step failed.
    bool openPartialFile(const std::string& path);
    // Decodes the base64 in blocks straight into the file, so no chunk is held twice.
    std::optional<std::string> writeDecoded(std::uint64_t offset, std::string_view base64);
    void failWriting(const std::string& cause);
    bool completeFile();
    void notifyDestination(bool ok, const std::string& message);

    ExportPorts ports_;
    platform::SystemLog& systemLog_;
    PageCall toPage_;
    std::optional<std::string> destination_;
    std::optional<std::string> partial_;
    std::unique_ptr<platform::WritableFile> file_;
    bool writeFailed_ = false;
};

} // namespace vimbo::export_
