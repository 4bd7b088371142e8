#pragma once

#include "core/audio/MicrophonePermissionProviding.h"

namespace vimbo::linuxdesktop {

// A plain desktop session lets every program record; sandboxed builds would ask their portal here.
class DesktopMicrophonePermission : public audio::MicrophonePermissionProviding {
  public:
    void requestAccess(std::function<void(bool granted)> completion) override { completion(true); }
};

} // namespace vimbo::linuxdesktop
