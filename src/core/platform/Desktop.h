#pragma once

#include <string>

namespace vimbo::platform {

// What the About, acknowledgements and support items ask of the desktop.
class Desktop {
  public:
    virtual ~Desktop() = default;

    virtual void showAboutPanel(const std::string& name, const std::string& version,
                                const std::string& description, const std::string& copyright) = 0;
    // Opens a local file with the desktop's default application; false when that failed.
    virtual bool openFile(const std::string& path) = 0;
    // Opens a web address in the default browser; false when that failed.
    virtual bool openAddress(const std::string& address) = 0;
    virtual void alertSound() = 0;
};

} // namespace vimbo::platform
