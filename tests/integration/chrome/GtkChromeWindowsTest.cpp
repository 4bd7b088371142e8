// The borderless windows against a real X server, window manager and compositor: what the user does
// with the mouse (xdotool) and what the window manager sees (xprop).
#include "linux/GtkChromeWindows.h"
#include "core/chrome/TitleBarLayout.h"
#include "integration/support/MainLoop.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
// After gtest: X11 defines None as a macro.
#include <gdk/gdkx.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace vimbo;
using platform::ChromeWindow;
using vimbo::testing::runUntil;

namespace {

// A helper program (the window manager, the compositor) running for as long as this lives.
struct Helper {
    explicit Helper(std::vector<const char*> argv) {
        argv.push_back(nullptr);
        g_spawn_async(nullptr, const_cast<char**>(argv.data()), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                      nullptr, &pid, nullptr);
    }
    ~Helper() {
        if (pid > 0) kill(pid, SIGTERM);
    }
    GPid pid = 0;
};

std::string run(const std::string& command) {
    g_autofree gchar* out = nullptr;
    g_spawn_command_line_sync(command.c_str(), &out, nullptr, nullptr, nullptr);
    return out ? out : "";
}

void act(const std::string& line) {
    ASSERT_TRUE(vimbo::testing::runCommand(line));
}

struct RecordingListener : platform::ChromeWindowsListener {
    std::vector<bool> fullScreen;
    std::vector<platform::Rect> miniFrames;
    int miniCloses = 0;
    int miniLightClicks = 0;
    void fullScreenChanged(bool on) override { fullScreen.push_back(on); }
    void miniFrameChanged(const platform::Rect& frame) override { miniFrames.push_back(frame); }
    void miniCloseRequested() override { ++miniCloses; }
    void miniLightClicked() override { ++miniLightClicks; }
    void activityChanged() override {}
};

// Counts the page's clicks in its title, so a reload (the count starting again) shows; tall enough to scroll.
constexpr const char* kPage =
    "<body style='margin:0;height:300vh;background:transparent'><script>let n = 0;"
    "onclick = e => document.title = 'clicks ' + (++n) + ' at ' + e.clientX + ',' + e.clientY;"
    "onscroll = () => document.title = 'clicks ' + n + ' scrolled';</script>";

} // namespace

class GtkChromeWindowsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        windowManager = new Helper({"openbox", "--sm-disable"});
        ASSERT_TRUE(runUntil(
            [] { return run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos; },
            30));
        app = gtk_application_new("org.vimbo.ChromeWindowsTest", G_APPLICATION_NON_UNIQUE);
        ASSERT_TRUE(g_application_register(G_APPLICATION(app), nullptr, nullptr));
        webView = webkit_web_view_new();
        GdkRGBA clear{0, 0, 0, 0};
        webkit_web_view_set_background_color(WEBKIT_WEB_VIEW(webView), &clear);
        windows = new linuxdesktop::GtkChromeWindows(
            app, webView, [](GtkWidget* page) { return page; }, [] {});
        windows->setListener(&listener);
        webkit_web_view_load_html(WEBKIT_WEB_VIEW(webView), kPage, nullptr);
        windows->show();
        ASSERT_TRUE(runUntil(
            [] {
                return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(webView)) &&
                       windows->isFocused(ChromeWindow::main);
            },
            20));
    }

    static void TearDownTestSuite() {
        delete windows;
        g_object_unref(app);
        delete windowManager;
    }

    static std::string xid(GtkWindow* window) {
        return std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(GTK_WIDGET(window))));
    }
    static std::string title() {
        const char* text = webkit_web_view_get_title(WEBKIT_WEB_VIEW(webView));
        return text ? text : "";
    }
    static std::string clickIn(GtkWindow* window, int x, int y) {
        return "xdotool mousemove --window " + xid(window) + " " + std::to_string(x) + " " +
               std::to_string(y) + " click 1; ";
    }
    // The colour on the screen at a point, as the user sees it.
    static std::array<int, 3> screenPixel(double x, double y) {
        g_autoptr(GdkPixbuf) pixel =
            gdk_pixbuf_get_from_window(gdk_get_default_root_window(), int(x), int(y), 1, 1);
        const guchar* rgb = gdk_pixbuf_get_pixels(pixel);
        return {rgb[0], rgb[1], rgb[2]};
    }
    // The page's click count, 0 before the first click.
    static int clicks() { return title().empty() ? 0 : std::stoi(title().substr(7)); }
    static bool titleEnds(const std::string& end) { return title().ends_with(end); }
    static std::string centreOf(chrome::TitleBarButton button, double barWidth) {
        auto frame = chrome::TitleBarButtonFrames::in(barWidth, windows->desktopTitleBarSide())[button];
        return std::to_string(int(frame.x + frame.width / 2)) + " " +
               std::to_string(int(frame.y + frame.height / 2));
    }

    static inline Helper* windowManager = nullptr;
    static inline GtkApplication* app = nullptr;
    static inline GtkWidget* webView = nullptr;
    static inline linuxdesktop::GtkChromeWindows* windows = nullptr;
    static inline RecordingListener listener;
};

