// vimbo-icon: the tray icon's three skins as the running application draws them, for a feature
// stream, written as PNG pictures.
#include "core/menubar/MenuBarController.h"
#include "linux/CairoCanvas.h"
#include "tools/icon/FeatureStream.h"
#include "tools/icon/IconOptions.h"

#include <cairo.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

namespace {

using vimbo::menubar::MenuBarSkin;
using vimbo::platform::CanvasColor;

constexpr int kBadInput = 2;

int fail(const std::string& message) {
    std::fprintf(stderr, "vimbo-icon: %s\n", message.c_str());
    return kBadInput;
}

// The status area of one offline controller: keeps the latest image it was given.
class CapturingStatusBar : public vimbo::platform::StatusBar {
  public:
    std::unique_ptr<vimbo::platform::StatusItem> makeStatusItem(const std::string&,
                                                                vimbo::platform::StatusItemEvents) override {
        return std::make_unique<Item>(latest);
    }
    std::optional<vimbo::platform::TemplateImage> latest;

  private:
    class Item : public vimbo::platform::StatusItem {
      public:
        explicit Item(std::optional<vimbo::platform::TemplateImage>& latest) : latest_(latest) {}
        void setImage(const vimbo::platform::TemplateImage& image) override { latest_ = image; }
        void setMenu(const std::vector<vimbo::platform::StatusMenuItem>&) override {}
        bool isShown() const override { return true; }

      private:
        std::optional<vimbo::platform::TemplateImage>& latest_;
    };
};

// Preferences that live only as long as the run: the user's own are never touched.
class ScratchDefaults : public vimbo::platform::DefaultsStore {
  public:
    std::optional<vimbo::platform::DefaultsType> typeOf(std::string_view key) const override {
        return strings_.count(std::string(key))    ? std::optional(vimbo::platform::DefaultsType::string)
               : booleans_.count(std::string(key)) ? std::optional(vimbo::platform::DefaultsType::boolean)
                                                   : std::nullopt;
    }
    std::optional<bool> readBool(std::string_view key) const override { return find(booleans_, key); }
    std::optional<double> readDouble(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> readString(std::string_view key) const override { return find(strings_, key); }
    std::optional<vimbo::platform::DefaultsDate> readDate(std::string_view) const override {
        return std::nullopt;
    }
    void writeBool(std::string_view key, bool value) override { booleans_[std::string(key)] = value; }
    void writeDouble(std::string_view, double) override {}
    void writeString(std::string_view key, std::string_view value) override {
        strings_[std::string(key)] = std::string(value);
    }
    void writeDate(std::string_view, vimbo::platform::DefaultsDate) override {}
    void remove(std::string_view key) override {
        booleans_.erase(std::string(key));
        strings_.erase(std::string(key));
    }

  private:
    template <class T>
    static std::optional<T> find(const std::map<std::string, T>& values, std::string_view key) {
        auto it = values.find(std::string(key));
        return it == values.end() ? std::nullopt : std::optional<T>(it->second);
    }
    std::map<std::string, bool> booleans_;
    std::map<std::string, std::string> strings_;
};

// The skin's image after the stream up to `at` seconds (every frame when absent).
vimbo::platform::TemplateImage
animate(MenuBarSkin skin, const std::vector<vimbo::audio::AudioFeatures>& frames, std::optional<double> at) {
    ScratchDefaults defaults;
    defaults.writeString("menuBarSkin", vimbo::menubar::rawValue(skin));
    CapturingStatusBar statusBar;
    vimbo::menubar::MenuBarController controller({}, defaults, statusBar);
    for (std::size_t k = 0; k < frames.size(); ++k) {
        double now = static_cast<double>(k + 1) / 60.0;
        if (at && now > *at + 1e-9) break;
        controller.update(frames[k], now);
    }
    return *statusBar.latest;
}

// Named as users know the skin ("dandelion.png"), whatever name its preference stores.
std::string fileName(MenuBarSkin skin) {
    std::string name(vimbo::menubar::menuTitle(skin));
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name + ".png";
}

bool writeSheet(const std::string& path, const std::vector<vimbo::platform::TemplateImage>& images,
                int scale) {
    const int icon = 18 * scale;
    const int pad = 7 * scale;
    const int cell = icon + 2 * pad;
    const int columns = static_cast<int>(images.size());
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cell * columns, cell * 2);
    cairo_t* cr = cairo_create(sheet);
    struct Panel {
        CanvasColor background;
        CanvasColor tint;
    };
    const Panel panels[] = {{{0.93, 0.93, 0.93, 1}, {0, 0, 0, 1}}, {{0.17, 0.17, 0.18, 1}, {1, 1, 1, 1}}};
    for (int row = 0; row < 2; ++row) {
        const Panel& panel = panels[row];
        cairo_set_source_rgb(cr, panel.background.red, panel.background.green, panel.background.blue);
        cairo_rectangle(cr, 0, row * cell, cell * columns, cell);
        cairo_fill(cr);
        for (int column = 0; column < columns; ++column) {
            vimbo::linuxdesktop::CairoCanvas canvas(18, 18, scale, panel.tint);
            canvas.render(images[static_cast<std::size_t>(column)]);
            cairo_set_source_surface(cr, canvas.surface(), column * cell + pad, row * cell + pad);
            cairo_paint(cr);
        }
    }
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(sheet, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return written;
}

} // namespace

int main(int argc, char** argv) {
    auto parsed = vimbo::tools::parseIconOptions(
        std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    if (auto* error = std::get_if<vimbo::tools::IconOptionError>(&parsed))
        return fail(error->message + " (see --help)");
    const auto& options = std::get<vimbo::tools::IconOptions>(parsed);
    if (options.help) {
        std::fputs(vimbo::tools::kIconUsage, stdout);
        return 0;
    }

    std::vector<vimbo::audio::AudioFeatures> frames;
    if (options.features.empty()) {
        frames = vimbo::tools::syntheticFeatureStream();
    } else {
        std::ifstream file;
        if (options.features != "-") {
            file.open(options.features);
            if (!file) return fail("cannot read " + options.features);
        }
        auto stream = vimbo::tools::readFeatureStream(options.features == "-" ? std::cin : file);
        if (auto* error = std::get_if<vimbo::tools::FeatureStreamError>(&stream))
            return fail(options.features + ": " + error->message);
        frames = std::move(std::get<std::vector<vimbo::audio::AudioFeatures>>(stream));
    }

    std::vector<vimbo::platform::TemplateImage> images;
    for (MenuBarSkin skin : vimbo::menubar::kAllMenuBarSkins) {
        images.push_back(animate(skin, frames, options.at));
        vimbo::linuxdesktop::CairoCanvas canvas(18, 18, options.scale, CanvasColor::black(1));
        canvas.render(images.back());
        std::string path = options.outputDirectory + "/" + fileName(skin);
        if (!canvas.writePng(path)) {
            std::fprintf(stderr, "vimbo-icon: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (!options.sheet.empty() && !writeSheet(options.sheet, images, options.scale)) {
        std::fprintf(stderr, "vimbo-icon: cannot write %s\n", options.sheet.c_str());
        return 1;
    }
    return 0;
}
