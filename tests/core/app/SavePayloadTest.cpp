#include "core/app/SavePayload.h"

#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

void expectPayload(const char* text, const char* filename, std::int64_t bytes) {
    auto payload = SavePayload::parse(text);
    EXPECT_EQ(payload.filename, filename) << text;
    EXPECT_EQ(payload.estimatedBytes, bytes) << text;
}

TEST(SavePayloadTest, SizeAndDecodedNameOrTheWholeTextUndecoded) {
    expectPayload("1048576:My%20Video.mp4", "My Video.mp4", 1048576);
    expectPayload("My Video.mp4", "My Video.mp4", 0);
    expectPayload("abc:x.mp4", "abc:x.mp4", 0);
    expectPayload(":x.mp4", ":x.mp4", 0);
    expectPayload("12:a:b%3A.mp4", "a:b:.mp4", 12);
    expectPayload("0:", "", 0);
}

TEST(SavePayloadTest, SizesOutside64BitsOrWithSignsAreNotSizes) {
    expectPayload("9223372036854775807:x", "x", 9223372036854775807);
    expectPayload("9223372036854775808:x", "9223372036854775808:x", 0);
    expectPayload("-5:x", "-5:x", 0);
    expectPayload("+5:x", "+5:x", 0);
}

TEST(SavePayloadTest, NamesThatDoNotDecodeAreKeptAsTheyAre) {
    expectPayload("5:100%.mp4", "100%.mp4", 5);
    expectPayload("5:%zz", "%zz", 5);
    expectPayload("5:%C3%28", "%C3%28", 5); // not UTF-8
}

} // namespace
} // namespace vimbo::app
