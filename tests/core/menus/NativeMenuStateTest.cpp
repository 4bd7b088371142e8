#include "core/menus/NativeMenuState.h"
#include "core/util/PercentDecoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

std::optional<NativeMenuState> fromMessage(const std::string& key = "", const std::string& value = "-") {
    return menuStateFromMessage("menuState:" +
                                vimbo::util::percentEncodedPath(objectText(kFields, key, value)));
}

} // namespace

TEST(NativeMenuStateTest, DecodesAllNineKeysAndIgnoresUnknownOnes) {
    NativeMenuState expected;
    expected.skin = 3;
    expected.dark = expected.glass = expected.musicInfo = expected.menuBarVisible = true;
    EXPECT_EQ(fromMessage(), expected);
    auto extra = kFields;
    extra.emplace_back("future", "[1,{\"x\":null}]");
    EXPECT_EQ(menuStateFromMessage("menuState:" + objectText(extra)), expected); // escapes are optional

    auto negative = fromMessage("skin", "-9223372036854775808");
    ASSERT_TRUE(negative.has_value());
    EXPECT_EQ(negative->skin, INT64_MIN);
}

TEST(NativeMenuStateTest, RejectsAnyMissingNullOrMistypedKeyAndEveryOtherBody) {
    for (const auto& [key, value] : kFields) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(fromMessage(key, ""));
        EXPECT_FALSE(fromMessage(key, "null"));
        EXPECT_FALSE(fromMessage(key, "\"" + value + "\""));
    }
    EXPECT_FALSE(fromMessage("dark", "1"));
    for (const char* skin : {"3.0", "9223372036854775808"})
        EXPECT_FALSE(fromMessage("skin", skin)) << skin;

    const auto object = objectText(kFields);
    for (const std::string& body :
         {"menuState" + object, "MenuState:" + object, " menuState:" + object, "menuState:" + object + "%4",
          "menuState:[" + object + "]", "menuState:" + object.substr(0, 20)})
        EXPECT_FALSE(menuStateFromMessage(body)) << body;
}
