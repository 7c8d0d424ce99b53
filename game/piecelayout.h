#pragma once

#include <ctime>
#include <functional>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/colourcontrast.h"
#include "strokes/strokegeometry.h"

namespace quvo {

// Home rectangles of the pieces in the pieces panel, in rows from 20 pixels below its top:
// each piece sits gapX right of the one before; a piece that would pass the panel's right
// edge starts a new row gapY below the tallest piece of the row before.
std::vector<Rect> LayOutPieces(const Rect& panel, int gapX, int gapY,
                               const std::vector<Size>& pieceSizes);

// The part of the pieces panel the pieces may use: the panel reaches down beside the bottom
// panel, whose buttons would cover any piece there.
Rect PieceTray(const Panels& panels);

// True when every home lies wholly inside the tray and no two overlap.
bool TrayHolds(const std::vector<Rect>& homes, const Rect& tray);

// The small outline's height at which a character's pieces, laid out from the tray's top-left,
// all lie whole in the tray: the usual 180 or, for characters with many or wide strokes, less
// in steps of 10, down to kSmallestPieceHeight at worst. sizesAt(height) gives the pieces'
// sizes with the small outline at that height; the height returned is the last one asked for.
constexpr int kSmallPieceHeight = 180;
constexpr int kSmallestPieceHeight = 60;
int FitSmallHeight(const std::function<std::vector<Size>(int height)>& sizesAt, const Rect& tray,
                   int gapX, int gapY);

// The colour of piece i (from 0): the C library generator seeded with the time in seconds
// plus 100 + 100 * i, then red, green and blue drawn in that order. Loading a character twice
// within one second gives the same colours.
Colour PieceColour(std::time_t now, int i);
// The same, with the colours that would not stand out from the picture under the piece drawn
// again from the same generator.
Colour PieceColour(std::time_t now, int i, const Backdrop& under);

}  // namespace quvo
