#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::platform {

// One element of an application's accessibility tree: who serves it and where.
struct AccessibleElement {
    std::string owner;
    std::string path;

    bool operator==(const AccessibleElement&) const = default;
};

// Reading other applications' user interface through the accessibility service. Every failure gives
// no value.
class AccessibilityTree {
  public:
    virtual ~AccessibilityTree() = default;

    // Whether the service is on and answers; without it nothing else can be read.
    virtual bool isTrusted() = 0;
    virtual std::optional<AccessibleElement> application(std::int32_t pid) = 0;
    virtual std::optional<std::string> title(const AccessibleElement& element) = 0;
    // In the application's order.
    virtual std::optional<std::vector<AccessibleElement>> children(const AccessibleElement& element) = 0;
};

} // namespace vimbo::platform
