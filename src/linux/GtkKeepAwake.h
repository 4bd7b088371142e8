#pragma once

#include "core/platform/KeepAwake.h"
#include "core/platform/SystemLog.h"
#include "core/util/ThreadChecker.h"

#include <gtk/gtk.h>

namespace vimbo::linuxdesktop {

// Activities as session inhibitors: idle for the display, suspend for an export.
class GtkKeepAwake : public platform::KeepAwake {
  public:
    GtkKeepAwake(GtkApplication* application, platform::SystemLog& systemLog)
        : application_(application), systemLog_(systemLog) {}

    Token begin(platform::ActivityKind kind, const char* reason) override;
    void end(Token token) override;

  private:
    GtkApplication* application_;
    platform::SystemLog& systemLog_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
