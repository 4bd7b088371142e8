#include "core/util/UtcDateTime.h"

namespace vimbo::util {

UtcDateTime UtcDateTime::from(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    // Flooring keeps the fields right for times before 1970, where truncation would round up.
    const auto whole = floor<seconds>(time);
    const auto day = floor<days>(whole);
    const year_month_day date{day};
    const hh_mm_ss clock{whole - day};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<long long>(duration_cast<nanoseconds>(time - whole).count())};
}

} // namespace vimbo::util
