#include "core/menus/NativeMenuState.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

using vimbo::menus::decodeMenuState;
using vimbo::menus::menuStateFromMessage;
using vimbo::menus::NativeMenuState;

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const Fields kFields = {
    {"skin", "3"},           {"dark", "true"},      {"glow", "false"},          {"glass", "true"},
    {"keepAwake", "false"},  {"musicInfo", "true"}, {"menuBarVisible", "true"}, {"musicControl", "false"},
    {"exportMode", "false"},
};

// The fields as a JSON object, with `key` set to `value` (or left out when `value` is empty).
std::string objectText(const Fields& fields, const std::string& key = "", const std::string& value = "-") {
    std::string text = "{";
    for (const auto& [name, original] : fields) {
        if (name == key && value.empty()) continue;
        text += (text.size() > 1 ? ",\"" : "\"") + name + "\":" + (name == key ? value : original);
    }
    return text + "}";
}

std::string percentEncoded(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c))
            out += static_cast<char>(c);
        else
            out += {'%', "0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
    }
    return out;
}

std::optional<NativeMenuState> fromMessage(const std::string& key = "", const std::string& value = "-") {
    return menuStateFromMessage("menuState:" + percentEncoded(objectText(kFields, key, value)));
}

} // namespace

TEST(NativeMenuStateTest, DecodesAllNineKeysFromAPercentEncodedMessage) {
    NativeMenuState expected;
    expected.skin = 3;
    expected.dark = expected.glass = expected.musicInfo = expected.menuBarVisible = true;
    EXPECT_EQ(fromMessage(), expected);
    // Unknown keys are ignored.
    auto extra = kFields;
    extra.emplace_back("future", "[1,{\"x\":null}]");
    EXPECT_EQ(menuStateFromMessage("menuState:" + percentEncoded(objectText(extra))), expected);

    auto negative = fromMessage("skin", "-9223372036854775808");
    ASSERT_TRUE(negative.has_value());
    EXPECT_EQ(negative->skin, INT64_MIN);
}

TEST(NativeMenuStateTest, RejectsAnyMissingNullOrMistypedKey) {
    for (const auto& [key, value] : kFields) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(fromMessage(key, ""));
        EXPECT_FALSE(fromMessage(key, "null"));
        EXPECT_FALSE(fromMessage(key, "\"" + value + "\""));
    }
    EXPECT_FALSE(fromMessage("dark", "1"));
    for (const char* skin : {"3.0", "9223372036854775808"})
        EXPECT_FALSE(fromMessage("skin", skin)) << skin;
}

TEST(NativeMenuStateTest, RejectsWrongPrefixesBadEscapesAndNonObjects) {
    const auto payload = percentEncoded(objectText(kFields));
    for (const char* prefix : {"menuState", "MenuState:", " menuState:"})
        EXPECT_FALSE(menuStateFromMessage(prefix + payload)) << prefix;
    for (const std::string& bad : {payload + "%4", "%ZZ" + payload, std::string(""),
                                   percentEncoded("[" + objectText(kFields) + "]"), payload.substr(0, 20)})
        EXPECT_FALSE(menuStateFromMessage("menuState:" + bad)) << bad;
    // An escape that decodes to a byte that is not UTF-8.
    EXPECT_FALSE(decodeMenuState(objectText(kFields) + "%FF"));
}
