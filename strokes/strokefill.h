#pragma once

#include <optional>

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

// Breadth-first, 4-connected flood of the region from the seed, through a ring queue of
// 40,000 points; when the ring is full the fill ends there. After every 100 pixels it pauses
// delay / 100 ms. Returns the number of pixels set.
long FloodFill(const PolygonRegion& region, StrokePoint seed, Colour colour, int delay,
               FillSurface& surface);

}  // namespace quvo
