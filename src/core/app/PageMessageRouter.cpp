#include "core/app/PageMessageRouter.h"

#include <utility>

namespace vimbo::app {

PageMessageRouter& PageMessageRouter::exact(std::string_view text, std::function<void()> action) {
    return add(text, false, [action = std::move(action)](std::string_view) {
        action();
        return true;
    });
}

PageMessageRouter& PageMessageRouter::prefix(std::string_view prefix,
                                             std::function<void(std::string_view)> action) {
    return add(prefix, true, [action = std::move(action)](std::string_view payload) {
        action(payload);
        return true;
    });
}

PageMessageRouter& PageMessageRouter::prefixUnlessDeclined(std::string_view prefix, Handler handler) {
    return add(prefix, true, std::move(handler));
}

PageMessageRouter& PageMessageRouter::add(std::string_view text, bool isPrefix, Handler handler) {
    rules_.push_back({std::string(text), isPrefix, std::move(handler)});
    return *this;
}

bool PageMessageRouter::route(std::string_view body) const {
    for (const auto& rule : rules_) {
        bool matches = rule.isPrefix ? body.starts_with(rule.text) : body == rule.text;
        if (matches && rule.handler(body.substr(rule.isPrefix ? rule.text.size() : body.size()))) return true;
    }
    return false;
}

} // namespace vimbo::app
