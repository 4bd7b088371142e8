#pragma once

#include "core/nowplaying/MusicController.h"
#include "core/platform/MainQueue.h"
#include "core/platform/PageHost.h"
#include "core/platform/Timers.h"

#include <functional>
#include <memory>
#include <string_view>

namespace vimbo::app {

// The now-playing poll: while the page shows track info, asks the music controller at once and then
// every 2 seconds, and pushes each answer into the page once it has loaded. Main thread.
class MusicPoll : public std::enable_shared_from_this<MusicPoll> {
  public:
    // `readyPage` gives the page once it has loaded, else null; `log` takes debug log lines.
    MusicPoll(nowplaying::MusicController& music, platform::Timers& timers, platform::MainQueue& mainQueue,
              std::function<platform::PageHost*()> readyPage, std::function<void(std::string_view)> log);

    // Nothing when already polling.
    void start();
    void stop();
    // Hands the command word to the controller, then shows its effect with one fetch 0.4 s later.
    void command(std::string_view word);

  private:
    void fetchAndPush();
    void push(const std::string& trackInfo);

    nowplaying::MusicController& music_;
    platform::Timers& timers_;
    platform::MainQueue& mainQueue_;
    std::function<platform::PageHost*()> readyPage_;
    std::function<void(std::string_view)> log_;
    std::unique_ptr<platform::RepeatingTimer> timer_;
};

} // namespace vimbo::app
