#include "core/nowplaying/MusicController.h"

#include "core/util/ThreadChecker.h"

#include <nlohmann/json.hpp>

#include <array>
#include <utility>

namespace vimbo::nowplaying {
namespace {

// The order is the order of preference.
constexpr std::array kPlayerTable{KnownPlayer::spotify, KnownPlayer::music};

// None when a text is not valid UTF-8, which leaves the source out.
std::optional<std::string> trackInfoText(bool playing, const std::string& title, const std::string& artist,
                                         bool controllable) {
    try {
        return nlohmann::json{{"p", playing}, {"t", title}, {"a", artist}, {"c", controllable}}.dump();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

PlayerVerb verbFor(std::string_view word) {
    if (word == "next") return PlayerVerb::next;
    if (word == "prev") return PlayerVerb::previous;
    return PlayerVerb::playPause;
}

} // namespace

MusicController::MusicController(std::shared_ptr<MediaPlayers> players, BrowserTitle browserTitle,
                                 platform::MainQueue& mainQueue)
    : players_(std::move(players)), browserTitle_(std::move(browserTitle)), mainQueue_(mainQueue),
      queue_(std::string(kQueueLabel)) {}

void MusicController::fetch(DebugLines debug, Completion completion) {
    queue_.async([this, debug = std::move(debug), completion = std::move(completion)]() mutable {
        mainQueue_.post([completion = std::move(completion), text = trackInfo(debug)] { completion(text); });
    });
}

void MusicController::command(std::string word) {
    queue_.async([this, word = std::move(word)] {
        auto target = lastApp_ ? lastApp_ : detectApp();
        if (!target) return;
        lastApp_ = target;
        players_->send(*target, verbFor(word));
    });
}

void MusicController::waitUntilSettled() {
    queue_.sync([] {});
}

std::string MusicController::trackInfo(const DebugLines& debug) {
    util::checkOnQueue(queue_);
    auto candidate = askPlayers();
    if (candidate) lastApp_ = candidate->player;
    // Asked even when a player plays, so that its diagnostic lines always appear.
    auto title = browserTitle_ ? browserTitle_(debug ? &debug : nullptr) : std::nullopt;
    if (candidate && (candidate->playing || !title)) return candidate->trackInfo;
    if (title) {
        if (auto browser = trackInfoText(true, *title, "", false)) return *browser;
    }
    return candidate ? candidate->trackInfo : "null";
}

// The first playing player wins at once; otherwise the first paused one.
std::optional<MusicController::Candidate> MusicController::askPlayers() {
    std::optional<Candidate> candidate;
    for (auto entry : kPlayerTable) {
        auto answer = ask(entry);
        if (!answer) continue;
        const bool playing = answer->report.state == PlaybackState::playing;
        auto text = trackInfoText(playing, answer->report.title, answer->report.artist, true);
        if (!text) continue;
        if (playing || !candidate) candidate = Candidate{answer->player, std::move(*text), playing};
        if (playing) break;
    }
    return candidate;
}

std::optional<std::string> MusicController::detectApp() {
    std::optional<std::string> paused;
    for (auto entry : kPlayerTable) {
        auto answer = ask(entry);
        if (!answer) continue;
        if (answer->report.state == PlaybackState::playing) return answer->player;
        if (!paused) paused = answer->player;
    }
    return paused;
}

std::optional<MusicController::Answer> MusicController::ask(KnownPlayer entry) {
    if (!players_) return std::nullopt;
    auto player = players_->running(entry);
    if (!player) return std::nullopt;
    auto report = players_->query(*player);
    if (!report) return std::nullopt;
    return Answer{std::move(*player), std::move(*report)};
}

} // namespace vimbo::nowplaying
