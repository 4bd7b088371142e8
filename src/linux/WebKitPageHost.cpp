#include "linux/WebKitPageHost.h"

#include "linux/GLibOwners.h"
#include "linux/OpenGlRenderer.h"
#include "linux/ResourceDirectory.h"
#include "webextension/FileAccess.h"
#include "webextension/Messages.h"

#include <cstdio>
#include <memory>
#include <string_view>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

void finishEvaluation(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<platform::PageHost::Completion> completion(
        static_cast<platform::PageHost::Completion*>(data));
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (value) g_object_unref(value);
    if (error) {
        std::string message = error->message;
        g_error_free(error);
        (*completion)(message);
    } else {
        (*completion)(std::nullopt);
    }
}

// UTF-16 code units of valid UTF-8 text: one per character, two for those beyond the first plane.
std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char byte : utf8) {
        if ((byte & 0xC0) != 0x80) ++units;
        if (byte >= 0xF0) ++units;
    }
    return units;
}

// WebKit's conversion to UTF-8 stops at a lone surrogate, so "audioInput:microphone\uD800junk"
// would arrive as a valid choice; a text shorter than the page's string was cut.
bool arrivedWhole(JSCValue* string, std::string_view utf8) {
    JSCValue* length = jsc_value_object_get_property(string, "length");
    const double units = jsc_value_to_double(length);
    g_object_unref(length);
    return units == static_cast<double>(utf16Length(utf8));
}

} // namespace

// The page has no business on the network, and the extension's request filter never sees WebSocket
// connections or preconnects. Every network connection of WebKit's network process goes through its
// proxy, so a proxy on port 0, where no connection can be made, closes them all: nothing leaves the
// machine and no host name is looked up (the proxy would resolve it). Files are not loaded through it.
void WebKitPageHost::keepOffTheNetwork(WebKitWebContext* context) {
    WebKitNetworkProxySettings* nowhere = webkit_network_proxy_settings_new("http://127.0.0.1:0", nullptr);
    webkit_website_data_manager_set_network_proxy_settings(webkit_web_context_get_website_data_manager(context),
                                                           WEBKIT_NETWORK_PROXY_MODE_CUSTOM, nowhere);
    webkit_network_proxy_settings_free(nowhere);
}

WebKitPageHost::WebKitPageHost(platform::SystemLog& systemLog) : systemLog_(systemLog) {
    g_signal_connect(webkit_web_context_get_default(), "initialize-web-extensions",
                     G_CALLBACK(onInitializeWebExtensions), this);
    keepOffTheNetwork(webkit_web_context_get_default());
    WebKitUserContentManager* manager = webkit_user_content_manager_new();
    // Connect before registering so that no early message is missed.
    g_signal_connect(manager, "script-message-received::app", G_CALLBACK(onScriptMessage), this);
    webkit_user_content_manager_register_script_message_handler(manager, "app");
    webView_ = WEBKIT_WEB_VIEW(webkit_web_view_new_with_user_content_manager(manager));
    g_object_unref(manager);
    g_object_ref_sink(webView_);

    WebKitSettings* settings = webkit_web_view_get_settings(webView_);
    // The page reads its own files through relative addresses only.
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    drawWithoutCompositingOnSoftwareGl(settings);

    g_signal_connect(webView_, "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(webView_, "load-failed", G_CALLBACK(onLoadFailed), this);
    g_signal_connect(webView_, "web-process-terminated", G_CALLBACK(onWebProcessTerminated), this);
    g_signal_connect(webView_, "decide-policy", G_CALLBACK(onDecidePolicy), this);
    g_signal_connect(webView_, "user-message-received", G_CALLBACK(onUserMessage), this);
}

// WebKit composites the page with OpenGL. Where OpenGL runs on the CPU (a virtual machine, a remote or
// virtual display) that costs the web process one and a half cores for the animated page, three times
// what drawing without compositing costs, and frames are dropped. Where no renderer answers, WebKit
// keeps its own choice: a GPU desktop must not lose compositing because the question failed.
void WebKitPageHost::drawWithoutCompositingOnSoftwareGl(WebKitSettings* settings) {
    auto renderer = openGlRenderer(gdk_display_get_default());
    if (!renderer || !rendersInSoftware(*renderer)) return;
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    systemLog_.write("Vimbo: OpenGL renders in software (" + *renderer + "); the page is drawn without it");
}

WebKitPageHost::~WebKitPageHost() {
    if (reloadSource_) g_source_remove(reloadSource_);
    g_signal_handlers_disconnect_by_data(webkit_web_context_get_default(), this);
    g_signal_handlers_disconnect_by_data(webView_, this);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(webView_), this);
    g_object_unref(webView_);
}

bool WebKitPageHost::makeTransparent() {
    mainThread_.check();
    GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(webView_, &clear);
    GdkRGBA readBack{1, 1, 1, 1};
    webkit_web_view_get_background_color(webView_, &readBack);
    return readBack.alpha == 0;
}

void WebKitPageHost::load(const std::string& fileUrl, const std::string& readAccessDir) {
    mainThread_.check();
    readAccessPrefix_ = readAccessDir.ends_with('/') ? readAccessDir : readAccessDir + "/";
    loadFailed_ = false;
    webkit_web_view_load_uri(webView_, fileUrl.c_str());
}

