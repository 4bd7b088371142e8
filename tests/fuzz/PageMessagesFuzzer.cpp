// Page messages as a hostile page could post them, through the delegate over in-memory fakes with
// the main menu attached. An input holds one message a line. The delegate lives across inputs, as
// it does for a page that keeps posting, so state one input leaves is where the next one starts.
#include "core/menus/MainMenuController.h"
#include "fakes/DelegateHarness.h"
#include "fakes/FakeMainMenu.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

struct LaunchedApp {
    LaunchedApp() {
        harness.launchReady();
        menuController = std::make_unique<vimbo::menus::MainMenuController>(menu, *harness.delegate);
        harness.delegate->setMainMenuController(menuController.get());
    }

    // Runs what the messages set going, then forgets what was recorded so memory stays flat.
    void settle() {
        harness.settleAudio();
        harness.timers.fireAll();
        harness.page.completeAll();
        harness.mainQueue.runPending();
        harness.page.scripts.clear();
        harness.systemLog.lines.clear();
        harness.debugLines.clear();
        std::lock_guard guard(harness.capturesMutex);
        harness.made.clear();
    }

    vimbo::fakes::DelegateHarness harness;
    vimbo::fakes::FakeMainMenu menu;
    std::unique_ptr<vimbo::menus::MainMenuController> menuController;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static LaunchedApp& app = *new LaunchedApp; // lives until the process exits
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        app.harness.send(std::string(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    app.settle();
    return 0;
}
