#include "core/app/DefaultDeviceListeners.h"

#include "fakes/FakeDefaultAudioDevices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vimbo::app::DefaultDeviceListeners;
using vimbo::audio::AudioDeviceChange;
using Lines = std::vector<std::string>;

class DefaultDeviceListenersTest : public testing::Test {
  protected:
    void SetUp() override {
        devices.output = "speakers";
        devices.input = "mic";
        listeners = std::make_shared<DefaultDeviceListeners>(
            devices, [this](const std::string& line) { lines.push_back(line); },
            [this](AudioDeviceChange change) { changes.push_back(change); });
        listeners->install();
    }

    vimbo::fakes::FakeDefaultAudioDevices devices;
    std::shared_ptr<DefaultDeviceListeners> listeners;
    Lines lines;
    std::vector<AudioDeviceChange> changes;
};

TEST_F(DefaultDeviceListenersTest,
       EachRealChangeIsLoggedAndHandledOnceOutputFirstAndGoneShowsAsQuestionMark) {
    devices.notify(); // nothing changed
    devices.output = "hdmi";
    devices.input.reset();
    devices.notify();
    devices.notify();
    EXPECT_EQ(lines, (Lines{"default output changed to hdmi", "default input changed to ?"}));
    EXPECT_EQ(changes, (std::vector{AudioDeviceChange::defaultOutput, AudioDeviceChange::defaultInput}));
}

TEST_F(DefaultDeviceListenersTest, GoneListenersIgnoreNotifications) {
    listeners.reset();
    devices.output = "hdmi";
    devices.notify();
    EXPECT_TRUE(changes.empty());
}
