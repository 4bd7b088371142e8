#pragma once

#include "core/audio/AudioInput.h"

#include <cstdint>
#include <span>

namespace vimbo::audio {

// One captured buffer: the samples are always read as 32-bit floats.
struct AudioBuffer {
    std::uint32_t numberChannels = 0; // not consulted
    std::uint32_t dataByteSize = 0;
    const void* data = nullptr;
};

// What a consumer needs of a stream description.
struct AudioStreamDescription {
    double sampleRate = 0;
    std::uint32_t formatFlags = 0;
    std::uint32_t channelsPerFrame = 0;
};

// Set in `formatFlags` when each buffer holds one channel.
inline constexpr std::uint32_t kAudioFormatFlagIsNonInterleaved = 32;

// Where a capture back-end hands each block it records; back-ends hold it weakly.
class AudioBufferConsumer {
  public:
    virtual ~AudioBufferConsumer() = default;

    // Capture callback threads: no allocation, I/O or logging.
    virtual void ingest(std::span<const AudioBuffer> buffers, const AudioStreamDescription& format,
                        AudioInput input) = 0;
};

} // namespace vimbo::audio
