// Stroke lists from native outline streams: the real stroke font at both sizes, and streams
// written record by record for the conversion rules.
#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <vector>

#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"
#include "strokes/nativeoutline.h"
#include "strokes/outlineseg.h"

namespace {

using quvo::FixedPoint;
using quvo::NativeOutlineBuilder;
using quvo::OutlineSeg;
using quvo::StrokeList;
using quvo::StrokePoint;
using quvo::ToFixed;
namespace no = quvo::native_outline;

const char* const kFontFile = QUVO_PROGRAM_DIR "/fonts/quvokai.ttf";

FixedPoint Fx(int x, int y) { return {ToFixed(x), ToFixed(y)}; }

// A list walked from one stream, with the contour count.
struct Walked {
    StrokeList list;
    int contours = 0;
};

void Walk(Walked& w, const std::vector<std::uint8_t>& bytes, int ascent = 0,
          StrokePoint origin = {0, 0}) {
    w.list.Reset();
    w.contours = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), ascent, origin,
                                        w.list.SegmentCursor(), w.list.HeadCursor());
}

std::vector<StrokePoint> Points(const OutlineSeg* seg) {
    return std::vector<StrokePoint>(seg->points, seg->points + seg->pointCount);
}

std::uint16_t GbkCode(const char* gbk) {
    const auto* b = reinterpret_cast<const unsigned char*>(gbk);
    return static_cast<std::uint16_t>(b[0] * 256 + b[1]);
}

// Every head entry up to the trailing one has segments; the trailing one is empty.
void ExpectWellFormed(const StrokeList& list, int n) {
    const OutlineSeg* head = list.First();
    for (int k = 1; k <= n; ++k) {
        ASSERT_NE(head, nullptr) << "stroke " << k;
        EXPECT_NE(head->nextSeg, nullptr) << "stroke " << k;
        EXPECT_EQ(head->pointCount, 0u);
        head = head->nextStroke;
    }
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->nextSeg, nullptr);
    EXPECT_EQ(head->nextStroke, nullptr);
    EXPECT_EQ(head->points, nullptr);
    EXPECT_EQ(quvo::CountStrokes(list.First()), n);
}

TEST(GlyphOutline, RealCharactersGiveOneStrokePerContourAtBothSizes) {
    quvo::GlyphSource font(kFontFile);
    ASSERT_TRUE(font.IsOpen());
    struct Case {
        const char* gbk;
        int strokes;
    };
    // 高, 爨, 人, 我, 天
    for (const Case& c : {Case{"\xB8\xDF", 10}, Case{"\xEC\xE0", 30}, Case{"\xC8\xCB", 2},
                          Case{"\xCE\xD2", 7}, Case{"\xCC\xEC", 4}}) {
        for (int height : {180, 500}) {
            std::vector<std::uint8_t> bytes;
            ASSERT_GT(font.NativeOutline(GbkCode(c.gbk), height, bytes), 0);
            Walked w;
            Walk(w, bytes, font.Metrics(height).ascent);
            EXPECT_EQ(w.contours, c.strokes) << height;
            ExpectWellFormed(w.list, c.strokes);
            EXPECT_EQ(w.list.StrokeAt(c.strokes + 1), nullptr);
            EXPECT_EQ(w.list.StrokeAt(0), nullptr);
            EXPECT_EQ(w.list.StrokeAt(-3), nullptr);
        }
    }
}

TEST(GlyphOutline, RealStrokesLieInTheCharacterCell) {
    quvo::GlyphSource font(kFontFile);
    for (int height : {180, 500}) {
        const quvo::TextMetrics m = font.Metrics(height);
        EXPECT_EQ(m.height, height);
        EXPECT_EQ(m.ascent + m.descent, height);
        EXPECT_EQ(m.maxCharWidth, height);  // every glyph of the font is one em wide
        std::vector<std::uint8_t> bytes;
        font.NativeOutline(GbkCode("\xB8\xDF"), height, bytes);
        Walked w;
        Walk(w, bytes, m.ascent);
        int minY = height, maxY = 0;
        for (int k = 1; k <= w.contours; ++k) {
            for (const OutlineSeg* s = w.list.StrokeAt(k); s; s = s->nextSeg) {
                for (const StrokePoint& p : Points(s)) {
                    EXPECT_GE(p.x, 0);
                    EXPECT_LE(p.x, height);
                    minY = std::min(minY, p.y);
                    maxY = std::max(maxY, p.y);
                }
            }
        }
        // 高 stands on the baseline area and reaches towards the top of the cell.
        EXPECT_GE(minY, 0);
        EXPECT_LT(minY, m.ascent / 4);
        EXPECT_LE(maxY, height);
        EXPECT_GT(maxY, m.ascent * 3 / 4);
    }
}

