#include "core/audio/MicrophoneNoiseGate.h"

#include <gtest/gtest.h>

#include <limits>

using vimbo::audio::MicrophoneNoiseGate;

TEST(MicrophoneNoiseGateTest, SuddenSignalOpensTheGateIn055Then07975) {
    MicrophoneNoiseGate gate;
    EXPECT_FLOAT_EQ(gate.process(0.5f), 0.55f);
    EXPECT_FLOAT_EQ(gate.process(0.5f), 0.7975f);
}

TEST(MicrophoneNoiseGateTest, FloorFollowsSteadyHissAndGainDecays) {
    MicrophoneNoiseGate gate;
    gate.gain = 0.5f;
    float previousGain = gate.gain;
    for (int i = 0; i < 200; ++i) {
        const float before = gate.noiseFloor;
        const float expectedFloor = before + 0.08f * (0.002f - before);
        gate.process(0.002f);
        if (i == 0) {
            EXPECT_FLOAT_EQ(gate.noiseFloor, expectedFloor); // downward at 0.08
        }
        EXPECT_LE(gate.gain, previousGain);
        previousGain = gate.gain;
    }
    EXPECT_NEAR(gate.noiseFloor, 0.002f, 1e-5f);
    EXPECT_LT(gate.gain, 0.01f);
    // The first decay step while the target is 0 is 5.5% of the gain.
    MicrophoneNoiseGate fresh;
    fresh.gain = 0.4f;
    fresh.noiseFloor = 0.002f;
    EXPECT_FLOAT_EQ(fresh.process(0.002f), 0.4f - 0.4f * 0.055f);
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

TEST(MicrophoneNoiseGateTest, NegativeAndNanRmsCountAsZero) {
    MicrophoneNoiseGate a;
    MicrophoneNoiseGate b;
    MicrophoneNoiseGate c;
    a.process(0.0f);
    b.process(-1.0f);
    c.process(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(a.noiseFloor, b.noiseFloor);
    EXPECT_EQ(a.noiseFloor, c.noiseFloor);
    EXPECT_EQ(c.gain, 0.0f);
    for (int i = 0; i < 500; ++i)
        c.process(0.0f);
    EXPECT_EQ(c.noiseFloor, 0.00005f); // the floor never drops below its minimum
}
