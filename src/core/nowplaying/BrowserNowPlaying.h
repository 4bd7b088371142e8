#pragma once

#include "core/nowplaying/AccessibilityPromptPolicy.h"
#include "core/nowplaying/BrowserTrackCandidate.h"
#include "core/platform/AccessibilityPrompt.h"
#include "core/platform/AccessibilityTree.h"
#include "core/platform/ApplicationWindows.h"
#include "core/platform/AudioOutputProcesses.h"
#include "core/platform/MediaSessionTitles.h"
#include "core/platform/ProcessTable.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vimbo::nowplaying {

// Infers what a web browser is playing: the browsers producing sound right now, their window, media
// session and tab titles, the likeliest of them, stripped of counters and site names.
class BrowserNowPlaying {
  public:
    using Debug = std::function<void(const std::string&)>;
    using DateSource = std::function<platform::DefaultsDate()>;

    struct Ports {
        platform::AudioOutputProcesses& audio;
        platform::ProcessTable& processes;
        platform::ApplicationWindows& windows;
        platform::MediaSessionTitles& mediaSessions;
        platform::AccessibilityTree& accessibility;
        platform::AccessibilityPrompt& prompt;
    };

    static constexpr std::string_view kPromptDefaultsKey = "BrowserNowPlaying.lastAccessibilityPromptAt";
    // Site and browser names that titles end with, in the order they are tried.
    static constexpr std::array<std::string_view, 7> kTitleSuffixes{
        " - YouTube Music",        " - YouTube",       " - SoundCloud", " - Bandcamp",
        " \u2014 Mozilla Firefox", " - Google Chrome", " - Vivaldi"};
    // The tab search's bounds per browser: elements ever listed (and visited), and the deepest level.
    static constexpr std::size_t kMaxSearchedElements = 1200;
    static constexpr int kMaxSearchDepth = 12;

    BrowserNowPlaying(Ports ports, AccessibilityPromptPolicy promptPolicy,
                      DateSource now = std::chrono::system_clock::now);

    // "vimbo.music". The cleaned title, never empty; an empty `debug` sends no lines. Everything is
    // gathered afresh on each call.
    std::optional<std::string> title(const Debug& debug);

    static std::optional<std::string> preferredTitle(const std::optional<std::string>& windowTitle,
                                                     const std::vector<std::string>& descendantTitles);
    static std::string clean(std::string_view title);
    static std::optional<BrowserTrackCandidate>
    bestCandidate(const std::vector<BrowserTrackCandidate>& candidates);
    static bool hasRecognisedSuffix(std::string_view title);

  private:
    struct AudioOwner {
        std::int32_t pid;
        bool searchTabs; // a whole browser, not a site running as an application
    };

    std::vector<AudioOwner> audioSourceApps();
    std::int32_t responsibleProcess(std::int32_t pid);
    BrowserTrackCandidate candidate(const AudioOwner& owner, std::optional<std::int32_t> frontmost);
    std::optional<std::string> windowTitle(std::int32_t pid);
    std::optional<std::string> accessibilityMediaTitle(std::int32_t pid);
    void promptAXOnce();

    bool didPromptAX_ = false;
    AccessibilityPromptPolicy promptPolicy_;
    Ports ports_;
    DateSource now_;
};

} // namespace vimbo::nowplaying
