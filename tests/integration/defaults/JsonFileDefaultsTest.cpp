#include "linux/JsonFileDefaults.h"
#include "fakes/FakeAppPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::StartsWith;
using vimbo::linuxdesktop::JsonFileDefaults;
using vimbo::platform::DefaultsDate;
using vimbo::platform::DefaultsType;
using namespace std::chrono;

namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void plant(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class JsonFileDefaultsTest : public ::testing::Test {
  protected:
    vimbo::fakes::RecordingSystemLog log;

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vimbo-defaults-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        configHome = pattern;
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        file = JsonFileDefaults::defaultPath();
    }
    void TearDown() override { std::filesystem::remove_all(configHome); }

    // Every file beside defaults.json other than its lock file.
    std::vector<std::filesystem::path> strayFiles() const {
        std::vector<std::filesystem::path> stray;
        for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
            if (auto name = entry.path().filename(); name != "defaults.json" && name != "defaults.json.lock")
                stray.push_back(entry.path());
        return stray;
    }

    // A new store over what lies at `file` (`planted` text, if given) keeps it aside with one warning
    // naming `reason`, starts empty and then saves normally. The folder is emptied afterwards.
    void expectKeptAside(const std::string& reason, const std::optional<std::string>& planted = {}) {
        if (planted) plant(file, *planted);
        JsonFileDefaults store(file, log);
        EXPECT_EQ(store.typeOf("glassMode"), std::nullopt);
        const auto stray = strayFiles();
        const auto kept = stray.size() == 1 ? stray[0] : std::filesystem::path("none kept");
        EXPECT_TRUE(kept.filename().string().starts_with("defaults.json.corrupt-")) << kept;
        EXPECT_EQ(planted.value_or(""), planted ? slurp(kept) : "");
        EXPECT_THAT(log.lines,
                    ElementsAre(StartsWith("Vimbo defaults file " + file.string() + " is corrupt, kept as " +
                                           kept.string() + " (" + reason)));
        store.writeBool("glassMode", true);
        store.flush();
        EXPECT_EQ(JsonFileDefaults(file, log).readBool("glassMode"), true);
        log.lines.clear();
        std::filesystem::remove_all(file.parent_path());
        std::filesystem::create_directories(file.parent_path());
    }

    // The file as it is now: it must always parse as an object while writers run.
    json parsedFile() const {
        const std::string text = slurp(file);
        json parsed = json::parse(text, nullptr, false);
        EXPECT_TRUE(parsed.is_object()) << "torn or invalid file: " << text;
        return parsed;
    }

    std::filesystem::path configHome;
    std::filesystem::path file;
};

} // namespace

