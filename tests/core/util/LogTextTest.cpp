#include "core/util/LogText.h"

#include <gtest/gtest.h>

#include <string>

namespace vimbo::util {
namespace {

TEST(LogTextTest, ControlsAndBrokenUtf8BecomeVisibleEscapesAndTheRestIsKept) {
    const struct {
        std::string in, out;
    } rows[] = {
        {"export:error:x\n2026-01-01 forged", "export:error:x\\x0a2026-01-01 forged"},
        {"\x1b[2Jred\r", "\\x1b[2Jred\\x0d"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"tab\there\x7f", "tab\\x09here\\x7f"},
        {"\xc2\x9b" "31m", "\\xc2\\x9b31m"},               // C1 CSI
        {"caf\xc3\xa9 \xe2\x99\xab \xf0\x9f\x8e\xb5", "caf\xc3\xa9 \xe2\x99\xab \xf0\x9f\x8e\xb5"}, // é ♫ 🎵
        {"\xc2\xa0nbsp", "\xc2\xa0nbsp"},                  // U+00A0 is printable
        {"bad\xff\xc3", "bad\\xff\\xc3"},                  // stray byte, truncated sequence
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},               // a surrogate is not UTF-8
        {"\xc0\xaf", "\\xc0\\xaf"},                        // overlong "/"
    };
    for (const auto& row : rows)
        EXPECT_EQ(printableLogText(row.in), row.out) << row.in;
}

TEST(LogTextTest, LongTextIsCutAtACharacterBoundaryWithTheCountLeftOut) {
    EXPECT_EQ(printableLogText(std::string(10, 'a'), 10), std::string(10, 'a'));
    EXPECT_EQ(printableLogText(std::string(11, 'a'), 10), std::string(10, 'a') + "... (1 more bytes)");
    // "é" takes two bytes and does not fit after nine: it is left out whole.
    EXPECT_EQ(printableLogText(std::string(9, 'a') + "\xc3\xa9", 10), std::string(9, 'a') + "... (2 more bytes)");
    // An escape takes four bytes of the allowance.
    EXPECT_EQ(printableLogText("ab\ncd", 5), "ab... (3 more bytes)");
    EXPECT_EQ(printableLogText(std::string(10'000'000, 'x')).size(),
              kMaxLogTextBytes + std::string("... (9995904 more bytes)").size());
}

} // namespace
} // namespace vimbo::util
