#include "strokes/strokeclassify.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "strokes/strokescanners.h"

namespace quvo {

// ---- Bend -----------------------------------------------------------------------------------

float Bend::Abs() const {
    return std::fabs(value);
}

float Bend::Steepness() const {
    if (dx == 0) {
        return dh == 0 ? std::numeric_limits<float>::quiet_NaN()
                       : std::copysign(std::numeric_limits<float>::infinity(), float(dh));
    }
    return float(dh) / float(dx);
}

Bend BendThrough(int x1, int h1, int x2, int h2, int x3, int h3) {
    Bend b;
    b.dx = x3 - x1;
    b.dh = h3 - h1;
    const float length = std::sqrt(float(b.dx) * float(b.dx) + float(b.dh) * float(b.dh));
    if (length > 0) {
        b.value = (float(b.dx) * float(h1 - h2) + float(b.dh) * float(x2 - x1)) / length;
    }
    return b;
}

namespace {

// Ratio of two integers in single precision, infinite (or NaN for 0/0) when b is 0.
float Ratio(int a, int b) {
    if (b == 0) {
        return a == 0 ? std::numeric_limits<float>::quiet_NaN()
                      : std::copysign(std::numeric_limits<float>::infinity(), float(a));
    }
    return float(a) / float(b);
}

// An integer position minus (or plus) a fraction, truncated towards zero.
int Shifted(int base, float shift) {
    return static_cast<int>(float(base) + shift);
}

float SquaredDeviation(std::initializer_list<int> values) {
    float mean = 0;
    for (int v : values) {
        mean += float(v);
    }
    mean /= float(values.size());
    float sum = 0;
    for (int v : values) {
        sum += (float(v) - mean) * (float(v) - mean);
    }
    return sum;
}

bool Grows(int a, int b, int c) {
    return a < b && b < c;
}

}  // namespace

// ---- The measurement context ------------------------------------------------------------------

StrokeShape::StrokeShape(const PolygonRegion& r) : region(r) {
    const Rect& box = region.Box();
    W = box.Width();
    H = box.Height();
    for (int y = box.top; y < box.bottom; ++y) {
        const Probe p = Row(y);
        Rmax = std::max(Rmax, p.count);
        WR = std::max(WR, p.Width());
    }
    for (int x = box.left; x < box.right; ++x) {
        const Probe p = Column(x);
        Cmax = std::max(Cmax, p.count);
        HC = std::max(HC, p.rect.bottom - p.rect.top);
    }
}

bool StrokeShape::IsBox(int w, int h, const char* label) const {
    const bool is = W == w && H == h;
    if (is && onFixedBox) {
        onFixedBox(label);
    }
    return is;
}

Probe StrokeShape::Row(int y, int x0) const {
    Probe p;
    p.at = y;
    p.count = CountRowRuns(region, y, x0, p.rect);
    return p;
}

Probe StrokeShape::Column(int x, int y0) const {
    Probe p;
    p.at = x;
    p.count = CountColumnRuns(region, x, y0, p.rect);
    return p;
}

Probe StrokeShape::Line(float slope, int x0, int y0) const {
    Probe p;
    p.at = x0;
    p.count = CountLineRuns(region, slope, x0, y0, p.rect);
    return p;
}

Probe StrokeShape::LowestRow(int runs) const {
    for (int y = H; y >= 1; --y) {
        if (Probe p = Row(y); p.count >= runs) {
            return p;
        }
    }
    return {};
}

Probe StrokeShape::RightColumn(int runs) const {
    for (int x = W; x >= 1; --x) {
        if (Probe p = Column(x); p.count >= runs) {
            return p;
        }
    }
    return {};
}

Probe StrokeShape::TopRow(int runs) const {
    for (int y = 0; y < H; ++y) {
        if (Probe p = Row(y); p.count >= runs) {
            return p;
        }
    }
    return Probe{0, {}, H};
}

Probe StrokeShape::LeftColumn(int runs) const {
    for (int x = 0; x < W; ++x) {
        if (Probe p = Column(x); p.count >= runs) {
            return p;
        }
    }
    return Probe{0, {}, W};
}

Bend StrokeShape::RowBend(int y1, int y2, int y3, bool rightEdge) const {
    auto x = [&](int y) { return rightEdge ? End(y) : Start(y); };
    return BendThrough(x(y1), H - y1, x(y2), H - y2, x(y3), H - y3);
}

int StrokeShape::MaxLeftLeaning() const {
    int most = 0;
    for (int x0 = 0; x0 < W + H; ++x0) {
        most = std::max(most, Line(1, x0, 0).count);
    }
    return most;
}

int StrokeShape::MaxRightLeaning() const {
    int most = 0;
    for (int x0 = -H; x0 < W; ++x0) {
        most = std::max(most, Line(-1, x0, 0).count);
    }
    return most;
}

float StrokeShape::WidthPerHeight() const {
    const int hw = W > 0 ? H / W : 0;
    return hw == 0 ? 1000.0f : 1.0f / float(hw);
}

Probe FirstLineAbove(const StrokeShape& s, float slope, int first, int end, int y0, int runs) {
    for (int x0 = first; x0 < end; ++x0) {
        if (Probe p = s.Line(slope, x0, y0); p.count > runs) {
            return p;
        }
    }
    return {};
}

namespace {

// Right-leaning lines from x0 = -H up to `upTo`, and on while the last line met the stroke
// (x0 < W): the first with more than `runs` runs.
Probe RightLeaningUpTo(const StrokeShape& s, int upTo, int y0, int runs) {
    int lastCount = 0;
    for (int x0 = -s.H; x0 < s.W && (x0 <= upTo || lastCount > 0); ++x0) {
        const Probe p = s.Line(-1, x0, y0);
        if (p.count > runs) {
            return p;
        }
        lastCount = p.count;
    }
    return {};
}

// ---- Classifier A: a single bar ---------------------------------------------------------------

// Three cross-sections: squared lengths of the last runs of lines at the given x0.
struct Sections {
    int d1, d2, d3;
};
Sections CrossSections(const StrokeShape& s, float slope, int x1, int x2, int x3, int y0 = 0) {
    return {s.Line(slope, x1, y0).SquaredLength(), s.Line(slope, x2, y0).SquaredLength(),
            s.Line(slope, x3, y0).SquaredLength()};
}

int WideBarA(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    if (9 * W / 10 < s.WR) {
        return s.Rule("WideBarA 1", 0);
    }
    const Probe top = s.TopRow();
    if (top.at >= H / 4 || top.rect.left >= W / 4) {
        const float slope = -s.WidthPerHeight();
        const Probe a = s.Line(slope, 3 * W / 4, 0), b = s.Line(slope, W / 2, 0),
                    c = s.Line(slope, W / 4, 0);
        const int t34 = a.SquaredLength(), t12 = b.SquaredLength(), t14 = c.SquaredLength();
        if (t34 < t12 && t12 < t14) {
            return s.Rule("WideBarA 2", 6);
        }
        if (t12 < t34 && t14 < t12) {
            const Bend bend = BendThrough(a.rect.right, a.rect.bottom, b.rect.right, b.rect.bottom,
                                          c.rect.right, c.rect.bottom);
            return s.Rule("WideBarA 3", bend.value > 1.5f ? 2 : 0);
        }
        return s.Rule("WideBarA 4", 0);
    }
    return s.Rule("WideBarA 5", s.RowBend(H / 4, H / 2, 3 * H / 4, true).value > 0 ? 5 : 3);
}

int TallBarThinA(const StrokeShape& s, int e) {
    const int W = s.W, H = s.H;
    const float k = s.WidthPerHeight(), K = 2 * k, shift = float(H) / K;
    const Sections d = e < W / 2 ? CrossSections(s, -k, Shifted(e + 3 * (W - e) / 4, -shift),
                                                 Shifted(e + (W - e) / 2, -shift),
                                                 Shifted(e + (W - e) / 4, -shift))
                                 : CrossSections(s, k, Shifted(W / 4, shift), Shifted(W / 2, shift),
                                                 Shifted(3 * W / 4, shift));
    const Bend bend = s.RowBend(H / 4, H / 2, 3 * H / 4, true);
    if (d.d2 < d.d1 && d.d3 < d.d2) {
        return s.Rule("TallBarThinA 1", 2);
    }
    if (d.d2 >= d.d1 && d.d3 >= d.d2) {
        if (bend.Abs() > 3.8f)
            return s.Rule("TallBarThinA 2", 3);
        if (bend.dx * bend.dh <= 0)
            return s.Rule("TallBarThinA 3", 1);
        if (3 * W / 4 < s.WR)
            return s.Rule("TallBarThinA 4", 3);
        if (s.HC <= 3 * H / 4)
            return s.Rule("TallBarThinA 5", 6);
        return s.Rule("TallBarThinA 6", 3);
    }
    return s.Rule("TallBarThinA 7", s.IsBox(51, 104, "A 51x104") ? 1 : 3);
}

int TallBarFullA(const StrokeShape& s) {
    const int H = s.H;
    const Bend right = s.RowBend(H / 4, H / 2, 3 * H / 4, true);
    if (s.IsBox(47, 108, "A 47x108") || (right.Abs() > 2 && std::fabs(right.Steepness()) < 13)) {
        return s.Rule("TallBarFullA 1", 3);
    }
    const Bend left = s.RowBend(H / 4, H / 2, 3 * H / 4, false);
    if (left.Abs() <= 2 || std::fabs(left.Steepness()) >= 8) {
        return s.Rule("TallBarFullA 2", RightLeaningUpTo(s, s.W / 3, H / 2, 1).count > 1 ? 22 : 1);
    }
    return s.Rule("TallBarFullA 3", 3);
}

int TallBarA(const StrokeShape& s) {
    const int e = s.LowestRow().rect.left;
    return s.HC < 9 * s.H / 10 ? TallBarThinA(s, e) : TallBarFullA(s);
}

constexpr int kDefaultA = 3;

int MiddlingFootRightA(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    const int y1 = H / 8, y2 = H / 2, y3 = 7 * H / 8;
    const int x1 = s.End(y1), x2 = s.End(y2);
    const Bend bend = s.RowBend(y1, y2, y3, true);
    const int h1 = H - y1, h2 = H - y2;
    const int numerator = bend.dx * (h1 - h2) + bend.dh * (x2 - x1);
    const int q = bend.dx * h1 - bend.dh * x1;
    if (s.HC < 9 * H / 10 || 2 * W >= H + 6) {
        if (numerator < 0 && q > 0) {
            return s.Rule("MiddlingFootRightA 1", bend.Abs() <= 1.42f ? 1 : kDefaultA);
        }
        return s.Rule("MiddlingFootRightA 2", bend.Abs() > 1 ? 5 : 1);
    }
    return s.Rule("MiddlingFootRightA 3", bend.Abs() <= 2.4f ? 1 : kDefaultA);
}

int MiddlingFootLeftA(const StrokeShape& s, int g) {
    const int W = s.W, H = s.H;
    const float k = s.WidthPerHeight(), shift = float(H) / (2 * k);
    const Sections d =
        CrossSections(s, -k, Shifted(g + 7 * (W - g) / 8, -shift), Shifted(g + (W - g) / 2, -shift),
                      Shifted(g + (W - g) / 8, -shift));
    const bool wideFlat = H < W && 9 * W / 10 < s.WR;
    if (d.d2 < d.d1 && d.d3 < d.d2) {
        return s.Rule("MiddlingFootLeftA 1", 2);
    }
    if (d.d2 >= d.d1 && d.d3 >= d.d2) {
        if (wideFlat)
            return s.Rule("MiddlingFootLeftA 2", 0);
        const Bend bend = s.RowBend(H / 8, H / 2, 7 * H / 8, true);
        if (bend.Abs() > 7)
            return s.Rule("MiddlingFootLeftA 3", 2);
        if (bend.Abs() > 1.899f)
            return s.Rule("MiddlingFootLeftA 4", 3);
        return s.Rule("MiddlingFootLeftA 5", 6);
    }
    if (g < W / 10) {
        if (wideFlat)
            return s.Rule("MiddlingFootLeftA 6", 0);
        return s.Rule("MiddlingFootLeftA 7", s.IsBox(48, 87, "A 48x87") ? 3 : 2);
    }
    // The same three places without the half-height shift, heights measured upwards.
    const Probe a = s.Line(-k, g + 7 * (W - g) / 8, 0), b = s.Line(-k, g + (W - g) / 2, 0),
                c = s.Line(-k, g + (W - g) / 8, 0);
    const int e1 = a.SquaredLength(), e2 = b.SquaredLength(), e3 = c.SquaredLength();
    const Bend ends = BendThrough(a.rect.right, H - a.rect.bottom, b.rect.right, H - b.rect.bottom,
                                  c.rect.right, H - c.rect.bottom);
    return s.Rule("MiddlingFootLeftA 8", e1 < e2 && e3 >= e2 && ends.Abs() <= 1.0f ? 6 : 3);
}

int MiddlingBarA(const StrokeShape& s) {
    const int g = s.LowestRow().rect.left;
    return s.W / 3 < g ? MiddlingFootRightA(s) : MiddlingFootLeftA(s, g);
}

}  // namespace

int ClassifyA(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    if (W + 6 >= 3 * H) {
        return s.Rule("ClassifyA 1", 0);
    }
    if (3 * W < H + 3) {
        return s.Rule("ClassifyA 2", s.RowBend(H / 4, H / 2, 3 * H / 4, true).value > 2.5f ? 3 : 1);
    }
    if (2 * H < W) {
        return WideBarA(s);
    }
    if (2 * W < H) {
        return TallBarA(s);
    }
    return MiddlingBarA(s);
}

// ---- Classifier B: one run per row, two in some column -----------------------------------

int ClassifyB(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    const int e = s.LowestRow().rect.right;
    if (e >= W / 2) {
        if (FirstLineAbove(s, -1, -H, W / 2, H / 3).count == 0) {
            return s.Rule("ClassifyB 1", 1);
        }
        const Probe mid = s.Column(W / 2);
        if (mid.count < 2) {
            return s.Rule("ClassifyB 2", 9 * H / 10 < mid.rect.bottom ? 22 : 15);
        }
        return s.Rule("ClassifyB 3", s.HC < 3 * H / 4 ? 15 : 22);
    }
    const Probe line = FirstLineAbove(s, -1, -(W / 3), 2 * W / 3, H / 4);
    if (line.count > 0) {
        if (H / 2 >= line.rect.top) {
            return s.Rule("ClassifyB 4", 1);
        }
        return s.Rule("ClassifyB 5", H / 2 < s.LeftColumn().rect.top ? 12 : 10);
    }
    const int j = s.LeftColumn(2).at;
    int k = j;
    while (k < W) {
        const Probe c = s.Column(k);
        if (c.count < 2 || c.rect.top > H / 8) {
            break;
        }
        ++k;
    }
    if (k - j > 40) {
        return s.Rule("ClassifyB 6", 9);
    }
    const Bend bend = s.RowBend(H / 8, H / 2, 7 * H / 8, true);
    if (bend.Steepness() > 2.25f && bend.Abs() < 3) {
        return s.Rule("ClassifyB 7", 1);
    }
    if (bend.Abs() > 1) {
        return s.Rule("ClassifyB 8", 2);
    }
    return s.Rule("ClassifyB 9", Ratio(bend.dh, -bend.dx) > 2.16f ? 1 : 2);
}

// ---- Classifier C: one run per row, three in some column ---------------------------------

int ClassifyC(const StrokeShape& s) {
    if (4 * s.W < s.H) {
        return s.Rule("ClassifyC 1", 1);
    }
    return s.Rule("ClassifyC 2", 3 * s.H / 4 < s.LeftColumn().rect.bottom ? 12 : 15);
}

// ---- Classifier D: two runs in some row, one per column ----------------------------------

namespace {

int FlatD(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    if (5 * H < W) {
        return s.Rule("FlatD 1", 0);
    }
    const int e = s.LowestRow().rect.left;
    const float k = s.WidthPerHeight(), shift = float(H) / (2 * k);
    const Sections t =
        CrossSections(s, -k, Shifted(e + 3 * (W - e) / 4, -shift), Shifted(e + (W - e) / 2, -shift),
                      Shifted(e + (W - e) / 4, -shift));
    return s.Rule("FlatD 2", t.d1 < t.d2 && t.d3 >= t.d2 ? 6 : 0);
}

int StepsD(const StrokeShape& s) {
    const int k = s.TopRow(2).at;
    const int x1 = s.Start(k / 4), x2 = s.Start(k / 2), x3 = s.Start(3 * k / 4);
    if (x1 >= x2) {
        return s.Rule("StepsD 1", 11);
    }
    return s.Rule("StepsD 2", x2 < x3 && SquaredDeviation({x1, x2, x3}) > 15 ? 17 : 11);
}

}  // namespace

int ClassifyD(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    if (3 * H < W) {
        return FlatD(s);
    }
    if (H / 2 >= s.RightColumn().rect.top) {
        return s.Rule("ClassifyD 1", W / 2 < s.LowestRow().rect.left ? 4 : 6);
    }
    bool split = false;
    for (int y = 0; y < H && !split; ++y) {
        split = s.Row(y, H / 3).count > 1;
    }
    if (!split) {
        return s.Rule("ClassifyD 2", 9 * H / 10 < s.HC ? 1 : 5);
    }
    if (FirstLineAbove(s, 1, W, W + H, H / 2).count == 0) {
        const int xa = s.End(H / 4), xc = s.End(3 * H / 4);
        return s.Rule("ClassifyD 3", std::fabs(Ratio(H / 4 - 3 * H / 4, xa - xc)) < 4 ? 5 : 1);
    }
    return StepsD(s);
}

// ---- Classifier E: two runs in some row and in some column -------------------------------

namespace {

// The terms E and F share: the right column, the foot, the top row, the leftmost column.
struct Terms {
    Probe right, foot, top, left;
    explicit Terms(const StrokeShape& s)
        : right(s.RightColumn()), foot(s.LowestRow()), top(s.TopRow()), left(s.LeftColumn()) {}
};

int SingleLeftLeaningE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (4 * W < H) {
        return s.Rule("SingleLeftLeaningE 1", 1);
    }
    const int n = s.MaxRightLeaning();
    if (n == 2) {
        if (t.foot.rect.right < W / 2) {
            if (t.right.rect.top > H / 3) {
                if (s.Column(2 * W / 3).count > 1) {
                    return s.Rule("SingleLeftLeaningE 2", t.left.rect.bottom > 2 * H / 3 ? 12 : 4);
                }
                if (t.right.rect.top > 3 * H / 4)
                    return s.Rule("SingleLeftLeaningE 3", 14);
                return s.Rule("SingleLeftLeaningE 4", W < 3 * H / 2 ? 13 : 14);
            }
            return s.Rule("SingleLeftLeaningE 5", s.RightColumn(2).at > W / 2 ? 9 : 14);
        }
        if (2 * H < W)
            return s.Rule("SingleLeftLeaningE 6", 10);
        return s.Rule("SingleLeftLeaningE 7", t.right.rect.top > H / 2 ? 22 : 4);
    }
    if (n == 3) {
        const int split = s.RightColumn(2).at;
        if (s.IsBox(166, 92, "E 166x92")) {
            return s.Rule("SingleLeftLeaningE 8", 4);
        }
        return s.Rule("SingleLeftLeaningE 9", split < W / 2 ? 14 : 4);
    }
    return s.Rule("SingleLeftLeaningE 10", -1);
}

int WideE(const StrokeShape& s, const Terms& t) {
    const int W = s.W;
    const int j = s.LeftColumn(2).at;
    if (j < W / 3) {
        return s.Rule("WideE 1", 14);
    }
    if (Grows(s.Column(j / 4).rect.top, s.Column(j / 2).rect.top, s.Column(3 * j / 4).rect.top)) {
        return s.Rule("WideE 2", 17);
    }
    if (t.foot.rect.left < W / 10) {
        return s.Rule("WideE 3", 14);
    }
    if (t.foot.Width() <= 5) {
        int y = t.foot.at, x = t.foot.rect.left;
        while (y > 0) {
            const Probe above = s.Row(y - 1);
            if (above.count == 0 || above.rect.left > x) {
                break;
            }
            --y;
            x = above.rect.left;
        }
        if (std::abs(x - t.foot.rect.left) <= 3 && t.foot.at - y <= 8) {
            return s.Rule("WideE 4", 10);
        }
    }
    return s.Rule("WideE 5", 4);
}

int ThreeRightLeaningE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (FirstLineAbove(s, 1, W / 4 + H, W + H, H / 2).count == 0) {
        if (t.right.rect.bottom > 5 * H / 6)
            return s.Rule("ThreeRightLeaningE 1", 23);
        if (s.RightColumn(2).at < W / 5)
            return s.Rule("ThreeRightLeaningE 2", 14);
        return s.Rule("ThreeRightLeaningE 3", s.Line(-1, 0, 0).count < 3 ? 13 : 19);
    }
    if (t.right.rect.top <= H / 2) {
        return s.Rule("ThreeRightLeaningE 4", t.right.rect.top < H / 3 ? 7 : 19);
    }
    if (FirstLineAbove(s, 1, (W + H) / 2, W + H, H / 2).count == 0) {
        return s.Rule("ThreeRightLeaningE 5", 19);
    }
    int x = 0;
    for (; x < W; ++x) {
        const Probe c = s.Column(x);
        if (c.count >= 2)
            break;
        if (c.rect.bottom > H / 2)
            return s.Rule("ThreeRightLeaningE 6", 7 * H / 8 - 9 < t.right.rect.bottom ? 11 : 13);
    }
    if (x < W / 4) {
        const int x1 = s.Start(H / 4), x2 = s.Start(H / 2), x3 = s.Start(3 * H / 4);
        if (SquaredDeviation({x1, x2, x3}) < 55)
            return s.Rule("ThreeRightLeaningE 7", 11);
        return s.Rule("ThreeRightLeaningE 8", Grows(x1, x2, x3) ? 17 : 21);
    }
    if (t.foot.rect.left > 4 * W / 5)
        return s.Rule("ThreeRightLeaningE 9", 25);
    if (t.right.rect.top < H / 3)
        return s.Rule("ThreeRightLeaningE 10", 7);
    return s.Rule("ThreeRightLeaningE 11", t.right.rect.bottom > 7 * H / 10 ? 21 : 19);
}

