#pragma once

#include "core/platform/Desktop.h"
#include "core/platform/SystemLog.h"

namespace vimbo::linuxdesktop {

// The About dialog, opening files and addresses, and the alert sound, through GTK.
class GtkDesktop : public platform::Desktop {
  public:
    explicit GtkDesktop(platform::SystemLog& systemLog) : systemLog_(systemLog) {}

    void showAboutPanel(const std::string& name, const std::string& version, const std::string& description,
                        const std::string& copyright) override;
    bool openFile(const std::string& path) override;
    bool openAddress(const std::string& address) override;
    void alertSound() override;

  private:
    bool showUri(const char* uri);

    platform::SystemLog& systemLog_;
};

} // namespace vimbo::linuxdesktop
