// Stroke chains as drawn and filled: translation, bounds, the calls an outline makes, the
// polygon region, the run scanners and the paced flood fill.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "strokes/outlineseg.h"
#include "strokes/polygonregion.h"
#include "strokes/strokefill.h"
#include "strokes/strokegeometry.h"
#include "strokes/strokescanners.h"
#include "testfiles.h"

namespace {

using quvo::Colour;
using quvo::OutlineSeg;
using quvo::PolygonRegion;
using quvo::Rect;
using quvo::StrokePoint;
using Points = std::vector<StrokePoint>;

using Chain = quvo::test::SegmentChain;

struct Call {
    std::string what;
    Points points;
    quvo::Pen pen;
    Colour colour = 0;
};

class RecordingCanvas : public quvo::StrokeCanvas {
public:
    std::vector<Call> calls;
    void Polyline(const Points& p, const quvo::Pen& pen) override { calls.push_back({"polyline", p, pen}); }
    void PolyBezier(const Points& p, const quvo::Pen& pen) override { calls.push_back({"polybezier", p, pen}); }
    void FillPolygon(const Points& p, Colour c) override { calls.push_back({"fill", p, {}, c}); }
};

// A line run and one cubic piece, as the outline of a small stroke.
void LineAndCurve(Chain& chain) {
    chain.Add(OutlineSeg::kLine, {{0, 0}, {10, 0}})
        .Add(OutlineSeg::kBezier, {{10, 0}, {14, 6}, {-3, 12}, {0, 0}});
}

TEST(StrokeGeometry, BoundsHoldEveryPointIncludingControlPoints) {
    Chain chain;
    LineAndCurve(chain);
    quvo::SetStrokeOffset(chain.Segments(), 100, 100);  // not applied to the bounds
    Rect bounds;
    quvo::GetStrokeBounds(chain.Segments(), bounds);
    EXPECT_EQ(bounds, (Rect{-3, 0, 14, 12}));
    Rect untouched{1, 2, 3, 4};
    quvo::GetStrokeBounds(nullptr, untouched);
    EXPECT_EQ(untouched, (Rect{1, 2, 3, 4}));
}

TEST(StrokeGeometry, OutlineDrawsOnePolylineAndOnePolyBezierInChainOrder) {
    Chain chain;
    LineAndCurve(chain);
    RecordingCanvas canvas;
    const quvo::Pen pen{quvo::PenStyle::Dot, 1, quvo::kOutlineMagenta};
    quvo::DrawStrokeOutlineAt(canvas, chain.Segments(), 5, 7, pen);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].what, "polyline");
    EXPECT_EQ(canvas.calls[0].points, (Points{{5, 7}, {15, 7}}));
    EXPECT_EQ(canvas.calls[1].what, "polybezier");
    EXPECT_EQ(canvas.calls[1].points, (Points{{15, 7}, {19, 13}, {2, 19}, {5, 7}}));
    EXPECT_EQ(canvas.calls[1].pen.style, quvo::PenStyle::Dot);
    // The translation is temporary.
    EXPECT_EQ(chain.Segments()->dx, 0);
    EXPECT_EQ(chain.Segments()->nextSeg->dy, 0);
}

TEST(StrokeGeometry, CubicSplineRunsDrawAsPolylines) {
    Chain chain;
    chain.Add(OutlineSeg::kCubicSpline, {{0, 0}, {1, 1}, {2, 0}});
    RecordingCanvas canvas;
    quvo::DrawStrokeOutline(canvas, chain.Segments(), {});
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].what, "polyline");
}

TEST(StrokeGeometry, FillUsesEveryPointAsAPolygonVertex) {
    Chain chain;
    LineAndCurve(chain);
    RecordingCanvas canvas;
    quvo::FillStrokePolygonAt(canvas, chain.Segments(), 1, 1, 0x123456);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].colour, 0x123456u);
    EXPECT_EQ(canvas.calls[0].points,
              (Points{{1, 1}, {11, 1}, {11, 1}, {15, 7}, {-2, 13}, {1, 1}}));
}

