#include "strokes/strokefill.h"

#include <vector>

#include "strokes/strokescanners.h"

namespace quvo {

int NormaliseFillDelay(int delay) {
    return delay < 0 || delay > 4999 ? kDefaultFillDelay : delay;
}

FillStart FillStartFor(int strokeType) {
    switch (strokeType) {
    case 0: case 4: case 5: case 6: case 10: case 18: case 19: case 21: case 23: case 25:
    case 29: case 30:
        return FillStart::Left;
    case 7: case 9: case 24: case 26:
        return FillStart::Diagonal;
    case 1: case 2: case 3: case 8: case 11: case 12: case 13: case 14: case 15: case 16:
    case 17: case 20: case 22: case 27: case 28:
        return FillStart::Top;
    default:
        return FillStart::None;
    }
}

namespace {

// The top point of the first run in the leftmost column that has one.
StrokePoint LeftStart(const PolygonRegion& region) {
    Rect rect;
    for (int x = 0; x < region.Box().Width(); ++x) {
        if (CountColumnRuns(region, x, 0, rect) > 0) {
            break;
        }
    }
    return {rect.left, rect.top};
}

// The left point of the first run in the topmost row that has one.
StrokePoint TopStart(const PolygonRegion& region) {
    Rect rect;
    for (int y = 0; y < region.Box().Height(); ++y) {
        if (CountRowRuns(region, y, 0, rect) > 0) {
            break;
        }
    }
    return {rect.left, rect.top};
}

StrokePoint DiagonalStart(const PolygonRegion& region) {
    Rect rect;
    for (int j = 0; j < region.Box().Width(); ++j) {
        if (CountLineRuns(region, 1.0f, j, 0, rect) > 0) {
            break;
        }
    }
    return {rect.left, rect.top};
}

// The fill's work queue: a ring with one slot kept free to tell full from empty.
class RingQueue {
public:
    RingQueue() : m_slots(kFillQueueCapacity) {}
    bool Full() const { return (m_write + 1) % kFillQueueCapacity == m_read; }
    bool Empty() const { return m_read == m_write; }
    void Put(StrokePoint p) {
        m_slots[m_write] = p;
        m_write = (m_write + 1) % kFillQueueCapacity;
    }
    StrokePoint Take() {
        const StrokePoint p = m_slots[m_read];
        m_read = (m_read + 1) % kFillQueueCapacity;
        return p;
    }

private:
    std::vector<StrokePoint> m_slots;
    int m_write = 0;
    int m_read = 0;
};

}  // namespace

std::optional<StrokePoint> FindFillSeed(const PolygonRegion& region, int strokeType) {
    switch (FillStartFor(strokeType)) {
    case FillStart::Left:
        return LeftStart(region);
    case FillStart::Top:
        return TopStart(region);
    case FillStart::Diagonal:
        return DiagonalStart(region);
    case FillStart::None:
        break;
    }
    return std::nullopt;
}

long FloodFill(const PolygonRegion& region, StrokePoint seed, Colour colour, int delay,
               FillSurface& surface) {
    if (!region.Contains(seed.x, seed.y) || surface.Pixel(seed.x, seed.y) == colour) {
        return 0;
    }
    surface.SetPixel(seed.x, seed.y, colour);
    long pixels = 1;
    RingQueue queue;
    queue.Put(seed);
    int counter = 0;
    while (!queue.Empty()) {
        const StrokePoint p = queue.Take();
        const StrokePoint neighbours[] = {
            {p.x - 1, p.y}, {p.x, p.y - 1}, {p.x + 1, p.y}, {p.x, p.y + 1}};
        for (const StrokePoint& n : neighbours) {
            if (!region.Contains(n.x, n.y) || surface.Pixel(n.x, n.y) == colour) {
                continue;
            }
            surface.SetPixel(n.x, n.y, colour);
            ++pixels;
            if (queue.Full()) {
                return pixels;
            }
            queue.Put(n);
            ++counter;
        }
        if (counter > kPixelsPerPause) {
            surface.Pause(delay / 100);
            counter -= kPixelsPerPause;
        }
    }
    return pixels;
}

}  // namespace quvo
