#pragma once

#include "core/platform/Desktop.h"

#include <string>
#include <vector>

namespace vimbo::fakes {

class FakeDesktop : public platform::Desktop {
  public:
    std::vector<std::string> aboutPanels; // name, version, description and copyright joined by "|"
    std::vector<std::string> opened;
    bool opens = true;
    int alerts = 0;

    void showAboutPanel(const std::string& name, const std::string& version, const std::string& description,
                        const std::string& copyright) override {
        aboutPanels.push_back(name + "|" + version + "|" + description + "|" + copyright);
    }
    bool openFile(const std::string& path) override {
        opened.push_back(path);
        return opens;
    }
    bool openAddress(const std::string& address) override {
        opened.push_back(address);
        return opens;
    }
    void alertSound() override { ++alerts; }
};

} // namespace vimbo::fakes
