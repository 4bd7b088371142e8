#pragma once

#include "core/platform/TemplateImage.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vimbo::platform {

// One entry of a status item's menu. `action` and `representedObject` come back unchanged when the
// user picks the entry.
struct StatusMenuItem {
    enum class Kind { action, checkbox, radio, separator, submenu };

    Kind kind = Kind::action;
    std::string title;
    std::string action;
    std::string representedObject;
    bool checked = false;
    std::string keyEquivalent; // with the primary modifier (Ctrl here), e.g. "q"
    std::vector<StatusMenuItem> children;

    friend bool operator==(const StatusMenuItem&, const StatusMenuItem&) = default;
};

struct StatusItemEvents {
    std::function<void(const std::string& action, const std::string& representedObject)> onMenuAction;
    std::function<void()> onMenuWillOpen;
    // Whether a tray on the desktop shows the item now; it may change at any time.
    std::function<void(bool shown)> onShownChanged;
};

// An icon in the desktop's status area with a menu. Destroying it removes it. Main thread only.
class StatusItem {
  public:
    virtual ~StatusItem() = default;

    virtual void setImage(const TemplateImage& image) = 0;
    virtual void setMenu(const std::vector<StatusMenuItem>& menu) = 0;
    // False while no tray on the desktop can show the item.
    virtual bool isShown() const = 0;
};

// The desktop's status area.
class StatusBar {
  public:
    virtual ~StatusBar() = default;

    // `label` is the item's title and tool tip.
    virtual std::unique_ptr<StatusItem> makeStatusItem(const std::string& label, StatusItemEvents events) = 0;
};

} // namespace vimbo::platform