int HookFromBendE(const StrokeShape& s) {
    const int H = s.H;
    const int k = s.TopRow(2).at;
    if (k < H / 4) {
        return s.Rule("HookFromBendE 1", 7);
    }
    const Bend bend = BendThrough(s.End(k / 4), H - H / 4, s.End(k / 2), H - H / 2,
                                  s.End(3 * k / 4), H - 3 * H / 4);
    const bool straight = bend.Abs() <= 1.51f || std::fabs(bend.Steepness()) >= 11;
    return s.Rule("HookFromBendE 2", straight ? 8 : 20);
}

int LineNoDiagonalE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (s.Line(-1, W - H, H / 2).count > 1) {
        return s.Rule("LineNoDiagonalE 1", 13);
    }
    if (4 * H / 5 < s.HC) {
        return HookFromBendE(s);
    }
    if (t.right.rect.top <= H / 2) {
        if (FirstLineAbove(s, float(H / W), W, W + H, H / 2).count == 0)
            return s.Rule("LineNoDiagonalE 2", 9);
        return s.Rule("LineNoDiagonalE 3", s.LowestRow(2).at > H / 2 ? 7 : 9);
    }
    const bool endsGrow = Grows(s.End(H / 4), s.End(H / 2), s.End(3 * H / 4));
    return s.Rule("LineNoDiagonalE 4", endsGrow ? 17 : 20);
}

