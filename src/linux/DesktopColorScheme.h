#pragma once

#include <gio/gio.h>

#include <functional>

namespace vimbo::linuxdesktop {

// The desktop's light or dark preference (org.freedesktop.appearance color-scheme through the
// settings portal). Light until the portal says otherwise, and when there is no portal.
class DesktopColorScheme {
  public:
    DesktopColorScheme(GDBusConnection* connection, std::function<void()> onChanged);
    ~DesktopColorScheme();
    DesktopColorScheme(const DesktopColorScheme&) = delete;
    DesktopColorScheme& operator=(const DesktopColorScheme&) = delete;

    bool prefersDark() const { return prefersDark_; }

  private:
    static void onRead(GObject* source, GAsyncResult* result, gpointer self);
    static void onSettingChanged(GDBusConnection*, const char*, const char*, const char*, const char*,
                                 GVariant* parameters, gpointer self);
    void apply(GVariant* value);

    GDBusConnection* connection_;
    std::function<void()> onChanged_;
    GCancellable* cancellable_;
    guint subscription_ = 0;
    bool prefersDark_ = false;
};

} // namespace vimbo::linuxdesktop
