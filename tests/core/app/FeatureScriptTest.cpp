#include "core/app/FeatureScript.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using vimbo::app::featureScript;

TEST(FeatureScriptTest, ScalarsInOrderThenTheSpectrumValues) {
    EXPECT_EQ(featureScript(0.5f, 0.25f, 0.125f, 0.0f, 1.0f, 0.5f, std::vector{0.1f, 0.2f}),
              "__a(0.500,0.250,0.125,0.000,1.000,0.50,[0.100,0.200])");
}

// The page and the analysis tool both read these numbers as "%.3f" and "%.2f" would write them.
TEST(FeatureScriptTest, NumbersMatchPrintfFixedNotation) {
    std::vector<float> values = {0.0005f, 0.0015f,        -0.0005f,      -0.0f,    0.9995f,   2.675f,
                                 1e-7f,   -3.4028235e38f, 3.4028235e38f, INFINITY, -INFINITY, NAN};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-2.0f, 2.0f);
    for (int i = 0; i < 2000; ++i)
        values.push_back(spread(random));
    for (float value : values) {
        char beat[64];
        char other[64];
        std::snprintf(beat, sizeof beat, "%.2f", static_cast<double>(value));
        std::snprintf(other, sizeof other, "%.3f", static_cast<double>(value));
        std::string expected = "__a(";
        for (int j = 0; j < 5; ++j)
            expected += std::string(other) + ",";
        expected += std::string(beat) + ",[" + other + "])";
        ASSERT_EQ(featureScript(value, value, value, value, value, value, std::array{value}), expected)
            << value;
    }
}
