// Working out a stroke's type from its shape: the measures, the bend, the dispatch table and
// the classifiers, on small shapes drawn for each rule, and on strokes of the real font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"
#include "strokes/outlineseg.h"
#include "strokes/polygonregion.h"
#include "strokes/strokeclassify.h"
#include "strokes/strokegeometry.h"
#include "tests/shapeart.h"

namespace {

using quvo::PolygonRegion;
using quvo::Rect;
using quvo::StrokePoint;

using quvo::testing::Art;
using quvo::testing::Band;
using quvo::testing::Blank;
using quvo::testing::Rects;
using quvo::testing::RegionOf;
using quvo::testing::Rows;

TEST(StrokeShape, TheArtBecomesExactlyItsPixels) {
    const PolygonRegion region = RegionOf({"##..###", "..#...."});
    EXPECT_EQ(region.Box(), (Rect{0, 0, 7, 2}));
    const std::string inRow0 = "##..###", inRow1 = "..#....";
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(region.Contains(x, 0), inRow0[x] == '#') << x;
        EXPECT_EQ(region.Contains(x, 1), inRow1[x] == '#') << x;
    }
}

// A 竖 with a foot to the right (an L): every measure of the context.
TEST(StrokeShape, MeasuresTheBoxRunsAndOccupiedEdges) {
    const PolygonRegion region = RegionOf(Rects(14, 20, {{0, 0, 4, 20}, {4, 16, 14, 20}}));
    const quvo::StrokeShape s(region);
    EXPECT_EQ(s.W, 14);
    EXPECT_EQ(s.H, 20);
    EXPECT_EQ(s.WR, 14);  // the foot's rows
    EXPECT_EQ(s.HC, 20);  // the stem's columns
    EXPECT_EQ(s.Rmax, 1);
    EXPECT_EQ(s.Cmax, 1);
    // Row H lies outside the box, so the lowest occupied row is H - 1.
    EXPECT_EQ(s.LowestRow().at, 19);
    EXPECT_EQ(s.LowestRow().rect, (Rect{0, 19, 14, 19}));
    EXPECT_EQ(s.TopRow().rect, (Rect{0, 0, 4, 1}));
    EXPECT_EQ(s.RightColumn().at, 13);
    EXPECT_EQ(s.RightColumn().rect, (Rect{13, 16, 13, 20}));
    EXPECT_EQ(s.LeftColumn().rect, (Rect{0, 0, 0, 20}));
    EXPECT_EQ(s.LowestRow(2).count, 0);  // no row with two runs
    EXPECT_EQ(s.LeftColumn(2).at, s.W);  // none: the search ends at W
}

TEST(StrokeShape, BendIsTheSignedDistanceOfTheMiddlePoint) {
    struct Case {
        int x1, h1, x2, h2, x3, h3;
        float bend;
    };
    const Case cases[] = {
        {0, 10, -2, 5, 0, 0, 2.0f},  // vertical line, middle point to the left: positive
        {0, 10, 3, 5, 0, 0, -3.0f},  // to the right: negative
        {0, 0, 5, 5, 10, 10, 0.0f},  // on the line
        {4, 4, 4, 4, 4, 4, 0.0f},    // one point: no line, no bend
        {0, 0, 5, 3, 10, 0, -3.0f},  // a horizontal line, the middle point above it
    };
    for (const Case& c : cases) {
        const quvo::Bend b = quvo::BendThrough(c.x1, c.h1, c.x2, c.h2, c.x3, c.h3);
        EXPECT_FLOAT_EQ(b.value, c.bend) << c.x2 << "," << c.h2;
        EXPECT_EQ(b.dx, c.x3 - c.x1);
        EXPECT_EQ(b.dh, c.h3 - c.h1);
    }
    EXPECT_FLOAT_EQ(quvo::BendThrough(0, 0, 1, 1, 2, 10).Steepness(), 5.0f);
    EXPECT_TRUE(std::isinf(quvo::BendThrough(3, 0, 1, 1, 3, 10).Steepness()));
}

TEST(StrokeClassify, DispatchTableByTheMostRunsInARowAndInAColumn) {
    struct Case {
        int rmax, cmax;
        char classifier;
    };
    const Case cases[] = {
        {1, 1, 'A'}, {1, 2, 'B'}, {1, 3, 'C'}, {2, 1, 'D'}, {2, 2, 'E'},
        {2, 3, 'F'}, {2, 4, 'G'}, {3, 1, 'H'}, {3, 4, 'H'}, {3, 9, 'H'},
        {1, 4, 0},   {2, 5, 0},   {4, 1, 0},   {5, 2, 0},   {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quvo::ChooseClassifier(c.rmax, c.cmax), c.classifier) << c.rmax << "x" << c.cmax;
    }
}

