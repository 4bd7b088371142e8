// Runs inside WebKit's web process. Scripts whose result nobody waits for (sixty feature calls a
// second among them) arrive here as one-way messages: WebKit's own script evaluation sends every
// result back to the program, which then wakes up twice per frame instead of once. And every load
// the page makes passes here, the only place where WebKit lets a program refuse one: the page reads
// files from its own folder and nothing from the network.
#include "core/util/LogText.h"
#include "webextension/FileAccess.h"
#include "webextension/Messages.h"

#include <webkit2/webkit-web-extension.h>

#include <string>

namespace {

using namespace vimbo::webextension;

// The page's script context, taken each time the main frame gets a new window object.
constexpr const char* kContextKey = "vimbo-main-frame-context";

void onWindowObjectCleared(WebKitScriptWorld* world, WebKitWebPage* page, WebKitFrame* frame, gpointer) {
    if (!webkit_frame_is_main_frame(frame)) return;
    g_object_set_data_full(G_OBJECT(page), kContextKey,
                           webkit_frame_get_js_context_for_script_world(frame, world), g_object_unref);
}

// The folder the page may read from, with a trailing slash, as the program gave it when it started
// this process; empty (nothing may be read) if it gave none.
std::string readAccessPrefix;

bool mayLoad(const char* uri) {
    for (const char* scheme : {"data", "blob", "about"}) {
        if (g_str_has_prefix(uri, scheme) && uri[std::char_traits<char>::length(scheme)] == ':') return true;
    }
    return isFileInside(uri, readAccessPrefix);
}

gboolean onSendRequest(WebKitWebPage*, WebKitURIRequest* request, WebKitURIResponse*, gpointer) {
    const char* uri = webkit_uri_request_get_uri(request);
    if (uri && mayLoad(uri)) return FALSE;
    // The address is the page's text: printable and of bounded length in the log.
    g_warning("Vimbo web extension: refused to load %s: the page may only read files in %s",
              uri ? vimbo::util::printableLogText(uri, 300).c_str() : "(no address)",
              readAccessPrefix.empty() ? "(no folder given)" : readAccessPrefix.c_str());
    return TRUE; // cancels the load
}

// The program's one page: its scripts arrive as messages to the whole extension, which WebKit sends
// one way, where a message to a page always travels with a reply the program would wake up for.
WebKitWebPage* programPage = nullptr;

gboolean onUserMessage(WebKitWebExtension*, WebKitUserMessage* message, gpointer) {
    WebKitWebPage* page = programPage;
    if (!page) return TRUE;
    if (g_strcmp0(webkit_user_message_get_name(message), kEvaluateMessage) != 0) return FALSE;
    GVariant* parameters = webkit_user_message_get_parameters(message);
    if (!parameters || !g_variant_is_of_type(parameters, G_VARIANT_TYPE_STRING)) {
        g_warning("Vimbo web extension: %s without a script", kEvaluateMessage);
        return TRUE;
    }
    gsize length = 0;
    const gchar* script = g_variant_get_string(parameters, &length);
    // Before the first document there is nothing to run a script in, as with WebKit's own evaluation.
    auto* context = static_cast<JSCContext*>(g_object_get_data(G_OBJECT(page), kContextKey));
    if (!context) return TRUE;
    g_object_unref(jsc_context_evaluate(context, script, static_cast<gssize>(length)));
    // As with WebKit's evaluation without a completion handler, a failing script is not reported.
    jsc_context_clear_exception(context);
    return TRUE;
}

void onPageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer) {
    if (programPage)
        g_object_remove_weak_pointer(G_OBJECT(programPage), reinterpret_cast<gpointer*>(&programPage));
    programPage = page;
    g_object_add_weak_pointer(G_OBJECT(page), reinterpret_cast<gpointer*>(&programPage));
    g_signal_connect(page, "send-request", G_CALLBACK(onSendRequest), nullptr);
    webkit_web_page_send_message_to_view(page, webkit_user_message_new(kReadyMessage, nullptr), nullptr,
                                         nullptr, nullptr);
}

} // namespace

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(WebKitWebExtension* extension,
                                                                               const GVariant* userData) {
    auto* folder = const_cast<GVariant*>(userData);
    if (folder && g_variant_is_of_type(folder, G_VARIANT_TYPE_STRING))
        readAccessPrefix = g_variant_get_string(folder, nullptr);
    g_signal_connect(extension, "page-created", G_CALLBACK(onPageCreated), nullptr);
    g_signal_connect(extension, "user-message-received", G_CALLBACK(onUserMessage), nullptr);
    g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                     G_CALLBACK(onWindowObjectCleared), nullptr);
}
