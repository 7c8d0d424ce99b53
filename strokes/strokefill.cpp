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

// The start of the run found by the first probe i (0, 1, ... below `count`) that finds one:
// the top of a column, the left of a row, or the start of a slanted line's last run.
template <typename Probe>
StrokePoint FirstRunStart(int count, Probe probe) {
    Rect rect;
    for (int i = 0; i < count; ++i) {
        if (probe(i, rect) > 0) {
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
        return FirstRunStart(region.Box().Width(), [&](int x, Rect& r) {
            return CountColumnRuns(region, x, 0, r);
        });
    case FillStart::Top:
        return FirstRunStart(region.Box().Height(), [&](int y, Rect& r) {
            return CountRowRuns(region, y, 0, r);
        });
    case FillStart::Diagonal:
        return FirstRunStart(region.Box().Width(), [&](int j, Rect& r) {
            return CountLineRuns(region, 1.0f, j, 0, r);
        });
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
