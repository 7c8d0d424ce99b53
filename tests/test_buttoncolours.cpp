#include <gtest/gtest.h>

#include "controls/buttoncolours.h"

namespace quvo {
namespace {

TEST(ButtonColours, SeededByTimeAndSlot) {
    const ButtonColours a = CharacterButtonColours(1'700'000'000, 0);
    const ButtonColours again = CharacterButtonColours(1'700'000'000, 0);
    EXPECT_EQ(a.normalBack, again.normalBack);
    EXPECT_EQ(a.activeBack, again.activeBack);
    // The seed is time + 100 (slot + 1): slot 1 now equals slot 0 a hundred seconds later.
    const ButtonColours b = CharacterButtonColours(1'700'000'000, 1);
    const ButtonColours later = CharacterButtonColours(1'700'000'100, 0);
    EXPECT_EQ(b.normalBack, later.normalBack);
    EXPECT_EQ(b.normalText, later.normalText);
    EXPECT_FALSE(a.normalBack == b.normalBack && a.normalText == b.normalText);
    EXPECT_EQ(a.activeText, (Rgb{0, 250, 0}));
    for (const Rgb& c : {a.activeBack, a.normalBack, a.normalText}) {
        EXPECT_GE(c.red, 0);
        EXPECT_LT(c.red, 256);
        EXPECT_LT(c.blue, 256);
    }
}

}  // namespace
}  // namespace quvo