int RightColumnLowE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    const Probe lean = FirstLineAbove(s, -1, -H, W, 0);
    if (lean.count > 0 && W - lean.rect.left != 0) {
        const int sx = lean.rect.left;
        const float slope = float(H) / float(W - sx);
        if (FirstLineAbove(s, slope, W, 2 * W - sx + 1, 0).count > 0) {
            return s.Rule("RightColumnLowE 1", t.top.rect.left < W / 2 ? 11 : 12);
        }
    }
    int x = W, previousTop = s.Column(W).rect.top;
    for (; x >= 0; --x) {
        const Probe c = s.Column(x);
        if (c.count >= 2 || std::abs(c.rect.top - previousTop) > 4)
            break;
        previousTop = c.rect.top;
    }
    if (x < W / 4)
        return s.Rule("RightColumnLowE 2", 14);
    return s.Rule("RightColumnLowE 3", t.top.rect.left <= W / 2 ? 13 : 12);
}

int FootLeftE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (s.LowestRow(2).at < H / 2) {
        return s.Rule("FootLeftE 1", t.foot.rect.left < 10 ? 9 : 4);
    }
    if (FirstLineAbove(s, 1, (W + H) / 2, W + H, H / 2).count == 0) {
        return s.Rule("FootLeftE 2", t.right.rect.top > H / 4 ? 13 : 9);
    }
    Probe lean;
    for (int x0 = W; x0 >= 1 && lean.count == 0; --x0) {
        if (Probe p = s.Line(-1, x0, 0); p.count > 1)
            lean = p;
    }
    if (lean.count > 0 && lean.rect.top < H / 2 && lean.rect.left > W / 2) {
        for (int x = W; x >= 0; --x) {
            const Probe c = s.Column(x);
            if (c.count > 1)
                break;
            if (c.rect.top > H / 2)
                return s.Rule("FootLeftE 3", 13);
        }
        for (int y = H; y >= 2 * H / 3; --y) {
            if (s.Row(y, W / 3).count > 1)
                return s.Rule("FootLeftE 4", 7);
        }
        return s.Rule("FootLeftE 5", 10);
    }
    if (t.right.rect.top > H / 2) {
        return RightColumnLowE(s, t);
    }
    if (t.right.rect.bottom <= H / 2)
        return s.Rule("FootLeftE 6", 13);
    return s.Rule("FootLeftE 7", 8 * H / 10 < s.HC && 7 * W / 10 < s.WR ? 7 : 20);
}

