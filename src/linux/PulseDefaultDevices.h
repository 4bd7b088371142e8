#pragma once

#include "core/platform/DefaultAudioDevices.h"
#include "core/platform/MainQueue.h"
#include "core/util/SerialQueue.h"
#include "core/util/ThreadChecker.h"
#include "linux/PulseContext.h"

#include <memory>

namespace vimbo::linuxdesktop {

// The default sink and source names, kept current through the server's change events. While the
// server is away both are none, and the connection is retried every couple of seconds, so a server
// that comes back (or a new default) is still noticed. The connection lives on a thread of its own:
// a server that hangs never holds up the main thread, which only reads the names last published.
class PulseDefaultDevices : public platform::DefaultAudioDevices,
                            public std::enable_shared_from_this<PulseDefaultDevices> {
  public:
    static constexpr double kReconnectDelay = 2.0;

    // Main thread; the first connection is made before it returns (bounded by the server's timeouts),
    // so the names are known from the start. `mainQueue` must outlive the object.
    static std::shared_ptr<PulseDefaultDevices> create(platform::MainQueue& mainQueue);

    // Main thread.
    std::optional<std::string> currentDefaultOutputUID() override;
    std::optional<std::string> currentDefaultInputUID() override;
    void listen(std::function<void()> onChange) override;

    explicit PulseDefaultDevices(platform::MainQueue& mainQueue) : mainQueue_(mainQueue) {}

  private:
    using Names = PulseContext::ServerDefaults;
    // On the connection's thread.
    void connect();
    void refresh();
    void lost();
    void scheduleReconnect();
    // `step` on the connection's thread, for as long as the object lives.
    std::function<void()> onWorker(void (PulseDefaultDevices::*step)());
    // Hands the names to the main thread, which tells the listener.
    void publish(Names names);

    platform::MainQueue& mainQueue_;
    // Shared with the loop thread's callbacks, which never hold the object itself: the last owner
    // must not be the loop thread, which cannot end its own loop.
    std::shared_ptr<util::SerialQueue> worker_ = std::make_shared<util::SerialQueue>("vimbo.audio-devices");
    std::unique_ptr<PulseContext> context_; // the worker's
    Names published_;                       // the worker's: the names last handed over
    Names names_;                           // the main thread's
    std::function<void()> onChange_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
