#include "core/util/PercentDecoding.h"

#include <gtest/gtest.h>

using vimbo::util::percentDecoded;
using vimbo::util::percentEncodedPath;

TEST(PercentDecodingTest, DecodesEscapesOfEitherCaseAndRefusesMalformedOnes) {
    EXPECT_EQ(percentDecoded("a%20b%2fc%2F%7e%7E%30%39%09"), "a b/c/~~09\t");
    EXPECT_EQ(percentDecoded("%41"), "A"); // an escape ending the text
    EXPECT_EQ(percentDecoded(""), "");
    for (const char* bad : {"%", "%4", "ab%4", "%G1", "%1g", "%:0", "%/0", "%@0", "%`0", "%-1"})
        EXPECT_EQ(percentDecoded(bad), std::nullopt) << bad;
    EXPECT_EQ(percentDecoded(std::string_view("%41", 2)), std::nullopt); // cut off by the end of the text
}

TEST(PercentDecodingTest, AcceptsOnlyStrictUtf8) {
    // The first and last code point of each length, and around the surrogates.
    for (const char* valid : {"%7F", "%C2%80", "%DF%BF", "%E0%A0%80", "%ED%9F%BF", "%EE%80%80", "%EF%BF%BF",
                              "%F0%90%80%80", "%F1%80%80%80", "%F4%8F%BF%BF"})
        EXPECT_TRUE(percentDecoded(valid).has_value()) << valid;
    // Overlong forms, surrogates, beyond U+10FFFF, stray or missing continuation bytes, a five-byte lead.
    for (const char* invalid : {"%C1%BF", "%E0%9F%BF", "%F0%8F%BF%BF", "%ED%A0%80", "%ED%BF%BF",
                                "%F4%90%80%80", "%80", "%E2%82", "%C3%28", "%F8%88%80%80%80"})
        EXPECT_EQ(percentDecoded(invalid), std::nullopt) << invalid;
}

TEST(PercentDecodingTest, EncodesAllButUnreservedCharactersAndSlashesInUppercase) {
    const std::string plain = "azAZ09-._~/";
    EXPECT_EQ(percentEncodedPath(plain), plain);
    EXPECT_EQ(percentEncodedPath("`{@[:% +\x0f"), "%60%7B%40%5B%3A%25%20%2B%0F");
    const std::string text = "/home/J\xc3\xbcrgen/my song #1.wav";
    EXPECT_EQ(percentEncodedPath(text), "/home/J%C3%BCrgen/my%20song%20%231.wav");
    EXPECT_EQ(percentDecoded(percentEncodedPath(text)), text);
}
