#include "core/nowplaying/BrowserNowPlaying.h"

#include "core/nowplaying/TitleText.h"

#include <algorithm>
#include <utility>

namespace vimbo::nowplaying {

namespace {

using titletext::Trim;

// Program names of the browsers whose sound is attributed to a page.
constexpr std::array<std::string_view, 16> kBrowsers{
    "firefox",     "firefox-esr",   "firefox-bin", "librewolf", "chromium",       "chromium-browser",
    "chrome",      "google-chrome", "brave",       "msedge",    "microsoft-edge", "vivaldi",
    "vivaldi-bin", "opera",         "epiphany",    "falkon"};

// Deeper than any real process tree; only stops a loop in a process table that lies.
constexpr int kMaxAncestors = 64;

bool isBrowser(std::string_view executable) {
    return std::find(kBrowsers.begin(), kBrowsers.end(), executable) != kBrowsers.end();
}

std::optional<std::string> nonEmpty(std::string text) {
    if (text.empty()) return std::nullopt;
    return text;
}

std::string describe(const BrowserTrackCandidate& candidate) {
    return "pid=" + std::to_string(candidate.pid) + " front=" + (candidate.isFrontmost ? "true" : "false") +
           " title=" + candidate.rawTitle.value_or("nil");
}

} // namespace

BrowserNowPlaying::BrowserNowPlaying(Ports ports, AccessibilityPromptPolicy promptPolicy, DateSource now)
    : promptPolicy_(std::move(promptPolicy)), ports_(ports), now_(std::move(now)) {}

std::optional<std::string> BrowserNowPlaying::title(const Debug& debug) {
    const auto owners = audioSourceApps();
    if (debug) {
        std::string list;
        for (const auto& owner : owners)
            list += (list.empty() ? "" : ", ") + std::to_string(owner.pid);
        debug("browser audio owners [" + list + "]");
    }
    if (owners.empty()) return std::nullopt;
    if (!ports_.accessibility.isTrusted()) {
        promptAXOnce();
        return std::nullopt;
    }
    const auto frontmost = ports_.windows.frontmostProcess();
    std::vector<BrowserTrackCandidate> candidates;
    for (const auto& owner : owners)
        candidates.push_back(candidate(owner, frontmost));
    if (debug) {
        std::string entries;
        for (const auto& candidate : candidates)
            entries += (entries.empty() ? "" : " | ") + describe(candidate);
        debug("browser candidates " + entries);
    }
    const auto best = bestCandidate(candidates);
    if (!best || !best->rawTitle) return std::nullopt;
    return nonEmpty(clean(*best->rawTitle));
}

BrowserTrackCandidate BrowserNowPlaying::candidate(const AudioOwner& owner,
                                                   std::optional<std::int32_t> frontmost) {
    std::vector<std::string> descendantTitles;
    if (owner.searchTabs) {
        if (auto media = accessibilityMediaTitle(owner.pid)) descendantTitles.push_back(std::move(*media));
    }
    return {owner.pid, preferredTitle(windowTitle(owner.pid), descendantTitles), frontmost == owner.pid};
}

std::vector<BrowserNowPlaying::AudioOwner> BrowserNowPlaying::audioSourceApps() {
    std::vector<AudioOwner> owners;
    for (const std::int32_t pid : ports_.audio.producingOutput()) {
        const std::int32_t responsible = responsibleProcess(pid);
        if (responsible < 1) continue;
        const auto entry = ports_.processes.entry(responsible);
        if (!entry || !isBrowser(entry->executable)) continue;
        if (std::any_of(owners.begin(), owners.end(),
                        [&](const AudioOwner& o) { return o.pid == responsible; }))
            continue;
        owners.push_back({responsible, !entry->applicationMode});
    }
    return owners;
}

// Browsers play sound from helper processes (content, audio service, web process); the sound belongs
// to the outermost browser process above them. A process with no browser above it answers for itself.
std::int32_t BrowserNowPlaying::responsibleProcess(std::int32_t pid) {
    std::int32_t responsible = pid;
    std::int32_t current = pid;
    for (int step = 0; step < kMaxAncestors && current > 1; ++step) {
        const auto entry = ports_.processes.entry(current);
        if (!entry) break;
        if (isBrowser(entry->executable)) responsible = current;
        current = entry->parent;
    }
    return responsible;
}

// The browser's own media session names the page playing; its windows come next, latest raised first.
std::optional<std::string> BrowserNowPlaying::windowTitle(std::int32_t pid) {
    if (auto media = ports_.mediaSessions.mediaTitle(pid)) {
        if (auto title = nonEmpty(titletext::trimmed(*media, Trim::whitespaceAndNewlines))) return title;
    }
    for (const auto& window : ports_.windows.windowTitles(pid)) {
        if (auto title = nonEmpty(titletext::trimmed(window, Trim::whitespaceAndNewlines))) return title;
    }
    return std::nullopt;
}

// Breadth first, so that tab titles near the top end the search early.
std::optional<std::string> BrowserNowPlaying::accessibilityMediaTitle(std::int32_t pid) {
    auto& tree = ports_.accessibility;
    auto application = tree.application(pid);
    if (!application) return std::nullopt;
    std::vector<std::pair<platform::AccessibleElement, int>> list{{std::move(*application), 0}};
    for (std::size_t next = 0; next < list.size(); ++next) {
        const auto [element, depth] = list[next];
        if (auto title = tree.title(element)) {
            auto trimmed = titletext::trimmed(*title, Trim::whitespaceAndNewlines);
            if (!trimmed.empty() && hasRecognisedSuffix(trimmed)) return trimmed;
        }
        if (depth >= kMaxSearchDepth) continue;
        auto children = tree.children(element);
        if (!children) continue;
        for (auto& child : *children) {
            if (list.size() >= kMaxSearchedElements) break;
            list.emplace_back(std::move(child), depth + 1);
        }
    }
    return std::nullopt;
}

void BrowserNowPlaying::promptAXOnce() {
    if (didPromptAX_) return;
    didPromptAX_ = true;
    if (promptPolicy_.claimPrompt(now_())) ports_.prompt.show();
}

std::optional<std::string>
BrowserNowPlaying::preferredTitle(const std::optional<std::string>& windowTitle,
                                  const std::vector<std::string>& descendantTitles) {
    if (windowTitle && hasRecognisedSuffix(*windowTitle)) return windowTitle;
    const auto descendant = std::find_if(descendantTitles.begin(), descendantTitles.end(),
                                         [](const std::string& title) { return hasRecognisedSuffix(title); });
    if (descendant != descendantTitles.end()) return *descendant;
    return windowTitle;
}

std::string BrowserNowPlaying::clean(std::string_view title) {
    std::string text = titletext::trimmed(title, Trim::whitespaceAndNewlines);
    // A count of unread items or notifications in front: "(3) Song".
    if (text.starts_with('(')) {
        const auto close = text.find(')');
        if (close != std::string::npos &&
            titletext::isAllNumeric(std::string_view(text).substr(1, close - 1)))
            text = titletext::trimmed(std::string_view(text).substr(close + 1), Trim::whitespace);
    }
    const auto suffix = std::find_if(kTitleSuffixes.begin(), kTitleSuffixes.end(),
                                     [&](std::string_view s) { return text.ends_with(s); });
    if (suffix != kTitleSuffixes.end()) text.resize(text.size() - suffix->size());
    return titletext::trimmed(text, Trim::whitespaceAndNewlines);
}

std::optional<BrowserTrackCandidate>
BrowserNowPlaying::bestCandidate(const std::vector<BrowserTrackCandidate>& candidates) {
    std::optional<BrowserTrackCandidate> best;
    int bestScore = 0;
    for (const auto& candidate : candidates) {
        if (!candidate.rawTitle || clean(*candidate.rawTitle).empty()) continue;
        const int score =
            (hasRecognisedSuffix(*candidate.rawTitle) ? 100 : 0) + (candidate.isFrontmost ? 10 : 0);
        if (!best || score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

bool BrowserNowPlaying::hasRecognisedSuffix(std::string_view title) {
    return std::any_of(kTitleSuffixes.begin(), kTitleSuffixes.end(),
                       [&](std::string_view suffix) { return title.ends_with(suffix); });
}

} // namespace vimbo::nowplaying
