#include "strokes/glyphoutline.h"

#include <vector>

#include "strokes/nativeoutline.h"

namespace quvo {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

FixedPoint ReadPoint(const std::uint8_t* p) {
    return {static_cast<std::int32_t>(Read32(p)), static_cast<std::int32_t>(Read32(p + 4))};
}

struct Converter {
    int ascent;
    StrokePoint origin;
    StrokePoint operator()(FixedPoint p) const {
        return {FixedFloor(p.x) + origin.x, FixedFloor(p.y) + ascent + origin.y};
    }
};

OutlineSeg* NewSegment(std::int32_t kind, std::size_t count) {
    auto* seg = new OutlineSeg();
    seg->kind = kind;
    seg->points = AllocatePoints(count);
    seg->pointCount = static_cast<std::uint32_t>(count);
    return seg;
}

// Start point, then the record's points unchanged.
OutlineSeg* MakeLineRun(std::int32_t kind, const StrokePoint& start, const StrokePoint* pts,
                        std::size_t c) {
    OutlineSeg* seg = NewSegment(kind, 1 + c);
    seg->points[0] = start;
    for (std::size_t i = 0; i < c; ++i) {
        seg->points[1 + i] = pts[i];
    }
    return seg;
}

// A quadratic B-spline as c - 1 cubic pieces in poly-Bezier layout. Every step is integer
// arithmetic with division truncated towards zero, as the drawing code has always used.
OutlineSeg* MakeBezierRun(const StrokePoint& start, const StrokePoint* pts, std::size_t c) {
    const std::size_t pieces = c >= 2 ? c - 1 : 0;
    OutlineSeg* seg = NewSegment(OutlineSeg::kBezier, 1 + 3 * pieces);
    StrokePoint s = start;
    std::size_t out = 0;
    seg->points[out++] = s;
    for (std::size_t j = 0; j + 1 < c;) {
        const StrokePoint q = pts[j];
        StrokePoint e;
        if (j + 1 == c - 1) {
            e = pts[j + 1];
            j += 2;
        } else {
            e = {(q.x + pts[j + 1].x) / 2, (q.y + pts[j + 1].y) / 2};
            j += 1;
        }
        seg->points[out++] = {s.x + (2 * (q.x - s.x)) / 3, s.y + (2 * (q.y - s.y)) / 3};
        seg->points[out++] = {q.x + (e.x - q.x) / 3, q.y + (e.y - q.y) / 3};
        seg->points[out++] = e;
        s = e;
    }
    return seg;
}

// One curve record; null for a type that makes no segment.
OutlineSeg* MakeSegment(std::uint16_t type, const std::uint8_t* record, std::size_t c,
                        FixedPoint running, const Converter& convert) {
    std::vector<StrokePoint> pts(c);
    for (std::size_t i = 0; i < c; ++i) {
        pts[i] = convert(ReadPoint(record + native_outline::kRecordHeaderBytes +
                                   i * native_outline::kPointBytes));
    }
    switch (type) {
    case native_outline::kPrimLine:
        return MakeLineRun(OutlineSeg::kLine, convert(running), pts.data(), c);
    case native_outline::kPrimQSpline:
        return MakeBezierRun(convert(running), pts.data(), c);
    case native_outline::kPrimCSpline:
        return MakeLineRun(OutlineSeg::kCubicSpline, convert(running), pts.data(), c);
    default:
        return nullptr;
    }
}

// The records of one contour, linked behind segCursor. contourBytes is what its header
// claims, limited to what the buffer holds.
void WalkContour(const std::uint8_t* contour, std::size_t contourBytes, const Converter& convert,
                 OutlineSeg*& segCursor) {
    using namespace native_outline;
    FixedPoint running = ReadPoint(contour + 8);
    std::size_t offset = kHeaderBytes;
    while (offset + kRecordHeaderBytes <= contourBytes) {
        const std::uint8_t* record = contour + offset;
        const std::uint16_t type = Read16(record);
        const std::size_t c = Read16(record + 2);
        const std::size_t recordBytes = kRecordHeaderBytes + kPointBytes * c;
        if (c == 0 || offset + recordBytes > contourBytes) {
            break;
        }
        if (OutlineSeg* seg = MakeSegment(type, record, c, running, convert)) {
            segCursor->nextSeg = seg;
            segCursor = seg;
        }
        running = ReadPoint(record + kRecordHeaderBytes + kPointBytes * (c - 1));
        offset += recordBytes;
    }
}

}  // namespace

int WalkGlyphOutline(const std::uint8_t* buffer, std::size_t size, int ascent, StrokePoint origin,
                     OutlineSeg*& segCursor, OutlineSeg*& headCursor) {
    using namespace native_outline;
    const Converter convert{ascent, origin};
    int contours = 0;
    std::size_t offset = 0;
    while (size - offset > kHeaderBytes) {
        const std::uint8_t* contour = buffer + offset;
        std::size_t contourBytes = Read32(contour);
        if (contourBytes < kHeaderBytes) {
            break;  // a header that does not even cover itself would never advance
        }
        if (contourBytes > size - offset) {
            contourBytes = size - offset;
        }
        ++contours;
        headCursor->dx = 0;
        headCursor->dy = 0;
        WalkContour(contour, contourBytes, convert, segCursor);
        OutlineSeg* head = NewHeadEntry();
        headCursor->nextStroke = head;
        headCursor = head;
        segCursor = head;
        offset += contourBytes;
    }
    return contours;
}

}  // namespace quvo
