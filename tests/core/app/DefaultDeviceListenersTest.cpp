#include "core/app/DefaultDeviceListeners.h"

#include "fakes/FakeDefaultAudioDevices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vimbo::app::DefaultDeviceListeners;
using vimbo::audio::AudioDeviceChange;
using Lines = std::vector<std::string>;

TEST(DefaultDeviceListenersTest, EachRealChangeIsLoggedAndHandledOnceOutputFirstAndGoneShowsAsQuestionMark) {
    vimbo::fakes::FakeDefaultAudioDevices devices;
    devices.output = "speakers";
    devices.input = "mic";
    Lines lines;
    std::vector<AudioDeviceChange> changes;
    auto listeners = std::make_shared<DefaultDeviceListeners>(
        devices, [&](const std::string& line) { lines.push_back(line); },
        [&](AudioDeviceChange change) { changes.push_back(change); });
    listeners->install();
    devices.notify(); // nothing changed
    devices.output = "hdmi";
    devices.input.reset();
    devices.notify();
    devices.notify();
    EXPECT_EQ(lines, (Lines{"default output changed to hdmi", "default input changed to ?"}));
    EXPECT_EQ(changes, (std::vector{AudioDeviceChange::defaultOutput, AudioDeviceChange::defaultInput}));
    listeners.reset(); // gone listeners ignore notifications
    devices.output = "speakers";
    devices.notify();
    EXPECT_EQ(changes.size(), 2u);
}
