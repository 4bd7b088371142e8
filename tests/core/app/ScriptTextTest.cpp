#include "core/app/ScriptText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vimbo::app {
namespace {

TEST(ScriptTextTest, LiteralsAreJsonStringsOrEmptyForBrokenUtf8AndFloatsShortestWithAFraction) {
    EXPECT_EQ(javascriptLiteral("a'b\"c\\d\n\x01"), "\"a'b\\\"c\\\\d\\n\\u0001\"");
    EXPECT_EQ(javascriptLiteral("Caf\xC3\xA9 \xE2\x86\x90"), "\"Caf\xC3\xA9 \xE2\x86\x90\"");
    EXPECT_EQ(javascriptLiteral("a\xFF"), "\"\"");
    // Floats are the shortest text that reads back the same, always with a fractional part.
    EXPECT_EQ(shortestFloatText(8.0f), "8.0");
    EXPECT_EQ(shortestFloatText(1e20f), "1.0e+20");
    EXPECT_EQ(shortestFloatText(1.0f / 3.0f), "0.33333334");
    // What JavaScript calls the values that have no digits.
    EXPECT_EQ(shortestFloatText(NAN) + shortestFloatText(-INFINITY), "NaN-Infinity");
}

} // namespace
} // namespace vimbo::app
