#pragma once

#include "core/app/ReloadBackoff.h"
#include "core/platform/PageHost.h"
#include "core/platform/SystemLog.h"
#include "core/util/ThreadChecker.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>

namespace vimbo::linuxdesktop {

// The page in a WebKitGTK web view; the page posts to the native side through the handler "app".
class WebKitPageHost : public platform::PageHost {
  public:
    explicit WebKitPageHost(platform::SystemLog& systemLog);
    ~WebKitPageHost() override;
    WebKitPageHost(const WebKitPageHost&) = delete;
    WebKitPageHost& operator=(const WebKitPageHost&) = delete;

    // The web view widget, to be placed in a window.
    GtkWidget* widget() const { return GTK_WIDGET(webView_); }

    void setListener(platform::PageListener* listener) override { listener_ = listener; }
    bool makeTransparent() override;
    void load(const std::string& fileUrl, const std::string& readAccessDir) override;
    void evaluate(const std::string& script) override;
    void evaluate(const std::string& script, Completion completion) override;
    std::optional<std::string> title() const override;

  private:
    static void keepOffTheNetwork(WebKitWebContext* context);
    void drawWithoutCompositingOnSoftwareGl(WebKitSettings* settings);
    static void onScriptMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* result,
                                gpointer self);
    static void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error,
                                 gpointer self);
    static gboolean reloadAfterCrash(gpointer self);
    static void onWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                       gpointer self);
    static void onInitializeWebExtensions(WebKitWebContext* context, gpointer self);
    static gboolean onUserMessage(WebKitWebView* view, WebKitUserMessage* message, gpointer self);
    static gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);

    platform::SystemLog& systemLog_;
    platform::PageListener* listener_ = nullptr;
    WebKitWebView* webView_ = nullptr; // owned through the reference sunk below
    std::string readAccessPrefix_;     // the resource directory with a trailing slash
    app::ReloadBackoff reloadBackoff_;
    guint reloadSource_ = 0;            // the pending reload after a crash
    bool loadFailed_ = false;          // a failed load also ends in "finished", which must not count
    // Scripts without a completion go to the web process extension once it has said it runs there.
    bool extensionReady_ = false;
    bool extensionMissingLogged_ = false;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
