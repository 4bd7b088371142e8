// The tray menu's com.canonical.dbusmenu methods called by a hostile peer. The first byte picks the
// method; the rest, read as that method's argument type, are its arguments. The exporter and its
// caller talk over a socket pair, with no bus in between, so each call is a real D-Bus exchange.
#include "fakes/FakeAppPlatform.h"
#include "linux/DBusMenuExporter.h"
#include "linux/GLibOwners.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace {

using namespace vimbo::linuxdesktop;
using vimbo::platform::StatusMenuItem;
using Kind = StatusMenuItem::Kind;

struct Method {
    const char* name;
    const char* arguments;
};
constexpr Method kMethods[] = {
    {"GetLayout", "(iias)"},      {"GetGroupProperties", "(aias)"}, {"GetProperty", "(is)"},
    {"Event", "(isvu)"},          {"EventGroup", "(a(isvu))"},      {"AboutToShow", "(i)"},
    {"AboutToShowGroup", "(ai)"},
};
constexpr const char* kPath = "/MenuBar";

// Every kind of entry; the other variant moves the checks and adds an entry, as a refresh before
// showing may.
std::vector<StatusMenuItem> menu(bool other) {
    std::vector<StatusMenuItem> items{
        {.title = "Show_Vimbo", .action = "show", .keyEquivalent = "v"},
        {.kind = Kind::separator},
        {.kind = Kind::submenu,
         .title = "Skin",
         .children = {{Kind::radio, "Dust", "skin", "dust", !other, "", {}},
                      {Kind::radio, "Slime", "skin", "slime", other, "", {}}}},
        {Kind::checkbox, "Audio Reactive", "reactive", "", other, "", {}},
    };
    if (other) items.push_back({.title = "Quit", .action = "quit", .keyEquivalent = "q"});
    return items;
}

GDBusConnection* connectEnd(int fd, GDBusConnectionFlags flags, const char* guid) {
    GObjectPtr<GSocket> socket(g_socket_new_from_fd(fd, nullptr));
    GObjectPtr<GSocketConnection> stream(g_socket_connection_factory_create_connection(socket.get()));
    GDBusConnection* connection =
        g_dbus_connection_new_sync(G_IO_STREAM(stream.get()), guid, flags, nullptr, nullptr, nullptr);
    if (connection == nullptr) std::abort();
    return connection;
}

struct ExportedMenu {
    ExportedMenu() {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
        GText guid(g_dbus_generate_guid());
        // Both ends authenticate at once, so the exporter's end does it on a thread of its own.
        std::thread exporterEnd([&] {
            exporterSide = connectEnd(fds[0], G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_SERVER, guid.get());
        });
        peer = connectEnd(fds[1], G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT, nullptr);
        exporterEnd.join();
        exporter = std::make_unique<DBusMenuExporter>(
            exporterSide, log, kPath,
            DBusMenuExporter::Events{.onClicked =
                                         [](const std::string& action, const std::string&) {
                                             if (action.empty()) std::abort(); // inert entries never click
                                         },
                                     .onAboutToShow = [this] { exporter->setMenu(menu(true)); }});
    }

    vimbo::fakes::RecordingSystemLog log;
    GDBusConnection* exporterSide = nullptr;
    GDBusConnection* peer = nullptr;
    std::unique_ptr<DBusMenuExporter> exporter;
};

void answered(GObject* connection, GAsyncResult* result, gpointer done) {
    GErrorPtr error;
    GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, GErrorOut(error)));
    *static_cast<bool*>(done) = true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ExportedMenu& exported = *new ExportedMenu; // lives until the process exits
    if (size == 0) return 0;
    exported.exporter->setMenu(menu(false));
    exported.log.lines.clear();
    const Method& method = kMethods[data[0] % std::size(kMethods)];
    GBytes* bytes = g_bytes_new(data + 1, size - 1);
    GVariantPtr arguments(g_variant_new_from_bytes(G_VARIANT_TYPE(method.arguments), bytes, FALSE));
    g_bytes_unref(bytes);
    GVariantPtr normal(g_variant_get_normal_form(arguments.get()));
    bool done = false;
    g_dbus_connection_call(exported.peer, nullptr, kPath, "com.canonical.dbusmenu", method.name, normal.get(),
                           nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, answered, &done);
    while (!done)
        g_main_context_iteration(nullptr, TRUE);
    while (g_main_context_iteration(nullptr, FALSE)) {
    } // clicks arrive from the main loop
    return 0;
}
