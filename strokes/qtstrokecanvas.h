#pragma once

#include <QColor>
#include <QRegion>

#include "strokes/polygonregion.h"
#include "strokes/strokegeometry.h"

class QPainter;

namespace quvo {

inline QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// A region as Qt's region, span by span, so that a window mask, its hit test and the fill
// cover exactly the same pixels.
QRegion ToQRegion(const PolygonRegion& region);
QRegion ToQRegion(const std::vector<PolygonRegion::Span>& spans);

// Stroke drawings through a QPainter, without antialiasing, like the window system's pens.
class PainterStrokeCanvas : public StrokeCanvas {
public:
    explicit PainterStrokeCanvas(QPainter& painter) : m_painter(painter) {}
    void Polyline(const std::vector<StrokePoint>& points, const Pen& pen) override;
    void PolyBezier(const std::vector<StrokePoint>& points, const Pen& pen) override;
    void FillPolygon(const std::vector<StrokePoint>& points, Colour colour) override;
    // The runs of a region already made, filled as FillPolygon fills its polygon's.
    void FillSpans(const std::vector<PolygonRegion::Span>& spans, Colour colour);

private:
    void SelectPen(const Pen& pen);
    QPainter& m_painter;
};

}  // namespace quvo
