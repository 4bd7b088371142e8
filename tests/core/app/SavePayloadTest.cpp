#include "core/app/SavePayload.h"

#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

TEST(SavePayloadTest, SizeAndDecodedNameOrTheWholeTextUndecoded) {
    const struct {
        const char* text;
        const char* filename;
        std::int64_t bytes;
    } cases[] = {{"1048576:My%20Video.mp4", "My Video.mp4", 1048576},
                 {"abc:x.mp4", "abc:x.mp4", 0},
                 {"12:a:b%3A.mp4", "a:b:.mp4", 12},
                 {"9223372036854775807:x", "x", 9223372036854775807},
                 {"9223372036854775808:x", "9223372036854775808:x", 0},
                 {"-5:x", "-5:x", 0},
                 {"5:100%.mp4", "100%.mp4", 5},
                 {"5:%C3%28", "%C3%28", 5}}; // not UTF-8
    for (const auto& c : cases) {
        auto payload = SavePayload::parse(c.text);
        EXPECT_EQ(payload.filename, c.filename) << c.text;
        EXPECT_EQ(payload.estimatedBytes, c.bytes) << c.text;
    }
}

} // namespace
} // namespace vimbo::app
