#include "core/audio/MicrophoneNoiseGate.h"

#include <gtest/gtest.h>

#include <cmath>

using vimbo::audio::MicrophoneNoiseGate;

TEST(MicrophoneNoiseGateTest, OpensIn055Then07975AndFallsTo0002Hiss) {
    MicrophoneNoiseGate opening;
    EXPECT_FLOAT_EQ(opening.process(0.5f), 0.55f);
    EXPECT_FLOAT_EQ(opening.process(0.5f), 0.7975f);
    // 0.014 lies a third of the way from the opening point to full: its smoothstep 0.2765, taken 55 %.
    EXPECT_NEAR(MicrophoneNoiseGate{}.process(0.014f), 0.15207f, 1e-5f);
    MicrophoneNoiseGate gate{0.01f, 0.4f};
    EXPECT_FLOAT_EQ(gate.process(0.002f), 0.4f - 0.4f * 0.055f); // the target is 0: 5.5 % per frame
    EXPECT_FLOAT_EQ(gate.noiseFloor, 0.01f + 0.08f * (0.002f - 0.01f));
}

TEST(MicrophoneNoiseGateTest, FloorCreepsUpOnlyWhileMostlyClosed) {
    MicrophoneNoiseGate gate;
    gate.process(0.011f); // just above the floor, below the opening point
    EXPECT_FLOAT_EQ(gate.noiseFloor, 0.01f + 0.018f * (0.011f - 0.01f));
    gate.gain = 0.5f;
    const float floor = gate.noiseFloor;
    gate.process(0.02f);
    EXPECT_EQ(gate.noiseFloor, floor);
}

TEST(MicrophoneNoiseGateTest, NanRmsCountsAsZero) {
    MicrophoneNoiseGate zero, nan;
    zero.process(0.0f);
    EXPECT_EQ(nan.process(std::nanf("")), 0.0f);
    EXPECT_EQ(nan.noiseFloor, zero.noiseFloor);
    for (int i = 0; i < 500; ++i)
        nan.process(0.0f);
    EXPECT_EQ(nan.noiseFloor, 0.00005f); // the floor never drops below its minimum
}
