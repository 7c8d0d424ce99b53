#pragma once

#include <optional>
#include <vector>

#include "strokes/polygonregion.h"
#include "strokes/strokegeometry.h"

namespace quvo {

// The "writing" of a stroke: its region flooded pixel by pixel from the end where the stroke
// starts, with a pause every 100 pixels.

constexpr int kDefaultFillDelay = 1000;
constexpr int kFillQueueCapacity = 40000;
constexpr int kPixelsPerPause = 100;

// A delay outside 0..4999 ms becomes 1000.
int NormaliseFillDelay(int delay);

// Where the fill starts, by stroke type: the top of the leftmost column, the left end of the
// topmost row, or the first run of the first left-leaning diagonal that meets the stroke.
enum class FillStart { Left, Top, Diagonal, None };
FillStart FillStartFor(int strokeType);

// The seed for a stroke type in the region (piece coordinates); nullopt for a type that is
// not filled (negative, 31 or more).
std::optional<StrokePoint> FindFillSeed(const PolygonRegion& region, int strokeType);

// The pixels the fill reads and writes, and its pause.
class FillSurface {
public:
    virtual ~FillSurface() = default;
    virtual Colour Pixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, Colour colour) = 0;
    virtual void Pause(int milliseconds) = 0;
};

// The pixels the fill sets, in the order it sets them: breadth-first, 4-connected, from the
// seed through a ring queue of 40,000 points (when the ring is full the fill ends there),
// skipping pixels that already show `colour`. Empty when the seed is outside the region or
// shows the colour already.
std::vector<StrokePoint> FillOrder(const PolygonRegion& region, StrokePoint seed, Colour colour,
                                   const FillSurface& surface);

// Breadth-first flood of the region from the seed in the order of FillOrder, written at once
// with a pause of delay / 100 ms after every 100 pixels. Returns the number of pixels set.
long FloodFill(const PolygonRegion& region, StrokePoint seed, Colour colour, int delay,
               FillSurface& surface);

// The pace of a fill that runs as an animation, at `delay` (0..4999, see NormaliseFillDelay):
// 100 pixels every delay / 100 ms, as FloodFill's pauses pace it, but a short stroke still
// takes kShortestFillMs * delay / 1000 ms, so that a child sees it being written.
constexpr int kShortestFillMs = 300;
// How many of a fill's `total` pixels are written `elapsedMs` after it started.
long PixelsDue(long total, int delay, long elapsedMs);
// How long the whole fill of `total` pixels takes.
long FillDurationMs(long total, int delay);

}  // namespace quvo