int FootRightE(const StrokeShape& s, const Terms& t, const Probe& found, int n) {
    const int W = s.W, H = s.H;
    const Probe mid = s.Column(W / 2);
    if (mid.count == 1 && mid.rect.top > H / 3) {
        const bool startsGrow = Grows(s.Start(H / 4), s.Start(H / 2), s.Start(3 * H / 4));
        return s.Rule("FootRightE 1", startsGrow ? 17 : 11);
    }
    bool split = false;
    for (int y = H; y >= 0 && y >= found.rect.top - 2 && !split; --y) {
        split = s.Row(y, found.rect.right).count >= 2;
    }
    if (!split) {
        if (FirstLineAbove(s, 1, H, W + H, H / 2).count == 0)
            return s.Rule("FootRightE 2", 4);
        return s.Rule("FootRightE 3", s.IsBox(240, 131, "E 240x131") ? 4 : 7);
    }
    if (t.right.rect.bottom <= H / 2)
        return s.Rule("FootRightE 4", n < 4 ? 7 : 16);
    return s.Rule("FootRightE 5", 8 * H / 10 < s.HC && 7 * W / 10 - 2 < s.WR ? 7 : 20);
}

int NoLineE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (s.RightColumn(2).at < W / 4)
        return s.Rule("NoLineE 1", 14);
    if (t.foot.rect.right < W / 3 && t.right.rect.bottom > H / 2) {
        return s.Rule("NoLineE 2", t.top.rect.left <= W / 3 ? 13 : 12);
    }
    const Probe first = [&] {
        for (int x = 0; x < W; ++x) {
            if (Probe c = s.Column(x, H / 3); c.count > 1)
                return c;
        }
        return Probe{};
    }();
    if (first.count > 1) {
        if (t.top.rect.left <= H / 2)
            return s.Rule("NoLineE 3", 3 * H / 2 < W ? 14 : 13);
        if (t.left.rect.top <= H / 2)
            return s.Rule("NoLineE 4", first.at < W / 6 ? 9 : 4);
        Probe last, stop;
        for (int x = 0; x < W; ++x) {
            stop = s.Column(x);
            if (stop.count >= 2)
                break;
            last = stop;
        }
        return s.Rule("NoLineE 5", last.rect.top - stop.rect.top < 11 ? 12 : 9);
    }
    if (s.IsBox(135, 125, "E 135x125"))
        return s.Rule("NoLineE 6", 4);
    if (t.foot.rect.left < W / 8)
        return s.Rule("NoLineE 7", 9);
    if (FirstLineAbove(s, 1, W, W + H, H / 2).count > 0)
        return s.Rule("NoLineE 8", 7);
    return s.Rule("NoLineE 9", 4);
}

