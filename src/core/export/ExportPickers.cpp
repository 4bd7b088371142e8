#include "core/export/ExportPickers.h"

#include "core/app/ScriptText.h"
#include "core/util/Base64.h"

#include <algorithm>
#include <utility>

namespace vimbo::export_ {
namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name without its extension, with no apostrophe or backslash left to end the page's quoted text.
std::string pageName(const std::string& path) {
    auto name = fileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    std::erase_if(name, [](char c) { return c == '\'' || c == '\\'; });
    return name;
}

} // namespace

std::shared_ptr<ExportPickers> ExportPickers::create(ExportPorts ports, PageCall toPage) {
    return std::make_shared<ExportPickers>(ports, std::move(toPage));
}

ExportPickers::ExportPickers(ExportPorts ports, PageCall toPage)
    : ports_(ports), toPage_(std::move(toPage)) {}

void ExportPickers::pickAudioFiles() {
    using platform::FileType;
    platform::OpenPanel panel{
        "Add Audio",
        "Add",
        true,
        {FileType::mp3Audio, FileType::waveAudio, FileType::audio, FileType::mpeg4Audio}};
    ports_.panels.chooseFilesToOpen(panel, [weak = weak_from_this()](std::vector<std::string> paths) {
        if (auto self = weak.lock()) self->addAudioFiles(paths);
    });
}

void ExportPickers::addAudioFiles(const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        auto bytes = ports_.files.read(path);
        if (!bytes) continue;
        toPage_("__exportAddFile('" + util::base64Encoded(*bytes) + "','" + pageName(path) + "')");
    }
}

void ExportPickers::pickBackground() {
    platform::OpenPanel panel{"Choose Background", "Choose", false, {platform::FileType::image}};
    ports_.panels.chooseFilesToOpen(panel, [weak = weak_from_this()](std::vector<std::string> paths) {
        auto self = weak.lock();
        if (self && !paths.empty()) self->setBackground(paths.front());
    });
}

void ExportPickers::setBackground(const std::string& path) {
    auto bytes = ports_.files.read(path);
    if (!bytes) return;
    const auto name = fileNameOf(path);
    const auto type = ports_.storage.mediaType(name).value_or("image/png");
    toPage_("__exportSetBackground(" + app::javascriptLiteral(util::base64Encoded(*bytes)) + "," +
            app::javascriptLiteral(name) + "," + app::javascriptLiteral(type) + ")");
}

} // namespace vimbo::export_
