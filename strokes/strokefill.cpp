#include "strokes/strokefill.h"

#include <algorithm>
#include <cstdint>
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

std::vector<StrokePoint> FillOrder(const PolygonRegion& region, StrokePoint seed, Colour colour,
                                   const FillSurface& surface) {
    std::vector<StrokePoint> order;
    if (!region.Contains(seed.x, seed.y) || surface.Pixel(seed.x, seed.y) == colour) {
        return order;
    }
    // What the fill has set so far, one byte per pixel of the region's box.
    const Rect& box = region.Box();
    std::vector<std::uint8_t> set(static_cast<std::size_t>(box.Width()) * box.Height());
    auto mark = [&](StrokePoint p) {
        set[static_cast<std::size_t>(p.y - box.top) * box.Width() + (p.x - box.left)] = 1;
        order.push_back(p);
    };
    auto open = [&](StrokePoint p) {
        return region.Contains(p.x, p.y) &&
               !set[static_cast<std::size_t>(p.y - box.top) * box.Width() + (p.x - box.left)] &&
               surface.Pixel(p.x, p.y) != colour;
    };
    mark(seed);
    RingQueue queue;
    queue.Put(seed);
    while (!queue.Empty()) {
        const StrokePoint p = queue.Take();
        const StrokePoint neighbours[] = {
            {p.x - 1, p.y}, {p.x, p.y - 1}, {p.x + 1, p.y}, {p.x, p.y + 1}};
        for (const StrokePoint& n : neighbours) {
            if (!open(n)) {
                continue;
            }
            mark(n);
            if (queue.Full()) {
                return order;
            }
            queue.Put(n);
        }
    }
    return order;
}

long FloodFill(const PolygonRegion& region, StrokePoint seed, Colour colour, int delay,
               FillSurface& surface) {
    const std::vector<StrokePoint> order = FillOrder(region, seed, colour, surface);
    long pixels = 0;
    for (const StrokePoint& p : order) {
        surface.SetPixel(p.x, p.y, colour);
        if (++pixels % kPixelsPerPause == 0 && pixels < static_cast<long>(order.size())) {
            surface.Pause(delay / 100);
        }
    }
    return pixels;
}

long FillDurationMs(long total, int delay) {
    const long paced = (total / kPixelsPerPause) * (delay / 100);
    const long shortest = static_cast<long>(kShortestFillMs) * delay / 1000;
    return total <= 0 ? 0 : std::max(paced, shortest);
}

long PixelsDue(long total, int delay, long elapsedMs) {
    const long duration = FillDurationMs(total, delay);
    if (duration <= 0 || elapsedMs >= duration) {
        return std::max(total, 0L);
    }
    if (elapsedMs <= 0) {
        return 0;
    }
    return static_cast<long>(static_cast<double>(total) * elapsedMs / duration);
}

}  // namespace quvo
