#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbo::platform {

// Titles that applications publish about the media they play (a browser's media session).
class MediaSessionTitles {
  public:
    virtual ~MediaSessionTitles() = default;

    // The title of the first media session the process publishes, if any.
    virtual std::optional<std::string> mediaTitle(std::int32_t pid) = 0;
};

} // namespace vimbo::platform