struct Drawn {
    const char* name;
    Art art;
    char classifier;
    int code;
};

void ExpectCodes(const std::vector<Drawn>& shapes) {
    for (const Drawn& d : shapes) {
        const quvo::StrokeIdentity id = quvo::IdentifyStrokeType(RegionOf(d.art));
        EXPECT_EQ(id.classifier, d.classifier) << d.name;
        EXPECT_EQ(id.code, d.code) << d.name;
    }
}

TEST(StrokeClassify, ShapesWithoutAClassifierGetNoCode) {
    ExpectCodes({
        // Four teeth 3 pixels apart: four runs in the top rows.
        {"comb",
         Rects(19, 6, {{0, 0, 2, 4}, {5, 0, 7, 4}, {10, 0, 12, 4}, {15, 0, 17, 6}, {0, 4, 19, 6}}),
         0, -1},
        // Teeth 2 pixels apart merge into one run: a plain bar.
        {"close teeth",
         Rects(18, 4, {{0, 0, 2, 2}, {4, 0, 6, 2}, {8, 0, 10, 2}, {12, 0, 18, 4}, {0, 2, 18, 4}}),
         'A', 0},
        {"nothing", Blank(5, 5), 0, -1},
    });
}

// The bars of classifier A; the narrow ones tell a straight 竖 from one whose right edge
// bows in at the middle (a 点).
TEST(StrokeClassify, SingleBars) {
    ExpectCodes({
        {"flat bar, W + 6 >= 3H", Rects(30, 8, {{0, 0, 30, 8}}), 'A', 0},
        {"narrow straight bar", Rects(8, 40, {{0, 0, 8, 40}}), 'A', 1},
        // Right edge at x = 6, 6, 12 at H/4, H/2, 3H/4: middle 3 pixels left of the chord.
        {"narrow bar bowing in", Rows(18, 100, 6, [](int y) { return std::max(0, y - 50) / 4; }),
         'A', 3},
        // Right edge at 12, 18, 18: the middle lies right of the chord (bend -3).
        {"narrow bar bowing out", Rows(19, 100, 6, [](int y) { return std::min(y, 50) / 4; }), 'A',
         1},
        // Tall full-height bars: straight edges and no second run on a right-leaning line.
        {"tall bar 46 x 108", Rects(46, 108, {{0, 0, 46, 108}}), 'A', 1},
        {"tall bar 48 x 108", Rects(48, 108, {{0, 0, 48, 108}}), 'A', 1},
    });
}

TEST(StrokeClassify, FixedBoxRulesDecideOnlyForTheirBox) {
    const PolygonRegion tall(RegionOf(Rects(47, 108, {{0, 0, 47, 108}})));
    std::vector<std::string> fired;
    const quvo::StrokeIdentity id =
        quvo::IdentifyStrokeType(tall, [&](const char* label) { fired.push_back(label); });
    EXPECT_EQ(id.code, 3);
    EXPECT_EQ(fired, std::vector<std::string>{"A 47x108"});

    fired.clear();
    quvo::IdentifyStrokeType(RegionOf(Rects(46, 108, {{0, 0, 46, 108}})),
                             [&](const char* label) { fired.push_back(label); });
    EXPECT_TRUE(fired.empty());
}

// 横撇 drawn as a top bar and a band falling to the bottom left.
Art HengPie() {
    Art art = Rects(20, 20, {{0, 0, 20, 4}});
    for (int y = 4; y < 20; ++y) {
        for (int x = 16 - (y - 4); x < 20 - (y - 4); ++x) art[y][x] = '#';
    }
    return art;
}

// Classifier B: one run per row, two in some column.
TEST(StrokeClassify, TwoRunsInAColumnOnePerRow) {
    ExpectCodes({
        // The foot ends right of the middle; a right-leaning line from H/3 meets the stem and
        // then the lower arm; column W/2 has two runs and a column spans the whole height.
        {"C opening right", Rects(20, 20, {{0, 0, 20, 4}, {0, 4, 4, 16}, {0, 16, 20, 20}}), 'B',
         22},
        // The foot ends left of the middle and no right-leaning line meets the band twice; the
        // right edge at H/8, H/2, 7H/8 (x 20, 14, 7) is a gentle slope, bend -0.7.
        {"band falling from a bar", HengPie(), 'B', 2},
    });
}

