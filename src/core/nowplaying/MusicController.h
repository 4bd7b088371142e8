#pragma once

#include "core/nowplaying/BrowserTitle.h"
#include "core/nowplaying/MediaPlayers.h"
#include "core/platform/MainQueue.h"
#include "core/util/SerialQueue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::nowplaying {

// Finds out what the music players (or, failing them, a browser) are playing and turns it into the
// page's track-info text; sends play/pause, previous and next to the player it saw last. Everything
// that talks to other processes runs on its own serial queue; results come back on the main queue.
class MusicController {
  public:
    static constexpr std::string_view kQueueLabel = "vimbo.music";
    using DebugLines = std::function<void(std::string_view)>;
    // Gets "null" or a compact JSON object with "p" (playing), "t" (title), "a" (artist) and "c"
    // (whether `command` can drive the source).
    using Completion = std::function<void(const std::string& trackInfo)>;

    // Without `players` only the browser source can answer.
    MusicController(std::shared_ptr<MediaPlayers> players, BrowserTitle browserTitle,
                    platform::MainQueue& mainQueue);
    MusicController(const MusicController&) = delete;
    MusicController& operator=(const MusicController&) = delete;

    // Returns at once; `completion` runs exactly once, on the main queue. `debug`, when set, is
    // handed to the browser source and called on the music queue.
    void fetch(DebugLines debug, Completion completion);
    // "next", "prev", or anything else for play/pause. Returns at once; nothing is reported back.
    void command(std::string word);
    // Waits until the work queued so far has run.
    void waitUntilSettled();

  private:
    struct Candidate {
        std::string player;
        std::string trackInfo;
        bool playing;
    };

    // A running player of the table that says what it is doing.
    struct Answer {
        std::string player;
        PlayerReport report;
    };

    // "vimbo.music"
    std::string trackInfo(const DebugLines& debug);
    std::optional<Candidate> askPlayers();
    // The player to command when none was seen yet: the first playing one, else the first paused.
    std::optional<std::string> detectApp();
    std::optional<Answer> ask(KnownPlayer entry);

    std::shared_ptr<MediaPlayers> players_;
    BrowserTitle browserTitle_;
    platform::MainQueue& mainQueue_;
    std::optional<std::string> lastApp_; // the player commands go to; only touched on the queue
    // Last, so that work still queued runs while everything it uses is alive.
    util::SerialQueue queue_;
};

} // namespace vimbo::nowplaying
