#include "core/util/UtcDateTime.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace std::chrono;
using vimbo::util::UtcDateTime;

TEST(UtcDateTimeTest, BreaksATimeIntoCalendarFieldsFlooringBefore1970) {
    const auto fields = [](system_clock::time_point time) {
        const auto utc = UtcDateTime::from(time);
        return std::tuple(utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second, utc.nanosecond);
    };
    EXPECT_EQ(
        fields(sys_days{year{2024} / February / 29} + hours{23} + minutes{59} + seconds{58} + nanoseconds{7}),
        std::tuple(2024, 2u, 29u, 23, 59, 58, 7LL));
    // 1.25 s before the epoch is 23:59:58 and three quarters, not 23:59:59 less a quarter.
    EXPECT_EQ(fields(system_clock::time_point{} - milliseconds{1250}),
              std::tuple(1969, 12u, 31u, 23, 59, 58, 750000000LL));
}