// Classifiers E, F and G: two runs in some row, two, three or four in some column.
TEST(StrokeClassify, TwoRunsInARowAndSeveralInAColumn) {
    ExpectCodes({
        // Wide (2H < W), and the first column with two runs lies in the left third.
        {"wide ring", Rects(40, 10, {{0, 0, 40, 3}, {0, 3, 4, 7}, {36, 3, 40, 7}, {0, 7, 40, 10}}),
         'E', 14},
        // Tall ring: a left-leaning line from H/2 crosses both sides, the box diagonal meets
        // two runs, the foot is at the left, no right-leaning line meets it twice, and the
        // right column reaches from top to bottom with the widest row over 7W/10: 横撇's code.
        {"tall ring", Rects(9, 40, {{0, 0, 9, 10}, {0, 10, 3, 31}, {6, 10, 9, 31}, {0, 31, 9, 40}}),
         'E', 7},
        // An E with a stub at the right: four runs down column 9, three on a left-leaning line
        // but at most two on a right-leaning one: no code.
        {"E with a stub",
         Rects(10, 22,
               {{0, 0, 2, 22}, {2, 0, 10, 2}, {2, 10, 10, 12}, {2, 20, 10, 22}, {8, 4, 10, 7}}),
         'G', -1},
        // An S with a stub under its top bar (classifier F): three runs on the diagonals both
        // ways; the rows above the first split are all the top bar, so their widths do not
        // vary, and a left-leaning line from H/3 meets the middle and the bottom bar: 16.
        {"S with a stub",
         Rects(10, 22,
               {{0, 0, 10, 2},
                {0, 2, 2, 10},
                {6, 2, 8, 7},
                {0, 10, 10, 12},
                {8, 12, 10, 20},
                {0, 20, 10, 22}}),
         'F', 16},
    });
}

// Classifier C: one run per row, three in some column.
TEST(StrokeClassify, ThreeRunsInAColumn) {
    // An S: bars at the top, middle and bottom joined by a left and then a right stem.
    const auto s = [](int w, int stem) {
        const int h = 3 * 2 + 2 * stem;
        return Rects(w, h,
                     {{0, 0, w, 2},
                      {0, 2, 2, 2 + stem},
                      {0, 2 + stem, w, 4 + stem},
                      {w - 2, 4 + stem, w, 4 + 2 * stem},
                      {0, 4 + 2 * stem, w, h}});
    };
    ExpectCodes({
        {"thin S, 4W < H", s(6, 11), 'C', 1},
        // The leftmost column's first run ends at the middle bar, above 3H/4.
        {"S", s(10, 8), 'C', 15},
        // An E: the spine is the leftmost column's one run, down to the bottom.
        {"E", Rects(10, 22, {{0, 0, 2, 22}, {2, 0, 10, 2}, {2, 10, 10, 12}, {2, 20, 10, 22}}), 'C',
         12},
    });
}

// Classifier D: two runs in some row, one per column.
TEST(StrokeClassify, TwoRunsInARowOnePerColumn) {
    ExpectCodes({
        // Very flat (5H < W): a 横 whatever its notch.
        {"notched flat bar", Rects(20, 2, {{0, 0, 8, 1}, {12, 0, 20, 1}, {0, 1, 20, 2}}), 'D', 0},
        // The right column reaches the top and the foot lies right of the middle: 横折.
        {"hook with a short left leg",
         Rects(20, 20, {{0, 0, 20, 4}, {0, 4, 4, 10}, {16, 4, 20, 20}}), 'D', 4},
        // The right column reaches the top and the foot starts at the left.
        {"U", Rects(20, 20, {{0, 0, 4, 16}, {16, 0, 20, 16}, {0, 16, 20, 20}}), 'D', 6},
        // The right column starts low; from H/3 on no row splits, and a column spans 9/10 of H.
        {"stem with a low blob", Rects(12, 30, {{0, 0, 4, 30}, {8, 20, 12, 30}}), 'D', 1},
    });
}

