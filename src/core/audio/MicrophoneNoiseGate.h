#pragma once

namespace vimbo::audio {

// Adaptive gate for microphone input: follows the background noise floor and opens smoothly above it.
struct MicrophoneNoiseGate {
    float noiseFloor = 0.01f;
    float gain = 0.0f;

    // Updates the floor and the gain for one frame's RMS and returns the new gain (0...1).
    float process(float rms);
};

} // namespace vimbo::audio