TEST_F(GtkChromeWindowsTest, DragBarPassesThroughThePagesRectanglesOnlyAndDragsTheWindow) {
    GtkWindow* main = windows->mainWindow();
    windows->setPassThrough({{100, 0, 80, 36}});
    int before = clicks();
    act(clickIn(main, 120, 10));
    ASSERT_TRUE(runUntil([] { return titleEnds(" at 120,10"); }));
    act(clickIn(main, 60, 10) + "sleep 0.3; " + clickIn(main, 300, 300));
    ASSERT_TRUE(runUntil([] { return titleEnds(" at 300,300"); }));
    EXPECT_EQ(clicks(), before + 2) << "the click beside the rectangle reached the page";
    act("xdotool mousemove --window " + xid(main) + " 300 10 click 5");
    EXPECT_TRUE(runUntil([] { return titleEnds(" scrolled"); }))
        << "the wheel over the bar did not scroll the page";

    platform::Rect start = windows->mainFrame();
    act("xdotool mousemove --window " + xid(main) +
        " 400 10 mousedown 1; sleep 0.2; xdotool mousemove_relative 10 0; sleep 0.3;"
        " xdotool mousemove_relative 50 40; sleep 0.3; xdotool mouseup 1");
    ASSERT_TRUE(runUntil([&] { return windows->mainFrame().y > start.y + 20; }));
    EXPECT_NEAR(windows->mainFrame().x, start.x + 60, 6);
    EXPECT_NEAR(windows->mainFrame().y, start.y + 40, 6);
    EXPECT_EQ(clicks(), before + 2);

    double width = windows->mainFrame().width;
    act("xdotool mousemove --window " + xid(main) + " " + std::to_string(int(width) - 2) +
        " 400 mousedown 1; sleep 0.2; xdotool mousemove_relative -- -10 0; sleep 0.3;"
        " xdotool mousemove_relative -- -90 0; sleep 0.3; xdotool mouseup 1");
    ASSERT_TRUE(runUntil([&] { return windows->mainFrame().width < width - 50; }))
        << "no resize from the edge";
    EXPECT_NEAR(windows->mainFrame().width, width - 100, 6);

    act("xdotool mousemove --window " + xid(main) + " " +
        centreOf(chrome::TitleBarButton::miniLight, windows->mainFrame().width) + " click 1");
    EXPECT_TRUE(runUntil([] { return listener.miniLightClicks == 1; }));

    // The idle fade leaves the page's (here: the plain white window's) colour where the close button was.
    auto close =
        chrome::TitleBarButtonFrames::in(windows->mainFrame().width, windows->desktopTitleBarSide()).close;
    auto closeColour = [&] {
        return screenPixel(windows->mainFrame().x + close.x + 7, windows->mainFrame().y + close.y + 7);
    };
    EXPECT_LT(closeColour()[2], 150);
    windows->setButtonsAlpha(ChromeWindow::main, 0.0001, 0.2);
    EXPECT_TRUE(runUntil([&] { return closeColour()[2] > 250; }, 2));
    windows->setButtonsAlpha(ChromeWindow::main, 1, 0);
    EXPECT_TRUE(runUntil([&] { return closeColour()[2] < 150; }, 2));
}

