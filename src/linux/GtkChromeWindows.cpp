#include "linux/GtkChromeWindows.h"

#include "core/chrome/MiniZoomFrame.h"
#include "linux/GLibOwners.h"

#include <utility>

namespace vimbo::linuxdesktop {
namespace {

using chrome::TitleBarButton;
using platform::ChromeWindow;

constexpr int kMiniPage = 260;
constexpr guint kMiniFrameReportDelayMs = 200; // a drag reports its end, not every step

void setFrame(GtkWindow* window, const platform::Rect& frame) {
    gtk_window_move(window, static_cast<int>(frame.x), static_cast<int>(frame.y));
    gtk_window_resize(window, static_cast<int>(frame.width), static_cast<int>(frame.height));
}

} // namespace

GtkChromeWindows::GtkChromeWindows(GtkApplication* application, GtkWidget* webView,
                                   const std::function<GtkWidget*(GtkWidget*)>& surround,
                                   std::function<void()> onMainClose)
    : application_(application), webView_(webView),
      plainDrawing_(webkit_settings_get_hardware_acceleration_policy(
          webkit_web_view_get_settings(WEBKIT_WEB_VIEW(webView)))),
      side_(desktopTitleBarSide()),
      bar_(
          webView, side_, [this](TitleBarButton button) { buttonClicked(button); },
          [this](bool hovered) { rowHoverChanged(hovered, miniLightHovered_); }),
      miniLight_(
          side_, [this] { buttonClicked(TitleBarButton::miniLight); },
          [this](bool hovered) { rowHoverChanged(barRowHovered_, hovered); }),
      fade_({bar_.widget(), miniLight_.widget()}, webView, GtkDragBar::kHeight), content_(nullptr),
      main_(application, eventsOf(ChromeWindow::main)), onMainClose_(std::move(onMainClose)) {
    GtkWidget* page = gtk_overlay_new();
    gtk_container_add(GTK_CONTAINER(page), webView);
    gtk_overlay_add_overlay(GTK_OVERLAY(page), bar_.widget());
    gtk_overlay_add_overlay(GTK_OVERLAY(page), miniLight_.widget());
    content_ = GTK_WIDGET(g_object_ref_sink(surround(page)));
    gtk_widget_show_all(content_);

    GtkWindow* window = main_.window();
    gtk_window_set_default_size(window, 1100, 760);
    GdkGeometry hints{};
    hints.min_width = 200;
    hints.min_height = 200;
    gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MIN_SIZE);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    main_.addContent(content_);
    refreshButtons();
}

GtkChromeWindows::~GtkChromeWindows() {
    if (miniFrameReport_) g_source_remove(miniFrameReport_);
    gtk_container_remove(GTK_CONTAINER(gtk_widget_get_parent(content_)), content_);
    g_object_unref(content_);
}

chrome::TitleBarSide GtkChromeWindows::desktopTitleBarSide() {
    GText layout;
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_get(settings, "gtk-decoration-layout", &layout, nullptr);
    return chrome::titleBarSide(layout ? layout.get() : "");
}

GtkBorderlessWindow::Events GtkChromeWindows::eventsOf(ChromeWindow kind) {
    auto onActivity = [this] {
        refreshButtons();
        if (listener_) listener_->activityChanged();
    };
    if (kind == ChromeWindow::main) {
        return {.closeRequested = [this] { onMainClose_(); },
                .fullScreen =
                    [this](bool on) {
                        if (listener_) listener_->fullScreenChanged(on);
                    },
                .configured = [] {},
                .activityChanged = onActivity};
    }
    return {.closeRequested =
                [this] {
                    if (listener_) listener_->miniCloseRequested();
                },
            .fullScreen = [](bool) {},
            .configured = [this] { scheduleMiniFrameReport(); },
            .activityChanged = onActivity};
}

GtkBorderlessWindow& GtkChromeWindows::mini() {
    if (mini_) return *mini_;
    mini_ = std::make_unique<GtkBorderlessWindow>(application_, eventsOf(ChromeWindow::mini));
    GtkWindow* window = mini_->window();
    gtk_window_set_default_size(window, kMiniPage, kMiniPage);
    GdkGeometry hints{};
    hints.min_width = hints.min_height = 200;
    hints.max_width = hints.max_height = 500;
    hints.min_aspect = hints.max_aspect = 1.0;
    gtk_window_set_geometry_hints(window, nullptr, &hints,
                                  GdkWindowHints(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE | GDK_HINT_ASPECT));
    gtk_window_set_keep_above(window, miniKeepAbove_);
    mini_->setSurface(glass_, dark_);
    return *mini_;
}

