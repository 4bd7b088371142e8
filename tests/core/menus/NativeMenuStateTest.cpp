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

std::string objectText(const Fields& fields) {
    std::string text = "{";
    for (const auto& [key, value] : fields) {
        if (text.size() > 1) text += ",";
        text += "\"" + key + "\":" + value;
    }
    return text + "}";
}

Fields with(Fields fields, const std::string& key, const std::string& value) {
    for (auto& field : fields) {
        if (field.first == key) field.second = value;
    }
    return fields;
}

Fields without(Fields fields, const std::string& key) {
    std::erase_if(fields, [&](const auto& field) { return field.first == key; });
    return fields;
}

std::string percentEncoded(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string message(const Fields& fields) {
    return "menuState:" + percentEncoded(objectText(fields));
}

NativeMenuState expectedState() {
    NativeMenuState state;
    state.skin = 3;
    state.dark = true;
    state.glass = true;
    state.musicInfo = true;
    state.menuBarVisible = true;
    return state;
}

} // namespace

TEST(NativeMenuStateTest, DecodesAllNineKeysFromAPercentEncodedMessage) {
    EXPECT_EQ(menuStateFromMessage(message(kFields)), expectedState());
    // Characters the page leaves unescaped decode the same.
    EXPECT_EQ(decodeMenuState(objectText(kFields)), expectedState());
    auto extra = kFields;
    extra.emplace_back("future", "[1,{\"x\":null}]");
    EXPECT_EQ(menuStateFromMessage(message(extra)), expectedState());

    auto negative = menuStateFromMessage(message(with(kFields, "skin", "-9223372036854775808")));
    ASSERT_TRUE(negative.has_value());
    EXPECT_EQ(negative->skin, INT64_MIN);
}

TEST(NativeMenuStateTest, RejectsAnyMissingNullOrMistypedKey) {
    for (const auto& [key, value] : kFields) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(menuStateFromMessage(message(without(kFields, key))));
        EXPECT_FALSE(menuStateFromMessage(message(with(kFields, key, "null"))));
        EXPECT_FALSE(menuStateFromMessage(message(with(kFields, key, "\"" + value + "\""))));
    }
    EXPECT_FALSE(menuStateFromMessage(message(with(kFields, "dark", "1"))));
    EXPECT_FALSE(menuStateFromMessage(message(with(kFields, "skin", "\"3\""))));
    EXPECT_FALSE(menuStateFromMessage(message(with(kFields, "skin", "3.0"))));
    EXPECT_FALSE(menuStateFromMessage(message(with(kFields, "skin", "true"))));
    EXPECT_FALSE(menuStateFromMessage(message(with(kFields, "skin", "9223372036854775808"))));
}

TEST(NativeMenuStateTest, RejectsWrongPrefixesBadEscapesAndNonObjects) {
    auto payload = percentEncoded(objectText(kFields));
    EXPECT_FALSE(menuStateFromMessage("menuState" + payload));
    EXPECT_FALSE(menuStateFromMessage("menu:" + payload));
    EXPECT_FALSE(menuStateFromMessage("MenuState:" + payload));
    EXPECT_FALSE(menuStateFromMessage("menustate:" + payload));
    EXPECT_FALSE(menuStateFromMessage(" menuState:" + payload));

    EXPECT_FALSE(menuStateFromMessage("menuState:%7B"));
    EXPECT_FALSE(menuStateFromMessage("menuState:" + payload + "%"));
    EXPECT_FALSE(menuStateFromMessage("menuState:" + payload + "%4"));
    EXPECT_FALSE(menuStateFromMessage("menuState:%ZZ" + payload));
    // An escape that decodes to a byte that is not UTF-8.
    EXPECT_FALSE(decodeMenuState(objectText(with(kFields, "skin", "3")) + "%FF"));

    EXPECT_FALSE(menuStateFromMessage("menuState:"));
    EXPECT_FALSE(menuStateFromMessage("menuState:" + percentEncoded("[" + objectText(kFields) + "]")));
    EXPECT_FALSE(menuStateFromMessage("menuState:" + percentEncoded(objectText(kFields) + "x")));
    EXPECT_FALSE(menuStateFromMessage("menuState:" + percentEncoded(objectText(kFields)).substr(0, 20)));
}

TEST(NativeMenuStateTest, StatesAreEqualOnlyWhenEveryFieldIs) {
    auto a = expectedState();
    auto b = a;
    EXPECT_EQ(a, b);
    b.exportMode = true;
    EXPECT_NE(a, b);
}
