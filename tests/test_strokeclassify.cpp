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
        // right column reaches from top to bottom with the widest row over 7W/10: 7, 横折钩.
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

// Every rule of every classifier on a small shape that reaches it (found by bench/rule_shapes,
// some scaled up to the exact box a rule asks for): the classifier the dispatch table picks,
// the rule that decides and the code it gives, both codes where a rule chooses between two.
// Rules no shape can reach are left out: WideBarA 2 and 3 and MiddlingFootLeftA 6 probe with
// the slope -(W / H), a vertical line when H < W, which meets nothing, so the three
// cross-sections are equal; ThreeRightLeaningE 5 repeats a search the same function has
// already answered over a wider range of lines, and ThreeRightLeaningE 10 asks for a right
// column starting above H/3 after a rule took all starting at or above H/2; ClassifyE 1 and 2 need
// an empty shape or one no left-leaning line meets, and a shape with two runs in a column
// always has a row below its first.
struct RuleCase {
    const char* rule;
    int code;
    char classifier;
    struct {
        int w, h;
        std::vector<Band> bands;
        int scaleW, scaleH;
    } shape;
};

TEST(StrokeClassify, EveryRuleOnAShapeDrawnForIt) {
    const RuleCase cases[] = {
        {"ClassifyA 1", 0, 'A', {3, 3, {{1, 2, 1, 1, -1, 2}}, 0, 0}},
        {"ClassifyA 2", 1, 'A', {3, 3, {{0, 3, 2, 1, 0, 1}}, 0, 0}},
        {"ClassifyA 2", 3, 'A', {5, 10, {{0, 4, 3, 1, 0, 1}, {7, 10, 2, 1, -1, 3},
            {8, 9, 0, 1, 2, 1}}, 0, 0}},
        {"MiddlingFootLeftA 1", 2, 'A', {3, 4, {{0, 2, 1, 1, 1, 2}, {2, 3, 2, 1, 1, 2},
            {2, 4, 2, 1, -2, 1}, {1, 3, 1, 1, 0, 1}}, 0, 0}},
        {"MiddlingFootLeftA 2", 0, 'A', {6, 4, {{2, 3, 3, 2, -1, 3}, {2, 4, 0, 2, 0, 1},
            {0, 4, 2, 2, 0, 1}, {0, 3, -3, 1, 3, 1}}, 0, 0}},
        {"MiddlingFootLeftA 3", 2, 'A', {9, 7, {{3, 5, 8, 2, -1, 3}, {5, 7, -1, 2, -1, 3},
            {3, 7, 4, 3, 3, 1}, {0, 2, 1, 1, 0, 1}}, 0, 0}},
        {"MiddlingFootLeftA 4", 3, 'A', {3, 4, {{3, 4, 1, 1, 2, 1}, {0, 2, 2, 1, -2, 1}}, 0, 0}},
        {"MiddlingFootLeftA 5", 6, 'A', {3, 3, {{0, 3, 1, 1, -1, 2}}, 0, 0}},
        {"MiddlingFootLeftA 7", 2, 'A', {10, 10, {{9, 10, 0, 1, -2, 1}, {3, 4, 9, 3, 2, 1},
            {0, 6, 9, 3, -1, 1}, {4, 10, 9, 3, 3, 1}, {5, 8, 2, 1, 0, 1}}, 0, 0}},
        {"MiddlingFootLeftA 7", 3, 'A', {19, 29, {{17, 21, 7, 5, -3, 1}}, 48, 87}},
        {"MiddlingFootLeftA 8", 3, 'A', {3, 3, {{1, 3, 1, 1, -1, 3}, {0, 3, 1, 1, 2, 1}}, 0, 0}},
        {"MiddlingFootLeftA 8", 6, 'A', {3, 4, {{1, 4, 2, 1, -1, 1}, {0, 3, 1, 1, -2, 1},
            {1, 4, 1, 1, -3, 1}}, 0, 0}},
        {"MiddlingFootRightA 1", 1, 'A', {3, 4, {{0, 3, 0, 1, 1, 2}, {2, 4, 2, 1, 0, 1}}, 0, 0}},
        {"MiddlingFootRightA 1", 3, 'A', {5, 4, {{3, 4, 2, 1, 3, 1}, {0, 3, 0, 1, 0, 1},
            {2, 3, 4, 1, 3, 1}, {2, 3, 2, 1, 3, 1}}, 0, 0}},
        {"MiddlingFootRightA 2", 1, 'A', {3, 4, {{3, 4, 2, 1, -2, 1}, {0, 3, 0, 1, 1, 2}}, 0, 0}},
        {"MiddlingFootRightA 2", 5, 'A', {3, 3, {{0, 3, 0, 1, -1, 3}, {2, 3, 1, 1, -1, 1}}, 0, 0}},
        {"MiddlingFootRightA 3", 1, 'A', {3, 3, {{0, 3, 0, 1, 1, 2}}, 0, 0}},
        {"MiddlingFootRightA 3", 3, 'A', {4, 5, {{0, 2, 2, 1, 1, 2}, {0, 3, 0, 1, 0, 1},
            {3, 4, 3, 1, 1, 3}}, 0, 0}},
        {"TallBarFullA 1", 3, 'A', {6, 19, {{15, 17, 0, 2, -1, 2}, {9, 15, -2, 2, -1, 2},
            {3, 11, 2, 2, 1, 3}, {4, 18, 0, 2, 0, 1}}, 0, 0}},
        {"TallBarFullA 2", 1, 'A', {4, 9, {{0, 9, 3, 1, 0, 1}, {0, 4, -1, 1, 1, 3}}, 0, 0}},
        {"TallBarFullA 2", 22, 'A', {4, 9, {{0, 9, 3, 1, 0, 1}, {8, 9, 0, 1, -2, 1},
            {0, 9, 3, 1, -1, 3}, {7, 8, 3, 1, 0, 1}, {1, 6, 3, 1, 1, 3}}, 0, 0}},
        {"TallBarFullA 3", 3, 'A', {8, 17, {{11, 12, -4, 2, 1, 1}, {0, 11, 5, 1, 0, 1},
            {6, 12, 3, 2, 0, 1}, {9, 12, 7, 1, 3, 1}}, 0, 0}},
        {"TallBarThinA 1", 2, 'A', {8, 23, {{12, 19, 1, 2, 1, 3}, {4, 10, -4, 2, -2, 1},
            {3, 17, -2, 1, 0, 1}, {14, 16, 1, 2, 0, 1}, {22, 23, -1, 2, 3, 1}}, 0, 0}},
        {"TallBarThinA 2", 3, 'A', {4, 10, {{1, 3, 2, 1, -3, 1}, {3, 7, -1, 1, 2, 1},
            {4, 5, -2, 1, 0, 1}, {8, 10, 0, 1, 1, 2}}, 0, 0}},
        {"TallBarThinA 3", 1, 'A', {4, 9, {{0, 9, 0, 1, 3, 1}, {8, 9, 1, 1, 2, 1}}, 0, 0}},
        {"TallBarThinA 4", 3, 'A', {6, 13, {{12, 13, 1, 1, 0, 1}, {2, 7, 3, 2, 1, 3},
            {0, 2, -3, 1, 1, 2}, {1, 8, 2, 2, 0, 1}}, 0, 0}},
        {"TallBarThinA 5", 6, 'A', {4, 9, {{2, 7, 3, 1, 1, 3}, {8, 9, 0, 1, -1, 2},
            {0, 5, 2, 1, 2, 1}}, 0, 0}},
        {"TallBarThinA 6", 3, 'A', {4, 10, {{1, 10, 3, 1, -1, 3}, {3, 8, 0, 1, 0, 1}}, 0, 0}},
        {"TallBarThinA 7", 1, 'A', {10, 28, {{4, 22, -1, 3, 1, 2}}, 51, 104}},
        {"TallBarThinA 7", 3, 'A', {4, 9, {{0, 9, 3, 1, -1, 3}}, 0, 0}},
        {"WideBarA 1", 0, 'A', {36, 8, {{0, 8, 15, 7, 0, 1}, {2, 5, 21, 11, -1, 2},
            {2, 4, -7, 4, 1, 3}, {5, 7, 18, 3, 1, 3}, {2, 8, -12, 5, 0, 1}}, 0, 0}},
        {"WideBarA 4", 0, 'A', {17, 8, {{0, 1, 12, 5, 1, 2}, {5, 8, 0, 4, 1, 1}}, 0, 0}},
        {"WideBarA 5", 3, 'A', {19, 10, {{9, 10, 16, 5, -1, 1}, {1, 2, -1, 2, 1, 1},
            {9, 10, 16, 5, 1, 2}}, 0, 0}},
        {"WideBarA 5", 5, 'A', {21, 8, {{5, 7, 14, 7, 1, 2}, {6, 7, 19, 4, -1, 2},
            {7, 8, 16, 1, -1, 2}, {0, 8, -9, 5, 0, 1}, {0, 3, 4, 2, 0, 1}}, 0, 0}},
        {"ClassifyB 1", 1, 'B', {3, 3, {{0, 1, 0, 1, -2, 1}, {1, 3, 1, 1, -1, 3}}, 0, 0}},
        {"ClassifyB 2", 15, 'B', {3, 4, {{0, 4, 2, 1, -2, 1}, {2, 4, -1, 1, 3, 1}}, 0, 0}},
        {"ClassifyB 2", 22, 'B', {3, 4, {{3, 4, 2, 1, 1, 3}, {3, 4, 1, 1, 1, 2},
            {0, 4, 2, 1, -2, 1}}, 0, 0}},
        {"ClassifyB 3", 15, 'B', {3, 4, {{2, 4, 2, 1, 0, 1}, {1, 4, 1, 1, 1, 1},
            {3, 4, 1, 1, 3, 1}, {0, 2, 1, 1, -1, 3}}, 0, 0}},
        {"ClassifyB 3", 22, 'B', {3, 4, {{3, 4, 1, 1, 1, 2}, {3, 4, 2, 1, 1, 1},
            {0, 4, 1, 1, -1, 3}}, 0, 0}},
        {"ClassifyB 4", 1, 'B', {4, 6, {{0, 2, 3, 1, -2, 1}, {2, 4, 0, 1, -1, 2},
            {3, 5, 3, 1, -1, 1}, {5, 6, 0, 1, 1, 3}}, 0, 0}},
        {"ClassifyB 5", 10, 'B', {4, 5, {{3, 5, 1, 1, -1, 3}, {1, 4, 2, 1, 1, 3},
            {2, 5, 3, 1, 3, 1}, {0, 3, 0, 1, 0, 1}}, 0, 0}},
        {"ClassifyB 5", 12, 'B', {4, 6, {{4, 6, 0, 1, -1, 2}, {3, 4, 3, 1, 0, 1},
            {0, 1, 3, 1, -2, 1}, {0, 6, -1, 1, -2, 1}, {1, 3, 1, 1, 0, 1}}, 0, 0}},
        {"ClassifyB 6", 9, 'B', {3, 38, {{34, 36, 0, 1, -1, 1}, {25, 34, 1, 1, 3, 1},
            {24, 30, -1, 1, -3, 1}, {34, 37, 0, 1, 1, 3}, {0, 10, -1, 1, 3, 1},
            {8, 15, 2, 1, 3, 1}, {0, 3, 1, 1, 0, 1}}, 62, 26}},
        {"ClassifyB 7", 1, 'B', {4, 4, {{0, 4, 1, 1, -1, 3}, {2, 4, 1, 1, -1, 2},
            {2, 3, 3, 1, 3, 1}}, 0, 0}},
        {"ClassifyB 8", 2, 'B', {4, 3, {{0, 3, 0, 1, 3, 1}, {2, 3, 0, 1, -1, 3},
            {2, 3, -1, 1, 1, 3}}, 0, 0}},
        {"ClassifyB 9", 1, 'B', {4, 8, {{6, 8, 3, 1, -3, 1}, {2, 3, 3, 1, -3, 1},
            {0, 3, 1, 1, -3, 1}}, 0, 0}},
        {"ClassifyB 9", 2, 'B', {4, 3, {{2, 3, 0, 1, 1, 1}, {0, 1, 0, 1, 2, 1},
            {0, 2, 3, 1, 1, 3}}, 0, 0}},
        {"ClassifyC 1", 1, 'C', {3, 5, {{4, 5, 1, 1, -1, 2}, {0, 1, 1, 1, 0, 1},
            {2, 3, 1, 1, 2, 1}}, 0, 0}},
        {"ClassifyC 2", 12, 'C', {3, 5, {{2, 3, 2, 1, 0, 1}, {0, 5, 2, 1, -1, 2},
            {4, 5, 2, 1, 1, 3}}, 0, 0}},
        {"ClassifyC 2", 15, 'C', {3, 5, {{2, 3, 2, 1, -1, 2}, {4, 5, 2, 1, 0, 1},
            {0, 3, 2, 1, -1, 2}}, 0, 0}},
        {"ClassifyD 1", 4, 'D', {5, 3, {{0, 3, 4, 1, 0, 1}, {1, 3, 0, 1, -1, 1}}, 0, 0}},
        {"ClassifyD 1", 6, 'D', {5, 3, {{1, 2, 4, 1, 2, 1}, {0, 3, 0, 1, 0, 1}}, 0, 0}},
        {"ClassifyD 2", 1, 'D', {5, 3, {{2, 3, 4, 1, 1, 1}, {1, 2, 3, 1, -1, 2},
            {0, 3, 0, 1, 0, 1}, {0, 1, -2, 1, -1, 2}}, 0, 0}},
        {"ClassifyD 2", 5, 'D', {5, 3, {{2, 3, 4, 1, 1, 3}, {0, 3, 1, 1, -1, 3},
            {0, 1, 2, 1, -1, 2}}, 0, 0}},
        {"ClassifyD 3", 1, 'D', {6, 3, {{2, 3, 5, 1, 0, 1}, {0, 3, 0, 2, 1, 3}}, 0, 0}},
        {"ClassifyD 3", 5, 'D', {6, 3, {{2, 3, 5, 2, -1, 1}, {0, 2, 3, 1, 3, 1},
            {1, 3, 1, 2, -1, 2}}, 0, 0}},
        {"FlatD 1", 0, 'D', {6, 3, {{1, 2, 0, 1, -1, 2}, {1, 2, 4, 2, -2, 1}}, 0, 0}},
        {"FlatD 2", 0, 'D', {5, 3, {{0, 3, -1, 1, 1, 2}, {2, 3, 4, 1, -2, 1}}, 0, 0}},
        {"StepsD 1", 11, 'D', {8, 6, {{2, 6, 6, 1, 0, 1}, {1, 6, 0, 2, 1, 1}, {2, 5, -3, 2, -1, 1},
            {5, 6, -2, 1, 3, 1}, {5, 6, 7, 1, 1, 2}}, 0, 0}},
        {"StepsD 2", 11, 'D', {7, 8, {{2, 4, 2, 1, 1, 1}, {4, 8, 1, 2, 0, 1}, {0, 6, 0, 2, 1, 2},
            {5, 8, 4, 2, 2, 1}, {4, 6, 1, 1, -2, 1}}, 0, 0}},
        {"StepsD 2", 17, 'D', {10, 6, {{2, 3, -3, 2, 1, 1}, {3, 5, 7, 1, 2, 1},
            {3, 5, -2, 2, 0, 1}, {3, 6, 4, 2, 1, 3}, {0, 3, 0, 3, 1, 2}}, 0, 0}},
        {"FootLeftE 1", 4, 'E', {23, 37, {{27, 31, -5, 7, -1, 3}, {35, 37, 8, 7, 2, 1},
            {14, 26, 14, 5, 0, 1}, {2, 23, -9, 4, 2, 1}, {9, 19, 19, 4, 1, 2}}, 0, 0}},
        {"FootLeftE 1", 9, 'E', {6, 8, {{4, 6, 2, 2, -2, 1}, {7, 8, -3, 1, 2, 1},
            {1, 8, 2, 1, -1, 3}, {1, 6, 4, 1, 1, 2}}, 0, 0}},
        {"FootLeftE 2", 9, 'E', {7, 5, {{1, 3, -2, 2, 0, 1}, {4, 5, 2, 1, 1, 3},
            {3, 5, 6, 2, 0, 1}, {2, 5, 3, 2, 3, 1}, {0, 4, 5, 1, 1, 1}}, 0, 0}},
        {"FootLeftE 2", 13, 'E', {8, 5, {{4, 5, 4, 1, 1, 3}, {2, 4, 2, 1, 1, 3},
            {4, 5, 0, 1, -3, 1}, {0, 2, 1, 2, -1, 3}}, 0, 0}},
        {"FootLeftE 3", 13, 'E', {6, 10, {{6, 9, 3, 2, 1, 1}, {0, 8, 5, 1, 0, 1},
            {7, 9, 1, 2, 1, 3}, {1, 3, 2, 2, -1, 2}, {1, 10, 1, 1, 0, 1}}, 0, 0}},
        {"FootLeftE 4", 7, 'E', {8, 10, {{2, 9, 2, 1, -1, 3}, {4, 9, 6, 2, -1, 3},
            {8, 10, 5, 2, -3, 1}, {0, 6, 5, 2, -3, 1}, {9, 10, 7, 1, -2, 1}}, 0, 0}},
        {"FootLeftE 5", 10, 'E', {7, 10, {{4, 10, 5, 2, 1, 2}, {7, 10, 2, 1, -1, 3},
            {5, 10, 5, 1, 0, 1}, {1, 7, -1, 1, 2, 1}, {1, 8, 3, 2, -1, 3}}, 0, 0}},
        {"FootLeftE 6", 13, 'E', {6, 7, {{3, 6, 2, 2, -2, 1}, {4, 6, 5, 2, 1, 3},
            {4, 7, -1, 1, 1, 2}, {0, 4, 0, 1, 0, 1}, {0, 6, 4, 2, -1, 1}}, 0, 0}},
        {"FootLeftE 7", 7, 'E', {10, 6, {{2, 4, 2, 1, 0, 1}, {0, 6, 4, 1, 0, 1},
            {2, 6, -1, 3, -1, 3}, {0, 1, 0, 2, 2, 1}, {0, 1, 2, 2, -1, 3}}, 0, 0}},
        {"FootLeftE 7", 20, 'E', {5, 7, {{0, 4, 1, 1, 1, 3}, {0, 3, 1, 1, -1, 3},
            {1, 5, 3, 1, 1, 2}, {1, 7, -1, 1, 1, 2}, {5, 7, -2, 1, 0, 1}}, 0, 0}},
        {"FootRightE 1", 11, 'E', {6, 7, {{0, 7, 2, 1, -1, 3}, {1, 7, 5, 2, -1, 3},
            {3, 5, 0, 2, 3, 1}, {4, 5, 1, 2, 2, 1}}, 0, 0}},
        {"FootRightE 1", 17, 'E', {6, 8, {{7, 8, 4, 2, 1, 2}, {5, 7, 5, 1, 1, 2},
            {0, 4, 0, 2, 0, 1}, {3, 8, 5, 1, -1, 2}, {1, 2, 2, 1, -1, 2}}, 0, 0}},
        {"FootRightE 2", 4, 'E', {8, 11, {{0, 7, 1, 2, -1, 1}, {0, 4, 7, 1, 3, 1},
            {3, 11, 6, 1, -3, 1}, {0, 6, 2, 1, 1, 2}, {5, 11, -2, 1, 2, 1}}, 0, 0}},
        {"FootRightE 3", 7, 'E', {5, 7, {{1, 6, 3, 1, -1, 1}, {5, 7, 2, 1, 0, 1},
            {0, 6, 0, 1, 0, 1}, {2, 4, -1, 1, -3, 1}, {4, 5, 4, 1, 3, 1}}, 0, 0}},
        {"FootRightE 4", 7, 'E', {8, 7, {{5, 7, -1, 2, 0, 1}, {3, 4, 3, 1, -2, 1},
            {2, 7, 6, 1, -3, 1}, {0, 5, 5, 1, -1, 3}, {5, 7, 4, 2, -1, 1}}, 0, 0}},
        {"FootRightE 4", 16, 'E', {11, 23, {{11, 21, 0, 2, 1, 3}, {18, 23, 10, 1, 0, 1},
            {12, 21, -5, 3, -1, 1}, {8, 18, 9, 3, -1, 3}, {13, 17, 3, 3, -1, 2}}, 0, 0}},
        {"FootRightE 5", 7, 'E', {5, 8, {{2, 8, 2, 1, -1, 2}, {0, 8, 4, 1, 0, 1},
            {4, 6, 2, 1, 1, 1}}, 0, 0}},
        {"FootRightE 5", 20, 'E', {5, 10, {{5, 6, 3, 1, 0, 1}, {7, 10, 4, 1, 0, 1},
            {0, 2, 1, 1, -3, 1}, {1, 8, 1, 1, 0, 1}, {2, 10, -2, 1, -1, 2}, {3, 9, 0, 1, 3, 1},
            {2, 10, 3, 1, -1, 2}}, 0, 0}},
        {"HookFromBendE 1", 7, 'E', {7, 5, {{0, 3, -1, 2, 0, 1}, {3, 5, 0, 2, 0, 1},
            {0, 5, -1, 2, 2, 1}, {0, 4, 4, 2, 0, 1}, {4, 5, 1, 2, 0, 1}}, 0, 0}},
        {"HookFromBendE 2", 8, 'E', {6, 5, {{3, 5, -1, 2, 3, 1}, {0, 5, 4, 2, 0, 1},
            {4, 5, 3, 2, 3, 1}, {1, 2, 0, 1, 0, 1}}, 0, 0}},
        {"HookFromBendE 2", 20, 'E', {5, 8, {{1, 4, 2, 1, -3, 1}, {0, 8, 0, 1, 0, 1},
            {4, 7, 1, 1, -2, 1}, {1, 7, 0, 1, 1, 1}, {3, 6, 4, 1, 1, 1}}, 0, 0}},
        {"LineNoDiagonalE 1", 13, 'E', {5, 6, {{4, 6, -1, 1, 1, 1}, {3, 4, 2, 1, -3, 1},
            {5, 6, 4, 1, 2, 1}, {0, 1, 0, 1, -1, 2}}, 0, 0}},
        {"LineNoDiagonalE 2", 9, 'E', {5, 5, {{0, 1, 0, 1, 1, 1}, {0, 2, 4, 1, 0, 1},
            {1, 4, 2, 1, 1, 3}, {2, 4, -1, 1, -3, 1}, {0, 5, -2, 1, 1, 2}}, 0, 0}},
        {"LineNoDiagonalE 3", 7, 'E', {5, 6, {{0, 4, 3, 1, -3, 1}, {4, 6, -1, 1, 1, 1},
            {1, 2, 4, 1, 0, 1}, {1, 6, 0, 1, 1, 1}}, 0, 0}},
        {"LineNoDiagonalE 3", 9, 'E', {5, 5, {{4, 5, 3, 1, 1, 3}, {2, 5, 2, 1, 2, 1},
            {4, 5, 2, 1, 1, 3}, {0, 5, 3, 1, -3, 1}, {1, 5, 4, 1, 1, 2}}, 0, 0}},
        {"LineNoDiagonalE 4", 17, 'E', {6, 5, {{3, 5, 0, 2, 0, 1}, {0, 1, 3, 2, -1, 3},
            {2, 3, 4, 1, 1, 3}, {0, 3, -2, 1, -1, 1}, {0, 5, 1, 2, 1, 1}}, 0, 0}},
        {"LineNoDiagonalE 4", 20, 'E', {5, 7, {{5, 7, 0, 1, 0, 1}, {0, 6, 0, 1, -1, 3},
            {0, 2, 2, 1, 1, 2}, {1, 7, 2, 1, 1, 2}}, 0, 0}},
        {"NoLineE 1", 14, 'E', {5, 4, {{3, 4, 0, 1, 0, 1}, {2, 3, 0, 1, -1, 3}, {2, 4, 4, 1, 0, 1},
            {0, 4, 0, 1, 2, 1}, {1, 2, 4, 1, 1, 3}}, 0, 0}},
        {"NoLineE 2", 12, 'E', {6, 4, {{3, 4, -1, 2, 3, 1}, {2, 3, 3, 2, 1, 2},
            {0, 3, 4, 1, -2, 1}, {3, 4, 5, 1, 0, 1}, {0, 4, -1, 1, 3, 1}}, 0, 0}},
        {"NoLineE 2", 13, 'E', {6, 5, {{2, 4, 2, 1, 0, 1}, {0, 5, 2, 1, 1, 2}, {0, 2, 3, 2, 1, 2},
            {0, 5, 2, 1, -1, 2}, {1, 5, 3, 2, 1, 1}}, 0, 0}},
        {"NoLineE 3", 13, 'E', {6, 4, {{0, 3, 1, 2, 2, 1}, {2, 3, 1, 1, -3, 1},
            {3, 4, 2, 2, 0, 1}}, 0, 0}},
        {"NoLineE 3", 14, 'E', {7, 4, {{3, 4, 1, 2, -2, 1}, {0, 3, 1, 2, 2, 1},
            {3, 4, 4, 1, -1, 2}, {2, 3, -1, 2, 2, 1}}, 0, 0}},
        {"NoLineE 4", 4, 'E', {6, 4, {{3, 4, 2, 2, -1, 3}, {2, 3, 0, 1, 1, 2}, {0, 2, 1, 1, 1, 1},
            {2, 3, -3, 1, 0, 1}, {0, 3, 4, 1, 1, 3}}, 0, 0}},
        {"NoLineE 4", 9, 'E', {7, 4, {{0, 4, -3, 2, 2, 1}, {0, 2, 6, 1, 1, 3}, {0, 4, 3, 1, -2, 1},
            {2, 4, 1, 1, -1, 1}}, 0, 0}},
        {"NoLineE 5", 9, 'E', {12, 18, {{5, 11, 8, 2, 0, 1}, {12, 13, 1, 3, -3, 1},
            {9, 18, 11, 2, -1, 2}, {11, 18, 3, 3, -2, 1}}, 0, 0}},
        {"NoLineE 5", 12, 'E', {7, 4, {{3, 4, 0, 2, -1, 2}, {3, 4, -1, 2, 1, 1},
            {0, 2, 6, 2, 2, 1}, {1, 2, 1, 2, 3, 1}, {1, 3, 6, 2, 1, 1}}, 0, 0}},
        {"NoLineE 6", 4, 'E', {25, 26, {{23, 25, 13, 2, 0, 1}, {16, 26, 14, 1, -2, 1}}, 135, 125}},
        {"NoLineE 7", 9, 'E', {9, 4, {{2, 4, -1, 2, 1, 1}, {0, 2, 5, 3, -3, 1}, {3, 4, 5, 1, 1, 1},
            {0, 1, 0, 3, -1, 3}}, 0, 0}},
        {"NoLineE 8", 7, 'E', {5, 9, {{0, 6, 1, 1, 3, 1}, {3, 6, -1, 1, 3, 1}, {5, 9, 0, 1, 0, 1},
            {4, 7, -2, 1, -2, 1}, {6, 9, 4, 1, -1, 2}}, 0, 0}},
        {"NoLineE 9", 4, 'E', {6, 4, {{0, 4, 2, 1, -1, 3}, {3, 4, 2, 1, 1, 1},
            {0, 3, 3, 2, 1, 1}}, 0, 0}},
        {"RightColumnLowE 1", 11, 'E', {8, 8, {{0, 3, 3, 2, 1, 1}, {6, 8, 2, 2, -1, 3},
            {3, 5, 4, 1, 0, 1}, {7, 8, 6, 2, 1, 2}, {4, 6, -3, 1, 3, 1}}, 0, 0}},
        {"RightColumnLowE 1", 12, 'E', {10, 10, {{6, 7, 4, 3, 1, 3}, {3, 8, 1, 1, -1, 2},
            {0, 10, 6, 1, -1, 3}, {8, 10, 1, 3, -3, 1}, {6, 7, 7, 3, 0, 1}}, 0, 0}},
        {"RightColumnLowE 2", 14, 'E', {6, 8, {{2, 7, 1, 2, -1, 2}, {4, 6, 5, 1, 1, 3},
            {2, 7, 0, 2, 3, 1}, {1, 4, -2, 1, 1, 2}, {0, 7, 0, 1, -1, 1}}, 0, 0}},
        {"RightColumnLowE 3", 12, 'E', {6, 9, {{4, 8, 0, 2, -1, 2}, {0, 7, 4, 1, -2, 1},
            {3, 7, 3, 2, 1, 1}, {1, 9, 1, 1, -2, 1}}, 0, 0}},
        {"RightColumnLowE 3", 13, 'E', {6, 8, {{1, 3, 1, 1, 1, 3}, {6, 7, -3, 1, -1, 3},
            {4, 7, 3, 1, 1, 2}, {5, 8, 0, 1, 1, 2}}, 0, 0}},
        {"SingleLeftLeaningE 1", 1, 'E', {5, 22, {{13, 19, 0, 1, 0, 1}, {0, 5, 2, 1, 1, 3},
            {21, 22, 1, 1, 1, 1}, {15, 20, 4, 1, -1, 1}, {15, 19, -1, 1, -2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 2", 4, 'E', {7, 5, {{1, 4, -2, 2, 3, 1}, {3, 5, 5, 1, 1, 3},
            {0, 5, 3, 2, -1, 1}, {0, 3, 3, 2, -3, 1}}, 0, 0}},
        {"SingleLeftLeaningE 2", 12, 'E', {7, 4, {{0, 3, 0, 2, 0, 1}, {1, 4, 3, 2, -2, 1},
            {2, 4, -1, 2, -1, 3}, {3, 4, 4, 2, 1, 3}, {1, 2, 4, 1, 2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 3", 14, 'E', {5, 5, {{3, 4, 0, 1, -3, 1}, {4, 5, 4, 1, -3, 1},
            {3, 5, -2, 1, 2, 1}, {1, 2, 1, 1, 1, 1}, {0, 3, 3, 1, -3, 1}}, 0, 0}},
        {"SingleLeftLeaningE 4", 13, 'E', {6, 4, {{3, 4, 4, 1, 0, 1}, {2, 4, 1, 1, -1, 3},
            {0, 2, 0, 1, 2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 4", 14, 'E', {7, 4, {{1, 4, 2, 1, -1, 1}, {2, 3, 0, 1, -3, 1},
            {3, 4, 4, 2, 1, 1}, {0, 1, 0, 1, 3, 1}}, 0, 0}},
        {"SingleLeftLeaningE 5", 9, 'E', {6, 4, {{1, 3, 2, 2, -1, 1}, {2, 4, 5, 1, -1, 1},
            {3, 4, 0, 1, 1, 1}, {0, 2, 4, 2, 3, 1}, {1, 2, 3, 1, 3, 1}}, 0, 0}},
        {"SingleLeftLeaningE 5", 14, 'E', {7, 4, {{0, 2, 2, 1, 1, 2}, {2, 4, 5, 2, 1, 3},
            {1, 3, -2, 1, 3, 1}, {1, 4, 6, 1, -3, 1}, {0, 2, 1, 2, 1, 1}}, 0, 0}},
        {"SingleLeftLeaningE 6", 10, 'E', {9, 4, {{0, 4, 5, 3, -3, 1}, {3, 4, 4, 1, 2, 1},
            {2, 3, 8, 2, -1, 1}}, 0, 0}},
        {"SingleLeftLeaningE 7", 4, 'E', {5, 4, {{1, 2, 0, 1, 3, 1}, {0, 1, 4, 1, 3, 1},
            {1, 3, -2, 1, 2, 1}, {3, 4, 2, 1, -1, 1}, {1, 4, 2, 1, 2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 7", 22, 'E', {5, 5, {{3, 5, 0, 1, 3, 1}, {0, 5, -2, 1, 2, 1},
            {0, 2, 1, 1, -2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 8", 4, 'E', {36, 16, {{12, 16, 2, 3, 1, 2}, {7, 13, 34, 4, 0, 1},
            {1, 4, 31, 7, 2, 1}}, 166, 92}},
        {"SingleLeftLeaningE 9", 4, 'E', {6, 7, {{3, 7, 1, 2, 2, 1}, {0, 4, 0, 2, -1, 2},
            {6, 7, 5, 2, 3, 1}, {0, 4, -3, 2, -2, 1}, {2, 6, 5, 2, -1, 1}}, 0, 0}},
        {"SingleLeftLeaningE 9", 14, 'E', {6, 9, {{0, 2, 3, 2, -2, 1}, {0, 8, 2, 1, -1, 1},
            {5, 9, 5, 1, 0, 1}, {4, 6, 2, 1, -2, 1}}, 0, 0}},
        {"SingleLeftLeaningE 10", -1, 'E', {5, 3, {{0, 3, 4, 1, -2, 1},
            {2, 3, 4, 1, -1, 2}}, 0, 0}},
        {"ThreeRightLeaningE 1", 23, 'E', {5, 8, {{1, 8, 4, 1, 0, 1}, {4, 6, 2, 1, 3, 1},
            {0, 1, 0, 1, 1, 1}, {2, 3, 0, 1, -1, 2}}, 0, 0}},
        {"ThreeRightLeaningE 2", 14, 'E', {9, 9, {{2, 7, 8, 1, -2, 1}, {2, 3, -4, 1, -2, 1},
            {1, 9, 5, 1, 0, 1}, {2, 9, 3, 1, -3, 1}}, 0, 0}},
        {"ThreeRightLeaningE 3", 13, 'E', {6, 8, {{1, 5, 4, 1, -2, 1}, {2, 5, 4, 1, -2, 1},
            {5, 6, 2, 2, 0, 1}, {7, 8, 4, 1, 3, 1}, {4, 8, 3, 1, -1, 3},
            {0, 7, -1, 2, 0, 1}}, 0, 0}},
        {"ThreeRightLeaningE 3", 19, 'E', {7, 7, {{5, 6, 2, 1, -3, 1}, {6, 7, 5, 2, 3, 1},
            {2, 6, 0, 2, 3, 1}, {0, 6, 1, 2, -1, 3}, {1, 4, 6, 1, 0, 1}}, 0, 0}},
        {"ThreeRightLeaningE 4", 7, 'E', {7, 8, {{0, 6, 2, 1, 1, 2}, {2, 8, 4, 2, 0, 1},
            {1, 7, 6, 2, -1, 1}, {3, 5, 0, 1, -1, 2}, {7, 8, 2, 1, -1, 2}}, 0, 0}},
        {"ThreeRightLeaningE 4", 19, 'E', {6, 9, {{5, 8, 3, 1, -1, 3}, {1, 8, -1, 1, 1, 3},
            {8, 9, 4, 2, 1, 3}, {0, 6, 4, 1, 1, 3}, {6, 9, 1, 2, 0, 1}}, 0, 0}},
        {"ThreeRightLeaningE 6", 11, 'E', {9, 7, {{5, 6, -4, 2, -1, 3}, {6, 7, 7, 2, 3, 1},
            {6, 7, 3, 1, -1, 3}, {0, 5, 7, 1, -1, 3}, {1, 6, 0, 3, 0, 1}}, 0, 0}},
        {"ThreeRightLeaningE 6", 13, 'E', {13, 35, {{4, 31, 7, 3, 0, 1}, {15, 19, -1, 1, -1, 3},
            {16, 26, 2, 1, 0, 1}, {1, 25, 4, 4, -1, 3}, {13, 18, 2, 3, 2, 1},
            {24, 30, 7, 1, 2, 1}}, 0, 0}},
        {"ThreeRightLeaningE 7", 11, 'E', {8, 8, {{2, 3, -1, 2, -3, 1}, {7, 8, 4, 2, -1, 2},
            {1, 7, -1, 2, 2, 1}, {5, 7, 2, 2, -3, 1}, {6, 7, 0, 1, 1, 1}}, 0, 0}},
        {"ThreeRightLeaningE 8", 17, 'E', {14, 7, {{5, 7, 13, 3, 3, 1}, {0, 2, -2, 4, 3, 1},
            {6, 7, -5, 1, 1, 2}, {5, 7, 5, 1, 0, 1}, {6, 7, 1, 1, 0, 1}, {3, 4, 6, 4, 2, 1},
            {5, 6, 5, 2, -1, 1}, {4, 6, 11, 3, -3, 1}}, 0, 0}},
        {"ThreeRightLeaningE 8", 21, 'E', {15, 8, {{6, 7, -3, 3, 0, 1}, {1, 3, -1, 4, 0, 1},
            {7, 8, 9, 4, -1, 3}, {3, 6, 8, 3, -1, 3}, {7, 8, -6, 3, 1, 3}, {0, 7, 3, 1, 2, 1},
            {7, 8, -1, 5, -1, 1}}, 0, 0}},
        {"ThreeRightLeaningE 9", 25, 'E', {12, 17, {{13, 17, -5, 2, -1, 1}, {5, 17, -3, 2, -1, 2},
            {4, 11, 1, 1, 1, 2}, {14, 17, 5, 2, 3, 1}, {11, 13, -4, 3, 1, 3},
            {13, 14, 10, 1, -2, 1}, {4, 16, 9, 1, -1, 2}, {15, 16, 11, 1, 0, 1}}, 0, 0}},
        {"ThreeRightLeaningE 11", 19, 'E', {16, 12, {{7, 12, 4, 5, 1, 1}, {7, 9, 8, 5, -2, 1},
            {1, 3, 0, 2, -1, 1}, {11, 12, 7, 1, 1, 3}, {2, 6, 5, 3, -1, 2}}, 0, 0}},
        {"ThreeRightLeaningE 11", 21, 'E', {8, 9, {{8, 9, 5, 1, -3, 1}, {1, 5, 2, 1, 3, 1},
            {1, 4, 0, 1, 0, 1}, {6, 9, 7, 1, -2, 1}, {5, 8, 3, 1, 3, 1}}, 0, 0}},
        {"WideE 1", 14, 'E', {9, 4, {{0, 4, -2, 3, 3, 1}, {2, 4, 8, 2, -1, 3},
            {1, 4, -4, 1, 2, 1}}, 0, 0}},
        {"WideE 2", 17, 'E', {9, 4, {{1, 2, 7, 3, 3, 1}, {0, 2, -2, 2, -1, 2}, {0, 1, 7, 3, -1, 3},
            {0, 4, -4, 2, 3, 1}, {3, 4, 6, 2, 0, 1}}, 0, 0}},
        {"WideE 3", 14, 'E', {10, 4, {{2, 4, 9, 3, 0, 1}, {0, 3, 8, 2, 1, 1}, {3, 4, 7, 2, 1, 2},
            {0, 2, 9, 3, 2, 1}, {3, 4, 0, 3, -1, 1}}, 0, 0}},
        {"WideE 4", 10, 'E', {9, 4, {{0, 3, 3, 2, 2, 1}, {1, 4, -2, 3, 2, 1},
            {3, 4, -2, 3, 1, 1}}, 0, 0}},
        {"WideE 5", 4, 'E', {9, 4, {{0, 2, 7, 3, -1, 2}, {0, 4, -3, 3, 3, 1},
            {0, 2, 7, 3, 1, 1}}, 0, 0}},
        {"ClassifyF 1", 16, 'F', {9, 13, {{8, 12, 5, 2, 1, 2}, {11, 13, 0, 1, 3, 1},
            {7, 10, 1, 2, -1, 2}, {9, 10, 4, 1, 0, 1}, {11, 12, 0, 2, 3, 1}, {4, 9, -2, 3, 0, 1},
            {5, 12, -1, 3, -3, 1}}, 0, 0}},
        {"ClassifyF 1", 30, 'F', {9, 10, {{9, 10, 8, 3, -1, 3}, {3, 5, 1, 3, 3, 1},
            {0, 3, 0, 2, -1, 2}, {2, 7, 8, 3, -1, 1}, {2, 3, 4, 2, -1, 3}}, 0, 0}},
        {"LowLeftF 1", 8, 'F', {10, 8, {{4, 8, -5, 3, 0, 1}, {0, 5, 3, 2, 1, 2},
            {3, 5, 0, 1, 1, 1}, {6, 7, 2, 3, 3, 1}, {4, 7, 2, 3, 2, 1}}, 0, 0}},
        {"LowLeftF 1", 12, 'F', {5, 7, {{6, 7, 0, 1, 3, 1}, {0, 2, 2, 1, 2, 1},
            {4, 5, 4, 1, -1, 2}, {2, 6, -1, 1, -3, 1}, {4, 7, 2, 1, 1, 1}}, 0, 0}},
        {"LowLeftF 2", 12, 'F', {7, 5, {{1, 3, 1, 1, -1, 2}, {4, 5, 4, 2, -1, 1},
            {0, 1, 4, 2, -1, 2}, {2, 4, 5, 2, 1, 1}, {2, 5, -3, 2, -2, 1}}, 0, 0}},
        {"LowLeftF 2", 20, 'F', {6, 7, {{5, 7, 3, 2, 0, 1}, {4, 6, 4, 1, 3, 1},
            {0, 4, 3, 1, -1, 1}, {5, 6, 1, 2, -1, 2}, {1, 4, -1, 1, 2, 1},
            {2, 6, 5, 1, 2, 1}}, 0, 0}},
        {"LowLeftF 3", 7, 'F', {5, 8, {{3, 8, 4, 1, -2, 1}, {0, 1, 1, 1, 1, 2}, {5, 7, 3, 1, 2, 1},
            {2, 7, 1, 1, -1, 3}, {6, 8, 1, 1, -3, 1}}, 0, 0}},
        {"LowLeftF 3", 8, 'F', {6, 26, {{19, 20, 5, 2, 1, 2}, {5, 15, 3, 2, 1, 2},
            {2, 21, 1, 2, 0, 1}, {21, 24, 0, 1, -1, 1}, {16, 24, 0, 1, 0, 1},
            {17, 25, 3, 1, 1, 3}}, 0, 0}},
        {"LowLeftF 3", 12, 'F', {5, 9, {{8, 9, 0, 1, -1, 3}, {8, 9, 4, 1, 3, 1},
            {6, 9, 3, 1, 1, 2}, {2, 7, 4, 1, -1, 2}, {2, 9, 1, 1, 1, 1},
            {2, 9, 1, 1, 1, 2}}, 0, 0}},
        {"LowLeftF 4", 13, 'F', {6, 8, {{6, 8, -2, 2, 3, 1}, {0, 7, 1, 2, -3, 1},
            {7, 8, 3, 2, -3, 1}, {3, 5, 0, 2, -1, 1}, {4, 5, 4, 1, 1, 2}}, 0, 0}},
        {"LowLeftF 4", 20, 'F', {6, 9, {{2, 7, -3, 2, 2, 1}, {2, 9, 2, 1, -1, 3},
            {1, 2, 5, 2, 2, 1}, {8, 9, 5, 1, -1, 1}}, 0, 0}},
        {"OtherLeftLeaningF 1", 12, 'F', {6, 10, {{3, 10, 0, 2, 2, 1}, {4, 8, -1, 2, 1, 2},
            {8, 9, 5, 1, -1, 1}, {0, 2, 5, 1, 0, 1}, {5, 10, 5, 2, -2, 1}}, 0, 0}},
        {"OtherLeftLeaningF 2", 7, 'F', {24, 19, {{3, 6, 11, 1, 2, 1}, {5, 13, 2, 8, 0, 1},
            {3, 14, -11, 8, 0, 1}, {3, 19, -4, 1, 2, 1}, {8, 11, 1, 4, 3, 1},
            {13, 16, 18, 6, -2, 1}, {3, 14, 1, 8, 3, 1}, {7, 13, 8, 6, 1, 2}}, 0, 0}},
        {"OtherLeftLeaningF 3", 16, 'F', {7, 9, {{3, 7, 4, 2, -2, 1}, {1, 9, 4, 1, 0, 1},
            {2, 8, 0, 1, 1, 2}, {1, 7, 1, 2, 2, 1}, {0, 2, 5, 1, -1, 2}}, 0, 0}},
        {"OtherLeftLeaningF 3", 27, 'F', {6, 7, {{4, 7, 2, 1, -1, 1}, {5, 7, 2, 1, 2, 1},
            {4, 5, 0, 1, 0, 1}, {1, 3, 2, 2, -2, 1}}, 0, 0}},
        {"OtherRightLeaningF 1", 8, 'F', {5, 19, {{16, 17, 4, 1, -1, 1}, {0, 4, 1, 1, 1, 3},
            {13, 17, 0, 1, 2, 1}, {7, 14, 1, 1, 1, 2}, {4, 5, 3, 1, 2, 1}}, 0, 0}},
        {"OtherRightLeaningF 1", 12, 'F', {6, 5, {{0, 1, 3, 2, 1, 3}, {3, 5, 5, 2, -1, 3},
            {4, 5, 4, 1, -1, 3}, {0, 5, 0, 1, 2, 1}, {0, 5, 1, 1, -1, 3}}, 0, 0}},
        {"OtherRightLeaningF 2", 14, 'F', {5, 6, {{1, 5, 0, 1, -3, 1}, {4, 6, -1, 1, 1, 1},
            {3, 6, 0, 1, 2, 1}}, 0, 0}},
        {"OtherRightLeaningF 3", 15, 'F', {5, 5, {{2, 5, 4, 1, 1, 2}, {4, 5, -2, 1, -1, 1},
            {0, 5, 0, 1, 2, 1}, {4, 5, 0, 1, -2, 1}, {0, 3, -2, 1, 1, 1}}, 0, 0}},
        {"OtherRightLeaningF 3", 18, 'F', {5, 8, {{0, 8, 4, 1, -2, 1}, {0, 7, 0, 1, -1, 1},
            {3, 7, -1, 1, 2, 1}, {7, 8, 0, 1, -1, 1}, {4, 7, -2, 1, -1, 3}}, 0, 0}},
        {"OtherRightLeaningF 4", 18, 'F', {20, 31, {{7, 27, 11, 4, -1, 2}, {12, 16, 3, 4, -3, 1},
            {25, 29, 5, 5, -3, 1}}, 115, 189}},
        {"OtherRightLeaningF 5", 7, 'F', {5, 8, {{5, 7, 1, 1, -1, 1}, {7, 8, 1, 1, 3, 1},
            {1, 5, -2, 1, 3, 1}, {7, 8, 0, 1, -2, 1}, {0, 6, 2, 1, -2, 1},
            {1, 7, -1, 1, 1, 1}}, 0, 0}},
        {"OtherRightLeaningF 5", 20, 'F', {5, 8, {{6, 8, 1, 1, -2, 1}, {4, 8, 1, 1, -1, 1},
            {1, 6, 0, 1, 1, 1}, {2, 7, 1, 1, 1, 1}}, 0, 0}},
        {"TwoLeftLeaningF 1", 16, 'F', {6, 8, {{6, 8, -2, 1, -3, 1}, {3, 6, 5, 2, -2, 1},
            {1, 4, 4, 2, -2, 1}, {1, 8, 1, 2, 3, 1}, {7, 8, 4, 2, -1, 3}}, 0, 0}},
        {"TwoLeftLeaningF 2", 7, 'F', {5, 7, {{2, 4, 4, 1, 2, 1}, {6, 7, 4, 1, -2, 1},
            {2, 7, -2, 1, 1, 1}, {6, 7, 1, 1, -1, 3}, {5, 7, 2, 1, -2, 1}, {4, 5, 2, 1, -1, 1},
            {1, 6, 2, 1, -2, 1}, {3, 6, 2, 1, 3, 1}}, 0, 0}},
        {"TwoLeftLeaningF 2", 21, 'F', {8, 10, {{4, 10, -1, 1, 2, 1}, {4, 5, -1, 2, -1, 1},
            {4, 10, 4, 1, -1, 2}, {0, 6, 0, 2, -1, 3}, {6, 9, 4, 2, 3, 1}}, 0, 0}},
        {"TwoLeftLeaningF 3", 14, 'F', {9, 13, {{6, 13, 5, 2, 0, 1}, {10, 12, 6, 3, 3, 1},
            {3, 6, -1, 2, 3, 1}, {7, 10, -4, 1, -1, 2}, {0, 7, 0, 1, -3, 1}, {5, 7, -4, 1, 1, 1},
            {11, 13, -3, 3, 1, 3}, {11, 12, -1, 3, 1, 1}}, 0, 0}},
        {"TwoLeftLeaningF 4", 7, 'F', {5, 8, {{2, 5, 2, 1, 0, 1}, {4, 5, 4, 1, 0, 1},
            {5, 6, 1, 1, 0, 1}, {2, 3, 4, 1, 2, 1}, {0, 4, -2, 1, 0, 1}, {6, 7, 4, 1, -1, 3},
            {1, 7, 0, 1, 0, 1}, {2, 7, 1, 1, -1, 2}}, 0, 0}},
        {"TwoLeftLeaningF 5", 12, 'F', {7, 10, {{1, 3, 2, 1, -1, 3}, {5, 9, 1, 1, -2, 1},
            {3, 8, 1, 1, 2, 1}, {6, 10, 2, 2, -1, 3}, {5, 9, 6, 1, -1, 1}}, 0, 0}},
        {"TwoLeftLeaningF 5", 27, 'F', {8, 7, {{3, 7, 1, 2, -1, 1}, {0, 5, 5, 1, -1, 2},
            {5, 6, 2, 2, -1, 1}, {3, 7, -4, 2, -1, 1}, {6, 7, 7, 2, -2, 1}, {4, 7, 5, 1, -2, 1},
            {1, 7, 1, 2, -3, 1}}, 0, 0}},
        {"ClassifyG 1", -1, 'G', {5, 9, {{0, 1, 0, 1, 0, 1}, {3, 6, 2, 1, 1, 3},
            {4, 9, 0, 1, 1, 1}, {4, 9, 4, 1, -2, 1}, {8, 9, 0, 1, 2, 1}}, 0, 0}},
        {"ClassifyG 2", 16, 'G', {12, 9, {{2, 3, -2, 2, -2, 1}, {2, 6, 8, 2, -3, 1},
            {1, 9, 4, 4, -3, 1}, {5, 8, 5, 3, 3, 1}, {6, 9, -1, 2, 3, 1},
            {6, 8, 8, 3, 1, 2}}, 0, 0}},
        {"ClassifyG 2", 24, 'G', {11, 14, {{8, 11, 9, 2, -3, 1}, {0, 12, 1, 2, -2, 1},
            {2, 13, -3, 2, 2, 1}, {7, 12, -2, 3, 1, 1}, {9, 13, 5, 1, -2, 1}, {6, 12, 5, 3, -3, 1},
            {8, 14, 10, 2, 0, 1}, {10, 12, -5, 2, 0, 1}}, 0, 0}},
        {"ClassifyG 3", 26, 'G', {7, 11, {{10, 11, 6, 1, 2, 1}, {9, 10, 3, 2, 2, 1},
            {9, 11, 6, 2, 1, 3}, {4, 7, -2, 1, 1, 2}, {3, 9, -2, 1, 2, 1}, {1, 10, -1, 2, 2, 1},
            {0, 8, 2, 1, 2, 1}, {8, 11, 4, 2, -3, 1}}, 0, 0}},
        {"ClassifyG 4", -1, 'G', {5, 13, {{1, 9, 4, 1, -1, 1}, {7, 12, 4, 1, 0, 1},
            {10, 11, 0, 1, 1, 1}, {12, 13, 3, 1, 0, 1}, {5, 8, -1, 1, 1, 2}, {9, 13, 3, 1, 0, 1},
            {4, 11, 2, 1, -1, 2}, {1, 7, 0, 1, -2, 1}}, 0, 0}},
        {"ClassifyG 5", 18, 'G', {6, 9, {{4, 8, -2, 2, 2, 1}, {8, 9, 1, 1, 1, 3},
            {6, 8, 0, 1, 1, 3}, {0, 8, 0, 2, -1, 3}, {2, 5, 1, 2, 3, 1}}, 0, 0}},
        {"ClassifyG 5", 26, 'G', {5, 12, {{10, 11, 4, 1, 0, 1}, {5, 11, -2, 1, 2, 1},
            {6, 10, 4, 1, 2, 1}, {3, 5, 0, 1, 2, 1}, {2, 4, -2, 1, 0, 1}, {9, 10, 1, 1, 1, 1},
            {9, 12, 0, 1, 2, 1}, {1, 11, 0, 1, -2, 1}}, 0, 0}},
        {"ClassifyG 6", 24, 'G', {13, 14, {{1, 7, 8, 1, -1, 1}, {12, 13, 10, 2, 2, 1},
            {2, 3, 7, 4, 1, 2}, {13, 14, 6, 4, -1, 2}, {10, 12, 7, 4, -1, 2},
            {6, 13, 8, 4, -2, 1}}, 0, 0}},
        {"ClassifyG 7", 26, 'G', {11, 12, {{0, 5, 1, 3, -3, 1}, {5, 12, -5, 1, 0, 1},
            {2, 5, 9, 3, 0, 1}, {10, 12, 6, 1, -3, 1}, {9, 11, 7, 2, -3, 1}, {3, 6, 1, 3, -3, 1},
            {2, 12, 7, 3, -1, 1}}, 0, 0}},
        {"ClassifyG 8", -1, 'G', {6, 9, {{7, 9, 2, 1, 3, 1}, {2, 9, 1, 1, 2, 1},
            {6, 8, 5, 1, 1, 1}, {2, 6, 5, 1, 2, 1}, {5, 6, -3, 1, 1, 2}}, 0, 0}},
        {"ThreeRightLeaningG 1", 24, 'G', {6, 10, {{8, 10, 4, 1, -1, 3}, {4, 7, 3, 2, -1, 3},
            {0, 4, 3, 2, -2, 1}, {2, 9, 4, 2, -2, 1}}, 0, 0}},
        {"ThreeRightLeaningG 2", 26, 'G', {5, 24, {{20, 22, 4, 1, 1, 3}, {16, 23, 4, 1, 0, 1},
            {2, 22, 4, 1, -1, 2}, {0, 20, 4, 1, 3, 1}, {0, 5, 4, 1, -1, 1}, {14, 19, 0, 1, 3, 1},
            {4, 11, 3, 1, 1, 3}}, 0, 0}},
        {"ThreeRightLeaningG 3", 27, 'G', {39, 34, {{22, 23, -6, 13, -2, 1},
            {15, 33, -3, 6, -1, 3}, {4, 8, 7, 1, -1, 2}, {33, 34, 0, 6, -1, 2},
            {33, 34, 34, 11, -1, 2}, {10, 30, 14, 3, -3, 1}}, 0, 0}},
        {"ThreeRightLeaningG 4", 18, 'G', {17, 36, {{8, 31, 13, 3, 3, 1}, {27, 36, 10, 4, -1, 3},
            {11, 12, 4, 1, 2, 1}, {14, 35, 14, 1, 2, 1}, {18, 21, 2, 2, -3, 1},
            {34, 35, 14, 2, -1, 3}, {17, 25, 3, 4, 3, 1}, {28, 31, -3, 2, -1, 2}}, 0, 0}},
        {"ThreeRightLeaningG 5", 24, 'G', {8, 31, {{26, 31, 6, 2, -1, 2}, {30, 31, -1, 2, -3, 1},
            {14, 17, -3, 1, -3, 1}, {14, 29, 7, 2, -1, 1}, {24, 27, 2, 2, 0, 1},
            {3, 25, 2, 1, 1, 1}, {3, 8, 5, 1, 2, 1}}, 0, 0}},
        {"ClassifyH 1", 10, 'H', {9, 3, {{0, 3, 8, 3, 0, 1}, {1, 2, 4, 1, -2, 1},
            {1, 2, -1, 2, 0, 1}, {0, 1, 5, 1, -1, 3}}, 0, 0}},
        {"ClassifyH 2", 7, 'H', {11, 13, {{2, 10, 4, 3, -2, 1}, {0, 13, 9, 3, 0, 1},
            {8, 9, 7, 3, 1, 2}, {5, 9, 4, 1, -1, 1}}, 0, 0}},
        {"ClassifyH 3", 27, 'H', {10, 5, {{1, 5, 6, 1, -1, 2}, {4, 5, 9, 3, -3, 1},
            {0, 1, -2, 3, 0, 1}, {4, 5, -2, 3, 1, 1}}, 0, 0}},
        {"ClassifyH 4", 24, 'H', {18, 16, {{15, 16, 5, 5, -1, 3}, {10, 12, 11, 4, -1, 1},
            {6, 14, -8, 6, 0, 1}, {8, 11, 6, 3, -1, 3}, {0, 10, -2, 1, 3, 1}, {2, 12, -7, 6, 1, 2},
            {0, 6, 6, 4, -1, 2}, {7, 9, 14, 6, 1, 1}}, 0, 0}},
        {"ClassifyH 5", 7, 'H', {9, 9, {{6, 8, 0, 1, 1, 1}, {0, 9, -4, 3, 2, 1},
            {3, 6, 7, 1, -2, 1}, {5, 8, 4, 1, 0, 1}}, 0, 0}},
        {"ClassifyH 5", 12, 'H', {9, 7, {{6, 7, 4, 1, 0, 1}, {6, 7, 0, 1, 3, 1},
            {3, 7, 7, 1, 1, 2}, {0, 2, 4, 1, -3, 1}, {4, 6, 6, 1, -2, 1}}, 0, 0}},
        {"ClassifyH 6", 16, 'H', {11, 15, {{8, 13, 0, 3, 2, 1}, {4, 11, 5, 1, 0, 1},
            {5, 8, 4, 3, 3, 1}, {13, 14, -1, 3, 1, 3}, {14, 15, 5, 2, 1, 2}, {13, 15, -4, 1, 3, 1},
            {2, 14, 0, 2, 0, 1}}, 0, 0}},
        {"ClassifyH 6", 21, 'H', {12, 13, {{3, 9, 8, 2, 1, 2}, {2, 11, 6, 1, 0, 1},
            {0, 12, 1, 3, -1, 3}, {5, 6, 2, 1, -3, 1}, {11, 13, 2, 2, 3, 1}, {1, 12, 2, 3, -1, 1},
            {11, 12, -2, 1, 3, 1}, {9, 11, 11, 1, -1, 2}}, 0, 0}},
    };
    for (const RuleCase& c : cases) {
        const auto& s = c.shape;
        const quvo::StrokeIdentity id = quvo::IdentifyStrokeType(
            RegionOf(quvo::testing::Bands(s.w, s.h, s.bands, s.scaleW, s.scaleH)));
        EXPECT_EQ(id.classifier, c.classifier) << c.rule << " for " << c.code;
        EXPECT_STREQ(id.rule, c.rule) << c.rule << " for " << c.code;
        EXPECT_EQ(id.code, c.code) << c.rule;
    }
}

}  // namespace