void WebKitPageHost::evaluate(const std::string& script) {
    mainThread_.check();
    if (extensionReady_) {
        webkit_web_context_send_message_to_all_extensions(
            webkit_web_view_get_context(webView_),
            webkit_user_message_new(webextension::kEvaluateMessage, g_variant_new_string(script.c_str())));
        return;
    }
    webkit_web_view_evaluate_javascript(webView_, script.c_str(), static_cast<gssize>(script.size()), nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
}

void WebKitPageHost::evaluate(const std::string& script, Completion completion) {
    mainThread_.check();
    auto* pending = std::make_unique<Completion>(std::move(completion)).release(); // finishEvaluation owns it
    webkit_web_view_evaluate_javascript(webView_, script.c_str(), static_cast<gssize>(script.size()), nullptr,
                                        nullptr, nullptr, finishEvaluation, pending);
}

std::optional<std::string> WebKitPageHost::title() const {
    mainThread_.check();
    const gchar* title = webkit_web_view_get_title(webView_);
    if (!title) return std::nullopt;
    return std::string(title);
}

void WebKitPageHost::onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                     gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    if (!host->listener_) return;
    JSCValue* value = webkit_javascript_result_get_js_value(result);
    if (!jsc_value_is_string(value)) {
        host->listener_->pageDidReceiveMessage(std::nullopt);
        return;
    }
    // As bytes, so that a NUL inside the text reaches the rules (which refuse it) instead of cutting
    // the message short into another, valid one.
    GBytes* bytes = jsc_value_to_string_as_bytes(value);
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    std::string body(data ? data : "", data ? size : 0);
    g_bytes_unref(bytes);
    if (!arrivedWhole(value, body)) {
        host->systemLog_.warn("Vimbo ignored a page message holding a lone surrogate: " + body);
        return;
    }
    host->listener_->pageDidReceiveMessage(body);
}

void WebKitPageHost::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    if (event != WEBKIT_LOAD_FINISHED) return;
    // The extension announces itself as the web process creates the page, before any load ends.
    if (!host->extensionReady_ && !host->extensionMissingLogged_) {
        host->extensionMissingLogged_ = true;
        host->systemLog_.warn(
            "Vimbo web extension is not running: page scripts are evaluated by WebKit one by one, "
            "and the page may read files outside its folder");
    }
    if (!host->loadFailed_ && host->listener_) host->listener_->pageDidFinishLoading();
}

// Each web process starts here: the first with the first load, others after a crash. Its extension
// learns from the initialization data which folder the page may read files from.
void WebKitPageHost::onInitializeWebExtensions(WebKitWebContext* context, gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    auto extensions = webExtensionDirectory();
    if (!extensions) return; // reported once the page has loaded without it
    webkit_web_context_set_web_extensions_directory(context, extensions->c_str());
    GVariant* readAccess = g_variant_ref_sink(g_variant_new_string(host->readAccessPrefix_.c_str()));
    webkit_web_context_set_web_extensions_initialization_user_data(context, readAccess);
    g_variant_unref(readAccess);
}

gboolean WebKitPageHost::onUserMessage(WebKitWebView*, WebKitUserMessage* message, gpointer self) {
    if (g_strcmp0(webkit_user_message_get_name(message), webextension::kReadyMessage) != 0) return FALSE;
    static_cast<WebKitPageHost*>(self)->extensionReady_ = true;
    return TRUE;
}

gboolean WebKitPageHost::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                                      gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    host->loadFailed_ = true;
    // A navigation refused by the policy below is not a failure of the page.
    if (!g_error_matches(error, WEBKIT_POLICY_ERROR,
                         WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
        host->systemLog_.warn(std::string("Vimbo page failed to load ") + (uri ? uri : "?") + ": " +
                              error->message);
    }
    return FALSE;
}

void WebKitPageHost::onWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                            gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    const char* why = reason == WEBKIT_WEB_PROCESS_CRASHED                 ? "crashed"
                      : reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "exceeded its memory limit"
                                                                           : "was terminated";
    const double delay = host->reloadBackoff_.delayAfterCrash(g_get_monotonic_time() / 1e6);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", delay);
    host->systemLog_.warn(std::string("Vimbo web process ") + why + "; reloading the page in " + seconds + " s");
    host->loadFailed_ = false;
    host->extensionReady_ = false; // until the next web process's extension announces itself
    if (host->reloadSource_) g_source_remove(host->reloadSource_);
    host->reloadSource_ = g_timeout_add(static_cast<guint>(delay * 1000), reloadAfterCrash, host);
}

gboolean WebKitPageHost::reloadAfterCrash(gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    host->reloadSource_ = 0;
    webkit_web_view_reload(host->webView_);
    return G_SOURCE_REMOVE;
}

// Navigation stays inside the resource directory; everything else is refused.
gboolean WebKitPageHost::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type, gpointer self) {
    auto* host = static_cast<WebKitPageHost*>(self);
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        return FALSE;
    }
    auto* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        webextension::isFileInside(uri, host->readAccessPrefix_)) {
        return FALSE;
    }
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

} // namespace vimbo::linuxdesktop