TEST(GlyphOutline, FontStreamsStartOnTheCurveAndCloseSplinesOnTheStart) {
    quvo::GlyphSource font(kFontFile);
    std::vector<std::uint8_t> bytes;
    font.NativeOutline(GbkCode("\xC8\xCB"), 500, bytes);  // 人
    Walked w;
    Walk(w, bytes, font.Metrics(500).ascent);
    for (int k = 1; k <= w.contours; ++k) {
        const OutlineSeg* first = w.list.StrokeAt(k);
        const OutlineSeg* last = first;
        while (last->nextSeg) {
            last = last->nextSeg;
        }
        for (const OutlineSeg* s = first; s; s = s->nextSeg) {
            EXPECT_TRUE(s->kind == OutlineSeg::kLine || s->kind == OutlineSeg::kBezier);
        }
        if (last->kind == OutlineSeg::kBezier) {
            EXPECT_EQ(last->points[last->pointCount - 1], first->points[0]);
        }
    }
}

TEST(GlyphOutline, MissingGlyphsAndFonts) {
    quvo::GlyphSource font(kFontFile);
    std::vector<std::uint8_t> bytes;
    // The ideographic space has no contours: size 0, no error number.
    EXPECT_EQ(font.NativeOutline(0xA1A1, 180, bytes), 0);
    EXPECT_EQ(font.LastError(), 0u);
    // A full-width comma is not in the font: the missing-glyph box, two contours.
    ASSERT_GT(font.NativeOutline(0xA3AC, 180, bytes), 0);
    Walked w;
    Walk(w, bytes);
    EXPECT_EQ(w.contours, 2);

    quvo::GlyphSource none("/nonexistent/quvokai.ttf");
    EXPECT_FALSE(none.IsOpen());
    EXPECT_EQ(none.NativeOutline(0xB8DF, 180, bytes), -1);
    EXPECT_NE(none.LastError(), 0u);
    EXPECT_EQ(none.Metrics(180).height, 0);
}

TEST(GlyphOutline, GbkCodesMapToUnicode) {
    EXPECT_EQ(quvo::GbkCodeToUnicode(0xB8DF), U'高');
    EXPECT_EQ(quvo::GbkCodeToUnicode(0xECE0), U'爨');
    EXPECT_EQ(quvo::GbkCodeToUnicode(0x41), U'A');
    EXPECT_EQ(quvo::GbkCodeToUnicode(0xFFFF), 0u);
}

TEST(GlyphOutline, QuadraticSplinesBecomeCubicPiecesWithTruncation) {
    NativeOutlineBuilder b;
    b.BeginContour(Fx(0, 0));
    b.AddRecord(no::kPrimQSpline, {Fx(10, 20), Fx(30, 5)});  // one piece: 4 points
    b.AddRecord(no::kPrimQSpline, {Fx(31, 7), Fx(40, 10), Fx(44, 0), Fx(0, 0)});  // 3c - 2 = 10
    Walked w;
    Walk(w, b.Bytes());
    ASSERT_EQ(w.contours, 1);
    const OutlineSeg* one = w.list.StrokeAt(1);
    ASSERT_EQ(one->kind, OutlineSeg::kBezier);
    // C1 = S + 2(Q - S)/3 = (6, 13); C2 = Q + (E - Q)/3 = (16, 15), truncated.
    EXPECT_EQ(Points(one), (std::vector<StrokePoint>{{0, 0}, {6, 13}, {16, 15}, {30, 5}}));
    const OutlineSeg* two = one->nextSeg;
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->pointCount, 10u);
    // Pieces end on the midpoints (35, 8) and (42, 5), then on the last point.
    EXPECT_EQ(two->points[0], (StrokePoint{30, 5}));
    EXPECT_EQ(two->points[3], (StrokePoint{35, 8}));
    EXPECT_EQ(two->points[6], (StrokePoint{42, 5}));
    EXPECT_EQ(two->points[9], (StrokePoint{0, 0}));
    EXPECT_EQ(two->points[1], (StrokePoint{30 + 2 * (31 - 30) / 3, 5 + 2 * (7 - 5) / 3}));
}

TEST(GlyphOutline, NegativeCoordinatesTruncateTowardsZero) {
    NativeOutlineBuilder b;
    b.BeginContour(Fx(0, 0));
    b.AddRecord(no::kPrimQSpline, {Fx(1, 1), Fx(2, 2), Fx(4, 0)});
    Walked w;
    // The origin pushes everything 10 left and 10 up: all coordinates negative.
    Walk(w, b.Bytes(), 0, {-10, -10});
    const std::vector<StrokePoint> p = Points(w.list.StrokeAt(1));
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0], (StrokePoint{-10, -10}));
    // Midpoint of (-9, -9) and (-8, -8) is -17 / 2 = -8 (not -9).
    EXPECT_EQ(p[3], (StrokePoint{-8, -8}));
    // C1 = -10 + 2 * (-9 + 10) / 3 = -10 + 0; C2 = -9 + (-8 + 9) / 3 = -9.
    EXPECT_EQ(p[1], (StrokePoint{-10, -10}));
    EXPECT_EQ(p[2], (StrokePoint{-9, -9}));
    // Second piece: S = (-8, -8), Q = (-8, -8), E = (-6, -10).
    // C2 = Q + (E - Q) / 3 = (-8 + 2 / 3, -8 + (-2) / 3) = (-8, -8): both towards zero.
    EXPECT_EQ(p[5], (StrokePoint{-8, -8}));
    EXPECT_EQ(p[6], (StrokePoint{-6, -10}));
}

