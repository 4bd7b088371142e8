#include "linux/DBusMenuExporter.h"

#include "linux/DBusIntrospection.h"
#include "linux/GLibOwners.h"

#include <glib.h>

#include <algorithm>
#include <string_view>

namespace vimbo::linuxdesktop {

using platform::StatusMenuItem;

namespace {

constexpr const char* kInterface = "com.canonical.dbusmenu";

constexpr const char* kIntrospection = R"xml(<node>
  <interface name="com.canonical.dbusmenu">
    <property name="Version" type="u" access="read"/>
    <property name="TextDirection" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="IconThemePath" type="as" access="read"/>
    <method name="GetLayout">
      <arg type="i" name="parentId" direction="in"/>
      <arg type="i" name="recursionDepth" direction="in"/>
      <arg type="as" name="propertyNames" direction="in"/>
      <arg type="u" name="revision" direction="out"/>
      <arg type="(ia{sv}av)" name="layout" direction="out"/>
    </method>
    <method name="GetGroupProperties">
      <arg type="ai" name="ids" direction="in"/>
      <arg type="as" name="propertyNames" direction="in"/>
      <arg type="a(ia{sv})" name="properties" direction="out"/>
    </method>
    <method name="GetProperty">
      <arg type="i" name="id" direction="in"/>
      <arg type="s" name="name" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <method name="Event">
      <arg type="i" name="id" direction="in"/>
      <arg type="s" name="eventId" direction="in"/>
      <arg type="v" name="data" direction="in"/>
      <arg type="u" name="timestamp" direction="in"/>
    </method>
    <method name="EventGroup">
      <arg type="a(isvu)" name="events" direction="in"/>
      <arg type="ai" name="idErrors" direction="out"/>
    </method>
    <method name="AboutToShow">
      <arg type="i" name="id" direction="in"/>
      <arg type="b" name="needUpdate" direction="out"/>
    </method>
    <method name="AboutToShowGroup">
      <arg type="ai" name="ids" direction="in"/>
      <arg type="ai" name="updatesNeeded" direction="out"/>
      <arg type="ai" name="idErrors" direction="out"/>
    </method>
    <signal name="ItemsPropertiesUpdated">
      <arg type="a(ia{sv})" name="updatedProps" direction="out"/>
      <arg type="a(ias)" name="removedProps" direction="out"/>
    </signal>
    <signal name="LayoutUpdated">
      <arg type="u" name="revision" direction="out"/>
      <arg type="i" name="parent" direction="out"/>
    </signal>
    <signal name="ItemActivationRequested">
      <arg type="i" name="id" direction="out"/>
      <arg type="u" name="timestamp" direction="out"/>
    </signal>
  </interface>
</node>)xml";

// dbusmenu reads "_" as a mnemonic marker; a literal one is doubled.
std::string label(const std::string& title) {
    std::string escaped;
    for (char c : title) {
        escaped += c;
        if (c == '_') escaped += '_';
    }
    return escaped;
}

bool sameShape(const StatusMenuItem& a, const StatusMenuItem& b) {
    return a.kind == b.kind && a.title == b.title && a.action == b.action &&
           a.representedObject == b.representedObject && a.keyEquivalent == b.keyEquivalent;
}

bool toggles(const StatusMenuItem& item) {
    return item.kind == StatusMenuItem::Kind::checkbox || item.kind == StatusMenuItem::Kind::radio;
}

// The strings at `index` of a method's parameters.
DBusMenuExporter::Names namesAt(GVariant* parameters, gsize index) {
    GVariantPtr strings(g_variant_get_child_value(parameters, index));
    DBusMenuExporter::Names names;
    GVariantIter iter;
    g_variant_iter_init(&iter, strings.get());
    const char* name = nullptr;
    while (g_variant_iter_next(&iter, "&s", &name))
        names.emplace_back(name);
    return names;
}

// The item ids at `index` of a method's parameters.
std::vector<gint32> idsAt(GVariant* parameters, gsize index) {
    GVariantPtr ids(g_variant_get_child_value(parameters, index));
    gsize count = 0;
    const auto* list =
        static_cast<const gint32*>(g_variant_get_fixed_array(ids.get(), &count, sizeof(gint32)));
    return {list, list + count};
}

void returnUnknownId(GDBusMethodInvocation* invocation, int id) {
    g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                          "Unknown menu item id %d", id);
}

} // namespace

