#pragma once

#include "core/platform/MainQueue.h"

namespace vimbo::linuxdesktop {

// Posts work to the GLib default main context, the program's main thread.
class GLibMainQueue : public platform::MainQueue {
  public:
    void post(std::function<void()> work) override;
    void postAfter(double seconds, std::function<void()> work) override;
};

} // namespace vimbo::linuxdesktop
