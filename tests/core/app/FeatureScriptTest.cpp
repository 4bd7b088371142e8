#include "core/app/FeatureScript.h"

#include <gtest/gtest.h>

#include <vector>

using vimbo::app::featureScript;

TEST(FeatureScriptTest, FormatsScalarsAndSpectrum) {
    const std::vector<float> spectrum = {0.1f, 0.2f};
    EXPECT_EQ(featureScript(0.5f, 0.25f, 0.125f, 0.0f, 1.0f, 0.5f, spectrum),
              "__a(0.500,0.250,0.125,0.000,1.000,0.50,[0.100,0.200])");
}

TEST(FeatureScriptTest, EmptySpectrumAndZeroFeatures) {
    EXPECT_EQ(featureScript(0, 0, 0, 0, 0, 0, {}), "__a(0.000,0.000,0.000,0.000,0.000,0.00,[])");
}

TEST(FeatureScriptTest, FullFeaturesHave24SpectrumValues) {
    vimbo::audio::AudioFeatures features;
    features.beat = 0.456f;
    features.spectrum[23] = 0.9996f;
    EXPECT_EQ(featureScript(features),
              "__a(0.000,0.000,0.000,0.000,0.000,0.46,[0.000,0.000,0.000,0.000,0.000,"
              "0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,"
              "0.000,0.000,0.000,0.000,0.000,0.000,1.000])");
}