DBusMenuExporter::DBusMenuExporter(GDBusConnection* connection, platform::SystemLog& systemLog,
                                   std::string objectPath, Events events)
    : connection_(connection), systemLog_(systemLog), objectPath_(std::move(objectPath)),
      events_(std::move(events)) {
    entries_.push_back({});
    static const GDBusInterfaceVTable vtable{handleMethod, handleGetProperty, nullptr, {}};
    static GDBusInterfaceInfo* const info = interfaceFromIntrospection(kIntrospection);
    GErrorPtr error;
    registration_ = g_dbus_connection_register_object(connection_, objectPath_.c_str(), info, &vtable, this,
                                                      nullptr, GErrorOut(error));
    if (!registration_)
        systemLog_.warn(std::string("Vimbo tray menu could not be exported: ") + error->message);
}

DBusMenuExporter::~DBusMenuExporter() {
    if (clickSource_) g_source_remove(clickSource_);
    if (registration_) g_dbus_connection_unregister_object(connection_, registration_);
}

void DBusMenuExporter::flatten(const std::vector<StatusMenuItem>& items, int parent,
                               std::vector<Entry>& into) const {
    for (const StatusMenuItem& item : items) {
        int id = static_cast<int>(into.size());
        into[static_cast<std::size_t>(parent)].children.push_back(id);
        Entry entry{parent, item, {}};
        entry.item.children.clear();
        into.push_back(std::move(entry));
        flatten(item.children, id, into);
    }
}

void DBusMenuExporter::setMenu(const std::vector<StatusMenuItem>& menu) {
    mainThread_.check();
    std::vector<Entry> next(1);
    flatten(menu, 0, next);
    bool layoutChanged = next.size() != entries_.size();
    std::vector<int> checksChanged;
    for (std::size_t id = 1; !layoutChanged && id < next.size(); ++id) {
        const Entry& before = entries_[id];
        const Entry& after = next[id];
        if (before.parent != after.parent || !sameShape(before.item, after.item))
            layoutChanged = true;
        else if (before.item.checked != after.item.checked)
            checksChanged.push_back(static_cast<int>(id));
    }
    entries_ = std::move(next);
    if (layoutChanged) {
        ++revision_;
        emit("LayoutUpdated", g_variant_new("(ui)", revision_, 0));
        return;
    }
    if (checksChanged.empty()) return;
    GVariantBuilder updated;
    g_variant_builder_init(&updated, G_VARIANT_TYPE("a(ia{sv})"));
    for (int id : checksChanged)
        g_variant_builder_add(&updated, "(i@a{sv})", id, properties(id, {"toggle-state"}));
    GVariantBuilder removed;
    g_variant_builder_init(&removed, G_VARIANT_TYPE("a(ias)"));
    emit("ItemsPropertiesUpdated", g_variant_new("(a(ia{sv})a(ias))", &updated, &removed));
}

void DBusMenuExporter::emit(const char* signal, GVariant* parameters) {
    GErrorPtr error;
    if (!g_dbus_connection_emit_signal(connection_, nullptr, objectPath_.c_str(), kInterface, signal,
                                       parameters, GErrorOut(error)))
        systemLog_.warn(std::string("Vimbo tray menu signal ") + signal + " failed: " + error->message);
}

