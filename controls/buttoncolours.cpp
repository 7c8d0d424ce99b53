#include "controls/buttoncolours.h"

#include <cstdlib>

namespace quvo {
namespace {

Rgb RandomColour() {
    const int red = std::rand() % 256;
    const int green = std::rand() % 256;
    const int blue = std::rand() % 256;
    return Rgb{red, green, blue};
}

}  // namespace

ButtonColours CharacterButtonColours(std::int64_t nowSeconds, int index) {
    std::srand(static_cast<unsigned>(nowSeconds + 100 * (index + 1)));
    ButtonColours colours;
    colours.activeBack = RandomColour();
    for (int i = 0; i < 3; ++i) {
        std::rand();
    }
    colours.activeText = Rgb{0, 250, 0};
    colours.normalBack = RandomColour();
    colours.normalText = RandomColour();
    return colours;
}

}  // namespace quvo
