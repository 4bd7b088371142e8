#include "core/chrome/MiniPlayerWindow.h"
#include "core/chrome/MiniWindowAnchorStore.h"

#include "fakes/InMemoryDefaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::chrome {
namespace {

using platform::Rect;
using ::testing::Optional;

TEST(MiniPlayerWindowTest, ClampingKeepsTheSizeAndMovesIntoTheBound) {
    const Rect bound{100, 50, 1000, 800};
    EXPECT_EQ(MiniPlayerWindow::clamped({200, 100, 260, 260}, bound), (Rect{200, 100, 260, 260}));
    EXPECT_EQ(MiniPlayerWindow::clamped({-400, -30, 260, 260}, bound), (Rect{100, 50, 260, 260}));
    // Larger than the bound: aligned to its left and top edges.
    EXPECT_EQ(MiniPlayerWindow::clamped({500, 300, 1200, 900}, bound), (Rect{100, 50, 1200, 900}));
}

TEST(MiniPlayerWindowTest, OpensNearTheMainCornerOrAtTheAnchorAlwaysInsideTheWorkArea) {
    const Rect main{100, 100, 800, 600};
    const Rect size{0, 0, 262, 280};
    const Rect work{0, 0, 1920, 1080};
    EXPECT_EQ(MiniPlayerWindow::placement(Point{40, 60}, main, size, work), (Rect{40, 60, 262, 280}));
    // An anchor left on a monitor that is gone, and a main window hanging off the screen.
    EXPECT_EQ(MiniPlayerWindow::placement(Point{2500, -300}, main, size, work), (Rect{1658, 0, 262, 280}));
    EXPECT_EQ(MiniPlayerWindow::placement(std::nullopt, {1800, 900, 800, 600}, size, work),
              (Rect{1658, 800, 262, 280}));
}

TEST(MiniWindowAnchorStoreTest, KeepsTheCornerAsPointTextAndIgnoresTextThatIsNoPoint) {
    fakes::InMemoryDefaults defaults;
    MiniWindowAnchorStore store(defaults);
    store.save({616, -20.5});
    EXPECT_EQ(std::get<std::string>(defaults.values.at("miniPlayerTopLeft")), "{616, -20.5}");
    EXPECT_THAT(MiniWindowAnchorStore(defaults).load(), Optional(Point{616, -20.5}));
    for (const char* text : {"", "{1 2}", "{a, b}", "{1, 2", "{1, 2}x", "{1, 2, 3}", "{nan, 1}"}) {
        EXPECT_EQ(MiniWindowAnchorStore::parse(text), std::nullopt) << text;
    }
    defaults.values["miniPlayerTopLeft"] = 3.0;
    EXPECT_EQ(store.load(), std::nullopt);
}

} // namespace
} // namespace vimbo::chrome