int SeveralLeftLeaningE(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    const int n = s.MaxRightLeaning();
    if (2 * H < W)
        return WideE(s, t);
    if (n == 3)
        return ThreeRightLeaningE(s, t);
    const Probe found = FirstLineAbove(s, 1, 2 * H / 3 + W / 3, W + H, H / 2);
    if (found.count == 0)
        return NoLineE(s, t);
    if (s.Line(-float(H / W), 0, 0).count < 2)
        return LineNoDiagonalE(s, t);
    if (t.foot.rect.left < W / 2)
        return FootLeftE(s, t);
    return FootRightE(s, t, found, n);
}

}  // namespace

int ClassifyE(const StrokeShape& s) {
    if (s.W + s.H < 1) {
        return s.Rule("ClassifyE 1", -1);
    }
    const Terms t(s);
    const int p = s.MaxLeftLeaning();
    if (p == 1)
        return SingleLeftLeaningE(s, t);
    if (p < 1)
        return s.Rule("ClassifyE 2", -1);
    return SeveralLeftLeaningE(s, t);
}

// ---- Classifier F: two runs in some row, three in some column ----------------------------

namespace {

int TwoLeftLeaningF(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    const int i = s.TopRow(2).at;
    if (i < H / 2) {
        for (int x = 0; x < W; ++x) {
            const Probe c = s.Column(x);
            if (c.count >= 2)
                break;
            if (c.rect.top > H / 4)
                return s.Rule("TwoLeftLeaningF 1", 16);
        }
        return s.Rule("TwoLeftLeaningF 2", t.right.rect.top < H / 2 ? 7 : 21);
    }
    if (s.RightColumn(2).at < W / 4)
        return s.Rule("TwoLeftLeaningF 3", 14);
    if (t.right.rect.top < H / 2)
        return s.Rule("TwoLeftLeaningF 4", 7);
    return s.Rule("TwoLeftLeaningF 5", RightLeaningUpTo(s, W / 3, H / 4, 2).count > 2 ? 27 : 12);
}

int OtherLeftLeaningF(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (t.left.rect.bottom > 2 * H / 3)
        return s.Rule("OtherLeftLeaningF 1", 12);
    const int j = s.TopRow(2).at;
    auto width = [&](int y) { return s.Row(y).Width(); };
    const float spread =
        std::sqrt(SquaredDeviation({width((j - 1) / 4), width((j - 1) / 8), width((7 * j - 7) / 8),
                                    width((j - 1) / 2), width((3 * j - 3) / 4)}));
    if (spread > 13.7f)
        return s.Rule("OtherLeftLeaningF 2", 7);
    return s.Rule("OtherLeftLeaningF 3", FirstLineAbove(s, 1, W, W + H, H / 3).count > 0 ? 16 : 27);
}

// The first line with at least one run, x0 running from `first` by `step` while `more`.
template <typename More>
Probe FirstMeeting(const StrokeShape& s, float slope, int first, int step, More more) {
    for (int x0 = first; more(x0); x0 += step) {
        if (Probe p = s.Line(slope, x0, 0); p.count > 0)
            return p;
    }
    return {};
}

// The measures of a stroke curving back at the left: either a code outright (`decided`), or
// the code u that the leftmost column then confirms.
struct Outcome {
    int code;
    bool decided;
};

Outcome CurveF(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    if (3 * W < H)
        return {8, false};
    if (FirstLineAbove(s, float(H / W), W, W + H, H / 2).count == 0)
        return {12, true};
    const int u = FirstMeeting(s, 1, 0, 1, [&](int x0) { return x0 < W; }).rect.left;
    int h = 0, v = 0;
    for (int x = u; x < W; ++x, ++v) {
        const Probe c = s.Column(x);
        if (c.count == 0 && h > 0)
            break;
        if (c.count > 0 && h == 0)
            h = c.rect.top;
        if (c.count > 0 && std::abs(c.rect.top - h) > 4)
            break;
    }
    auto at = [&](int x) { return H - s.Column(x).rect.top; };
    const int xa = u + v / 4, xb = u + v / 2, xc = u + 3 * v / 4;
    if (BendThrough(xa, at(xa), xb, at(xb), xc, at(xc)).Abs() >= 1.89f)
        return {20, true};
    return {12, false};
}

int LowLeftF(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    const Probe down = FirstMeeting(s, 1, -H, 1, [&](int x0) { return x0 < W + H; });
    if (down.rect.left >= W / 2 || down.rect.top >= H / 2) {
        return s.Rule("LowLeftF 1", 9 * H / 10 < s.HC ? 8 : 12);
    }
    const Probe back = FirstMeeting(s, -1, W, -1, [](int x0) { return x0 >= 1; });
    if (back.rect.right > 2 * W / 3) {
        const Outcome u = CurveF(s);
        if (u.decided)
            return s.Rule("LowLeftF 2", u.code);
        return s.Rule("LowLeftF 3", t.left.rect.top > H / 2 ? u.code : 7);
    }
    return s.Rule("LowLeftF 4", s.RowBend(H / 4, H / 2, 3 * H / 4, false).Abs() < 1.89f ? 13 : 20);
}

int OtherRightLeaningF(const StrokeShape& s, const Terms& t) {
    const int W = s.W, H = s.H;
    if (FirstLineAbove(s, 1, W + 2 * (H - W) / 3, W + H, H / 2).count == 0) {
        const int r = t.left.rect.bottom;
        if (3 * H / 4 < r)
            return s.Rule("OtherRightLeaningF 1", 3 * W < H ? 8 : 12);
        const int k = s.TopRow(2).at, v = s.RightColumn(2).at;
        if (2 * H / 3 < k && v < W / 3)
            return s.Rule("OtherRightLeaningF 2", 14);
        return s.Rule("OtherRightLeaningF 3", r < H / 4 ? 18 : 15);
    }
    if (t.left.rect.top < H / 3) {
        static const int kBoxes[][2] = {{124, 203}, {119, 189}, {113, 193},
                                        {121, 197}, {115, 189}, {125, 198}};
        for (const auto& box : kBoxes) {
            if (s.IsBox(box[0], box[1], "F tall boxes"))
                return s.Rule("OtherRightLeaningF 4", 18);
        }
        return s.Rule("OtherRightLeaningF 5", t.right.rect.bottom > H / 2 ? 20 : 7);
    }
    return LowLeftF(s, t);
}

}  // namespace