TEST_F(JsonFileDefaultsTest, DefaultPathFollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(file, configHome / "vimbo" / "defaults.json");
    setenv("HOME", (configHome / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute, so ignored
    EXPECT_EQ(JsonFileDefaults::defaultPath(), configHome / "home/.config/vimbo/defaults.json");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(JsonFileDefaults::defaultPath(), configHome / "home/.config/vimbo/defaults.json");
    setenv("HOME", "", 1); // the account's home from the system instead
    EXPECT_TRUE(JsonFileDefaults::defaultPath().is_absolute());
}

TEST_F(JsonFileDefaultsTest, EveryTypeSurvivesANewInstance) {
    const DefaultsDate date =
        sys_days{year{2026} / December / 5} + hours{20} + minutes{47} + seconds{41} + nanoseconds{123456789};
    const DefaultsDate before1970 = DefaultsDate{} - nanoseconds{1500000001};
    const double minusInf = -std::numeric_limits<double>::infinity();
    const std::string unicode = "Gr\xc3\xbc\xc3\x9f\x65 \"quoted\"\n";
    {
        JsonFileDefaults store(file, log);
        EXPECT_FALSE(std::filesystem::exists(file)); // nothing written before the first write
        store.writeBool("menuBarVisible", false);
        store.writeDouble("microphoneSensitivity", 0.1);
        store.writeDouble("nan", std::nan(""));
        store.writeDouble("minusInf", minusInf);
        store.writeString("unicode", unicode);
        store.writeString("notUtf8", "a\xff"); // stored with a replacement character, not refused
        store.writeDate("BrowserNowPlaying.lastAccessibilityPromptAt", date);
        store.writeDate("old", before1970);
    }
    JsonFileDefaults store(file, log);
    EXPECT_EQ(store.readBool("menuBarVisible"), false);
    EXPECT_EQ(store.readDouble("microphoneSensitivity"), 0.1);
    EXPECT_TRUE(std::isnan(store.readDouble("nan").value_or(0)));
    EXPECT_EQ(store.readDouble("minusInf"), minusInf);
    EXPECT_EQ(store.readString("unicode"), unicode);
    EXPECT_EQ(store.readString("notUtf8"), "a\xef\xbf\xbd");
    EXPECT_EQ(store.readDate("BrowserNowPlaying.lastAccessibilityPromptAt"), date);
    EXPECT_EQ(store.readDate("old"), before1970);
    EXPECT_EQ(parsedFile()["BrowserNowPlaying.lastAccessibilityPromptAt"],
              json({{"date", "2026-12-05T20:47:41.123456789Z"}}));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(JsonFileDefaultsTest, WrongTypesAndUnknownShapesReadAsAbsentAndSurviveWrites) {
    const json unknown = json::parse(R"({"list": [1, 2], "nothing": null, "object": {"a": 1},
        "dateAsNumber": {"date": 5},
        "dateWithMore": {"date": "2026-12-05T20:47:41Z", "zone": "UTC"}, "badNumber": {"number": "huge"},
        "numberWithMore": {"number": "inf", "unit": "m"},
        "microphoneSensitivity": "loud", "glassMode": true, "count": 3})");
    plant(file, unknown.dump());
    JsonFileDefaults store(file, log);
    for (const auto& [key, value] : unknown.items()) {
        if (value.is_primitive() && !value.is_null()) continue;
        EXPECT_EQ(store.typeOf(key), std::nullopt) << key;
        EXPECT_EQ(store.readDate(key), std::nullopt) << key;
        EXPECT_EQ(store.readDouble(key), std::nullopt) << key;
    }
    // A wrongly typed value is absent to the other readers, while typeOf still tells it from a missing one.
    EXPECT_EQ(store.readDouble("microphoneSensitivity"), std::nullopt);
    EXPECT_EQ(store.typeOf("microphoneSensitivity"), DefaultsType::string);
    EXPECT_EQ(store.readString("glassMode"), std::nullopt);
    EXPECT_EQ(store.readDouble("glassMode"), std::nullopt); // true is not the number 1
    EXPECT_EQ(store.typeOf("glassMode"), DefaultsType::boolean);
    EXPECT_EQ(store.readDouble("count"), 3.0); // an integer is a number

    store.writeString("audioInput", "microphone");
    store.writeDouble("gone", 1);
    store.remove("gone");
    store.remove("neverThere");
    store.flush();
    json expected = unknown;
    expected["audioInput"] = "microphone";
    EXPECT_EQ(parsedFile(), expected);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(JsonFileDefaultsTest, StoredDatesReadWithAnyFractionPrecisionWithinTheClocksRange) {
    const auto utc = [](int y, unsigned mo, unsigned d, int h, int mi, int s) -> DefaultsDate {
        return sys_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s};
    };
    const DefaultsDate second = utc(2026, 12, 5, 20, 47, 41);
    const std::pair<std::string, DefaultsDate> valid[] = {
        {"2026-12-05T20:47:41Z", second},
        {"2026-12-05T20:47:41.5Z", second + milliseconds{500}},
        {"2024-02-29T23:59:59.000000001Z", utc(2024, 2, 29, 23, 59, 59) + nanoseconds{1}},
        // The nanosecond clock spans 1677-09-21T00:12:43.145224192Z to 2262-04-11T23:47:16.854775807Z.
        {"1677-09-21T00:12:44Z", utc(1677, 9, 21, 0, 12, 44)},
        {"2262-04-11T23:47:15Z", utc(2262, 4, 11, 23, 47, 15)},
    };
    const std::string refused[] = {"1677-09-21T00:12:43Z",  "2262-04-11T23:47:16Z",
                                   "2026-12-05T20:47:41.Z", "2026-12-05T20:47:41.1234567890Z",
                                   "2026-12-05T20:47:41.5", "2026-12-05T20:47:4xZ",
                                   "2026-12-05T24:00:00Z",  "2026-12-05T23:59:60Z",
                                   "2025-02-29T20:47:41Z",  "2026-12-05 20:47:41Z"};
    json stored = json::object();
    for (const auto& [text, date] : valid)
        stored[text] = {{"date", text}};
    for (const auto& text : refused)
        stored[text] = {{"date", text}};
    plant(file, stored.dump());
    JsonFileDefaults store(file, log);
    for (const auto& [text, date] : valid) {
        EXPECT_EQ(store.readDate(text), date) << text;
        EXPECT_EQ(store.typeOf(text), DefaultsType::date) << text;
    }
    for (const auto& text : refused)
        EXPECT_EQ(store.typeOf(text), std::nullopt) << text; // and so no date either
}

TEST_F(JsonFileDefaultsTest, CorruptOrUnreadableFileIsKeptAsideWithOneWarning) {
    for (const std::string text : {"{\"glassMode\": tru", "[true]", "", "{\"a\": \"\xff\xfe\"}"})
        expectKeptAside("", text);
}

// Shapes that pass a parser, or are not files at all: none may hang or exhaust the program.
TEST_F(JsonFileDefaultsTest, DeepOrHugeFilesFifosAndDevicesAreKeptAsideWithoutHanging) {
    // 100,000 nested arrays under an unknown key: 200 KB that once made the first write climb past 2.5 GB.
    expectKeptAside("nested deeper than 64 levels)",
                    "{\"x\":" + std::string(100'000, '[') + std::string(100'000, ']') + "}");
    // 64 levels are still settings (brackets inside strings do not count).
    plant(file, "{\"k\":\"[[[[\",\"x\":" + std::string(63, '[') + std::string(63, ']') + "}");
    JsonFileDefaults(file, log).writeBool("glassMode", true);
    EXPECT_TRUE(log.lines.empty());
    std::filesystem::remove(file);
    expectKeptAside("larger than 1048576 bytes)", "{\"x\":\"" + std::string(2 << 20, 'a') + "\"}");
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); // used to block start-up for ever
    expectKeptAside("not a regular file)");
    std::filesystem::create_symlink("/dev/zero", file); // used to grow past 3 GB
    expectKeptAside("not a regular file)");
}

TEST_F(JsonFileDefaultsTest, ALinkedFileIsWrittenWhereItLeadsAndStaysALink) {
    plant(configHome / "dotfiles/vimbo.json", "{\"keepAwake\": true}");
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::create_symlink("../dotfiles/vimbo.json", file);
    JsonFileDefaults(file, log).writeBool("glassMode", true);
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    JsonFileDefaults reread(configHome / "dotfiles/vimbo.json", log);
    EXPECT_EQ(reread.readBool("keepAwake"), true);
    EXPECT_EQ(reread.readBool("glassMode"), true);
    EXPECT_TRUE(log.lines.empty());
}

// A page can send a setting thousands of times a second; the writes reach the file in a few rounds,
// and the last value is the one kept.
TEST_F(JsonFileDefaultsTest, AFloodOfWritesEndsWithTheLastValueInTheFile) {
    JsonFileDefaults store(file, log);
    for (int n = 0; n <= 20'000; ++n)
        store.writeDouble("microphoneSensitivity", n);
    store.flush();
    EXPECT_EQ(JsonFileDefaults(file, log).readDouble("microphoneSensitivity"), 20'000);
}

TEST_F(JsonFileDefaultsTest, EachLaterCorruptionGetsItsOwnKeptFile) {
    // A directory where the file should be cannot be read: it is moved aside like bad content.
    std::filesystem::create_directories(file);
    JsonFileDefaults first(file, log);
    plant(file, "{oops");
    JsonFileDefaults second(file, log); // within the same second as the first
    EXPECT_EQ(log.lines.size(), 2u);
    // Found only when writing: kept aside too, and the write still lands.
    plant(file, "garbage");
    second.writeBool("glassMode", true);
    second.flush();
    EXPECT_EQ(parsedFile(), json({{"glassMode", true}}));
    // Files kept within one second are numbered on from the plain name: "...Z", "...Z-1", "...Z-2".
    auto kept = strayFiles();
    ASSERT_EQ(kept.size(), 3u);
    std::sort(kept.begin(), kept.end());
    std::map<std::string, int> keptInSecond;
    for (const auto& path : kept) {
        const std::string name = path.filename(), stamp = name.substr(0, name.find('Z') + 1);
        const int n = keptInSecond[stamp]++;
        EXPECT_EQ(name, n == 0 ? stamp : stamp + "-" + std::to_string(n));
    }
}

TEST_F(JsonFileDefaultsTest, UnwritableLocationKeepsValuesInMemoryAndWarns) {
    plant(configHome / "vimbo", "a file where the directory should be");
    JsonFileDefaults store(file, log);
    store.writeDouble("microphoneSensitivity", 2.0);
    EXPECT_EQ(store.readDouble("microphoneSensitivity"), 2.0);
    store.flush();
    ASSERT_FALSE(log.lines.empty());
    EXPECT_TRUE(log.lines[0].starts_with("Vimbo defaults file " + file.string())) << log.lines[0];
}

TEST_F(JsonFileDefaultsTest, TemporaryLeftByACrashedWriterIsRemoved) {
    plant(file, "{\"glassMode\": true}");
    plant(file.parent_path() / "defaults.json.tmp-Ab12Cd", "{\"glass");
    plant(file.parent_path() / "notes.tmp-Ab12Cd", "someone else's");
    EXPECT_EQ(JsonFileDefaults(file, log).readBool("glassMode"), true);
    EXPECT_EQ(strayFiles(), std::vector{file.parent_path() / "notes.tmp-Ab12Cd"});
    EXPECT_EQ(JsonFileDefaults(file, log).readBool("glassMode"), true); // the file itself stays
}

TEST_F(JsonFileDefaultsTest, ConcurrentWritersNeverTearTheFileOrLoseKeys) {
    // Two writers share one instance; two open their own, as other processes do, so that only the file
    // lock keeps them apart. Each stores its own keys "<prefix>-<n>" = n.
    constexpr int keysPerWriter = 40;
    const std::vector<std::string> prefixes = {"shared-a", "shared-b", "own-a", "own-b"};
    JsonFileDefaults shared(file, log);
    std::atomic<std::size_t> writing = prefixes.size();
    std::vector<std::thread> writers;
    for (const auto& prefix : prefixes)
        writers.emplace_back([&, prefix] {
            std::optional<JsonFileDefaults> own;
            if (prefix.starts_with("own")) own.emplace(file, log);
            for (int n = 0; n < keysPerWriter; ++n)
                (own ? *own : shared).writeDouble(prefix + "-" + std::to_string(n), n);
            --writing;
        });
    while (writing > 0)
        if (std::filesystem::exists(file)) parsedFile(); // never torn
    for (auto& writer : writers)
        writer.join();
    shared.writeDouble("shared-a-0", 0); // in memory too, a write brings in what the others stored
    shared.flush();
    for (const auto& prefix : prefixes)
        for (int n = 0; n < keysPerWriter; ++n)
            EXPECT_EQ(shared.readDouble(prefix + "-" + std::to_string(n)), n) << prefix << " " << n;
    EXPECT_EQ(parsedFile().size(), prefixes.size() * keysPerWriter);
    EXPECT_TRUE(strayFiles().empty());
}
