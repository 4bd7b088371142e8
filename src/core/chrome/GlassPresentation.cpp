#include "core/chrome/GlassPresentation.h"

#include <string>

namespace vimbo::chrome {

GlassPresentation::GlassPresentation(platform::DefaultsStore& defaults, platform::SystemLog& systemLog,
                                     platform::MainQueue& mainQueue)
    : preferenceStore_(defaults), systemLog_(systemLog), mainQueue_(mainQueue) {}

void GlassPresentation::load() {
    enabled_ = preferenceStore_.load();
    surfaceGlass_ = effective();
}

void GlassPresentation::setEnabled(bool enabled, platform::PageHost* readyPage) {
    mainThread_.check();
    enabled_ = enabled;
    preferenceStore_.save(enabled);
    synchronize(readyPage);
}

void GlassPresentation::setExportMode(bool exportMode, platform::PageHost* readyPage) {
    mainThread_.check();
    if (exportMode == exportMode_) return;
    exportMode_ = exportMode;
    synchronize(readyPage);
}

void GlassPresentation::setAppearanceDark(bool dark) {
    mainThread_.check();
    appearanceDark_ = dark;
    surfaceGlass_ = effective();
}

void GlassPresentation::synchronize(platform::PageHost* readyPage) {
    mainThread_.check();
    bool want = effective();
    if (want || !readyPage) surfaceGlass_ = want;
    if (!readyPage) return;
    readyPage->evaluate(std::string("window.__glass(") + (want ? "true" : "false") + ")",
                        [weak = weak_from_this(), want](const std::optional<std::string>& error) {
                            auto self = weak.lock();
                            if (!self) return;
                            if (error) self->systemLog_.write("Vimbo Glass state push failed: " + *error);
                            if (want) return;
                            // Switched back on meanwhile: the surface keeps its glass.
                            self->mainQueue_.post([weak] {
                                auto later = weak.lock();
                                if (later && !later->effective()) later->surfaceGlass_ = false;
                            });
                        });
}

} // namespace vimbo::chrome
