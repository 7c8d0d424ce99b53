#pragma once

#include <functional>

#include "app/dialoglayout.h"
#include "strokes/polygonregion.h"

namespace quvo {

// Working out a stroke's type from the shape of its region: the runs of stroke pixels along
// rows, columns and slanted lines pick one of eight classifiers (A to H), and that classifier
// decides the type code. Codes are those of data/stroketypes.tsv; -1 means no code.
//
// Coordinates are the piece's: the region is translated so that its outline starts at (0, 0),
// so a row y or a column x is also an offset from the box's top-left corner. Integer divisions
// truncate and are taken in the order written (3 * H / 4 is (H * 3) / 4).

// One probe: the run count and the rectangle the scanner reported (all 0 when it found no run);
// `at` is the row or column where a search stopped.
struct Probe {
    int count = 0;
    Rect rect;
    int at = 0;
    int Width() const { return rect.right - rect.left; }
    // Squared length of the rectangle's diagonal: the length of a slanted line's last run.
    int SquaredLength() const {
        return Width() * Width() + (rect.bottom - rect.top) * (rect.bottom - rect.top);
    }
};

// A bend through three points (x, h) with h measured upwards: the signed distance of the middle
// point from the line through the outer two, positive when it lies left of a vertical line.
struct Bend {
    float value = 0;
    int dx = 0;  // x3 - x1
    int dh = 0;  // h3 - h1
    float Abs() const;
    // dh / dx as the shape code computes it (infinite for a vertical edge).
    float Steepness() const;
};
Bend BendThrough(int x1, int h1, int x2, int h2, int x3, int h3);

// The stroke region with the measures all classifiers share.
class StrokeShape {
public:
    explicit StrokeShape(const PolygonRegion& region);

    const PolygonRegion& region;
    int W = 0;
    int H = 0;
    int WR = 0;    // widest first run of a row
    int HC = 0;    // tallest first run of a column
    int Rmax = 0;  // most runs in a row
    int Cmax = 0;  // most runs in a column

    // Called with a short label whenever a rule for one exact box size decides the code.
    std::function<void(const char*)> onFixedBox;
    bool IsBox(int w, int h, const char* label) const;

    // Every classifier answers through Rule: the rule's name ("<function> <n>", the n-th
    // answer written in that function) is kept, so that a test or the agreement tool can tell
    // which rule decided.
    int Rule(const char* name, int code) const {
        decidedBy = name;
        return code;
    }
    mutable const char* decidedBy = "";

    Probe Row(int y, int x0 = 0) const;
    Probe Column(int x, int y0 = 0) const;
    Probe Line(float slope, int x0, int y0) const;
    int Start(int y) const { return Row(y).rect.left; }
    int End(int y) const { return Row(y).rect.right; }

    // Rows from H up to 1 / columns from W down to 1: the first with at least `runs` runs.
    Probe LowestRow(int runs = 1) const;
    Probe RightColumn(int runs = 1) const;
    // Rows from 0 down / columns from 0 right: the first with at least `runs` runs.
    Probe TopRow(int runs = 1) const;
    Probe LeftColumn(int runs = 1) const;

    // Bend of the row starts (left edge) or ends (right edge) at three rows.
    Bend RowBend(int y1, int y2, int y3, bool rightEdge) const;
    // The largest count of left-leaning lines (slope 1, x0 = 0 .. W + H - 1) and right-leaning
    // lines (slope -1, x0 = -H .. W - 1), from the top row.
    int MaxLeftLeaning() const;
    int MaxRightLeaning() const;
    // W / H as a slope: the reciprocal of the integer H / W, 1000 when that is 0. Slopes
    // written H / W elsewhere are the integer quotient too.
    float WidthPerHeight() const;
};

// Slope 1 lines from x0 = first while x0 < end (step 1) at row offset y0: the first with more
// than `runs` runs, or a probe with count 0.
Probe FirstLineAbove(const StrokeShape& s, float slope, int first, int end, int y0, int runs = 1);

int ClassifyA(const StrokeShape& s);
int ClassifyB(const StrokeShape& s);
int ClassifyC(const StrokeShape& s);
int ClassifyD(const StrokeShape& s);
int ClassifyE(const StrokeShape& s);
int ClassifyF(const StrokeShape& s);
int ClassifyG(const StrokeShape& s);
int ClassifyH(const StrokeShape& s);

// The classifier the run maxima choose: 'A'..'H', or 0 for none.
char ChooseClassifier(int rmax, int cmax);

struct StrokeIdentity {
    int code = -1;
    char classifier = 0;
    const char* rule = "";  // the rule that decided, "" when no classifier ran
};

// The whole analysis of one region; an empty region has no code.
StrokeIdentity IdentifyStrokeType(const PolygonRegion& region,
                                  const std::function<void(const char*)>& onFixedBox = {});

}  // namespace quvo
