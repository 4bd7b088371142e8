#include "core/export/SavePayload.h"

#include <gtest/gtest.h>

namespace vimbo::export_ {
namespace {

TEST(SavePayloadTest, ASizeBeforeTheFirstColonOrElseTheWholeTextAsTheName) {
    const std::tuple<const char*, const char*, std::int64_t> cases[] = {
        {"1048576:My%20Video.mp4", "My Video.mp4", 1048576},
        {"My Video.mp4", "My Video.mp4", 0},
        {"abc:x.mp4", "abc:x.mp4", 0},
        {":x.mp4", ":x.mp4", 0},
        {"12x:x.mp4", "12x:x.mp4", 0},
        {"9223372036854775808:x.mp4", "9223372036854775808:x.mp4", 0},
        {"9223372036854775807:a:b", "a:b", 9223372036854775807},
        {"-5:x.mp4", "x.mp4", -5},
        {"7:100%.mp4", "100%.mp4", 7}, // undecodable: left as sent
    };
    for (const auto& [payload, name, bytes] : cases) {
        auto request = parseSavePayload(payload);
        EXPECT_EQ(request.filename, name) << payload;
        EXPECT_EQ(request.estimatedBytes, bytes) << payload;
    }
}

} // namespace
} // namespace vimbo::export_
