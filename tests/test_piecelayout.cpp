// Where the pieces of a character go, the colours they get, and the items of the store's
// comma lists that number and type them.
#include <gtest/gtest.h>

#include "chardata/strokeitems.h"
#include "game/piecelayout.h"

namespace {

using quvo::Rect;
using quvo::Size;

const Rect kPanel{0, 192, 266, 768};

TEST(PieceLayout, PiecesFillARowFromTwentyBelowTheTop) {
    const auto homes = quvo::LayOutPieces(kPanel, 10, 10, {{50, 30}, {60, 40}, {20, 10}});
    ASSERT_EQ(homes.size(), 3u);
    EXPECT_EQ(homes[0], (Rect{0, 212, 50, 242}));
    EXPECT_EQ(homes[1], (Rect{60, 212, 120, 252}));
    EXPECT_EQ(homes[2], (Rect{130, 212, 150, 222}));
}

TEST(PieceLayout, APieceThatPassesTheRightEdgeStartsARowBelowTheTallest) {
    // 0..100, 110..210, then 220 + 50 > 266: next row 10 below the tallest (60) piece.
    const auto homes = quvo::LayOutPieces(kPanel, 10, 10, {{100, 20}, {100, 60}, {50, 30}, {10, 5}});
    EXPECT_EQ(homes[2], (Rect{0, 212 + 60 + 10, 50, 312}));
    EXPECT_EQ(homes[3], (Rect{60, 282, 70, 287}));
    // A piece that ends exactly on the right edge stays in its row.
    const auto exact = quvo::LayOutPieces(kPanel, 10, 10, {{200, 20}, {56, 20}});
    EXPECT_EQ(exact[1], (Rect{210, 212, 266, 232}));
}

TEST(PieceLayout, AFirstPieceWiderThanThePanelStartsTenLower) {
    const auto homes = quvo::LayOutPieces(kPanel, 10, 10, {{300, 40}, {20, 20}});
    EXPECT_EQ(homes[0], (Rect{0, 222, 300, 262}));
    // The next piece does not fit beside it (310 + 20 > 266): a new row below it.
    EXPECT_EQ(homes[1], (Rect{0, 272, 20, 292}));
}

TEST(PieceLayout, ColoursRepeatWithinOneSecondAndFollowTheSeedSteps) {
    const std::time_t t = 1'800'000'000;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(quvo::PieceColour(t, i), quvo::PieceColour(t, i));
    }
    // Piece i is seeded with t + 100 + 100 i: piece 1 now is piece 0 a hundred seconds on.
    EXPECT_EQ(quvo::PieceColour(t, 1), quvo::PieceColour(t + 100, 0));
    EXPECT_NE(quvo::PieceColour(t, 0), quvo::PieceColour(t, 1));
    EXPECT_EQ(quvo::PieceColour(t, 3) >> 24, 0u);
}

TEST(StrokeItems, TypeOfAStroke) {
    EXPECT_EQ(quvo::StrokeTypeAt("3,5,12", 2), 5);
    EXPECT_EQ(quvo::StrokeTypeAt("3,5,12", 7), 12);
    EXPECT_EQ(quvo::StrokeTypeAt("", 1), -1);
    EXPECT_EQ(quvo::StrokeTypeAt("3,5", 0), -1);
    EXPECT_EQ(quvo::StrokeTypeAt("3,5,", 3), 0);  // the empty item after a trailing comma
    EXPECT_EQ(quvo::StrokeTypeAt("3,x,4", 2), 0);
    EXPECT_EQ(quvo::StrokeTypeAt("31", 1), 31);
}

TEST(StrokeItems, StrokeWrittenAtAPosition) {
    EXPECT_EQ(quvo::StrokeOrderAt("2,1,3", 2, 3), 1);
    EXPECT_EQ(quvo::StrokeOrderAt("2,1,3", 4, 3), -1);
    EXPECT_EQ(quvo::StrokeOrderAt("2,1", 3, 3), 1);
    EXPECT_EQ(quvo::StrokeOrderAt("3,5,", 3, 3), 5);  // an empty last item is never taken
    EXPECT_EQ(quvo::StrokeOrderAt("", 1, 3), -1);
    EXPECT_EQ(quvo::StrokeOrderAt("2,1,3", 0, 3), -1);
}

}  // namespace
