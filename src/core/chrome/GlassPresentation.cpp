#include "core/chrome/GlassPresentation.h"

#include <string>

namespace vimbo::chrome {

GlassPresentation::GlassPresentation(platform::DefaultsStore& defaults, platform::SystemLog& systemLog,
                                     platform::MainQueue& mainQueue)
    : preferenceStore_(defaults), systemLog_(systemLog), mainQueue_(mainQueue) {}

void GlassPresentation::load(bool appearanceDark) {
    enabled_ = preferenceStore_.load();
    appearanceDark_ = appearanceDark;
    surfaceGlass_ = effective();
}

void GlassPresentation::attach(platform::ChromeWindows& windows) {
    windows_ = &windows;
    applySurface(surfaceGlass_);
}

void GlassPresentation::setEnabled(bool enabled, platform::PageHost* readyPage) {
    mainThread_.check();
    enabled_ = enabled;
    preferenceStore_.save(enabled);
    synchronize(readyPage);
}

void GlassPresentation::setExportMode(bool exportMode, platform::PageHost* readyPage) {
    setSuppressed(exportMode_, exportMode, readyPage);
}

void GlassPresentation::setFullScreen(bool fullScreen, platform::PageHost* readyPage) {
    setSuppressed(fullScreen_, fullScreen, readyPage);
}

void GlassPresentation::setSuppressed(bool& suppressor, bool suppressed, platform::PageHost* readyPage) {
    mainThread_.check();
    if (suppressed == suppressor) return;
    suppressor = suppressed;
    synchronize(readyPage);
}

void GlassPresentation::setAppearanceDark(bool dark) {
    mainThread_.check();
    appearanceDark_ = dark;
    applySurface(effective());
}

void GlassPresentation::applySurface(bool glass) {
    surfaceGlass_ = glass;
    if (windows_) windows_->setGlass(glass, appearanceDark_);
}

void GlassPresentation::synchronize(platform::PageHost* readyPage) {
    mainThread_.check();
    bool want = effective();
    if (want || !readyPage) applySurface(want);
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
                                if (later && !later->effective()) later->applySurface(false);
                            });
                        });
}

} // namespace vimbo::chrome
