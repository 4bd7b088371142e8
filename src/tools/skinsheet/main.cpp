// vimbo-skinsheet: the page's skins as the program's window shows them after a feature stream, on one
// labelled contact sheet. Loads web/index.html in an offscreen WebKit view, replays the stream at 60
// frames a second on a clock of its own, and photographs every skin.
#include "core/app/FeatureScript.h"
#include "core/menus/MenuLayout.h"
#include "linux/GLibOwners.h"
#include "linux/ResourceDirectory.h"
#include "tools/icon/FeatureStream.h"

#include <cairo.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace {

using vimbo::audio::AudioFeatures;
using vimbo::linuxdesktop::GErrorOut;
using vimbo::linuxdesktop::GErrorPtr;
using vimbo::linuxdesktop::GText;

constexpr int kBadInput = 2;
constexpr int kColumns = 4;
constexpr int kGap = 8;    // between cells and around the sheet
constexpr int kLabel = 30; // the band under each cell that holds the skin's name
constexpr guint kStepSeconds = 120;

const char* const kUsage =
    "usage: vimbo-skinsheet [options] --sheet FILE FEATURES\n"
    "Shows every skin of the page (web/index.html) as the program's window would after the given\n"
    "feature stream, and writes them side by side, four to a row, with their names, to a PNG file.\n"
    "Needs a display (under none, run it in xvfb-run -a).\n"
    "  FEATURES       feature lines as vimbo-analyze prints them, one per 1/60 s (\"-\": standard input)\n"
    "  --sheet FILE   the picture to write\n"
    "  --at SECONDS   stop the stream at this time instead of its end\n"
    "  --cell WxH     size of one skin's picture in pixels, each 64 to 2048 (default 640x400)\n"
    "  --light        a second set of rows in the light appearance\n"
    "  --page FILE    another index.html (default: the program's own page)\n"
    "  --help         this text\n"
    "Exit status: 0 on success; 2 for a bad option, stream or page; 1 when drawing failed.\n";

struct Options {
    std::string features; // feature lines file, "-" for standard input
    std::string sheet;
    std::string page;         // empty: the program's own page
    std::optional<double> at; // seconds into the stream; all of it when absent
    int width = 640;
    int height = 400;
    bool light = false;
    bool help = false;
};

int fail(const std::string& message, int status = kBadInput) {
    std::fprintf(stderr, "vimbo-skinsheet: %s\n", message.c_str());
    return status;
}

std::optional<double> number(const char* text) {
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "WIDTHxHEIGHT" into the options, false when it is not that or out of range.
bool readCell(const char* text, Options& options) {
    int width = 0, height = 0;
    char end = '\0';
    if (std::sscanf(text, "%dx%d%c", &width, &height, &end) != 2) return false;
    if (width < 64 || width > 2048 || height < 64 || height > 2048) return false;
    options.width = width;
    options.height = height;
    return true;
}

std::variant<Options, std::string> parseOptions(std::span<const char* const> arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string argument = arguments[i];
        const char* value = i + 1 < arguments.size() ? arguments[i + 1] : nullptr;
        const bool takesValue =
            argument == "--sheet" || argument == "--at" || argument == "--cell" || argument == "--page";
        if (takesValue && !value) return argument + " needs a value";
        if (takesValue) ++i;
        if (argument == "--help") {
            options.help = true;
        } else if (argument == "--light") {
            options.light = true;
        } else if (argument == "--sheet") {
            options.sheet = value;
        } else if (argument == "--page") {
            options.page = value;
        } else if (argument == "--at") {
            options.at = number(value);
            if (!options.at || *options.at < 0) return std::string("--at needs a time in seconds, 0 or more");
        } else if (argument == "--cell") {
            if (!readCell(value, options)) return std::string("--cell needs WIDTHxHEIGHT, each 64 to 2048");
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option " + argument;
        } else if (!options.features.empty()) {
            return std::string("only one feature stream can be given");
        } else {
            options.features = argument;
        }
    }
    if (!options.help && (options.features.empty() || options.sheet.empty()))
        return std::string("a feature stream and --sheet FILE are needed");
    return options;
}

// The frames up to --at, or the reason there are none to show.
std::variant<std::vector<AudioFeatures>, std::string> readFrames(const Options& options) {
    std::ifstream file;
    if (options.features != "-") {
        file.open(options.features);
        if (!file) return "cannot read " + options.features;
    }
    auto stream = vimbo::tools::readFeatureStream(options.features == "-" ? std::cin : file);
    if (auto* error = std::get_if<vimbo::tools::FeatureStreamError>(&stream))
        return options.features + ": " + error->message;
    auto frames = std::move(std::get<std::vector<AudioFeatures>>(stream));
    if (options.at) {
        const double shown = std::min(static_cast<double>(frames.size()), *options.at * 60 + 1e-6);
        frames.resize(static_cast<std::size_t>(shown));
    }
    if (frames.empty()) return options.features + ": no feature line to show";
    return frames;
}

