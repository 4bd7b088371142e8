#include "linux/DBusStatusItem.h"

#include "linux/DBusIntrospection.h"
#include "linux/GLibOwners.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace vimbo::linuxdesktop {

namespace {

constexpr const char* kInterface = "org.kde.StatusNotifierItem";
constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

constexpr const char* kIntrospection = R"xml(<node>
  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionMovieName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewAttentionIcon"/>
    <signal name="NewOverlayIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
  </interface>
</node>)xml";

GVariant* emptyPixmaps() {
    return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0);
}

GVariant* pixmap(int size, const std::vector<std::uint8_t>& bytes) {
    GVariant* data = g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, bytes.data(), bytes.size(), 1);
    return g_variant_new("(ii@ay)", size, size, data);
}

} // namespace

DBusStatusItem::DBusStatusItem(GDBusConnection* connection, platform::SystemLog& systemLog, int number,
                               std::string label, platform::StatusItemEvents events)
    : connection_(connection ? G_DBUS_CONNECTION(g_object_ref(connection)) : nullptr), systemLog_(systemLog),
      busName_("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" + std::to_string(number)),
      label_(std::move(label)), events_(std::move(events)), cancellable_(g_cancellable_new()),
      canvas2x_(18, 18, 2, platform::CanvasColor::black(1)),
      canvas1x_(18, 18, 1, platform::CanvasColor::black(1)) {
    if (!connection_) {
        systemLog_.write("Vimbo tray: no session bus, so the menu bar icon cannot be shown");
        return;
    }
    DBusMenuExporter::Events menuEvents;
    menuEvents.onClicked = [this](const std::string& action, const std::string& representedObject) {
        if (events_.onMenuAction) events_.onMenuAction(action, representedObject);
    };
    menuEvents.onAboutToShow = [this] {
        if (events_.onMenuWillOpen) events_.onMenuWillOpen();
    };
    menu_.emplace(connection_.get(), systemLog_, kMenuPath, std::move(menuEvents));
    colorScheme_.emplace(connection_.get(), [this] {
        imageDirty_ = true;
        scheduleFlush();
    });

    static const GDBusInterfaceVTable vtable{handleMethod, handleGetProperty, nullptr, {}};
    static GDBusInterfaceInfo* const info = interfaceFromIntrospection(kIntrospection);
    GErrorPtr error;
    registration_ = g_dbus_connection_register_object(connection_.get(), kItemPath, info, &vtable, this,
                                                      nullptr, GErrorOut(error));
    if (!registration_) {
        systemLog_.warn(std::string("Vimbo tray: could not export ") + kItemPath + ": " + error->message);
        return;
    }
    ownerId_ = g_bus_own_name_on_connection(connection_.get(), busName_.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
                                            onNameAcquired, onNameLost, this, nullptr);
    watcherId_ = g_bus_watch_name_on_connection(connection_.get(), kWatcher, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                onWatcherAppeared, onWatcherVanished, this, nullptr);
}

DBusStatusItem::~DBusStatusItem() {
    g_cancellable_cancel(cancellable_.get());
    if (flushSource_) g_source_remove(flushSource_);
    if (watcherId_) g_bus_unwatch_name(watcherId_);
    if (ownerId_) g_bus_unown_name(ownerId_);
    if (registration_) g_dbus_connection_unregister_object(connection_.get(), registration_);
    menu_.reset();
    colorScheme_.reset();
}

void DBusStatusItem::setMenu(const std::vector<platform::StatusMenuItem>& menu) {
    mainThread_.check();
    if (menu_) menu_->setMenu(menu);
}

void DBusStatusItem::setImage(const platform::TemplateImage& image) {
    mainThread_.check();
    image_ = image;
    imageDirty_ = true;
    scheduleFlush();
}

void DBusStatusItem::scheduleFlush() {
    if (flushSource_ || !image_) return;
    gint64 now = g_get_monotonic_time();
    const auto interval = static_cast<gint64>(1e6 / kMaximumNewIconRate);
    gint64 wait = lastNewIcon_ ? *lastNewIcon_ + interval - now : 0;
    if (wait <= 0) return flush();
    // Coalesce: frames arriving in the meantime only replace the image that will be drawn.
    flushSource_ = g_timeout_add(static_cast<guint>((wait + 999) / 1000), onFlushTimeout, this);
}

gboolean DBusStatusItem::onFlushTimeout(gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    self->flushSource_ = 0;
    self->flush();
    return G_SOURCE_REMOVE;
}

platform::CanvasColor DBusStatusItem::tint() const {
    bool dark = colorScheme_ && colorScheme_->prefersDark();
    return dark ? platform::CanvasColor{1, 1, 1, 1} : platform::CanvasColor{0, 0, 0, 1};
}

