// Vimbo: wires the Linux adapters into the application delegate and runs the GTK main loop.
#include "core/app/AboutPanelContent.h"
#include "core/app/AppDelegate.h"
#include "core/app/CommandLine.h"
#include "core/app/DebugLog.h"
#include "core/app/LaunchOptions.h"
#include "core/menus/MainMenuController.h"
#include "linux/CrashRelaunch.h"
#include "linux/DBusStatusBar.h"
#include "linux/DesktopBrowserTitle.h"
#include "linux/DesktopMicrophonePermission.h"
#include "linux/GLibMainQueue.h"
#include "linux/GLibOwners.h"
#include "linux/GLibSystemLog.h"
#include "linux/GLibTimers.h"
#include "linux/GioStorageInfo.h"
#include "linux/GtkChromeWindows.h"
#include "linux/GtkDesktop.h"
#include "linux/GtkFilePanels.h"
#include "linux/GtkKeepAwake.h"
#include "linux/GtkMainMenu.h"
#include "linux/JsonFileDefaults.h"
#include "linux/MonotonicClock.h"
#include "linux/MprisMediaPlayers.h"
#include "linux/PosixFileStore.h"
#include "linux/PulseCaptureFactory.h"
#include "linux/PulseDefaultDevices.h"
#include "linux/ResourceDirectory.h"
#include "linux/WebKitPageHost.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

using namespace vimbo;

// Everything the program owns, for the life of the main loop.
struct Program {
    // First, so that it goes last: the adapters below hold it.
    linuxdesktop::GObjectPtr<GtkApplication> application;
    linuxdesktop::GLibSystemLog systemLog;
    linuxdesktop::JsonFileDefaults defaults{linuxdesktop::JsonFileDefaults::defaultPath(), systemLog};
    linuxdesktop::MonotonicClock clock;
    linuxdesktop::GLibTimers timers;
    linuxdesktop::GLibMainQueue mainQueue;
    std::shared_ptr<linuxdesktop::PulseDefaultDevices> audioDevices;
    std::unique_ptr<app::DebugLog> debugLog;
    linuxdesktop::GtkDesktop desktop{systemLog};
    linuxdesktop::GtkFilePanels filePanels;
    linuxdesktop::PosixFileStore fileStore;
    linuxdesktop::GioStorageInfo storageInfo;
    std::unique_ptr<linuxdesktop::GtkKeepAwake> keepAwake;
    std::unique_ptr<linuxdesktop::DBusStatusBar> statusBar;
    std::shared_ptr<app::AppDelegate> delegate;
    std::unique_ptr<linuxdesktop::GtkMainMenu> menu;
    std::unique_ptr<menus::MainMenuController> mainMenuController;
    std::unique_ptr<linuxdesktop::WebKitPageHost> page;
    std::unique_ptr<linuxdesktop::GtkChromeWindows> window;
};

gboolean quitOnSignal(gpointer application) {
    g_application_quit(G_APPLICATION(application));
    return G_SOURCE_CONTINUE;
}

void onStartup(GApplication* application, gpointer data) {
    auto& program = *static_cast<Program*>(data);
    // GTK adopts the user's locale; numbers written into scripts must keep a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    // Windows, dialogs and the task switcher show the icon installed under the application id.
    gtk_window_set_default_icon_name("org.vimbo.Vimbo");
    // A session logout or Ctrl-C ends the program through the normal termination sequence.
    g_unix_signal_add(SIGTERM, quitOnSignal, application);
    g_unix_signal_add(SIGINT, quitOnSignal, application);
    // The menus exist before the first window.
    program.menu = std::make_unique<linuxdesktop::GtkMainMenu>(program.application.get());
    program.mainMenuController =
        std::make_unique<menus::MainMenuController>(*program.menu, *program.delegate);
    program.menu->installAsMenubar();
    program.delegate->setMainMenuController(program.mainMenuController.get());
}