TEST_F(GtkChromeWindowsTest, MiniPlayerKeepsThePageFloatsAndReportsItsFrame) {
    int before = clicks();
    windows->showPageInMini({200, 150, 260, 260});
    GtkWindow* mini = GTK_WINDOW(gtk_widget_get_toplevel(webView));
    ASSERT_NE(mini, windows->mainWindow());
    ASSERT_TRUE(runUntil([] { return windows->isFocused(ChromeWindow::mini); }));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(windows->mainWindow())));

    windows->setMiniKeepAbove(true);
    EXPECT_TRUE(runUntil([&] {
        return run("xprop -id " + xid(mini) + " _NET_WM_STATE").find("_NET_WM_STATE_ABOVE") !=
               std::string::npos;
    }));
    act("xdotool windowmove " + xid(mini) + " 300 220");
    ASSERT_TRUE(runUntil([] { return !listener.miniFrames.empty() && listener.miniFrames.back().x == 300; }));
    EXPECT_EQ(listener.miniFrames.back().width, 260);

    act(clickIn(mini, 130, 130) + "xdotool mousemove --window " + xid(mini) + " " +
        centreOf(chrome::TitleBarButton::close, 260) + " click 1");
    ASSERT_TRUE(runUntil([] { return listener.miniCloses == 1; }));
    EXPECT_EQ(clicks(), before + 1);

    windows->showPageInMain();
    ASSERT_TRUE(runUntil([] { return windows->isFocused(ChromeWindow::main); }));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(mini)));
    act(clickIn(windows->mainWindow(), 300, 300));
    EXPECT_TRUE(runUntil([&] { return clicks() == before + 2; })) << "the page was loaded again: " << title();
}

TEST_F(GtkChromeWindowsTest, GlassShowsWhatLiesBehindTheWindowWithACompositor) {
    Helper compositor({"xcompmgr"});
    platform::Rect frame = windows->mainFrame();
    GtkWidget* behind = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_app_paintable(behind, TRUE);
    gtk_window_set_keep_below(GTK_WINDOW(behind), TRUE);
    g_signal_connect(behind, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t* cr) {
                         cairo_set_source_rgb(cr, 1, 0, 0);
                         cairo_paint(cr);
                         return TRUE;
                     }),
                     nullptr);
    gtk_window_move(GTK_WINDOW(behind), int(frame.x), int(frame.y));
    gtk_window_resize(GTK_WINDOW(behind), int(frame.width), int(frame.height));
    gtk_widget_show(behind);
    vimbo::testing::runFor(1);
    windows->show();
    auto redAtCentre = [&] {
        auto rgb = screenPixel(frame.x + frame.width / 2, frame.y + frame.height / 2);
        return rgb[0] > 200 && rgb[1] < 60 && rgb[2] < 60;
    };
    windows->setGlass(false, false);
    vimbo::testing::runFor(1);
    EXPECT_FALSE(redAtCentre());
    windows->setGlass(true, false);
    EXPECT_TRUE(runUntil(redAtCentre));
    windows->requestFullScreen(true); // never glass in full screen
    ASSERT_TRUE(runUntil([] { return !listener.fullScreen.empty() && listener.fullScreen.back(); }));
    vimbo::testing::runFor(0.5);
    EXPECT_FALSE(redAtCentre());
    windows->requestFullScreen(false);
    ASSERT_TRUE(runUntil([] { return !listener.fullScreen.back(); }));
    windows->setGlass(false, false);
    gtk_widget_destroy(behind);
}