GVariant* DBusMenuExporter::properties(int id, const Names& names) const {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
    auto wanted = [&names](const char* name) {
        return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
    };
    auto add = [&](const char* name, auto makeValue) {
        if (wanted(name)) g_variant_builder_add(&builder, "{sv}", name, makeValue());
    };
    const StatusMenuItem& item = entries_[static_cast<std::size_t>(id)].item;
    if (id == 0) {
        add("children-display", [] { return g_variant_new_string("submenu"); });
        return g_variant_builder_end(&builder);
    }
    if (item.kind == StatusMenuItem::Kind::separator) {
        add("type", [] { return g_variant_new_string("separator"); });
        add("visible", [] { return g_variant_new_boolean(TRUE); });
        return g_variant_builder_end(&builder);
    }
    add("type", [] { return g_variant_new_string("standard"); });
    add("label", [&] { return g_variant_new_string(label(item.title).c_str()); });
    add("enabled", [] { return g_variant_new_boolean(TRUE); });
    add("visible", [] { return g_variant_new_boolean(TRUE); });
    if (toggles(item)) {
        add("toggle-type", [&] {
            return g_variant_new_string(item.kind == StatusMenuItem::Kind::radio ? "radio" : "checkmark");
        });
        add("toggle-state", [&] { return g_variant_new_int32(item.checked ? 1 : 0); });
    }
    if (item.kind == StatusMenuItem::Kind::submenu)
        add("children-display", [] { return g_variant_new_string("submenu"); });
    if (!item.keyEquivalent.empty()) {
        // The primary modifier is Control on this desktop.
        add("shortcut", [&] {
            const char* keys[] = {"Control", item.keyEquivalent.c_str(), nullptr};
            GVariant* chord = g_variant_new_strv(keys, -1);
            return g_variant_new_array(G_VARIANT_TYPE("as"), &chord, 1);
        });
    }
    return g_variant_builder_end(&builder);
}

GVariant* DBusMenuExporter::layout(int id, int depth, const Names& names) const {
    GVariantBuilder children;
    g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
    if (depth != 0)
        for (int child : entries_[static_cast<std::size_t>(id)].children)
            g_variant_builder_add(&children, "v", layout(child, depth < 0 ? -1 : depth - 1, names));
    return g_variant_new("(i@a{sv}av)", id, properties(id, names), &children);
}

bool DBusMenuExporter::click(int id) {
    if (!knows(id) || id == 0) return false;
    const StatusMenuItem& item = entries_[static_cast<std::size_t>(id)].item;
    if (item.action.empty()) return true; // submenus and separators do nothing when clicked
    pendingClicks_.emplace_back(item.action, item.representedObject);
    if (!clickSource_) clickSource_ = g_idle_add(deliverClicks, this);
    return true;
}

gboolean DBusMenuExporter::deliverClicks(gpointer data) {
    auto* self = static_cast<DBusMenuExporter*>(data);
    self->clickSource_ = 0;
    // Deliver one click per turn: a click may destroy this exporter.
    auto [action, representedObject] = std::move(self->pendingClicks_.front());
    self->pendingClicks_.pop_front();
    if (!self->pendingClicks_.empty()) self->clickSource_ = g_idle_add(deliverClicks, self);
    auto onClicked = self->events_.onClicked;
    if (onClicked) onClicked(action, representedObject);
    return G_SOURCE_REMOVE;
}

void DBusMenuExporter::handleMethod(GDBusConnection*, const char*, const char*, const char*,
                                    const char* method, GVariant* parameters,
                                    GDBusMethodInvocation* invocation, gpointer data) {
    using Handler = void (DBusMenuExporter::*)(GVariant*, GDBusMethodInvocation*);
    static constexpr std::pair<std::string_view, Handler> kMethods[] = {
        {"GetLayout", &DBusMenuExporter::getLayout},
        {"GetGroupProperties", &DBusMenuExporter::getGroupProperties},
        {"GetProperty", &DBusMenuExporter::getProperty},
        {"Event", &DBusMenuExporter::event},
        {"EventGroup", &DBusMenuExporter::eventGroup},
        {"AboutToShow", &DBusMenuExporter::aboutToShow},
        {"AboutToShowGroup", &DBusMenuExporter::aboutToShowGroup},
    };
    for (const auto& [name, handler] : kMethods)
        if (name == method) return (static_cast<DBusMenuExporter*>(data)->*handler)(parameters, invocation);
    g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD,
                                          "No method %s", method);
}

void DBusMenuExporter::getLayout(GVariant* parameters, GDBusMethodInvocation* invocation) {
    gint32 parent = 0;
    gint32 depth = -1;
    g_variant_get_child(parameters, 0, "i", &parent);
    g_variant_get_child(parameters, 1, "i", &depth);
    if (!knows(parent)) return returnUnknownId(invocation, parent);
    g_dbus_method_invocation_return_value(
        invocation,
        g_variant_new("(u@(ia{sv}av))", revision_, layout(parent, depth, namesAt(parameters, 2))));
}