TEST(StrokeGeometry, ColoursAndComplements) {
    EXPECT_EQ(quvo::MakeColour(255, 10, 0), 0x00000AFFu);
    EXPECT_EQ(quvo::Complement(quvo::MakeColour(255, 255, 255)), 0u);
    EXPECT_EQ(quvo::Complement(0x00102030), 0x00EFDFCFu);
}

TEST(PolygonRegion, PixelCentresInsideUnderTheAlternateRule) {
    const PolygonRegion square(Points{{0, 0}, {10, 0}, {10, 5}, {0, 5}});
    EXPECT_EQ(square.Box(), (Rect{0, 0, 10, 5}));
    EXPECT_TRUE(square.Contains(0, 0));
    EXPECT_TRUE(square.Contains(9, 4));
    EXPECT_FALSE(square.Contains(10, 4));
    EXPECT_FALSE(square.Contains(-1, 0));
    EXPECT_EQ(square.Spans().size(), 5u);

    // A square traced twice around an inner square: the inner one is a hole.
    const PolygonRegion ring(Points{{0, 0}, {9, 0}, {9, 9}, {0, 9}, {0, 0},
                                    {3, 3}, {6, 3}, {6, 6}, {3, 6}, {3, 3}});
    EXPECT_TRUE(ring.Contains(1, 1));
    EXPECT_FALSE(ring.Contains(4, 4));

    EXPECT_TRUE(PolygonRegion(Points{{0, 0}, {5, 5}}).IsEmpty());
    EXPECT_TRUE(PolygonRegion(Points{{0, 0}, {5, 0}, {9, 0}}).IsEmpty());
    EXPECT_TRUE(PolygonRegion(Points{{0, 0}, {50000, 0}, {0, 5}}).IsEmpty());
}

// Two bars in one row 2 pixels apart, a third 4 pixels further on.
PolygonRegion ThreeBars() {
    return PolygonRegion(Points{{0, 0}, {3, 0}, {3, 1}, {5, 1}, {5, 0}, {7, 0}, {7, 1},
                                {11, 1}, {11, 0}, {13, 0}, {13, 2}, {0, 2}});
}

TEST(StrokeScanners, RowRunsCloserThanThreePixelsMerge) {
    const PolygonRegion bars = ThreeBars();
    Rect rect{-1, -1, -1, -1};
    EXPECT_EQ(quvo::CountRowRuns(bars, 0, 0, rect), 2);  // 0..2 and 5..6 merge; 11..12 apart
    // The merged run's start moved the rectangle's left; its end set the right.
    EXPECT_EQ(rect, (Rect{5, 0, 7, 1}));
    EXPECT_EQ(quvo::CountRowRuns(bars, 1, 0, rect), 1);
    EXPECT_EQ(rect, (Rect{0, 1, 13, 1}));  // open at the row's end: (right, y)
    Rect none{7, 7, 7, 7};
    EXPECT_EQ(quvo::CountRowRuns(bars, 5, 0, none), 0);
    EXPECT_EQ(none, (Rect{7, 7, 7, 7}));
}

TEST(StrokeScanners, ColumnRunsDoNotMerge) {
    // A column crossing two bars one pixel apart.
    const PolygonRegion twoBars(Points{{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 3}, {4, 3}, {4, 6}, {0, 6}});
    Rect rect;
    EXPECT_EQ(quvo::CountColumnRuns(twoBars, 1, 0, rect), 2);
    EXPECT_EQ(rect, (Rect{1, 0, 2, 2}));
    EXPECT_EQ(quvo::CountColumnRuns(twoBars, 1, 3, rect), 1);
    EXPECT_EQ(rect, (Rect{1, 3, 1, 6}));  // still open at the bottom: (x, bottom)
}