ChromeWindow GtkChromeWindows::currentKind() const {
    return pageInMini_ ? ChromeWindow::mini : ChromeWindow::main;
}

void GtkChromeWindows::show() {
    mainThread_.check();
    GtkWindow* window = current().window();
    gtk_widget_show(GTK_WIDGET(window));
    gtk_window_present(window);
    // Otherwise GTK gives the keys to the first focusable widget, the menu button, and the page sees
    // no key (Esc, Space) until it is clicked.
    gtk_widget_grab_focus(webView_);
}

void GtkChromeWindows::hide() {
    mainThread_.check();
    gtk_widget_hide(GTK_WIDGET(current().window()));
}

bool GtkChromeWindows::isVisible() const {
    mainThread_.check();
    const GtkBorderlessWindow& window = pageInMini_ ? *mini_ : main_;
    return gtk_widget_get_visible(GTK_WIDGET(window.window())) && !window.iconified();
}

void GtkChromeWindows::setAppearanceDark(bool dark) {
    mainThread_.check();
    // GTK keeps the theme variant per process: the menus and dialogs follow along with the window.
    g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", gboolean{dark}, nullptr);
    setGlass(glass_, dark);
}

platform::Rect GtkChromeWindows::miniFrameForPage(double pageWidth, double pageHeight) const {
    return {0, 0, pageWidth, pageHeight}; // no decorations around the page
}

platform::Rect GtkChromeWindows::miniFrame() const {
    return mini_ ? mini_->frame() : platform::Rect{};
}

// The new window shows before the old one hides, so the application never has no window on screen.
void GtkChromeWindows::movePage(GtkBorderlessWindow& from, GtkBorderlessWindow& to) {
    from.removeContent(content_);
    to.addContent(content_);
    gtk_widget_show(GTK_WIDGET(to.window()));
    gtk_window_present(to.window());
    gtk_widget_hide(GTK_WIDGET(from.window()));
    gtk_widget_grab_focus(webView_);
    fade_.fadeTo(buttonsAlpha_[static_cast<int>(currentKind())], 0);
    refreshButtons();
}

void GtkChromeWindows::showPageInMini(const platform::Rect& frame) {
    mainThread_.check();
    GtkBorderlessWindow& target = mini();
    setFrame(target.window(), frame);
    miniUnzoomedFrame_.reset();
    if (pageInMini_) return;
    pageInMini_ = true;
    movePage(main_, target);
}

void GtkChromeWindows::showPageInMain() {
    mainThread_.check();
    if (!pageInMini_) return;
    pageInMini_ = false;
    movePage(*mini_, main_);
}

void GtkChromeWindows::setMiniKeepAbove(bool above) {
    mainThread_.check();
    // Keep-above set on a mapped window brings no state event back: the flag is ours to remember.
    miniKeepAbove_ = above;
    if (mini_) gtk_window_set_keep_above(mini_->window(), above);
}

void GtkChromeWindows::requestFullScreen(bool fullScreen) {
    mainThread_.check();
    if (fullScreen) {
        gtk_window_fullscreen(main_.window());
    } else {
        gtk_window_unfullscreen(main_.window());
    }
}

bool GtkChromeWindows::isFocused(ChromeWindow window) const {
    mainThread_.check();
    if (window == ChromeWindow::mini) return mini_ && gtk_window_is_active(mini_->window());
    return gtk_window_is_active(main_.window());
}

void GtkChromeWindows::setButtonsAlpha(ChromeWindow window, double alpha, double seconds) {
    mainThread_.check();
    buttonsAlpha_[static_cast<int>(window)] = alpha;
    if (window == currentKind()) fade_.fadeTo(alpha, seconds);
    refreshButtons();
}

void GtkChromeWindows::setMiniLight(bool allowed, bool idleFading) {
    mainThread_.check();
    miniLightAllowed_ = allowed;
    idleFading_ = idleFading;
    refreshButtons();
}

void GtkChromeWindows::setPassThrough(const std::vector<platform::Rect>& rects) {
    mainThread_.check();
    bar_.setPassThrough(rects);
}

