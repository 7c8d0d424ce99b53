#pragma once

#include <cstdint>

#include "strokes/colourcontrast.h"

namespace quvo {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct ButtonColours {
    Rgb activeBack;
    Rgb activeText;
    Rgb normalBack;
    Rgb normalText;
};

// The colours of character button `index` (from 0): the C library's generator is seeded with
// the time in seconds plus 100 (index + 1); a random colour takes three draws modulo 256 as
// red, green and blue. Active background, three draws thrown away, normal background and
// normal text are random; the active text is always green (0, 250, 0). A normal text colour
// that would not stand out from the picture under the caption is drawn again.
ButtonColours CharacterButtonColours(std::int64_t nowSeconds, int index,
                                     const Backdrop& underCaption = Backdrop({}));

}  // namespace quvo
