#include "strokes/qtstrokecanvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace quvo {

QRegion ToQRegion(const PolygonRegion& region) { return ToQRegion(region.Spans()); }

QRegion ToQRegion(const std::vector<PolygonRegion::Span>& spans) {
    std::vector<QRect> rects;
    rects.reserve(spans.size());
    for (const PolygonRegion::Span& s : spans) {
        rects.emplace_back(s.left, s.y, s.right - s.left, 1);
    }
    QRegion result;
    result.setRects(rects.data(), static_cast<int>(rects.size()));
    return result;
}

void PainterStrokeCanvas::SelectPen(const Pen& pen) {
    Qt::PenStyle style = Qt::SolidLine;
    switch (pen.style) {
    case PenStyle::Solid: style = Qt::SolidLine; break;
    case PenStyle::Dash: style = Qt::DashLine; break;
    case PenStyle::Dot: style = Qt::DotLine; break;
    case PenStyle::DashDot: style = Qt::DashDotLine; break;
    }
    QPen qpen(ToQColor(pen.colour), pen.width, style);
    qpen.setCosmetic(true);
    m_painter.setPen(qpen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void PainterStrokeCanvas::Polyline(const std::vector<StrokePoint>& points, const Pen& pen) {
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const StrokePoint& p : points) {
        polygon << QPoint(p.x, p.y);
    }
    SelectPen(pen);
    m_painter.drawPolyline(polygon);
}

void PainterStrokeCanvas::PolyBezier(const std::vector<StrokePoint>& points, const Pen& pen) {
    if (points.empty()) {
        return;
    }
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
        path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y,
                     points[i + 2].x, points[i + 2].y);
    }
    SelectPen(pen);
    m_painter.drawPath(path);
}

void PainterStrokeCanvas::FillPolygon(const std::vector<StrokePoint>& points, Colour colour) {
    FillSpans(PolygonRegion(points).Spans(), colour);
}

void PainterStrokeCanvas::FillSpans(const std::vector<PolygonRegion::Span>& spans, Colour colour) {
    // Every run one pixel high, filled in one call: the same pixels as a fill per run.
    QList<QRect> runs;
    runs.reserve(static_cast<qsizetype>(spans.size()));
    for (const PolygonRegion::Span& s : spans) {
        runs.append(QRect(s.left, s.y, s.right - s.left, 1));
    }
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(colour));
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.drawRects(runs);
    m_painter.restore();
}

}  // namespace quvo