void DBusStatusItem::flush() {
    if (!imageDirty_ || !image_) return;
    imageDirty_ = false;
    canvas2x_.setTint(tint());
    canvas1x_.setTint(tint());
    canvas2x_.render(*image_);
    canvas1x_.render(*image_);
    ++renderCount_;
    auto large = canvas2x_.straightArgbBytes();
    auto small = canvas1x_.straightArgbBytes();
    if (large == pixels2x_ && small == pixels1x_) return;
    pixels2x_ = std::move(large);
    pixels1x_ = std::move(small);
    lastNewIcon_ = g_get_monotonic_time();
    if (!registration_) return;
    ++newIconCount_;
    g_dbus_connection_emit_signal(connection_.get(), nullptr, kItemPath, kInterface, "NewIcon", nullptr,
                                  nullptr);
}

GVariant* DBusStatusItem::pixmaps() const {
    if (pixels2x_.empty()) return emptyPixmaps();
    GVariant* items[] = {pixmap(canvas2x_.pixelWidth(), pixels2x_),
                         pixmap(canvas1x_.pixelWidth(), pixels1x_)};
    return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), items, 2);
}

void DBusStatusItem::registerWithWatcher() {
    if (!nameOwned_ || !watcherPresent_) return;
    g_dbus_connection_call(connection_.get(), kWatcher, kWatcherPath, kWatcher, "RegisterStatusNotifierItem",
                           g_variant_new("(s)", busName_.c_str()), nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                           5000, cancellable_.get(), onRegistered, this);
}

void DBusStatusItem::onRegistered(GObject* source, GAsyncResult* result, gpointer data) {
    GErrorPtr error;
    GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, GErrorOut(error)));
    if (!reply) {
        // Cancelled only when the item is gone: `data` must not be touched then.
        if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) return;
        auto* self = static_cast<DBusStatusItem*>(data);
        self->systemLog_.warn(std::string("Vimbo tray: the StatusNotifierWatcher refused the icon: ") +
                              error->message);
        self->setShown(false);
        return;
    }
    auto* self = static_cast<DBusStatusItem*>(data);
    self->loggedMissingWatcher_ = false;
    self->setShown(true);
}

void DBusStatusItem::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    if (events_.onShownChanged) events_.onShownChanged(shown);
}

void DBusStatusItem::onNameAcquired(GDBusConnection*, const char*, gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    self->nameOwned_ = true;
    self->registerWithWatcher();
}

void DBusStatusItem::onNameLost(GDBusConnection*, const char* name, gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    self->systemLog_.warn(std::string(self->nameOwned_ ? "Vimbo tray: lost the bus name "
                                                       : "Vimbo tray: could not own the bus name ") +
                          name);
    self->nameOwned_ = false;
    self->setShown(false);
}

void DBusStatusItem::onWatcherAppeared(GDBusConnection*, const char*, const char*, gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    self->watcherPresent_ = true;
    self->registerWithWatcher();
}

void DBusStatusItem::onWatcherVanished(GDBusConnection*, const char*, gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    self->watcherPresent_ = false;
    if (!self->loggedMissingWatcher_) {
        self->systemLog_.write(
            "Vimbo tray: no StatusNotifierWatcher on the session bus; the menu bar icon is "
            "not shown until a tray appears");
        self->loggedMissingWatcher_ = true;
    }
    self->setShown(false);
}

void DBusStatusItem::handleMethod(GDBusConnection*, const char*, const char*, const char*, const char* method,
                                  GVariant*, GDBusMethodInvocation* invocation, gpointer) {
    std::string name = method;
    // The item is a menu (ItemIsMenu): hosts open the menu themselves, so clicks need nothing more.
    if (name == "ContextMenu" || name == "Activate" || name == "SecondaryActivate" || name == "Scroll") {
        g_dbus_method_invocation_return_value(invocation, nullptr);
        return;
    }
    g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD,
                                          "No method %s", method);
}

GVariant* DBusStatusItem::handleGetProperty(GDBusConnection*, const char*, const char*, const char*,
                                            const char* name, GError** error, gpointer data) {
    auto* self = static_cast<DBusStatusItem*>(data);
    std::string property = name;
    if (property == "Category") return g_variant_new_string("ApplicationStatus");
    if (property == "Id") return g_variant_new_string("vimbo");
    if (property == "Title") return g_variant_new_string(self->label_.c_str());
    if (property == "Status") return g_variant_new_string("Active");
    if (property == "WindowId") return g_variant_new_int32(0);
    if (property == "IconPixmap") return self->pixmaps();
    if (property == "IconName" || property == "OverlayIconName" || property == "AttentionIconName" ||
        property == "AttentionMovieName")
        return g_variant_new_string("");
    if (property == "OverlayIconPixmap" || property == "AttentionIconPixmap") return emptyPixmaps();
    if (property == "ToolTip")
        return g_variant_new("(s@a(iiay)ss)", "", emptyPixmaps(), self->label_.c_str(), "");
    if (property == "ItemIsMenu") return g_variant_new_boolean(TRUE);
    if (property == "Menu") return g_variant_new_object_path(kMenuPath);
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", name);
    return nullptr;
}

} // namespace vimbo::linuxdesktop
