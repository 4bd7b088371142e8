#include "linux/GLibMainQueue.h"

#include <glib.h>

#include <cmath>
#include <memory>

namespace vimbo::linuxdesktop {

namespace {

gboolean runOnce(gpointer data) {
    (*static_cast<std::function<void()>*>(data))();
    return G_SOURCE_REMOVE;
}

void destroyWork(gpointer data) {
    delete static_cast<std::function<void()>*>(data);
}

void attach(GSource* source, std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    g_source_set_callback(source, runOnce, owned.release(), destroyWork);
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
}

} // namespace

void GLibMainQueue::post(std::function<void()> work) {
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    attach(source, std::move(work));
}

void GLibMainQueue::postAfter(double seconds, std::function<void()> work) {
    if (!(seconds > 0)) return post(std::move(work));
    auto ms = static_cast<guint>(std::min(std::ceil(seconds * 1000.0), 4.0e9));
    attach(g_timeout_source_new(ms), std::move(work));
}

} // namespace vimbo::linuxdesktop
