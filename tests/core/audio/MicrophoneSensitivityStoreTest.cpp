#include "core/audio/MicrophoneSensitivityStore.h"

#include "fakes/InMemoryDefaults.h"

#include <gtest/gtest.h>

#include <limits>

using vimbo::audio::MicrophoneSensitivityStore;

TEST(MicrophoneSensitivityStoreTest, ClampsToItsRange) {
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(20.0f), 8.0f);
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(0.01f), 0.125f);
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(2.5f), 2.5f);
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(std::numeric_limits<float>::quiet_NaN()), 1.0f);
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(std::numeric_limits<float>::infinity()), 1.0f);
    EXPECT_EQ(MicrophoneSensitivityStore::clamp(-3.0f), 0.125f);
}

TEST(MicrophoneSensitivityStoreTest, SavesClampedDoublesAndLoadsThem) {
    vimbo::fakes::InMemoryDefaults defaults;
    MicrophoneSensitivityStore store(defaults);
    EXPECT_EQ(store.load(), 1.0f); // missing
    store.save(20.0f);
    EXPECT_EQ(defaults.readDouble("microphoneSensitivity"), 8.0);
    EXPECT_EQ(store.load(), 8.0f);
    store.save(0.01f);
    EXPECT_EQ(store.load(), 0.125f);
    store.save(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(defaults.readDouble("microphoneSensitivity"), 1.0);
    store.save(2.5f);
    EXPECT_EQ(store.load(), 2.5f);
}

TEST(MicrophoneSensitivityStoreTest, BadStoredValuesLoadAsOne) {
    vimbo::fakes::InMemoryDefaults defaults;
    MicrophoneSensitivityStore store(defaults);
    defaults.values["microphoneSensitivity"] = std::string("loud");
    EXPECT_EQ(store.load(), 1.0f);
    defaults.values["microphoneSensitivity"] = true;
    EXPECT_EQ(store.load(), 1.0f);
    defaults.values["microphoneSensitivity"] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(store.load(), 1.0f);
    defaults.values["microphoneSensitivity"] = 1e300; // infinite in single precision
    EXPECT_EQ(store.load(), 1.0f);
    defaults.values["microphoneSensitivity"] = 50.0;
    EXPECT_EQ(store.load(), 8.0f);
}
