#include "strokes/nativeoutline.h"

namespace quvo {

void NativeOutlineBuilder::Put16(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void NativeOutlineBuilder::Put32(std::uint32_t value) {
    Put16(static_cast<std::uint16_t>(value));
    Put16(static_cast<std::uint16_t>(value >> 16));
}

void NativeOutlineBuilder::PatchContourSize() {
    const auto size = static_cast<std::uint32_t>(m_bytes.size() - m_contourStart);
    for (int i = 0; i < 4; ++i) {
        m_bytes[m_contourStart + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
}

void NativeOutlineBuilder::BeginContour(FixedPoint start) {
    m_contourStart = m_bytes.size();
    m_inContour = true;
    Put32(0);
    Put32(native_outline::kPolygonType);
    Put32(static_cast<std::uint32_t>(start.x));
    Put32(static_cast<std::uint32_t>(start.y));
    PatchContourSize();
}

void NativeOutlineBuilder::AddRecord(std::uint16_t type, const std::vector<FixedPoint>& points) {
    Put16(type);
    Put16(static_cast<std::uint16_t>(points.size()));
    for (const FixedPoint& p : points) {
        Put32(static_cast<std::uint32_t>(p.x));
        Put32(static_cast<std::uint32_t>(p.y));
    }
    if (m_inContour) {
        PatchContourSize();
    }
}

}  // namespace quvo
