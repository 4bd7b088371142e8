#include "core/audio/MicrophoneSensitivityStore.h"

#include "fakes/InMemoryDefaults.h"

#include <gtest/gtest.h>

#include <cmath>

using vimbo::audio::MicrophoneSensitivityStore;

TEST(MicrophoneSensitivityStoreTest, SavesClampedDoublesAndLoadsBadValuesAsOne) {
    vimbo::fakes::InMemoryDefaults defaults;
    MicrophoneSensitivityStore store(defaults);
    EXPECT_EQ(store.load(), 1.0f); // missing
    for (auto [given, kept] :
         {std::pair{20.0f, 8.0f}, {-3.0f, 0.125f}, {2.5f, 2.5f}, {std::nanf(""), 1.0f}}) {
        store.save(given);
        EXPECT_EQ(defaults.readDouble("microphoneSensitivity"), kept) << given;
    }
    defaults.values["microphoneSensitivity"] = 1e300; // infinite in single precision
    EXPECT_EQ(store.load(), 1.0f);
    defaults.values["microphoneSensitivity"] = 50.0;
    EXPECT_EQ(store.load(), 8.0f);
}
