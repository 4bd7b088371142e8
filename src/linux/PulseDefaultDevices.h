#pragma once

#include "core/platform/DefaultAudioDevices.h"
#include "core/platform/MainQueue.h"
#include "core/util/ThreadChecker.h"
#include "linux/PulseContext.h"

#include <memory>

namespace vimbo::linuxdesktop {

// The default sink and source names, kept current through the server's change events. While the
// server is away both are none, and the connection is retried every couple of seconds, so a server
// that comes back (or a new default) is still noticed.
class PulseDefaultDevices : public platform::DefaultAudioDevices,
                            public std::enable_shared_from_this<PulseDefaultDevices> {
  public:
    static constexpr double kReconnectDelay = 2.0;

    // Main thread; connects at once. `mainQueue` must outlive the object.
    static std::shared_ptr<PulseDefaultDevices> create(platform::MainQueue& mainQueue);

    std::optional<std::string> currentDefaultOutputUID() override { return defaults_.sinkName; }
    std::optional<std::string> currentDefaultInputUID() override { return defaults_.sourceName; }
    void listen(std::function<void()> onChange) override { onChange_ = std::move(onChange); }

    explicit PulseDefaultDevices(platform::MainQueue& mainQueue) : mainQueue_(mainQueue) {}

  private:
    // All on the main thread.
    void connect();
    void refresh();
    void lost();
    void scheduleReconnect();
    void notify();

    platform::MainQueue& mainQueue_;
    std::unique_ptr<PulseContext> context_;
    PulseContext::ServerDefaults defaults_;
    std::function<void()> onChange_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
