#include "linux/X11ApplicationWindows.h"

#include <cstdlib>
#include <cstring>

namespace vimbo::linuxdesktop {

namespace {

template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t intern(xcb_connection_t* connection, const char* name) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

bool X11ApplicationWindows::connect() {
    if (connection_ && !xcb_connection_has_error(connection_.get())) return true;
    int screenNumber = 0;
    connection_.reset(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(connection_.get())) {
        connection_.reset();
        return false;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_.get()));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    root_ = screens.data->root;
    auto* c = connection_.get();
    atoms_ = {intern(c, "_NET_ACTIVE_WINDOW"),
              intern(c, "_NET_CLIENT_LIST"),
              intern(c, "_NET_CLIENT_LIST_STACKING"),
              intern(c, "_NET_WM_PID"),
              intern(c, "_NET_WM_NAME"),
              intern(c, "UTF8_STRING")};
    return true;
}

std::optional<std::string> X11ApplicationWindows::property(xcb_window_t window, xcb_atom_t name,
                                                           xcb_atom_t type) {
    // Titles and window lists beyond 256 KiB are not real ones.
    constexpr std::uint32_t kMaxLongs = 65536;
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_.get(),
                               xcb_get_property(connection_.get(), 0, window, name, type, 0, kMaxLongs),
                               nullptr),
        &std::free);
    if (!reply || reply->type != type) return std::nullopt;
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(bytes, bytes + xcb_get_property_value_length(reply.get()));
}

std::vector<xcb_window_t> X11ApplicationWindows::windows(xcb_atom_t list) {
    const auto value = property(root_, list, XCB_ATOM_WINDOW);
    std::vector<xcb_window_t> windows(value ? value->size() / sizeof(xcb_window_t) : 0);
    if (!windows.empty()) std::memcpy(windows.data(), value->data(), windows.size() * sizeof(xcb_window_t));
    return windows;
}

std::optional<std::int32_t> X11ApplicationWindows::processOf(xcb_window_t window) {
    const auto value = property(window, atoms_.pid, XCB_ATOM_CARDINAL);
    if (!value || value->size() < sizeof(std::uint32_t)) return std::nullopt;
    std::uint32_t pid = 0;
    std::memcpy(&pid, value->data(), sizeof pid);
    return static_cast<std::int32_t>(pid);
}

std::optional<std::int32_t> X11ApplicationWindows::frontmostProcess() {
    if (!connect()) return std::nullopt;
    const auto active = windows(atoms_.activeWindow);
    if (active.empty() || active.front() == xcb_window_t{XCB_WINDOW_NONE}) return std::nullopt;
    return processOf(active.front());
}

std::vector<std::string> X11ApplicationWindows::windowTitles(std::int32_t pid) {
    if (!connect()) return {};
    // The stacking list runs from the bottom up; window managers without it give the plain list.
    auto clients = windows(atoms_.clientListStacking);
    if (clients.empty()) clients = windows(atoms_.clientList);
    std::vector<std::string> titles;
    for (auto window = clients.rbegin(); window != clients.rend(); ++window) {
        if (processOf(*window) != pid) continue;
        if (auto title = property(*window, atoms_.name, atoms_.utf8String))
            titles.push_back(std::move(*title));
    }
    return titles;
}

} // namespace vimbo::linuxdesktop
