#pragma once

#include <chrono>

namespace vimbo::util {

// A time point broken into its UTC calendar fields, for the textual dates of logs and files.
struct UtcDateTime {
    int year;
    unsigned month;
    unsigned day;
    int hour;
    int minute;
    int second;
    long long nanosecond; // 0…999999999, also before 1970

    static UtcDateTime from(std::chrono::system_clock::time_point time);
};

} // namespace vimbo::util
