#include "core/app/RelaunchPolicy.h"

#include "core/util/WholeNumber.h"

namespace vimbo::app {

std::optional<std::string> RelaunchPolicy::restartHistory(std::string_view history, long long now) {
    std::string recent;
    int count = 0;
    while (!history.empty()) {
        const auto comma = history.find(',');
        const auto time = util::wholeNumber<long long>(history.substr(0, comma));
        history = comma == std::string_view::npos ? std::string_view{} : history.substr(comma + 1);
        // Restarts longer ago than the window, or "in the future" after a reboot, no longer count.
        if (!time || *time > now || now - *time >= kWindowSeconds) continue;
        if (++count >= kMostRestarts) return std::nullopt;
        recent += std::to_string(*time) + ",";
    }
    return recent + std::to_string(now);
}

} // namespace vimbo::app
