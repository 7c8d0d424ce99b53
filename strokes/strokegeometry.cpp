#include "strokes/strokegeometry.h"

#include <algorithm>

namespace quvo {

void SetStrokeOffset(OutlineSeg* chain, int dx, int dy) {
    for (; chain; chain = chain->nextSeg) {
        chain->dx = dx;
        chain->dy = dy;
    }
}

void ResetStrokeOffset(OutlineSeg* chain) { SetStrokeOffset(chain, 0, 0); }

void GetStrokeBounds(const OutlineSeg* chain, Rect& bounds) {
    bool first = true;
    for (; chain; chain = chain->nextSeg) {
        for (std::uint32_t i = 0; i < chain->pointCount; ++i) {
            const StrokePoint& p = chain->points[i];
            if (first) {
                bounds = {p.x, p.y, p.x, p.y};
                first = false;
                continue;
            }
            bounds.left = std::min(bounds.left, p.x);
            bounds.top = std::min(bounds.top, p.y);
            bounds.right = std::max(bounds.right, p.x);
            bounds.bottom = std::max(bounds.bottom, p.y);
        }
    }
}

std::vector<StrokePoint> TranslatedPoints(const OutlineSeg& seg) {
    std::vector<StrokePoint> points(seg.points, seg.points + seg.pointCount);
    for (StrokePoint& p : points) {
        p.x += seg.dx;
        p.y += seg.dy;
    }
    return points;
}

std::vector<StrokePoint> GatherStrokePoints(const OutlineSeg* chain) {
    std::vector<StrokePoint> points;
    for (; chain; chain = chain->nextSeg) {
        for (std::uint32_t i = 0; i < chain->pointCount; ++i) {
            points.push_back({chain->points[i].x + chain->dx, chain->points[i].y + chain->dy});
        }
    }
    return points;
}

void DrawStrokeOutline(StrokeCanvas& canvas, const OutlineSeg* chain, const Pen& pen) {
    for (; chain; chain = chain->nextSeg) {
        if (chain->pointCount == 0) {
            continue;
        }
        if (chain->kind == OutlineSeg::kBezier) {
            canvas.PolyBezier(TranslatedPoints(*chain), pen);
        } else {
            canvas.Polyline(TranslatedPoints(*chain), pen);
        }
    }
}

void FillStrokePolygon(StrokeCanvas& canvas, const OutlineSeg* chain, Colour colour) {
    const std::vector<StrokePoint> points = GatherStrokePoints(chain);
    if (!points.empty()) {
        canvas.FillPolygon(points, colour);
    }
}

void DrawStrokeOutlineAt(StrokeCanvas& canvas, OutlineSeg* chain, int x, int y, const Pen& pen) {
    SetStrokeOffset(chain, x, y);
    DrawStrokeOutline(canvas, chain, pen);
    ResetStrokeOffset(chain);
}

void FillStrokePolygonAt(StrokeCanvas& canvas, OutlineSeg* chain, int x, int y, Colour colour) {
    SetStrokeOffset(chain, x, y);
    FillStrokePolygon(canvas, chain, colour);
    ResetStrokeOffset(chain);
}

}  // namespace quvo
