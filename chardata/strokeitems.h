#pragma once

#include <string_view>

namespace quvo {

// Items of the comma lists of the character store: decimal numbers separated by commas,
// read with atoi's rules (leading digits, 0 when there are none).

// Stroke type of stroke k (from 1): -1 for an empty text or k <= 0; past the last comma the
// last item is taken, even when it is the empty item after a trailing comma.
int StrokeTypeAt(std::string_view text, int k);

// Stroke written k-th: -1 for an empty text, k <= 0 or k above the stroke count; past the
// last item that has text, that item is taken again.
int StrokeOrderAt(std::string_view text, int k, int strokeCount);

}  // namespace quvo
