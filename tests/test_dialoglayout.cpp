#include <gtest/gtest.h>

#include "app/dialoglayout.h"

namespace quvo {
namespace {

TEST(DialogLayout, DialogUnitsRoundAsMulDiv) {
    EXPECT_EQ(DialogUnitsToPixels(50, 14), (Size{75, 21}));
    EXPECT_EQ(DialogUnitsToPixels(13, 14), (Size{20, 21}));  // 19.5 rounds up
    EXPECT_EQ(DialogUnitsToPixels(27, 15), (Size{41, 23}));  // 40.5 and 22.5 round up
    EXPECT_EQ(DialogUnitsToPixels(0, 0), (Size{0, 0}));
}

TEST(DialogLayout, PanelsAt1024x768) {
    const Panels p = ComputePanels(1024, 768);
    EXPECT_EQ(p.pieces, (Rect{0, 192, 266, 768}));
    EXPECT_EQ(p.title, (Rect{810, 0, 1024, 76}));
    EXPECT_EQ(p.bottom, (Rect{0, 576, 810, 768}));
    EXPECT_EQ(p.practice, (Rect{266, 0, 810, 576}));
    EXPECT_EQ(p.sample, (Rect{0, 0, 266, 192}));
    EXPECT_EQ(p.control, (Rect{810, 494, 1024, 768}));
    EXPECT_EQ(p.web, (Rect{810, 76, 1024, 494}));
}

TEST(DialogLayout, ControlPositions) {
    const auto at = LayOutControls(ComputePanels(1024, 768));
    EXPECT_EQ(at.size(), MainDialogTemplate().size());
    EXPECT_EQ(at.at(1023), (Rect{1000, 0, 1020, 21}));
    EXPECT_EQ(at.at(1024), (Rect{980, 0, 1000, 21}));
    EXPECT_EQ(at.at(1043), (Rect{830, 55, 872, 67}));
    EXPECT_EQ(at.at(1044), (Rect{872, 50, 932, 71}));
    EXPECT_EQ(at.at(1045).left, 932);
    EXPECT_EQ(at.at(1004), (Rect{1, 596, 101, 696}));
    EXPECT_EQ(at.at(1005), (Rect{685, 596, 785, 696}));
    EXPECT_EQ(at.at(1046), (Rect{725, 727, 770, 748}));
    // Row 3: three equal buttons that touch without a gap.
    EXPECT_EQ(at.at(1007).right, at.at(1008).left);
    EXPECT_EQ(at.at(1008).right, at.at(1000).left);
    EXPECT_EQ(at.at(1000), (Rect{964, 541, 1039, 562}));
    EXPECT_EQ(at.at(1010).left, 1024 - 75 - 10);
    EXPECT_EQ(at.at(1035), (Rect{835, 582, 985, 605}));
    EXPECT_EQ(at.at(1041), (Rect{820, 629, 892, 644}));
    EXPECT_EQ(at.at(1003), (Rect{811, 659, 883, 674}));
    EXPECT_EQ(at.at(1012), (Rect{917, 659, 965, 674}));
    EXPECT_EQ(at.at(1013), (Rect{917, 719, 989, 734}));
}

}  // namespace
}  // namespace quvo
