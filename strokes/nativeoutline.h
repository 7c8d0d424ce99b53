#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quvo {

// The native TrueType outline stream of a glyph: per contour a polygon header (byte size of
// the contour with its records, type 24, start point) followed by curve records (type, point
// count, points). Points are 16.16 fixed-point pairs; everything is little-endian.
namespace native_outline {
constexpr std::uint32_t kPolygonType = 24;  // TT_POLYGON_TYPE
constexpr std::uint16_t kPrimLine = 1;      // TT_PRIM_LINE
constexpr std::uint16_t kPrimQSpline = 2;   // TT_PRIM_QSPLINE
constexpr std::uint16_t kPrimCSpline = 3;   // TT_PRIM_CSPLINE
constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kRecordHeaderBytes = 4;
constexpr std::size_t kPointBytes = 8;
}  // namespace native_outline

struct FixedPoint {
    std::int32_t x = 0;  // 16.16
    std::int32_t y = 0;
};

constexpr std::int32_t ToFixed(int value) { return static_cast<std::int32_t>(value * 65536); }

// The integer part of a 16.16 value: its upper 16 bits as a signed number (the floor).
constexpr int FixedFloor(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) >> 16);
}

// Writes an outline stream contour by contour.
class NativeOutlineBuilder {
public:
    void BeginContour(FixedPoint start);
    void AddRecord(std::uint16_t type, const std::vector<FixedPoint>& points);
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    void Put16(std::uint16_t value);
    void Put32(std::uint32_t value);
    void PatchContourSize();

    std::vector<std::uint8_t> m_bytes;
    std::size_t m_contourStart = 0;
    bool m_inContour = false;
};

}  // namespace quvo
