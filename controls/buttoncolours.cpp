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

ButtonColours CharacterButtonColours(std::int64_t nowSeconds, int index, const Backdrop& underCaption) {
    std::srand(static_cast<unsigned>(nowSeconds + 100 * (index + 1)));
    ButtonColours colours;
    colours.activeBack = RandomColour();
    for (int i = 0; i < 3; ++i) {
        std::rand();
    }
    colours.activeText = Rgb{0, 250, 0};
    colours.normalBack = RandomColour();
    const Colour text = underCaption.StandingOut([] {
        const Rgb c = RandomColour();
        return MakeColour(c.red, c.green, c.blue);
    });
    colours.normalText = Rgb{RedOf(text), GreenOf(text), BlueOf(text)};
    return colours;
}

}  // namespace quvo