void GtkChromeWindows::setGlass(bool glass, bool dark) {
    mainThread_.check();
    // Drawing without compositing, WebKit never clears what it drew where the page is transparent:
    // under glass every frame would pile onto the last, leaving trails and soon an opaque window.
    // Glass therefore draws with compositing, which costs more where OpenGL runs on the CPU.
    webkit_settings_set_hardware_acceleration_policy(webkit_web_view_get_settings(WEBKIT_WEB_VIEW(webView_)),
                                                     glass ? WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS
                                                           : plainDrawing_);
    glass_ = glass;
    dark_ = dark;
    main_.setSurface(glass, dark);
    if (mini_) mini_->setSurface(glass, dark);
    refreshButtons();
}

void GtkChromeWindows::buttonClicked(TitleBarButton button) {
    switch (button) {
    case TitleBarButton::close:
        if (pageInMini_) {
            if (listener_) listener_->miniCloseRequested();
        } else {
            onMainClose_();
        }
        return;
    case TitleBarButton::minimize:
        gtk_window_iconify(current().window());
        return;
    case TitleBarButton::zoom:
        zoom();
        return;
    case TitleBarButton::miniLight:
        if (listener_) listener_->miniLightClicked();
        return;
    }
}

// The main window maximizes and back; the mini player toggles between its 340 x 340 frame and the
// user's own.
void GtkChromeWindows::zoom() {
    if (!pageInMini_) {
        GtkWindow* window = main_.window();
        if (gtk_window_is_maximized(window)) {
            gtk_window_unmaximize(window);
        } else {
            gtk_window_maximize(window);
        }
        return;
    }
    if (auto own = std::exchange(miniUnzoomedFrame_, std::nullopt)) {
        setFrame(mini_->window(), *own);
        return;
    }
    platform::Rect frame = mini_->frame();
    setFrame(mini_->window(), chrome::miniZoomFrame(frame, mini_->workArea()));
    miniUnzoomedFrame_ = frame;
}

void GtkChromeWindows::rowHoverChanged(bool barRow, bool miniLight) {
    barRowHovered_ = barRow;
    miniLightHovered_ = miniLight;
    bar_.setRowHovered(barRow || miniLight);
    miniLight_.setRowHovered(barRow || miniLight);
}

// The buttons' colours follow the focus and the appearance; the mini light shows only beside the
// main window's buttons while that window has the focus, no dialog is up and the buttons are not
// hidden (faded out other than by the idle fade).
void GtkChromeWindows::refreshButtons() {
    bool mainFocused = isFocused(ChromeWindow::main);
    bar_.setLook({.windowActive = isFocused(currentKind()), .dark = dark_});
    miniLight_.setLook({.windowActive = mainFocused, .idleFading = idleFading_, .dark = dark_});
    bool buttonsHidden = !idleFading_ && buttonsAlpha_[static_cast<int>(ChromeWindow::main)] < 0.01;
    bool shown = miniLightAllowed_ && !pageInMini_ && mainFocused && !buttonsHidden && !dialogUp();
    gtk_widget_set_visible(miniLight_.widget(), shown);
    bar_.setMiniLightShown(shown);
}

bool GtkChromeWindows::dialogUp() const {
    for (GList* item = gtk_application_get_windows(application_); item; item = item->next) {
        auto* window = GTK_WINDOW(item->data);
        if (window == main_.window() || (mini_ && window == mini_->window())) continue;
        if (gtk_widget_get_visible(GTK_WIDGET(window)) &&
            (gtk_window_get_modal(window) || gtk_window_get_transient_for(window) == main_.window()))
            return true;
    }
    return false;
}

void GtkChromeWindows::scheduleMiniFrameReport() {
    if (miniFrameReport_) g_source_remove(miniFrameReport_);
    miniFrameReport_ = g_timeout_add(
        kMiniFrameReportDelayMs,
        +[](gpointer self) {
            auto* windows = static_cast<GtkChromeWindows*>(self);
            windows->miniFrameReport_ = 0;
            if (windows->listener_ && windows->pageInMini_)
                windows->listener_->miniFrameChanged(windows->mini_->frame());
            return G_SOURCE_REMOVE;
        },
        this);
}

} // namespace vimbo::linuxdesktop
