#pragma once

#include <ctime>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/strokegeometry.h"

namespace quvo {

// Home rectangles of the pieces in the pieces panel, in rows from 20 pixels below its top:
// each piece sits gapX right of the one before; a piece that would pass the panel's right
// edge starts a new row gapY below the tallest piece of the row before.
std::vector<Rect> LayOutPieces(const Rect& panel, int gapX, int gapY,
                               const std::vector<Size>& pieceSizes);

// The colour of piece i (from 0): the C library generator seeded with the time in seconds
// plus 100 + 100 * i, then red, green and blue drawn in that order. Loading a character twice
// within one second gives the same colours.
Colour PieceColour(std::time_t now, int i);

}  // namespace quvo
