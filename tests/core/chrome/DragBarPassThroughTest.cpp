#include "core/chrome/DragBarPassThrough.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::chrome {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

TEST(DragBarPassThroughTest, KeepsFourNumberRectanglesWithPositiveSizeInPageOrder) {
    EXPECT_THAT(
        DragBarPassThrough::rects("[[5,6,7,8],[0,0,10,0],[1,2,3,4],[1,2,3],[1,2,3,4,5],[0,0,-1,4],[]]"),
        Optional(ElementsAre(PassThroughRect{5, 6, 7, 8}, PassThroughRect{1, 2, 3, 4})));
    EXPECT_THAT(DragBarPassThrough::rects("[[-10.5,0.25,1e-3,2]]"),
                Optional(ElementsAre(PassThroughRect{-10.5, 0.25, 0.001, 2})));
    EXPECT_THAT(DragBarPassThrough::rects("[[0,0,0,0]]"), Optional(IsEmpty()));
}

TEST(DragBarPassThroughTest, AnythingButAnArrayOfArraysOfNumbersIsRejected) {
    for (const char* payload : {"{}", "", "[", "[[1,2,3,4]", "[1,2,3,4]", "[[1,2,3,\"4\"]]", "[[1,2,3,null]]",
                                "[[1,2,3,true]]", "[[[1],2,3,4]]", "null", "[[1,2,3,4]] x"}) {
        EXPECT_EQ(DragBarPassThrough::rects(payload), std::nullopt) << payload;
    }
}

} // namespace
} // namespace vimbo::chrome
