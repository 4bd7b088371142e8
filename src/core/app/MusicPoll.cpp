#include "core/app/MusicPoll.h"

#include <string>
#include <utility>

namespace vimbo::app {
namespace {

constexpr double kPollInterval = 2.0;
// Long enough for the player to have acted on the command before it is asked again.
constexpr double kAfterCommand = 0.4;

} // namespace

MusicPoll::MusicPoll(nowplaying::MusicController& music, platform::Timers& timers,
                     platform::MainQueue& mainQueue, std::function<platform::PageHost*()> readyPage,
                     std::function<void(std::string_view)> log)
    : music_(music), timers_(timers), mainQueue_(mainQueue), readyPage_(std::move(readyPage)),
      log_(std::move(log)) {}

void MusicPoll::start() {
    if (timer_) return;
    fetchAndPush();
    timer_ = timers_.repeat(kPollInterval, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->fetchAndPush();
    });
}

void MusicPoll::stop() {
    timer_.reset();
}

void MusicPoll::command(std::string_view word) {
    music_.command(std::string(word));
    mainQueue_.postAfter(kAfterCommand, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->fetchAndPush();
    });
}

void MusicPoll::fetchAndPush() {
    std::weak_ptr<MusicPoll> weak = weak_from_this();
    // The debug lines come from the music queue; the log is written on the main thread.
    auto debug = [weak, &mainQueue = mainQueue_](std::string_view line) {
        mainQueue.post([weak, line = std::string(line)] {
            if (auto self = weak.lock()) self->log_(line);
        });
    };
    music_.fetch(debug, [weak](const std::string& trackInfo) {
        if (auto self = weak.lock()) self->push(trackInfo);
    });
}

void MusicPoll::push(const std::string& trackInfo) {
    auto* page = readyPage_();
    if (!page) return;
    log_("trackInfo " + trackInfo);
    page->evaluate("__music(" + trackInfo + ")");
}

} // namespace vimbo::app
