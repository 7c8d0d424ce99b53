#include "strokes/strokescanners.h"

#include <cmath>

namespace quvo {

int CountRowRuns(const PolygonRegion& region, int y, int x0, Rect& rect) {
    const Rect& box = region.Box();
    int count = 0;
    bool inside = false;
    int lastEnd = 0;
    for (int x = box.left + x0; x < box.right; ++x) {
        const bool in = region.Contains(x, y);
        if (in && !inside) {
            const bool merged = count > 0 && std::fabs(float(lastEnd - x)) <= 2.0f;
            if (!merged) {
                ++count;
            }
            if (count == 1) {
                rect.left = x;
                rect.top = y;
            }
        } else if (!in && inside) {
            lastEnd = x;
            if (count == 1) {
                rect.right = x;
                rect.bottom = y + 1;
            }
        }
        inside = in;
    }
    if (inside && count == 1) {
        rect.right = box.right;
        rect.bottom = y;
    }
    return count;
}

int CountColumnRuns(const PolygonRegion& region, int x, int y0, Rect& rect) {
    const Rect& box = region.Box();
    int count = 0;
    bool inside = false;
    for (int y = box.top + y0; y < box.bottom; ++y) {
        const bool in = region.Contains(x, y);
        if (in && !inside) {
            ++count;
            if (count == 1) {
                rect.left = x;
                rect.top = y;
            }
        } else if (!in && inside && count == 1) {
            rect.right = x + 1;
            rect.bottom = y;
        }
        inside = in;
    }
    if (inside && count == 1) {
        rect.right = x;
        rect.bottom = box.bottom;
    }
    return count;
}

int CountLineRuns(const PolygonRegion& region, float slope, int x0, int y0, Rect& rect) {
    if (std::fabs(slope) < 0.00001f) {
        slope = 0.001f;
    }
    const Rect& box = region.Box();
    int count = 0;
    bool inside = false;
    int previousX = x0;
    for (int y = box.top + y0; y < box.bottom; ++y) {
        const int x = static_cast<int>(float(box.top - y) / slope + float(x0));
        if (x == previousX) {
            continue;
        }
        previousX = x;
        const bool in = region.Contains(x, y);
        if (in && !inside) {
            ++count;
            rect.left = x;
            rect.top = y;
        } else if (!in && inside) {
            rect.right = x;
            rect.bottom = y;
        }
        inside = in;
    }
    if (inside) {
        rect.right = previousX;
        rect.bottom = box.bottom;
    }
    return count;
}

}  // namespace quvo
