#pragma once

#include "core/platform/StatusItem.h"
#include "core/util/ThreadChecker.h"
#include "linux/CairoCanvas.h"
#include "linux/DBusMenuExporter.h"
#include "linux/DesktopColorScheme.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::linuxdesktop {

// A StatusNotifierItem on the session bus with its menu as com.canonical.dbusmenu. It owns the name
// org.kde.StatusNotifierItem-<pid>-<n> and registers with every StatusNotifierWatcher that appears.
// Main thread only.
class DBusStatusItem : public platform::StatusItem {
  public:
    static constexpr const char* kItemPath = "/StatusNotifierItem";
    static constexpr const char* kMenuPath = "/MenuBar";
    // Panels re-read every property on NewIcon; more than this many a second only makes them stutter.
    static constexpr double kMaximumNewIconRate = 30;

    // A null connection gives an item that is never shown.
    DBusStatusItem(GDBusConnection* connection, platform::SystemLog& systemLog, int number, std::string label,
                   platform::StatusItemEvents events);
    ~DBusStatusItem() override;
    DBusStatusItem(const DBusStatusItem&) = delete;
    DBusStatusItem& operator=(const DBusStatusItem&) = delete;

    void setImage(const platform::TemplateImage& image) override;
    void setMenu(const std::vector<platform::StatusMenuItem>& menu) override;
    bool isShown() const override { return shown_; }

    const std::string& busName() const { return busName_; }
    std::uint64_t newIconCount() const { return newIconCount_; }
    std::uint64_t renderCount() const { return renderCount_; }

  private:
    static void handleMethod(GDBusConnection*, const char*, const char*, const char*, const char* method,
                             GVariant*, GDBusMethodInvocation* invocation, gpointer self);
    static GVariant* handleGetProperty(GDBusConnection*, const char*, const char*, const char*,
                                       const char* name, GError** error, gpointer self);
    static void onNameAcquired(GDBusConnection*, const char*, gpointer self);
    static void onNameLost(GDBusConnection*, const char*, gpointer self);
    static void onWatcherAppeared(GDBusConnection*, const char*, const char*, gpointer self);
    static void onWatcherVanished(GDBusConnection*, const char*, gpointer self);
    static void onRegistered(GObject* source, GAsyncResult* result, gpointer self);
    static gboolean onFlushTimeout(gpointer self);

    void registerWithWatcher();
    void setShown(bool shown);
    void scheduleFlush();
    // Renders the latest image; emits NewIcon when the pixels differ from what panels have.
    void flush();
    platform::CanvasColor tint() const;
    GVariant* pixmaps() const;

    GObjectPtr<GDBusConnection> connection_;
    platform::SystemLog& systemLog_;
    std::string busName_;
    std::string label_;
    platform::StatusItemEvents events_;
    std::optional<DBusMenuExporter> menu_;
    std::optional<DesktopColorScheme> colorScheme_;
    GObjectPtr<GCancellable> cancellable_;
    guint registration_ = 0;
    guint ownerId_ = 0;
    guint watcherId_ = 0;
    bool nameOwned_ = false;
    bool watcherPresent_ = false;
    bool shown_ = false;
    bool loggedMissingWatcher_ = false;

    CairoCanvas canvas2x_;
    CairoCanvas canvas1x_;
    std::optional<platform::TemplateImage> image_;
    bool imageDirty_ = false;
    std::vector<std::uint8_t> pixels2x_;
    std::vector<std::uint8_t> pixels1x_;
    std::optional<gint64> lastNewIcon_;
    guint flushSource_ = 0;
    std::uint64_t newIconCount_ = 0;
    std::uint64_t renderCount_ = 0;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
