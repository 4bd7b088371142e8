#include "core/audio/FluxHistory.h"

#include <gtest/gtest.h>

using vimbo::audio::FluxHistory;

TEST(FluxHistoryTest, KeepsTheNewest90ValuesOldestFirstWithTheirMeanAndPopulationDeviation) {
    FluxHistory history;
    for (int i = 0; i < 300; ++i)
        history.append(static_cast<float>(i));
    EXPECT_EQ(history.at(0), 210.0f);
    EXPECT_EQ(history.at(89), 299.0f);
    history.clear();
    EXPECT_EQ(history.mean(), 0.0f);
    for (float value : {2.0f, 4.0f, 4.0f, 4.0f, 5.0f, 5.0f, 7.0f, 9.0f})
        history.append(value);
    EXPECT_EQ(history.mean(), 5.0f);
    EXPECT_EQ(history.deviation(5.0f), 2.0f);
}
