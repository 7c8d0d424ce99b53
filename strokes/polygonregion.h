#pragma once

#include <cstdint>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/outlineseg.h"

namespace quvo {

// The pixels of a polygon under the alternate (even-odd) fill rule, closed implicitly: pixel
// (x, y) belongs to the region when its centre lies inside. This is the shape of a stroke
// piece: its window mask, its hit test, and the area its fill animation may cover.
class PolygonRegion {
public:
    struct Span {
        int y;
        int left;
        int right;  // exclusive
    };

    // Polygons wider or taller than this are refused (the region stays empty).
    static constexpr int kMaxSide = 16384;

    PolygonRegion() = default;
    explicit PolygonRegion(const std::vector<StrokePoint>& polygon);

    bool IsEmpty() const { return m_spans.empty(); }
    // Bounding box of the region's pixels, right and bottom exclusive; all 0 when empty.
    const Rect& Box() const { return m_box; }
    bool Contains(int x, int y) const;
    // The pixel of the region nearest to (x, y), (x, y) itself when it belongs to it; false
    // for an empty region.
    bool Nearest(int x, int y, int& nearestX, int& nearestY) const;
    // Runs of pixels, row by row from the top, left to right within a row.
    const std::vector<Span>& Spans() const { return m_spans; }
    // The runs of the region grown by `radius` pixels all round (every pixel within that
    // distance of the region), in the same order.
    std::vector<Span> GrownSpans(int radius) const;

private:
    void Rasterise(const std::vector<StrokePoint>& polygon, int top, int bottom);
    void BuildMask();

    Rect m_box;
    std::vector<Span> m_spans;
    std::vector<std::uint8_t> m_mask;  // one byte per pixel of the box
};

}  // namespace quvo
