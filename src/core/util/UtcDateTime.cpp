#include "core/util/UtcDateTime.h"

namespace vimbo::util {

UtcDateTime UtcDateTime::from(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    // Flooring keeps the fields right for times before 1970, where truncation would round up.
    const auto whole = floor<seconds>(time);
    const auto day = floor<days>(whole);
    const year_month_day date{day};
    const hh_mm_ss clock{whole - day};
    // Not `time - whole`: within the clock's first second `whole` lies before what nanoseconds can hold.
    auto subsecond = time.time_since_epoch() % seconds{1};
    if (subsecond < nanoseconds::zero()) subsecond += seconds{1};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<long long>(subsecond.count())};
}

} // namespace vimbo::util
