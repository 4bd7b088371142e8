#include "core/nowplaying/BrowserNowPlaying.h"
#include "fakes/FakeBrowserDesktop.h"
#include "fakes/InMemoryDefaults.h"

#include <gtest/gtest.h>

using vimbo::nowplaying::AccessibilityPromptPolicy;
using vimbo::nowplaying::BrowserNowPlaying;
using vimbo::nowplaying::BrowserTrackCandidate;
using namespace std::chrono;

TEST(BrowserTitleTextTest, CleanStripsOneCountPrefixAndOneSuffix) {
    const std::pair<const char*, const char*> cases[] = {
        {"(3) Song name - YouTube", "Song name"},
        {"(12)Song - SoundCloud", "Song"},
        {"() Song", "() Song"},
        {"(a1) Song", "(a1) Song"},
        {"(3 Song", "(3 Song"},
        {"(\u0663\u00BD) Song - Bandcamp", "Song"}, // Arabic-Indic three and a half are numeric too
        {"Song - YouTube \u2014 Mozilla Firefox", "Song - YouTube"},
        {"Song - Mozilla Firefox", "Song - Mozilla Firefox"}, // a hyphen is not the em dash
        {"  Song - Google Chrome  ", "Song"},
        {"\u00A0Song - Vivaldi\u2028", "Song"},
        {"(3)", ""},
        {" - YouTube", "- YouTube"},
        {"(3)\n - YouTube", ""}, // after the count only blanks are trimmed, so the suffix still matches
    };
    for (const auto& [title, cleaned] : cases)
        EXPECT_EQ(BrowserNowPlaying::clean(title), cleaned) << title;
}

TEST(BrowserTitleTextTest, BestCandidatePrefersSiteSuffixOverFrontmostAndTheFirstOfEqualScores) {
    const BrowserTrackCandidate untitled{1, std::nullopt, true}, countOnly{2, "(3)", true},
        frontInbox{3, "Inbox", true}, backTab{4, "Song - YouTube", false},
        frontTab{5, "Tune - Bandcamp", true}, plain{6, "Docs", false};
    using List = std::vector<BrowserTrackCandidate>;
    EXPECT_EQ(BrowserNowPlaying::bestCandidate(List{untitled, countOnly, frontInbox, backTab}), backTab);
    EXPECT_EQ(BrowserNowPlaying::bestCandidate(
                  List{frontTab, backTab, BrowserTrackCandidate{7, "B - YouTube", true}}),
              frontTab);
    EXPECT_EQ(BrowserNowPlaying::bestCandidate(List{plain, BrowserTrackCandidate{8, "Mail", false}}), plain);
    EXPECT_EQ(BrowserNowPlaying::bestCandidate(List{plain, frontInbox}), frontInbox);
    EXPECT_EQ(BrowserNowPlaying::bestCandidate(List{untitled, countOnly}), std::nullopt);
}

TEST(AccessibilityPromptPolicyTest, ClaimsOnlyWhenNoDateIsStoredOrTheLastIsThirtyDaysOld) {
    using Value = vimbo::fakes::InMemoryDefaults::Value;
    const system_clock::time_point now = sys_days{2026y / March / 1};
    const std::pair<std::optional<Value>, bool> cases[] = {
        {std::nullopt, true},    {now - seconds{2'592'000}, true},        {now - seconds{2'591'999}, false},
        {now + hours{1}, false}, {Value{std::string("yesterday")}, true},
    };
    for (const auto& [stored, claimed] : cases) {
        vimbo::fakes::InMemoryDefaults defaults;
        if (stored) defaults.values["prompted"] = *stored;
        EXPECT_EQ((AccessibilityPromptPolicy{defaults, "prompted"}.claimPrompt(now)), claimed);
        if (claimed)
            EXPECT_EQ(defaults.readDate("prompted"), now);
        else
            EXPECT_EQ(defaults.values["prompted"], *stored);
    }
}