// The first activation launches; each later one (the program started again) is a reopen.
void onActivate(GApplication*, gpointer data) {
    auto& program = *static_cast<Program*>(data);
    if (program.window) {
        program.delegate->applicationShouldHandleReopen();
        return;
    }
    program.page = std::make_unique<linuxdesktop::WebKitPageHost>(program.systemLog);
    // The menu button takes the top corner the title-bar buttons leave free.
    GtkAlign menuCorner = linuxdesktop::GtkChromeWindows::desktopTitleBarSide() == chrome::TitleBarSide::right
                              ? GTK_ALIGN_START
                              : GTK_ALIGN_END;
    program.window = std::make_unique<linuxdesktop::GtkChromeWindows>(
        program.application.get(), program.page->widget(),
        [&program, menuCorner](GtkWidget* page) { return program.menu->overlayMenuButton(page, menuCorner); },
        [&program] { program.delegate->windowShouldClose(); });
    program.menu->attachToWindow(program.window->mainWindow());
    program.filePanels.setMainWindow(program.window->mainWindow());
    program.delegate->applicationDidFinishLaunching(*program.window, *program.page, program.window.get());
}

void onShutdown(GApplication*, gpointer data) {
    auto& program = *static_cast<Program*>(data);
    if (program.window) program.delegate->applicationWillTerminate();
}

} // namespace

int main(int argc, char** argv) {
    const auto version = app::AboutPanelContent::make(VIMBO_VERSION, VIMBO_BUILD).applicationVersion;
    if (auto answer = app::informationRequest(argc, argv, version)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    linuxdesktop::armCrashRelaunch(argv);
    auto options = app::LaunchOptions::parse(argc, argv);
    Program program;
    program.application.reset(gtk_application_new("org.vimbo.Vimbo", G_APPLICATION_DEFAULT_FLAGS));
    GtkApplication* application = program.application.get();
    program.debugLog = std::make_unique<app::DebugLog>(options.debug, app::DebugLog::defaultDirectory());
    program.keepAwake = std::make_unique<linuxdesktop::GtkKeepAwake>(application, program.systemLog);
    program.audioDevices = linuxdesktop::PulseDefaultDevices::create(program.mainQueue);
    linuxdesktop::GObjectPtr<GDBusConnection> sessionBus{
        linuxdesktop::DBusStatusBar::connectSessionBus(program.systemLog)};
    program.statusBar = std::make_unique<linuxdesktop::DBusStatusBar>(sessionBus.get(), program.systemLog);
    app::AppServices services{
        .defaults = program.defaults,
        .systemLog = program.systemLog,
        .keepAwake = *program.keepAwake,
        .clock = program.clock,
        .timers = program.timers,
        .mainQueue = program.mainQueue,
        .debugLog = [log = program.debugLog.get()](std::string_view line) { log->log(line); },
        .audio = {.captureFactory = linuxdesktop::pulseCaptureFactory(),
                  .microphonePermission = std::make_shared<linuxdesktop::DesktopMicrophonePermission>(),
                  .defaultDevices = program.audioDevices},
        .exportPorts = {program.filePanels, program.fileStore, program.storageInfo},
        .shortcutLabels = menus::KeyLabelStyle::gtk,
        .statusBar = program.statusBar.get(),
        .terminate = [application] { g_application_quit(G_APPLICATION(application)); },
        .desktop = &program.desktop,
        .mediaPlayers =
            std::make_shared<linuxdesktop::MprisMediaPlayers>(sessionBus.get(), program.systemLog),
        .browserTitle = linuxdesktop::desktopBrowserTitle(sessionBus.get(), program.defaults),
    };
    program.delegate =
        std::make_shared<app::AppDelegate>(services, options, linuxdesktop::resourceDirectory());

    g_signal_connect(application, "startup", G_CALLBACK(onStartup), &program);
    g_signal_connect(application, "activate", G_CALLBACK(onActivate), &program);
    g_signal_connect(application, "shutdown", G_CALLBACK(onShutdown), &program);
    // The switches are ours; GApplication would take any further argument for a file to open.
    int status = g_application_run(G_APPLICATION(application), 1, argv);

    program.delegate->setMainMenuController(nullptr);
    program.mainMenuController.reset();
    program.menu.reset();
    program.window.reset();
    program.page.reset();
    program.delegate.reset();
    program.audioDevices.reset();
    return status;
}