TEST(StrokeScanners, LineRunsNeverLookAtTheTopRowFromZero) {
    // Only the top row is inside at x = 5: the slanted line from (5, top) skips it.
    const PolygonRegion topRow(Points{{0, 0}, {10, 0}, {10, 1}, {0, 1}});
    Rect rect;
    EXPECT_EQ(quvo::CountLineRuns(topRow, 1.0f, 5, 0, rect), 0);
    // A diagonal band: the left-leaning line from (6, 0) meets it going down.
    const PolygonRegion band(Points{{0, 4}, {4, 0}, {8, 0}, {0, 8}});
    EXPECT_EQ(quvo::CountLineRuns(band, 1.0f, 6, 0, rect), 1);
    EXPECT_EQ(rect.left + rect.top, 6);  // a point of the line x = 6 - y
}

TEST(StrokeFill, DelaysOutsideTheRangeBecomeOneSecond) {
    EXPECT_EQ(quvo::NormaliseFillDelay(5000), 1000);
    EXPECT_EQ(quvo::NormaliseFillDelay(-1), 1000);
    EXPECT_EQ(quvo::NormaliseFillDelay(4999), 4999);
    EXPECT_EQ(quvo::NormaliseFillDelay(0), 0);
}

TEST(StrokeFill, EachStrokeTypeStartsFromItsEnd) {
    using quvo::FillStart;
    for (int t : {0, 4, 5, 6, 10, 18, 19, 21, 23, 25, 29, 30}) {
        EXPECT_EQ(quvo::FillStartFor(t), FillStart::Left) << t;
    }
    for (int t : {7, 9, 24, 26}) {
        EXPECT_EQ(quvo::FillStartFor(t), FillStart::Diagonal) << t;
    }
    for (int t : {1, 2, 3, 8, 11, 12, 13, 14, 15, 16, 17, 20, 22, 27, 28}) {
        EXPECT_EQ(quvo::FillStartFor(t), FillStart::Top) << t;
    }
    for (int t : {-1, 31, 32, 1000}) {
        EXPECT_EQ(quvo::FillStartFor(t), FillStart::None) << t;
    }
}

TEST(StrokeFill, SeedsFromTheLeftTheTopOrTheDiagonal) {
    // A right triangle leaning left: its top row starts at x = 8, its left column at y = 8.
    const PolygonRegion triangle(Points{{0, 10}, {10, 0}, {10, 10}});
    const auto left = quvo::FindFillSeed(triangle, 0);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->x, 0);
    EXPECT_EQ(left->y, 9);
    const auto top = quvo::FindFillSeed(triangle, 1);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->y, 0);
    EXPECT_EQ(top->x, 9);
    const auto diagonal = quvo::FindFillSeed(triangle, 7);
    ASSERT_TRUE(diagonal);
    EXPECT_TRUE(triangle.Contains(diagonal->x, diagonal->y));
    EXPECT_FALSE(quvo::FindFillSeed(triangle, 31));
    EXPECT_FALSE(quvo::FindFillSeed(triangle, -1));
}

class FakeSurface : public quvo::FillSurface {
public:
    std::map<std::pair<int, int>, Colour> pixels;
    std::vector<int> pauses;
    int writes = 0;
    Colour Pixel(int x, int y) const override {
        const auto it = pixels.find({x, y});
        return it == pixels.end() ? 0xFFFFFF : it->second;
    }
    void SetPixel(int x, int y, Colour c) override {
        pixels[{x, y}] = c;
        ++writes;
    }
    void Pause(int ms) override { pauses.push_back(ms); }
};

TEST(StrokeFill, FloodCoversTheRegionAndPausesEveryHundredPixels) {
    const PolygonRegion square(Points{{0, 0}, {30, 0}, {30, 20}, {0, 20}});
    FakeSurface surface;
    const long set = quvo::FloodFill(square, {0, 0}, 0x0000FF, 1000, surface);
    EXPECT_EQ(set, 600);
    EXPECT_EQ(surface.writes, 600);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            EXPECT_EQ(surface.Pixel(x, y), 0x0000FFu);
        }
    }
    EXPECT_EQ(surface.Pixel(30, 0), 0xFFFFFFu);
    // 599 pixels queued after the seed: a pause each time more than 100 are counted.
    EXPECT_EQ(surface.pauses.size(), 5u);
    for (int ms : surface.pauses) {
        EXPECT_EQ(ms, 10);
    }
}

