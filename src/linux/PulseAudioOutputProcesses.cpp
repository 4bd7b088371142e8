#include "linux/PulseAudioOutputProcesses.h"

#include "linux/PulseContext.h"

#include <pulse/introspect.h>
#include <pulse/proplist.h>

#include <charconv>
#include <cstring>

namespace vimbo::linuxdesktop {

namespace {

struct Listing {
    const PulseContext* context;
    std::vector<std::int32_t> processes;
};

void addSinkInput(pa_context*, const pa_sink_input_info* info, int eol, void* userdata) {
    auto* listing = static_cast<Listing*>(userdata);
    if (eol != 0 || !info) {
        listing->context->signal();
        return;
    }
    const char* process = pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    std::int32_t pid = 0;
    if (!info->corked && process &&
        std::from_chars(process, process + std::strlen(process), pid).ec == std::errc())
        listing->processes.push_back(pid);
}

} // namespace

std::vector<std::int32_t> PulseAudioOutputProcesses::producingOutput() {
    int error = 0;
    const auto context = PulseContext::connect("Vimbo now playing", error);
    if (!context) return {};
    Listing listing{context.get(), {}};
    PulseContext::Lock lock(*context);
    context->await(pa_context_get_sink_input_info_list(context->context(), addSinkInput, &listing));
    return listing.processes;
}

} // namespace vimbo::linuxdesktop
