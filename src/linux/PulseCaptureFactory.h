#pragma once

#include "core/audio/AudioInputController.h"

namespace vimbo::linuxdesktop {

// A fresh sound-server back-end for each start.
audio::AudioInputController::CaptureFactory pulseCaptureFactory();

} // namespace vimbo::linuxdesktop