// Runs before the page's own scripts. The page animates on a clock this tool advances one 60 Hz frame
// at a time, with a fixed random sequence and no stored settings, so a picture depends only on the
// stream: never on how fast the machine draws, on earlier cells or on the user's choices.
constexpr const char* kFixedClock = R"js(
(() => {
    localStorage.clear();
    const due = [];
    window.requestAnimationFrame = (callback) => due.push(callback);
    let seed = 1;
    Math.random = () => {
        seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0;
        return seed / 4294967296;
    };
    let frame = 0;
    window.__sheetFrame = () => {
        frame += 1;
        for (const callback of due.splice(0)) callback((frame * 1000) / 60);
    };
})();
)js";

// The settings button fades out after three idle seconds in the program, and the skin's name after
// a switch in one; the pictures show the skin alone (the sheet names it).
constexpr const char* kHideChrome = ".chrome-control, #skinToast { visibility: hidden !important; }";

struct SurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;

// One offscreen page view. Each step (load, script, snapshot) runs the main loop until WebKit answers.
class PageCamera {
  public:
    PageCamera(int width, int height);
    ~PageCamera() { gtk_widget_destroy(window_); }
    PageCamera(const PageCamera&) = delete;
    PageCamera& operator=(const PageCamera&) = delete;

    // The page loaded afresh from `url` after `script`; the error text when a step failed.
    std::variant<Surface, std::string> shoot(const std::string& url, const std::string& script);

  private:
    std::optional<std::string> wait(const char* step);
    static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer self);
    static void onTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self);
    static void onEvaluated(GObject* web, GAsyncResult* result, gpointer self);
    static void onSnapshot(GObject* web, GAsyncResult* result, gpointer self);
    void finish(std::optional<std::string> error);

    GtkWidget* window_;
    WebKitWebView* web_;
    bool done_ = false;
    std::optional<std::string> error_;
    Surface snapshot_;
};

PageCamera::PageCamera(int width, int height) : window_(gtk_offscreen_window_new()) {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    webkit_user_content_manager_add_script(
        content, webkit_user_script_new(kFixedClock, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));
    webkit_user_content_manager_add_style_sheet(
        content, webkit_user_style_sheet_new(kHideChrome, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                             WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr));
    // Ephemeral: the page's storage and WebKit's caches live in memory only, so nothing of the user's is
    // read or written.
    WebKitWebContext* context = webkit_web_context_new_ephemeral();
    web_ = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "user-content-manager", content, nullptr));
    g_object_unref(context);
    g_object_unref(content);
    // Drawn on the CPU everywhere, so that a GPU does not change the picture.
    webkit_settings_set_hardware_acceleration_policy(webkit_web_view_get_settings(web_),
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    g_signal_connect(web_, "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(web_, "load-failed", G_CALLBACK(onLoadFailed), this);
    g_signal_connect(web_, "web-process-terminated", G_CALLBACK(onTerminated), this);
    gtk_widget_set_size_request(GTK_WIDGET(web_), width, height);
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(web_));
    gtk_widget_show_all(window_);
}

std::variant<Surface, std::string> PageCamera::shoot(const std::string& url, const std::string& script) {
    webkit_web_view_load_uri(web_, url.c_str());
    if (auto error = wait("loading the page")) return *error;
    webkit_web_view_evaluate_javascript(web_, script.c_str(), static_cast<gssize>(script.size()), nullptr,
                                        nullptr, nullptr, onEvaluated, this);
    if (auto error = wait("replaying the stream")) return *error;
    webkit_web_view_get_snapshot(web_, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
                                 onSnapshot, this);
    if (auto error = wait("taking the picture")) return *error;
    return std::move(snapshot_);
}

std::optional<std::string> PageCamera::wait(const char* step) {
    done_ = false;
    error_.reset();
    bool expired = false;
    guint timer = g_timeout_add_seconds(
        kStepSeconds,
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    while (!done_ && !expired)
        g_main_context_iteration(nullptr, TRUE);
    if (!expired) g_source_remove(timer);
    if (!done_) return std::string(step) + " took longer than " + std::to_string(kStepSeconds) + " s";
    return error_ ? std::optional(std::string(step) + ": " + *error_) : std::nullopt;
}

void PageCamera::finish(std::optional<std::string> error) {
    if (!error_) error_ = std::move(error);
    done_ = true;
}

void PageCamera::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    if (event == WEBKIT_LOAD_FINISHED) static_cast<PageCamera*>(self)->finish(std::nullopt);
}

gboolean PageCamera::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer self) {
    // Load finished follows and ends the wait; keep the reason.
    static_cast<PageCamera*>(self)->error_ = error->message;
    return FALSE;
}