// Firefox plays from a content process, Epiphany from its web process below a sandbox helper.
class BrowserNowPlayingTest : public ::testing::Test {
  protected:
    BrowserNowPlayingTest() {
        desktop.processes = {{10, {1, "bash"}},
                             {500, {10, "firefox-esr"}},
                             {501, {500, "firefox-esr"}},
                             {700, {10, "pacat"}},
                             {800, {1, "epiphany"}},
                             {801, {800, "bwrap"}},
                             {802, {801, "WebKitWebProcess"}}};
        desktop.playing = {501, 700, 802, 500, -1, 900};
    }
    std::optional<std::string> title() {
        return browser.title([this](const std::string& line) { lines.push_back(line); });
    }
    // A tab titled `leaf` at `depth` below the root of process 500, each level `width` wide; the tab is
    // the last element of its level.
    void tree(int depth, int width, const std::string& leaf) {
        std::string parent = "500";
        for (int level = 1; level <= depth; ++level) {
            for (int i = 0; i < width; ++i)
                desktop.nodes[parent].children.push_back(parent + "/" + std::to_string(i));
            parent += "/" + std::to_string(width - 1);
        }
        desktop.nodes[parent].title = leaf;
    }

    vimbo::fakes::FakeBrowserDesktop desktop;
    vimbo::fakes::InMemoryDefaults defaults;
    system_clock::time_point now = sys_days{2026y / March / 1};
    BrowserNowPlaying browser{desktop.ports(),
                              {defaults, std::string(BrowserNowPlaying::kPromptDefaultsKey)},
                              [this] { return now; }};
    std::vector<std::string> lines;
};

TEST_F(BrowserNowPlayingTest, NoBrowserPlayingGivesNothingAndOneDebugLine) {
    desktop.playing = {700, 0};
    EXPECT_EQ(title(), std::nullopt);
    EXPECT_EQ(lines, std::vector<std::string>{"browser audio owners []"});
}

TEST_F(BrowserNowPlayingTest, AttributesSoundToTheMainBrowserProcessesAndPicksTheTabWithASiteSuffix) {
    desktop.frontmost = 800;
    desktop.windows = {{500, {" \n", "(2) Mail \u2014 Mozilla Firefox"}}, {800, {"Docs"}}};
    tree(2, 3, " Song - YouTube\n");
    EXPECT_EQ(title(), "Mail");
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "browser audio owners [500, 800]",
                  "browser candidates pid=500 front=false title=(2) Mail \u2014 Mozilla Firefox | pid=800 "
                  "front=true title=Docs"}));
    desktop.windows[500] = {"Mail"};
    EXPECT_EQ(title(), "Song");
    desktop.mediaTitles[500] = "(1) Video - YouTube Music";
    EXPECT_EQ(title(), "Video");
}

TEST_F(BrowserNowPlayingTest, SitesRunAsApplicationsKeepTheirWindowTitleWithoutATabSearch) {
    desktop.processes[500].applicationMode = true;
    desktop.windows[500] = {"Radio"};
    tree(1, 1, "Song - YouTube");
    EXPECT_EQ(title(), "Radio");
}

TEST_F(BrowserNowPlayingTest, TabSearchListsAtMost1200ElementsAndReadsChildrenDownToDepth12) {
    const std::tuple<int, int, bool> cases[] = {
        {1, 1199, true}, {1, 1200, false}, {12, 1, true}, {13, 1, false}};
    for (const auto& [depth, width, found] : cases) {
        desktop.nodes.clear();
        tree(depth, width, "Song - SoundCloud");
        EXPECT_EQ(title(), found ? std::optional<std::string>("Song") : std::nullopt)
            << depth << " " << width;
    }
}

TEST_F(BrowserNowPlayingTest, WithoutAccessibilityPromptsOncePerRunAndOncePerThirtyDays) {
    desktop.trusted = false;
    desktop.windows[500] = {"Song - YouTube"};
    EXPECT_EQ(title(), std::nullopt);
    now += days{31};
    EXPECT_EQ(title(), std::nullopt);
    EXPECT_EQ(desktop.prompts, 1);
    const auto nextRun = [&] {
        BrowserNowPlaying(desktop.ports(), {defaults, std::string(BrowserNowPlaying::kPromptDefaultsKey)},
                          [&] { return now; })
            .title({});
    };
    nextRun();
    EXPECT_EQ(desktop.prompts, 2);
    now += days{29};
    nextRun();
    EXPECT_EQ(desktop.prompts, 2);
}
