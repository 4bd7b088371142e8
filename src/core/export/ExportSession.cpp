#include "core/export/ExportSession.h"

#include "core/app/ScriptText.h"
#include "core/util/Base64.h"
#include "core/util/WholeNumber.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <utility>

namespace vimbo::export_ {
namespace {

// Base64 decoded per write; a multiple of four, so every block but the last decodes whole.
constexpr std::size_t kBlockText = 64 * 1024;
constexpr std::string_view kWriteFailed =
    "Video writing failed. Check the available storage and try again. (";
constexpr std::string_view kUndecodable = "The video data could not be decoded.";

struct Chunk {
    std::uint64_t offset = 0;
    std::string_view base64;
};

// Offset ":" base64, or none when either part is malformed.
std::optional<Chunk> parseChunk(std::string_view payload) {
    const auto colon = payload.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto offset = util::wholeNumber<std::uint64_t>(payload.substr(0, colon));
    const auto base64 = payload.substr(colon + 1);
    if (!offset || !util::isBase64(base64)) return std::nullopt;
    return Chunk{*offset, base64};
}

} // namespace

std::shared_ptr<ExportSession> ExportSession::create(ExportPorts ports, platform::SystemLog& systemLog,
                                                     PageCall toPage) {
    return std::make_shared<ExportSession>(ports, systemLog, std::move(toPage));
}

ExportSession::ExportSession(ExportPorts ports, platform::SystemLog& systemLog, PageCall toPage)
    : ports_(ports), systemLog_(systemLog), toPage_(std::move(toPage)) {}

void ExportSession::chooseDestination(const std::string& filename, std::int64_t estimatedBytes) {
    reset(true);
    platform::SavePanel panel{"Save Video", "Save", filename, platform::FileType::mpeg4Movie};
    ports_.panels.chooseFileToSave(panel, [weak = weak_from_this(), estimatedBytes](auto path) {
        auto self = weak.lock();
        if (!self) return;
        if (path)
            self->destinationChosen(*path, estimatedBytes);
        else
            self->notifyDestination(false, "");
    });
}

void ExportSession::destinationChosen(const std::string& path, std::int64_t estimatedBytes) {
    // Two save panels can be open at once; the later answer replaces what the first prepared.
    reset(true);
    if (estimatedBytes >= 1) {
        // Save panels give absolute paths, so the folder is never empty.
        const auto space = ports_.storage.freeSpace(std::filesystem::path(path).parent_path().string());
        if (!space) return failPreparing();
        const auto needed = static_cast<std::uint64_t>(estimatedBytes);
        if (space->known && space->bytes < needed) {
            notifyDestination(false, "Not enough storage. This export needs about " +
                                         ports_.storage.formatSize(needed) + ", but " +
                                         ports_.storage.formatSize(space->bytes) + " is available.");
            return;
        }
    }
    if (!openPartialFile(path)) return failPreparing();
    notifyDestination(true, "");
}

bool ExportSession::openPartialFile(const std::string& path) {
    // A partial file left by an earlier run goes first, whatever it holds.
    const auto partial = path + ".partial";
    if (!ports_.files.remove(partial)) return false;
    auto file = ports_.files.create(partial);
    if (!file) return false;
    destination_ = path;
    partial_ = partial;
    file_ = std::move(file);
    return true;
}

void ExportSession::failPreparing() {
    reset(true);
    notifyDestination(false, "Couldn’t prepare the selected save location.");
}

void ExportSession::writeChunk(std::string_view payload) {
    if (!destination_ || writeFailed_) return;
    if (payload.size() > kMaxChunkText) {
        systemLog_.warn("Vimbo export refused a chunk of " + std::to_string(payload.size()) +
                        " characters; the most is " + std::to_string(kMaxChunkText));
        return failWriting(std::string(kUndecodable));
    }
    const auto chunk = parseChunk(payload);
    if (!chunk || !file_) return failWriting(std::string(kUndecodable));
    if (auto error = writeDecoded(chunk->offset, chunk->base64)) failWriting(*error);
}

std::optional<std::string> ExportSession::writeDecoded(std::uint64_t offset, std::string_view base64) {
    std::array<char, kBlockText / 4 * 3> block;
    for (std::size_t at = 0; at < base64.size(); at += kBlockText) {
        const auto count = util::decodeBase64(base64.substr(at, kBlockText), block.data());
        if (auto error = file_->writeAt(offset, {block.data(), count})) return error;
        offset += count;
    }
    return std::nullopt;
}

void ExportSession::failWriting(const std::string& cause) {
    writeFailed_ = true;
    toPage_("__exportWriteFailed(" + app::javascriptLiteral(std::string(kWriteFailed) + cause + ")") + ")");
}

void ExportSession::finish() {
    if (completeFile()) {
        toPage_("__exportSaved(true)");
        return;
    }
    reset(true);
    toPage_("__exportSaved(false)");
}

bool ExportSession::completeFile() {
    if (!destination_ || !partial_ || !file_ || writeFailed_) return false;
    auto error = file_->syncAndClose();
    file_.reset();
    // Renaming replaces an existing destination in one step: it is never missing or half written.
    if (!error) error = ports_.files.replace(*partial_, *destination_);
    if (error) {
        systemLog_.warn("Vimbo export could not be saved: " + *error);
        return false;
    }
    destination_.reset();
    partial_.reset();
    writeFailed_ = false;
    return true;
}

void ExportSession::reset(bool removePartial) {
    file_.reset();
    if (removePartial && partial_) ports_.files.remove(*partial_);
    destination_.reset();
    partial_.reset();
    writeFailed_ = false;
}

void ExportSession::notifyDestination(bool ok, const std::string& message) {
    toPage_(std::string("__exportDestination(") + (ok ? "true" : "false") + "," +
            app::javascriptLiteral(message) + ")");
}

} // namespace vimbo::export_