// Classifier H: three runs in some row.
TEST(StrokeClassify, ThreeRunsInARow) {
    ExpectCodes({
        // Wide (2H < W): the slope -(H/W) is 0 in integers, so the diagonal meets nothing.
        {"wide comb", Rects(20, 6, {{0, 0, 4, 4}, {8, 0, 12, 4}, {16, 0, 20, 4}, {0, 4, 20, 6}}),
         'H', 10},
        // A nub at the top right, above three legs: it starts right of 8W/10 in the top tenth.
        {"three legs under a right nub",
         Rects(20, 30, {{17, 0, 20, 3}, {0, 3, 3, 30}, {8, 3, 11, 30}, {17, 3, 20, 30}}), 'H', 7},
        // Only the left leg reaches below 2H/3: no left-leaning line from there meets two runs.
        {"one long leg",
         Rects(20, 30, {{0, 0, 20, 3}, {0, 3, 3, 30}, {8, 3, 11, 13}, {17, 3, 20, 13}}), 'H', 27},
        // Three runs on the diagonals; from the left the column tops stay on the bar across
        // the whole width (more than W/4): 21. Joined at the foot instead, the tops jump at
        // the first gap, 3 columns on: 16.
        {"three legs under a bar",
         Rects(20, 30, {{0, 0, 20, 3}, {0, 3, 3, 30}, {8, 3, 11, 30}, {17, 3, 20, 30}}), 'H', 21},
        {"three legs on a bar",
         Rects(20, 30, {{0, 0, 3, 27}, {8, 0, 11, 27}, {17, 0, 20, 27}, {0, 27, 20, 30}}), 'H', 16},
    });
}

// The large (height 500) strokes of a character in the real font, each identified as a piece
// does it after a drop; fixed-box rules that decided are collected in `fired`.
std::vector<int> IdentifyCharacter(const char* utf8, std::vector<std::string>* fired = nullptr) {
    quvo::GlyphSource font(QUVO_PROGRAM_DIR "/fonts/quvokai.ttf");
    const quvo::TextMetrics m = font.Metrics(500);
    const std::string gbk = quvo::Utf8ToGbk(utf8).value();
    std::vector<std::uint8_t> bytes;
    font.NativeOutline(static_cast<std::uint16_t>(static_cast<unsigned char>(gbk[0]) * 256 +
                                                  static_cast<unsigned char>(gbk[1])),
                       500, bytes);
    quvo::StrokeList list;
    list.Reset();
    const int n = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), m.ascent, {},
                                         list.SegmentCursor(), list.HeadCursor());
    std::vector<int> codes;
    for (int k = 1; k <= n; ++k) {
        quvo::OutlineSeg* chain = list.StrokeAt(k);
        Rect bounds;
        quvo::GetStrokeBounds(chain, bounds);
        quvo::SetStrokeOffset(chain, -bounds.left, -bounds.top);
        const PolygonRegion region(quvo::GatherStrokePoints(chain));
        quvo::ResetStrokeOffset(chain);
        codes.push_back(quvo::IdentifyStrokeType(region, [&](const char* label) {
                            if (fired)
                                fired->push_back(std::to_string(k) + " " + label);
                        }).code);
    }
    return codes;
}

// Characters of the basic strokes: the shapes of the real font give the store's own types,
// 口's 横折 (classifier E) included.
TEST(StrokeClassify, RealStrokesAgreeWithTheStore) {
    for (const char* character : {"一", "二", "三", "十", "人", "口", "大", "木", "八"}) {
        const quvo::StoreAnswer answer = quvo::QueryCharacterStore(
            QUVO_PROGRAM_DIR "/hz.db", quvo::Utf8ToGbk(character).value());
        ASSERT_EQ(answer.status, quvo::StoreAnswer::kFound) << character;
        const std::vector<int> codes = IdentifyCharacter(character);
        ASSERT_FALSE(codes.empty()) << character;
        for (std::size_t k = 0; k < codes.size(); ++k) {
            EXPECT_EQ(codes[k], quvo::StrokeTypeAt(answer.strokeTypes, int(k) + 1))
                << character << " stroke " << k + 1;
        }
    }
}

// The two fixed-box rules that decide anything with our font, each for one stroke of GB2312.
TEST(StrokeClassify, FixedBoxRulesOfTheRealFont) {
    std::vector<std::string> fired;
    EXPECT_EQ(IdentifyCharacter("滤", &fired)[0], 3);
    EXPECT_EQ(IdentifyCharacter("茗", &fired)[1], 1);
    EXPECT_EQ(fired, (std::vector<std::string>{"1 A 47x108", "2 A 51x104"}));
}

}  // namespace
