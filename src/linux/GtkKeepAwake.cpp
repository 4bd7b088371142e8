#include "linux/GtkKeepAwake.h"

#include <string>

namespace vimbo::linuxdesktop {

platform::KeepAwake::Token GtkKeepAwake::begin(platform::ActivityKind kind, const char* reason) {
    mainThread_.check();
    auto flags = kind == platform::ActivityKind::displaySleep ? GTK_APPLICATION_INHIBIT_IDLE
                                                              : GTK_APPLICATION_INHIBIT_SUSPEND;
    guint cookie = gtk_application_inhibit(application_, nullptr, flags, reason);
    // Without a session manager there is nothing to hold off; the activity still counts as begun.
    if (cookie == 0) {
        const char* what = kind == platform::ActivityKind::displaySleep ? "keep the display awake"
                                                                        : "keep the computer from sleeping";
        systemLog_.warn(std::string("Vimbo could not ") + what + " (\"" + reason +
                        "\"): no session manager or inhibit portal accepted the request");
    }
    return cookie;
}

void GtkKeepAwake::end(Token token) {
    mainThread_.check();
    if (token != 0) gtk_application_uninhibit(application_, token);
}

} // namespace vimbo::linuxdesktop
