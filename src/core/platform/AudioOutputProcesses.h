#pragma once

#include <cstdint>
#include <vector>

namespace vimbo::platform {

// The processes producing sound right now, as the sound server knows them.
class AudioOutputProcesses {
  public:
    virtual ~AudioOutputProcesses() = default;

    // Process identifiers in the server's order; a process may occur more than once. Empty when the
    // server does not answer.
    virtual std::vector<std::int32_t> producingOutput() = 0;
};

} // namespace vimbo::platform
