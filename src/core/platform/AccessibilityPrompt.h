#pragma once

namespace vimbo::platform {

// Tells the user how to turn the accessibility service on.
class AccessibilityPrompt {
  public:
    virtual ~AccessibilityPrompt() = default;

    // Returns at once; whether the desktop shows it is not reported.
    virtual void show() = 0;
};

} // namespace vimbo::platform