void DBusMenuExporter::getGroupProperties(GVariant* parameters, GDBusMethodInvocation* invocation) {
    std::vector<gint32> ids = idsAt(parameters, 0);
    Names names = namesAt(parameters, 1);
    // No ids asks for every item.
    if (ids.empty())
        for (std::size_t id = 0; id < entries_.size(); ++id)
            ids.push_back(static_cast<gint32>(id));
    GVariantBuilder result;
    g_variant_builder_init(&result, G_VARIANT_TYPE("a(ia{sv})"));
    for (gint32 id : ids)
        if (knows(id)) g_variant_builder_add(&result, "(i@a{sv})", id, properties(id, names));
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(a(ia{sv}))", &result));
}

void DBusMenuExporter::getProperty(GVariant* parameters, GDBusMethodInvocation* invocation) {
    gint32 id = 0;
    const char* property = nullptr;
    g_variant_get(parameters, "(i&s)", &id, &property);
    if (!knows(id)) return returnUnknownId(invocation, id);
    GVariantPtr all(g_variant_ref_sink(properties(id, {property})));
    GVariantPtr value(g_variant_lookup_value(all.get(), property, nullptr));
    if (!value)
        return g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                                     "Menu item %d has no property %s", id, property);
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value.get()));
}

void DBusMenuExporter::event(GVariant* parameters, GDBusMethodInvocation* invocation) {
    gint32 id = 0;
    const char* eventId = nullptr;
    g_variant_get(parameters, "(i&svu)", &id, &eventId, nullptr, nullptr);
    if (!knows(id)) return returnUnknownId(invocation, id);
    if (g_str_equal(eventId, "clicked")) click(id);
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

void DBusMenuExporter::eventGroup(GVariant* parameters, GDBusMethodInvocation* invocation) {
    GVariantPtr events(g_variant_get_child_value(parameters, 0));
    GVariantBuilder errors;
    g_variant_builder_init(&errors, G_VARIANT_TYPE("ai"));
    GVariantIter iter;
    g_variant_iter_init(&iter, events.get());
    gint32 id = 0;
    const char* eventId = nullptr;
    while (g_variant_iter_next(&iter, "(i&svu)", &id, &eventId, nullptr, nullptr)) {
        if (!knows(id))
            g_variant_builder_add(&errors, "i", id);
        else if (g_str_equal(eventId, "clicked"))
            click(id);
    }
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(ai)", &errors));
}

void DBusMenuExporter::aboutToShow(GVariant* parameters, GDBusMethodInvocation* invocation) {
    gint32 id = 0;
    g_variant_get(parameters, "(i)", &id);
    if (!knows(id)) return returnUnknownId(invocation, id);
    bool changed = refreshBeforeShowing();
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", changed));
}

void DBusMenuExporter::aboutToShowGroup(GVariant* parameters, GDBusMethodInvocation* invocation) {
    std::vector<gint32> ids = idsAt(parameters, 0);
    bool changed = refreshBeforeShowing();
    GVariantBuilder updates;
    GVariantBuilder errors;
    g_variant_builder_init(&updates, G_VARIANT_TYPE("ai"));
    g_variant_builder_init(&errors, G_VARIANT_TYPE("ai"));
    for (gint32 id : ids) {
        if (!knows(id))
            g_variant_builder_add(&errors, "i", id);
        else if (changed)
            g_variant_builder_add(&updates, "i", id);
    }
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(aiai)", &updates, &errors));
}

bool DBusMenuExporter::refreshBeforeShowing() {
    unsigned before = revision_;
    if (events_.onAboutToShow) events_.onAboutToShow();
    return revision_ != before;
}

GVariant* DBusMenuExporter::handleGetProperty(GDBusConnection*, const char*, const char*, const char*,
                                              const char* name, GError** error, gpointer) {
    std::string property = name;
    if (property == "Version") return g_variant_new_uint32(3);
    if (property == "TextDirection") return g_variant_new_string("ltr");
    if (property == "Status") return g_variant_new_string("normal");
    if (property == "IconThemePath") return g_variant_new_strv(nullptr, 0);
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", name);
    return nullptr;
}

} // namespace vimbo::linuxdesktop
