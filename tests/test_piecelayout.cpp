// Where the pieces of a character go, the colours they get, and the items of the store's
// comma lists that number and type them.
#include <gtest/gtest.h>

#include <iostream>

#include "chardata/strokeitems.h"
#include "game/piecelayout.h"
#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"

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

// The sizes of a character's pieces with its small outline at `height`, as the dialog makes
// them: each stroke's box and 4 pixels more.
std::vector<Size> PieceSizes(quvo::GlyphSource& font, std::uint16_t code, int height) {
    std::vector<std::uint8_t> outline;
    if (font.NativeOutline(code, height, outline) <= 0) {
        return {};
    }
    quvo::StrokeList list;
    list.Reset();
    const int n = quvo::WalkGlyphOutline(outline.data(), outline.size(), font.Metrics(height).ascent,
                                         {0, 0}, list.SegmentCursor(), list.HeadCursor());
    std::vector<Size> sizes;
    for (int k = 1; k <= n; ++k) {
        Rect box;
        quvo::GetStrokeBounds(list.StrokeAt(k), box);
        sizes.push_back({box.Width() + 4, box.Height() + 4});
    }
    return sizes;
}

// Every character of GB2312's two levels: its pieces lie whole in the tray, above the bottom
// panel's buttons, and none covers another; characters that do not fit at the usual height
// get smaller pieces.
TEST(PieceLayout, EveryGb2312CharacterFitsTheTray) {
    quvo::GlyphSource font(QUVO_PROGRAM_DIR "/fonts/quvokai.ttf");
    ASSERT_TRUE(font.IsOpen());
    const Rect tray = quvo::PieceTray(quvo::ComputePanels(1024, 768));
    EXPECT_EQ(tray, (Rect{0, 192, 266, 576}));
    int characters = 0, brokeBefore = 0, shrunk = 0, smallest = quvo::kSmallPieceHeight;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const auto code = static_cast<std::uint16_t>(lead * 256 + trail);
            if (lead == 0xD7 && trail > 0xF9) {
                continue;  // the five empty places at the end of level one
            }
            ++characters;
            const auto sizesAt = [&](int h) { return PieceSizes(font, code, h); };
            const std::vector<Size> usual = sizesAt(quvo::kSmallPieceHeight);
            ASSERT_FALSE(usual.empty()) << std::hex << code;
            brokeBefore += !quvo::TrayHolds(quvo::LayOutPieces(tray, 10, 10, usual), tray);
            const int height = quvo::FitSmallHeight(sizesAt, tray, 10, 10);
            EXPECT_TRUE(quvo::TrayHolds(quvo::LayOutPieces(tray, 10, 10, sizesAt(height)), tray))
                << std::hex << code;
            shrunk += height < quvo::kSmallPieceHeight;
            smallest = std::min(smallest, height);
        }
    }
    EXPECT_EQ(characters, 6763);
    EXPECT_GT(brokeBefore, 0);
    EXPECT_EQ(shrunk, brokeBefore);  // only those that did not fit are made smaller
    std::cout << characters << " characters; " << brokeBefore << " did not fit the tray at height "
              << quvo::kSmallPieceHeight << ", now smaller (down to " << smallest << ")\n";
}

TEST(PieceLayout, TrayHoldsOnlyWholePiecesThatDoNotOverlap) {
    const Rect tray{0, 192, 266, 576};
    EXPECT_TRUE(quvo::TrayHolds({{0, 212, 50, 242}, {60, 212, 266, 576}}, tray));
    EXPECT_TRUE(quvo::TrayHolds({}, tray));
    EXPECT_FALSE(quvo::TrayHolds({{0, 212, 50, 242}, {40, 230, 60, 250}}, tray));  // overlap
    EXPECT_FALSE(quvo::TrayHolds({{-1, 212, 50, 242}}, tray));
    EXPECT_FALSE(quvo::TrayHolds({{200, 212, 267, 242}}, tray));
    EXPECT_FALSE(quvo::TrayHolds({{0, 550, 50, 577}}, tray));  // into the bottom panel
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

// Colours against the picture under them: distances in L*a*b*, and drawing again until one
// stands out, keeping the first when it does and the best when none does.
TEST(PieceColours, OnlyColoursThatStandOutFromThePictureAreKept) {
    using quvo::MakeColour;
    EXPECT_NEAR(quvo::ColourDistance(MakeColour(0, 0, 0), MakeColour(255, 255, 255)), 100.0, 0.1);
    const quvo::Colour sky = MakeColour(150, 205, 240), cloud = MakeColour(250, 250, 252);
    const quvo::Colour paleCyan = MakeColour(175, 235, 240), lavender = MakeColour(230, 225, 250);
    const quvo::Colour darkRed = MakeColour(140, 20, 30);
    EXPECT_LT(quvo::ColourDistance(paleCyan, sky), quvo::Backdrop::kClearDistance);
    EXPECT_LT(quvo::ColourDistance(lavender, cloud), quvo::Backdrop::kClearDistance);

    std::vector<quvo::Colour> under(95, sky);
    under.resize(100, cloud);  // 5 in 100 may be anything
    const quvo::Backdrop backdrop(under);
    EXPECT_TRUE(backdrop.StandsOut(darkRed));
    EXPECT_FALSE(backdrop.StandsOut(paleCyan));
    EXPECT_TRUE(quvo::Backdrop({}).StandsOut(paleCyan));  // nothing under it

    struct Case {
        std::vector<quvo::Colour> draws;
        quvo::Colour kept;
        int asked;
    };
    for (const Case& c : {Case{{darkRed, paleCyan}, darkRed, 1},
                          Case{{paleCyan, lavender, darkRed}, darkRed, 3},
                          Case{{paleCyan, sky, paleCyan}, sky, 3}}) {  // none: the best (clear of the cloud)
        int asked = 0;
        const quvo::Colour kept = backdrop.StandingOut([&] { return c.draws[asked++ % c.draws.size()]; }, 3);
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(asked, c.asked);
    }
    // A piece keeps the colour it always had when that colour stands out.
    const std::time_t t = 1'800'000'000;
    EXPECT_EQ(quvo::PieceColour(t, 2, quvo::Backdrop({})), quvo::PieceColour(t, 2));
    for (int i = 0; i < 40; ++i) {
        EXPECT_TRUE(backdrop.StandsOut(quvo::PieceColour(t, i, backdrop))) << i;
    }
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
