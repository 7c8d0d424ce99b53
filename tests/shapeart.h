#pragma once

// Small stroke shapes drawn as pixels, and the polygon region that covers exactly those pixels:
// the inputs of the shape classifiers' tests and of the tool that searches shapes for them.

#include <functional>
#include <string>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/polygonregion.h"

namespace quvo::testing {

// A shape as pixels: rows of '#' (stroke) and '.'.
using Art = std::vector<std::string>;

Art Blank(int w, int h);

// Rectangles [left, right) x [top, bottom) painted into one picture.
Art Rects(int w, int h, const std::vector<Rect>& rects);

// One run per row: row y covers [left(y), left(y) + width).
Art Rows(int w, int h, int width, const std::function<int(int)>& left);

// A slanted band: rows [top, bottom), row y covering `width` pixels from
// left + floor((y - top) * num / den). A rectangle has num 0.
struct Band {
    int top, bottom, left, width, num, den;
};

// The bands painted into a w x h picture (pixels outside it are dropped), then cut to the
// painted pixels' box; scaled by nearest neighbour to scaleW x scaleH when those are not 0.
Art Bands(int w, int h, const std::vector<Band>& bands, int scaleW = 0, int scaleH = 0);

// One polygon whose pixels are exactly the art's '#'.
PolygonRegion RegionOf(const Art& art);

}  // namespace quvo::testing