int ClassifyF(const StrokeShape& s) {
    const int H = s.H;
    const Terms t(s);
    const int n = s.MaxRightLeaning();
    if (n == 3) {
        return s.MaxLeftLeaning() == 2 ? TwoLeftLeaningF(s, t) : OtherLeftLeaningF(s, t);
    }
    if (n == 4) {
        int y = H;
        while (y > H / 2 && s.Row(y).count < 2) --y;
        return s.Rule("ClassifyF 1", y > 3 * H / 4 ? 16 : 30);
    }
    return OtherRightLeaningF(s, t);
}

// ---- Classifier G: two runs in some row, four in some column -----------------------------

namespace {

int ThreeRightLeaningG(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    int j = H / 2;
    while (j < H && s.Row(j).count < 2) ++j;
    if (j - H / 2 <= 9)
        return s.Rule("ThreeRightLeaningG 1", 24);
    if (j == H)
        return s.Rule("ThreeRightLeaningG 2", 26);
    int k = 0, l = 0;
    for (; k < H; ++k) {
        const Probe r = s.Row(k);
        if (r.count >= 2)
            break;
        if (r.count > 0)
            l = std::max(l, r.Width());
    }
    if (H / 2 < k && l < W / 4)
        return s.Rule("ThreeRightLeaningG 3", 27);
    if (Grows(s.Start(k - 12), s.Start(k - 8), s.Start(k - 4)))
        return s.Rule("ThreeRightLeaningG 4", 18);
    return s.Rule("ThreeRightLeaningG 5", s.IsBox(119, 218, "G 119x218") ? 18 : 24);
}

}  // namespace

