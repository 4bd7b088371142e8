#pragma once

#include "core/platform/StatusItem.h"
#include "core/platform/SystemLog.h"
#include "core/util/ThreadChecker.h"

#include <gio/gio.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::linuxdesktop {

// Publishes a status item's menu as com.canonical.dbusmenu on one object path. Main thread only.
class DBusMenuExporter {
  public:
    using Names = std::vector<std::string>;

    struct Events {
        std::function<void(const std::string& action, const std::string& representedObject)> onClicked;
        std::function<void()> onAboutToShow;
    };

    DBusMenuExporter(GDBusConnection* connection, platform::SystemLog& systemLog, std::string objectPath,
                     Events events);
    ~DBusMenuExporter();
    DBusMenuExporter(const DBusMenuExporter&) = delete;
    DBusMenuExporter& operator=(const DBusMenuExporter&) = delete;

    // A change of check marks only updates those items; anything else publishes a new layout.
    void setMenu(const std::vector<platform::StatusMenuItem>& menu);
    unsigned revision() const { return revision_; }
    const std::string& objectPath() const { return objectPath_; }

  private:
    struct Entry {
        int parent = -1;
        platform::StatusMenuItem item; // without its children
        std::vector<int> children;
    };

    static void handleMethod(GDBusConnection*, const char*, const char*, const char*, const char* method,
                             GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self);
    static GVariant* handleGetProperty(GDBusConnection*, const char*, const char*, const char*,
                                       const char* name, GError** error, gpointer self);
    static gboolean deliverClicks(gpointer self);

    // The com.canonical.dbusmenu methods; each answers its invocation.
    void getLayout(GVariant* parameters, GDBusMethodInvocation* invocation);
    void getGroupProperties(GVariant* parameters, GDBusMethodInvocation* invocation);
    void getProperty(GVariant* parameters, GDBusMethodInvocation* invocation);
    void event(GVariant* parameters, GDBusMethodInvocation* invocation);
    void eventGroup(GVariant* parameters, GDBusMethodInvocation* invocation);
    void aboutToShow(GVariant* parameters, GDBusMethodInvocation* invocation);
    void aboutToShowGroup(GVariant* parameters, GDBusMethodInvocation* invocation);
    // Lets the owner bring the menu up to date; true when that changed the layout.
    bool refreshBeforeShowing();

    void flatten(const std::vector<platform::StatusMenuItem>& items, int parent,
                 std::vector<Entry>& into) const;
    bool knows(int id) const { return id >= 0 && static_cast<std::size_t>(id) < entries_.size(); }
    GVariant* properties(int id, const Names& names) const;
    GVariant* layout(int id, int depth, const Names& names) const;
    // Records a click for delivery from the main loop; false for an unknown or inert item.
    bool click(int id);
    void emit(const char* signal, GVariant* parameters);

    GDBusConnection* connection_;
    platform::SystemLog& systemLog_;
    std::string objectPath_;
    Events events_;
    std::vector<Entry> entries_;
    unsigned revision_ = 1;
    guint registration_ = 0;
    // Clicks run from the main loop, so a click may destroy the menu's owner safely.
    std::deque<std::pair<std::string, std::string>> pendingClicks_;
    guint clickSource_ = 0;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
