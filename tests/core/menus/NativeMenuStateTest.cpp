#include "core/menus/NativeMenuState.h"
#include "core/util/PercentDecoding.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

using vimbo::menus::menuStateFromMessage;
using vimbo::menus::NativeMenuState;
using Json = nlohmann::json;

namespace {

const Json kObject = {
    {"skin", 3},          {"dark", true},      {"glow", false},          {"glass", true},
    {"keepAwake", false}, {"musicInfo", true}, {"menuBarVisible", true}, {"musicControl", false},
    {"exportMode", false}};

Json with(const std::string& key, const Json& value) {
    Json object = kObject;
    object[key] = value;
    return object;
}

std::optional<NativeMenuState> fromMessage(const Json& object) {
    return menuStateFromMessage("menuState:" + vimbo::util::percentEncodedPath(object.dump()));
}

} // namespace

TEST(NativeMenuStateTest, DecodesAllNineKeysAndIgnoresUnknownOnes) {
    NativeMenuState expected;
    expected.skin = 3;
    expected.dark = expected.glass = expected.musicInfo = expected.menuBarVisible = true;
    EXPECT_EQ(fromMessage(kObject), expected);
    // Escapes are optional.
    EXPECT_EQ(menuStateFromMessage("menuState:" + with("future", Json::parse(R"([1,{"x":null}])")).dump()),
              expected);

    for (const std::int64_t extreme : {INT64_MIN, INT64_MAX}) {
        auto state = fromMessage(with("skin", extreme));
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ(state->skin, extreme);
    }
}

TEST(NativeMenuStateTest, RejectsAnyMissingNullOrMistypedKeyAndEveryOtherBody) {
    for (const auto& [key, value] : kObject.items()) {
        SCOPED_TRACE(key);
        Json without = kObject;
        without.erase(key);
        EXPECT_FALSE(fromMessage(without));
        EXPECT_FALSE(fromMessage(with(key, nullptr)));
        EXPECT_FALSE(fromMessage(with(key, value.dump())));
    }
    for (const Json& wrong : {with("dark", 1), with("skin", 3.0), with("skin", 9223372036854775808ULL)})
        EXPECT_FALSE(fromMessage(wrong)) << wrong;

    const auto text = kObject.dump();
    for (const std::string& body : {"menuState" + text, "MenuState:" + text, "menuState:" + text + "%4",
                                    "menuState:" + text.substr(0, 20)})
        EXPECT_FALSE(menuStateFromMessage(body)) << body;
}
