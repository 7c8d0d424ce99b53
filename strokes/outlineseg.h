#pragma once

#include <cstddef>
#include <cstdint>

namespace quvo {

struct StrokePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const StrokePoint&) const = default;
};

// One record serves both as an outline segment and as the head entry of a stroke. A stroke
// list is a chain of head entries linked by nextStroke; head entry k carries the segments of
// contour k through nextSeg. The chain ends with one empty head entry.
struct OutlineSeg {
    static constexpr std::int32_t kLine = 1;         // straight-line run
    static constexpr std::int32_t kBezier = 2;       // cubic Bezier run (poly-Bezier layout)
    static constexpr std::int32_t kCubicSpline = 3;  // cubic-spline run, drawn as a line run

    std::int32_t kind = 0;
    std::uint32_t pointCount = 0;
    StrokePoint* points = nullptr;  // owned, pointCount entries
    std::int32_t dx = 0;            // translation applied when drawn, shaped or analysed
    std::int32_t dy = 0;
    OutlineSeg* nextSeg = nullptr;
    OutlineSeg* nextStroke = nullptr;  // head entries only
};

// Point arrays are sized with an overflow guard: a count whose byte size does not fit asks
// for the largest possible size, which fails with std::bad_alloc.
StrokePoint* AllocatePoints(std::size_t count);
std::size_t PointBytes(std::size_t count);

// A fresh, empty head entry.
OutlineSeg* NewHeadEntry();

// Frees a whole list: every head entry in nextStroke order, each followed by its segments.
void FreeStrokeList(OutlineSeg* head);

// The segment chain of stroke k (counted from 1), or null when k is not a stroke of the
// list: below 1, or at or past the trailing empty head entry. Never walks past the end.
OutlineSeg* StrokeChainAt(OutlineSeg* head, int k);
const OutlineSeg* StrokeChainAt(const OutlineSeg* head, int k);

// Number of head entries that carry segments, that is the strokes of the list.
int CountStrokes(const OutlineSeg* head);

// Owner of one stroke list: its first head entry and the two cursors the extraction moves
// (the head entry being filled and the last segment appended).
class StrokeList {
public:
    StrokeList() = default;
    ~StrokeList() { Free(); }
    StrokeList(const StrokeList&) = delete;
    StrokeList& operator=(const StrokeList&) = delete;

    // Frees what is there and starts again with one fresh head entry.
    void Reset();
    void Free();

    OutlineSeg* First() const { return m_first; }
    OutlineSeg*& SegmentCursor() { return m_segCursor; }
    OutlineSeg*& HeadCursor() { return m_headCursor; }
    OutlineSeg* StrokeAt(int k) const { return StrokeChainAt(m_first, k); }

private:
    OutlineSeg* m_first = nullptr;
    OutlineSeg* m_segCursor = nullptr;
    OutlineSeg* m_headCursor = nullptr;
};

}  // namespace quvo
