#pragma once

#include "app/dialoglayout.h"
#include "strokes/polygonregion.h"

namespace quvo {

// Run counters over a stroke region: each walks one line of pixels inside the region's box,
// counts the runs of pixels inside the region and describes one run through `rect`, which is
// left as it was when no run is found.

// Row y from x = box.left + x0. A run starting within 2 pixels of where the previous one
// ended is merged into it. rect: the first counted run, right edge exclusive.
int CountRowRuns(const PolygonRegion& region, int y, int x0, Rect& rect);

// Column x from y = box.top + y0, no merging. rect: the first run, bottom exclusive.
int CountColumnRuns(const PolygonRegion& region, int x, int y0, Rect& rect);

// The slanted line x = (box.top - y) / slope + x0 for y from box.top + y0 down, truncated
// towards zero, skipping rows whose x repeats the previous one (x0 at first). Slope 1 leans
// left as it goes down, -1 leans right. rect: the last run.
int CountLineRuns(const PolygonRegion& region, float slope, int x0, int y0, Rect& rect);

}  // namespace quvo