void PageCamera::onTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self) {
    static_cast<PageCamera*>(self)->finish("WebKit's web process ended");
}

void PageCamera::onEvaluated(GObject* web, GAsyncResult* result, gpointer self) {
    GErrorPtr error;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(web), result, GErrorOut(error));
    if (value) g_object_unref(value);
    static_cast<PageCamera*>(self)->finish(error ? std::optional<std::string>(error->message) : std::nullopt);
}

void PageCamera::onSnapshot(GObject* web, GAsyncResult* result, gpointer self) {
    auto* camera = static_cast<PageCamera*>(self);
    GErrorPtr error;
    camera->snapshot_.reset(
        webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(web), result, GErrorOut(error)));
    camera->finish(error ? std::optional<std::string>(error->message) : std::nullopt);
}

// The skin chosen as from the program's menu, the appearance set, then the stream frame by frame, in
// the very calls the program makes each tick.
std::string replayScript(std::int64_t skin, bool light, const std::vector<AudioFeatures>& frames) {
    std::string script = "__menuSelectSkin(" + std::to_string(skin) + ");";
    if (light) script += "__menuToggleDisplay(\"dark\");";
    for (const AudioFeatures& features : frames)
        script += vimbo::app::featureScript(features) + ";__sheetFrame();";
    return script;
}

void drawLabel(cairo_t* cr, const std::string& name, double centreX, double baseline) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 16);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, name.c_str(), &extents);
    cairo_set_source_rgb(cr, 0.91, 0.93, 0.95);
    cairo_move_to(cr, centreX - extents.width / 2 - extents.x_bearing, baseline);
    cairo_show_text(cr, name.c_str());
}

// Cells in reading order, four to a row, each skin's name under its picture, on the page's dark ink.
bool writeSheet(const std::string& path, const std::vector<Surface>& cells,
                const std::vector<std::string>& names, int width, int height) {
    const int rows = static_cast<int>((cells.size() + kColumns - 1) / kColumns);
    const int pitchX = width + kGap, pitchY = height + kLabel + kGap;
    Surface sheet(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kColumns * pitchX + kGap, rows * pitchY + kGap));
    cairo_t* cr = cairo_create(sheet.get());
    cairo_set_source_rgb(cr, 0.06, 0.065, 0.08);
    cairo_paint(cr);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int x = kGap + static_cast<int>(i % kColumns) * pitchX;
        const int y = kGap + static_cast<int>(i / kColumns) * pitchY;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, width, height);
        cairo_clip(cr);
        cairo_set_source_surface(cr, cells[i].get(), x, y);
        cairo_paint(cr);
        cairo_restore(cr);
        drawLabel(cr, names[i % names.size()], x + width / 2.0, y + height + kLabel - 9);
    }
    cairo_destroy(cr);
    return cairo_surface_write_to_png(sheet.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::optional<std::string> pagePath(const Options& options) {
    if (!options.page.empty()) return options.page;
    auto directory = vimbo::linuxdesktop::resourceDirectory();
    return directory ? std::optional(*directory + "/web/index.html") : std::nullopt;
}

int drawSheet(const Options& options, const std::vector<AudioFeatures>& frames, const std::string& page) {
    GErrorPtr error;
    GText url(g_filename_to_uri(page.c_str(), nullptr, GErrorOut(error)));
    if (!url) return fail(page + ": " + error->message);
    PageCamera camera(options.width, options.height);
    std::vector<Surface> cells;
    std::vector<std::string> names;
    for (bool light : {false, true}) {
        if (light && !options.light) break;
        for (const auto& skin : vimbo::menus::MenuLayout::skins()) {
            auto shot = camera.shoot(url.get(), replayScript(skin.id, light, frames));
            if (auto* failure = std::get_if<std::string>(&shot)) return fail(skin.name + ": " + *failure, 1);
            cells.push_back(std::move(std::get<Surface>(shot)));
            if (!light) names.push_back(skin.name);
        }
    }
    if (!writeSheet(options.sheet, cells, names, options.width, options.height))
        return fail("cannot write " + options.sheet, 1);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    auto parsed = parseOptions(
        std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    if (auto* error = std::get_if<std::string>(&parsed)) return fail(*error + " (see --help)");
    const auto& options = std::get<Options>(parsed);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    auto frames = readFrames(options);
    if (auto* error = std::get_if<std::string>(&frames)) return fail(*error);
    auto page = pagePath(options);
    if (!page || !g_file_test(page->c_str(), G_FILE_TEST_IS_REGULAR))
        return fail("cannot find the page " + page.value_or("web/index.html"));
    if (!gtk_init_check(nullptr, nullptr)) return fail("cannot open a display (run it in xvfb-run -a)", 1);
    return drawSheet(options, std::get<std::vector<AudioFeatures>>(frames), *page);
}
