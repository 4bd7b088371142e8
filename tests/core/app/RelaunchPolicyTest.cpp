#include "core/app/RelaunchPolicy.h"

#include <gtest/gtest.h>

using vimbo::app::RelaunchPolicy;

TEST(RelaunchPolicyTest, AtMostThreeRestartsWithinFiveMinutesAndOlderOnesAreForgotten) {
    struct Case {
        const char* history;
        long long now;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"", 1000, "1000"},
        {"900,950", 1000, "900,950,1000"},
        {"900,950,990", 1000, std::nullopt},
        {"700,950,990", 1000, "950,990,1000"}, // 300 s ago is outside the window
        {"701,950,990", 1000, std::nullopt},
        // Unreadable or impossible entries from the environment do not count and are not handed on.
        {"x,,950, 990,5000,-,99999999999999999999", 1000, "950,1000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RelaunchPolicy::restartHistory(c.history, c.now), c.expected) << c.history;
}
