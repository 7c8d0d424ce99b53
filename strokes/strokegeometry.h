#pragma once

#include <cstdint>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/outlineseg.h"

namespace quvo {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
// Each of red, green and blue replaced by 255 minus itself.
constexpr Colour Complement(Colour c) {
    return MakeColour(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c));
}

constexpr Colour kOutlineMagenta = MakeColour(255, 0, 255);
constexpr Colour kGridGrey = MakeColour(100, 100, 100);
constexpr Colour kTitleColour = MakeColour(255, 10, 0);

enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Colour colour = 0;
};

// Where stroke drawings go: the dialog or a piece, through the window system's painter.
class StrokeCanvas {
public:
    virtual ~StrokeCanvas() = default;
    virtual void Polyline(const std::vector<StrokePoint>& points, const Pen& pen) = 0;
    // Start point followed by triples of control, control and end point.
    virtual void PolyBezier(const std::vector<StrokePoint>& points, const Pen& pen) = 0;
    // A polygon filled with the alternate rule, closed implicitly.
    virtual void FillPolygon(const std::vector<StrokePoint>& points, Colour colour) = 0;
};

void SetStrokeOffset(OutlineSeg* chain, int dx, int dy);
void ResetStrokeOffset(OutlineSeg* chain);

// The smallest rectangle holding every point of the chain, control points included and the
// translation not applied; right and bottom inclusive. An empty chain leaves bounds as it was.
void GetStrokeBounds(const OutlineSeg* chain, Rect& bounds);

// Every point of the chain in chain order, translated by each segment's dx, dy.
std::vector<StrokePoint> GatherStrokePoints(const OutlineSeg* chain);

// The points of one segment, translated.
std::vector<StrokePoint> TranslatedPoints(const OutlineSeg& seg);

// Each segment on its own: line and spline runs as polylines, Bezier runs as poly-Beziers.
// Nothing closes the contour.
void DrawStrokeOutline(StrokeCanvas& canvas, const OutlineSeg* chain, const Pen& pen);

// All points of the chain as one polygon; control points are vertices like the others.
void FillStrokePolygon(StrokeCanvas& canvas, const OutlineSeg* chain, Colour colour);

// Draws stroke `chain` placed at (x, y): sets the translation, draws, resets it.
void DrawStrokeOutlineAt(StrokeCanvas& canvas, OutlineSeg* chain, int x, int y, const Pen& pen);
void FillStrokePolygonAt(StrokeCanvas& canvas, OutlineSeg* chain, int x, int y, Colour colour);

}  // namespace quvo
