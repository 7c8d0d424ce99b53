#pragma once

#include <cstddef>
#include <cstdint>

#include "strokes/outlineseg.h"

namespace quvo {

// Walks a native outline stream into a stroke list: one head entry per contour, filled from
// headCursor on, its segments linked behind segCursor; after each contour a new empty head
// entry becomes both cursors. Points are cell coordinates: the integer part of each
// fixed-point value, y moved down by the font's ascent, plus the origin offset. Quadratic
// B-splines become cubic Bezier runs; records of unknown type make no segment. A stream that
// is cut short ends the walk at the last whole record. Returns the number of contours.
int WalkGlyphOutline(const std::uint8_t* buffer, std::size_t size, int ascent, StrokePoint origin,
                     OutlineSeg*& segCursor, OutlineSeg*& headCursor);

}  // namespace quvo