TEST(GlyphOutline, FixedPointFloorAndAscent) {
    NativeOutlineBuilder b;
    // -0.5 floors to -1; 2.75 floors to 2. y is moved down by the ascent.
    b.BeginContour({-32768, ToFixed(2) + 49152});
    b.AddRecord(no::kPrimLine, {Fx(5, -3)});
    Walked w;
    Walk(w, b.Bytes(), 100);
    EXPECT_EQ(Points(w.list.StrokeAt(1)), (std::vector<StrokePoint>{{-1, 102}, {5, 97}}));
    EXPECT_EQ(quvo::FixedFloor(-1), -1);
    EXPECT_EQ(quvo::FixedFloor(ToFixed(-7)), -7);
}

TEST(GlyphOutline, LineAndCubicSplineRecordsKeepTheirPoints) {
    NativeOutlineBuilder b;
    b.BeginContour(Fx(1, 1));
    b.AddRecord(no::kPrimLine, {Fx(2, 2), Fx(3, 1)});
    b.AddRecord(7, {Fx(50, 50)});  // unknown type: no segment, but the pen moves on
    b.AddRecord(no::kPrimCSpline, {Fx(4, 4), Fx(5, 5), Fx(6, 6)});
    b.BeginContour(Fx(9, 9));
    b.AddRecord(no::kPrimLine, {Fx(8, 9)});
    Walked w;
    Walk(w, b.Bytes());
    ASSERT_EQ(w.contours, 2);
    ExpectWellFormed(w.list, 2);
    const OutlineSeg* line = w.list.StrokeAt(1);
    EXPECT_EQ(line->kind, OutlineSeg::kLine);
    EXPECT_EQ(Points(line), (std::vector<StrokePoint>{{1, 1}, {2, 2}, {3, 1}}));
    const OutlineSeg* spline = line->nextSeg;
    EXPECT_EQ(spline->kind, OutlineSeg::kCubicSpline);
    EXPECT_EQ(Points(spline), (std::vector<StrokePoint>{{50, 50}, {4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(spline->nextSeg, nullptr);
    EXPECT_EQ(Points(w.list.StrokeAt(2)), (std::vector<StrokePoint>{{9, 9}, {8, 9}}));
}

// Streams cut at every length, and contours claiming more than there is, end the walk
// without reading past the buffer (the sanitizer build checks the reads).
TEST(GlyphOutline, TruncatedAndLyingStreamsStayInsideTheBuffer) {
    NativeOutlineBuilder b;
    b.BeginContour(Fx(0, 0));
    b.AddRecord(no::kPrimQSpline, {Fx(1, 2), Fx(3, 4), Fx(5, 6)});
    b.AddRecord(no::kPrimLine, {Fx(7, 8)});
    b.BeginContour(Fx(1, 1));
    b.AddRecord(no::kPrimLine, {Fx(2, 2)});
    const std::vector<std::uint8_t> whole = b.Bytes();
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
        Walked w;
        Walk(w, cut);
        EXPECT_LE(w.contours, 2);
        EXPECT_EQ(quvo::CountStrokes(w.list.First()), w.contours);
    }
    std::vector<std::uint8_t> lying = whole;
    lying[0] = 0xFF;  // the first contour claims 255 + bytes
    lying[1] = 0xFF;
    Walked w;
    Walk(w, lying);
    EXPECT_EQ(w.contours, 1);
    lying[0] = 4;  // shorter than its own header
    lying[1] = 0;
    Walk(w, lying);
    EXPECT_EQ(w.contours, 0);
}

TEST(OutlineList, FreeingAndResettingAList) {
    StrokeList list;
    list.Reset();
    OutlineSeg* first = list.First();
    EXPECT_EQ(list.SegmentCursor(), first);
    EXPECT_EQ(list.HeadCursor(), first);
    EXPECT_EQ(quvo::CountStrokes(first), 0);
    EXPECT_EQ(list.StrokeAt(1), nullptr);
    NativeOutlineBuilder b;
    for (int i = 0; i < 3; ++i) {
        b.BeginContour(Fx(i, i));
        b.AddRecord(no::kPrimLine, {Fx(i + 1, i)});
    }
    quvo::WalkGlyphOutline(b.Bytes().data(), b.Bytes().size(), 0, {}, list.SegmentCursor(),
                           list.HeadCursor());
    EXPECT_EQ(quvo::CountStrokes(list.First()), 3);
    list.Reset();  // frees the three strokes (checked by the sanitizer build)
    EXPECT_EQ(quvo::CountStrokes(list.First()), 0);
    list.Free();
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.StrokeAt(1), nullptr);
}

TEST(OutlineList, PointArraySizesAreGuardedAgainstOverflow) {
    const std::size_t max = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(quvo::PointBytes(max / 2), max);
    EXPECT_EQ(quvo::PointBytes(3), 3 * sizeof(StrokePoint));
    EXPECT_THROW(quvo::AllocatePoints(max / 4), std::bad_alloc);
    StrokePoint* p = quvo::AllocatePoints(4);
    delete[] p;
}

}  // namespace