int ClassifyG(const StrokeShape& s) {
    const int H = s.H;
    const int p = s.MaxLeftLeaning(), n = s.MaxRightLeaning();
    if (p == 3) {
        if (n < 3)
            return s.Rule("ClassifyG 1", -1);
        int f = 0;
        for (int y = H; y > H / 2; --y) f = std::max(f, s.Row(y).count);
        if (f > 1)
            return s.Rule("ClassifyG 2", n < 4 ? 16 : 24);
        return s.Rule("ClassifyG 3", 26);
    }
    if (p != 2)
        return s.Rule("ClassifyG 4", -1);
    if (n == 2)
        return s.Rule("ClassifyG 5", 2 * H / 3 < s.LowestRow(2).at ? 18 : 26);
    if (n == 4) {
        for (int y = H; y > 3 * H / 4; --y) {
            if (s.Row(y).count > 1)
                return s.Rule("ClassifyG 6", 24);
        }
        return s.Rule("ClassifyG 7", 26);
    }
    if (n == 3)
        return ThreeRightLeaningG(s);
    return s.Rule("ClassifyG 8", -1);
}

// ---- Classifier H: three runs in some row -----------------------------------------------

int ClassifyH(const StrokeShape& s) {
    const int W = s.W, H = s.H;
    const float fall = -float(W > 0 ? H / W : 0);
    if (2 * H < W) {
        return s.Rule("ClassifyH 1", s.Line(fall, 0, 0).count < 3 ? 10 : 16);
    }
    const Probe top = s.TopRow();
    if (8 * W / 10 < top.rect.left && top.at < H / 10)
        return s.Rule("ClassifyH 2", 7);
    if (FirstLineAbove(s, 1, W, W + H, 2 * H / 3).count == 0)
        return s.Rule("ClassifyH 3", 27);
    if (s.Line(-1, 0, 0).count > 3)
        return s.Rule("ClassifyH 4", 24);
    if (s.Line(fall, 0, 0).count < 3) {
        return s.Rule("ClassifyH 5", s.LeftColumn().rect.top < H / 3 ? 7 : 12);
    }
    int x = 0;
    while (x < W && s.Column(x).count == 0) ++x;
    const int first = x;
    int last = x, previousTop = s.Column(x).rect.top;
    for (++x; x < W; ++x) {
        const Probe c = s.Column(x);
        if (c.count == 0)
            break;
        last = x;
        if (std::abs(c.rect.top - previousTop) > 4)
            break;
        previousTop = c.rect.top;
    }
    return s.Rule("ClassifyH 6", W / 4 < last - first ? 21 : 16);
}

// ---- The driver ---------------------------------------------------------------------------

char ChooseClassifier(int rmax, int cmax) {
    if (rmax == 1 && cmax >= 1 && cmax <= 3)
        return char('A' + cmax - 1);
    if (rmax == 2 && cmax >= 1 && cmax <= 4)
        return char('D' + cmax - 1);
    if (rmax == 3)
        return 'H';
    return 0;
}

StrokeIdentity IdentifyStrokeType(const PolygonRegion& region,
                                  const std::function<void(const char*)>& onFixedBox) {
    StrokeIdentity id;
    if (region.IsEmpty()) {
        return id;
    }
    StrokeShape shape(region);
    shape.onFixedBox = onFixedBox;
    id.classifier = ChooseClassifier(shape.Rmax, shape.Cmax);
    static constexpr int (*kClassifiers[])(const StrokeShape&) = {
        ClassifyA, ClassifyB, ClassifyC, ClassifyD, ClassifyE, ClassifyF, ClassifyG, ClassifyH};
    if (id.classifier != 0) {
        id.code = kClassifiers[id.classifier - 'A'](shape);
    }
    id.rule = shape.decidedBy;
    return id;
}

}  // namespace quvo
