#pragma once

#include "core/platform/DefaultAudioDevices.h"

namespace vimbo::fakes {

// Default devices the test sets; `notify` plays the system telling that something changed.
class FakeDefaultAudioDevices : public platform::DefaultAudioDevices {
  public:
    std::optional<std::string> output;
    std::optional<std::string> input;

    std::optional<std::string> currentDefaultOutputUID() override { return output; }
    std::optional<std::string> currentDefaultInputUID() override { return input; }
    void listen(std::function<void()> onChange) override { onChange_ = std::move(onChange); }

    void notify() {
        if (onChange_) onChange_();
    }

  private:
    std::function<void()> onChange_;
};

} // namespace vimbo::fakes