TEST(StrokeFill, ASeedAlreadyInTheColourOrOutsideDrawsNothing) {
    const PolygonRegion square(Points{{0, 0}, {5, 0}, {5, 5}, {0, 5}});
    FakeSurface surface;
    surface.pixels[{2, 2}] = 0x00FF00;
    EXPECT_EQ(quvo::FloodFill(square, {2, 2}, 0x00FF00, 0, surface), 0);
    EXPECT_EQ(quvo::FloodFill(square, {7, 2}, 0x0000FF, 0, surface), 0);
    EXPECT_EQ(surface.writes, 0);
    EXPECT_TRUE(surface.pauses.empty());
}

TEST(StrokeFill, PixelsAlreadyInTheColourStopTheFlood) {
    // A wall of fill-coloured pixels down the middle keeps the right half untouched.
    const PolygonRegion square(Points{{0, 0}, {9, 0}, {9, 9}, {0, 9}});
    FakeSurface surface;
    for (int y = 0; y < 9; ++y) {
        surface.pixels[{4, y}] = 0x0000FF;
    }
    EXPECT_EQ(quvo::FloodFill(square, {0, 0}, 0x0000FF, 0, surface), 36);
    EXPECT_EQ(surface.Pixel(6, 6), 0xFFFFFFu);
}

}  // namespace

namespace {

// The animated fill keeps the flood's pace (100 pixels every delay / 100 ms), yet never writes
// a stroke out faster than 0.3 s at the default speed, scaled with the speed.
TEST(StrokeFill, AnAnimatedFillKeepsThePaceAndNeverFlashesPast) {
    struct Case {
        long total;
        int delay;
        long duration;
    };
    for (const Case& c : {Case{25000, 1000, 2500},  // a long 横斜钩 at the default speed
                          Case{25000, 4000, 10000}, Case{500, 1000, 300},  // a short 点: 0.3 s
                          Case{500, 4000, 1200}, Case{500, 100, 30}, Case{25000, 0, 0},
                          Case{0, 1000, 0}}) {
        SCOPED_TRACE(testing::Message() << c.total << " pixels at " << c.delay);
        EXPECT_EQ(quvo::FillDurationMs(c.total, c.delay), c.duration);
        EXPECT_EQ(quvo::PixelsDue(c.total, c.delay, 0), c.duration > 0 ? 0 : c.total);
        EXPECT_EQ(quvo::PixelsDue(c.total, c.delay, c.duration), c.total);
        EXPECT_EQ(quvo::PixelsDue(c.total, c.delay, c.duration + 5000), c.total);
        long before = 0;
        for (long t = 0; t <= c.duration; t += 16) {  // one frame after another
            const long due = quvo::PixelsDue(c.total, c.delay, t);
            EXPECT_GE(due, before);
            EXPECT_LE(due, c.total);
            before = due;
        }
        if (c.duration > 32) {
            EXPECT_LT(quvo::PixelsDue(c.total, c.delay, c.duration / 2), c.total);
        }
    }
}

// The order the animation writes is the flood's: the same pixels, seed first, the nearest
// before the farther.
TEST(StrokeFill, TheFillOrderIsTheFloodsOrder) {
    const PolygonRegion bar(Points{{0, 0}, {40, 0}, {40, 6}, {0, 6}});
    FakeSurface surface;
    const std::vector<StrokePoint> order = quvo::FillOrder(bar, {0, 0}, 0x0000FF, surface);
    ASSERT_EQ(order.size(), 240u);
    EXPECT_EQ(order.front().x, 0);
    EXPECT_EQ(order.front().y, 0);
    int farthest = 0;
    for (const StrokePoint& p : order) {
        EXPECT_GE(p.x + p.y, farthest - 1);  // breadth-first: the front never goes back
        farthest = std::max(farthest, p.x + p.y);
    }
    EXPECT_EQ(surface.writes, 0);  // working out the order writes nothing
    EXPECT_EQ(quvo::FloodFill(bar, {0, 0}, 0x0000FF, 0, surface), 240);
}

}  // namespace
