#include "strokes/polygonregion.h"

#include <algorithm>
#include <cmath>

namespace quvo {

PolygonRegion::PolygonRegion(const std::vector<StrokePoint>& polygon) {
    if (polygon.size() < 3) {
        return;
    }
    auto [minY, maxY] = std::minmax_element(polygon.begin(), polygon.end(),
                                            [](auto& a, auto& b) { return a.y < b.y; });
    auto [minX, maxX] = std::minmax_element(polygon.begin(), polygon.end(),
                                            [](auto& a, auto& b) { return a.x < b.x; });
    if (std::int64_t(maxX->x) - minX->x > kMaxSide || std::int64_t(maxY->y) - minY->y > kMaxSide) {
        return;
    }
    Rasterise(polygon, minY->y, maxY->y);
    BuildMask();
}

// Scanline fill at pixel centres: in row y, the edges crossing y + 0.5 are sorted and every
// other gap between them is inside.
void PolygonRegion::Rasterise(const std::vector<StrokePoint>& polygon, int top, int bottom) {
    std::vector<double> crossings;
    const std::size_t n = polygon.size();
    for (int y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const StrokePoint& a = polygon[i];
            const StrokePoint& b = polygon[(i + 1) % n];
            if ((a.y <= yc && yc < b.y) || (b.y <= yc && yc < a.y)) {
                crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / double(b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int left = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int right = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
            if (left < right) {
                m_spans.push_back({y, left, right});
            }
        }
    }
}

void PolygonRegion::BuildMask() {
    if (m_spans.empty()) {
        return;
    }
    m_box = {m_spans.front().left, m_spans.front().y, m_spans.front().right,
             m_spans.back().y + 1};
    for (const Span& s : m_spans) {
        m_box.left = std::min(m_box.left, s.left);
        m_box.right = std::max(m_box.right, s.right);
    }
    // Spans of one row never overlap: the crossings are sorted and taken in pairs.
    m_mask.assign(std::size_t(m_box.Width()) * m_box.Height(), 0);
    for (const Span& s : m_spans) {
        auto* row = m_mask.data() + std::size_t(s.y - m_box.top) * m_box.Width();
        std::fill(row + (s.left - m_box.left), row + (s.right - m_box.left), 1);
    }
}

bool PolygonRegion::Contains(int x, int y) const {
    if (x < m_box.left || x >= m_box.right || y < m_box.top || y >= m_box.bottom) {
        return false;
    }
    return m_mask[std::size_t(y - m_box.top) * m_box.Width() + (x - m_box.left)] != 0;
}

bool PolygonRegion::Nearest(int x, int y, int& nearestX, int& nearestY) const {
    std::int64_t best = -1;
    for (const Span& s : m_spans) {
        const int cx = std::clamp(x, s.left, s.right - 1);
        const std::int64_t dx = x - cx, dy = y - s.y;
        const std::int64_t d = dx * dx + dy * dy;
        if (best < 0 || d < best) {
            best = d;
            nearestX = cx;
            nearestY = s.y;
        }
    }
    return best >= 0;
}

std::vector<PolygonRegion::Span> PolygonRegion::GrownSpans(int radius) const {
    std::vector<Span> grown;
    if (m_spans.empty()) {
        return grown;
    }
    // Each run reaches sqrt(r^2 - dy^2) pixels further sideways in the row dy away.
    std::vector<int> reach(static_cast<std::size_t>(radius) + 1);
    for (int dy = 0; dy <= radius; ++dy) {
        reach[dy] = static_cast<int>(std::sqrt(double(radius * radius - dy * dy)));
    }
    std::vector<std::pair<int, int>> runs;
    std::size_t first = 0;  // the first run of the rows that can reach row y
    for (int y = m_box.top - radius; y < m_box.bottom + radius; ++y) {
        while (first < m_spans.size() && m_spans[first].y < y - radius) {
            ++first;
        }
        runs.clear();
        for (std::size_t i = first; i < m_spans.size() && m_spans[i].y <= y + radius; ++i) {
            const int w = reach[static_cast<std::size_t>(std::abs(m_spans[i].y - y))];
            runs.emplace_back(m_spans[i].left - w, m_spans[i].right + w);
        }
        std::sort(runs.begin(), runs.end());
        for (std::size_t i = 0; i < runs.size();) {
            Span span{y, runs[i].first, runs[i].second};
            for (++i; i < runs.size() && runs[i].first <= span.right; ++i) {
                span.right = std::max(span.right, runs[i].second);
            }
            grown.push_back(span);
        }
    }
    return grown;
}

}  // namespace quvo
