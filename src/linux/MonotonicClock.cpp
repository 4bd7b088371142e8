#include "linux/MonotonicClock.h"

#include <glib.h>

namespace vimbo::linuxdesktop {

double MonotonicClock::now() const {
    return static_cast<double>(g_get_monotonic_time()) / 1e6;
}

} // namespace vimbo::linuxdesktop
