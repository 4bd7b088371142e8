#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vimbo::app {

// The page's messages matched against an ordered table of rules: an exact rule takes only its whole
// text, a prefix rule takes any message that starts with it and hands on the text after it. The first
// rule that takes a message acts and no later rule is tried.
class PageMessageRouter {
  public:
    // Gets the text after the rule's prefix (empty for an exact rule); false declines the message, so
    // that the later rules try it.
    using Handler = std::function<bool(std::string_view payload)>;

    PageMessageRouter& exact(std::string_view text, std::function<void()> action);
    PageMessageRouter& prefix(std::string_view prefix, std::function<void(std::string_view)> action);
    // A prefix rule whose handler may decline the message.
    PageMessageRouter& prefixUnlessDeclined(std::string_view prefix, Handler handler);

    // Whether a rule took `body`.
    bool route(std::string_view body) const;

  private:
    struct Rule {
        std::string text;
        bool isPrefix;
        Handler handler;
    };

    PageMessageRouter& add(std::string_view text, bool isPrefix, Handler handler);

    std::vector<Rule> rules_;
};

} // namespace vimbo::app
