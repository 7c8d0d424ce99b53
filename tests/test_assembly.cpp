// The rules of the assembling game: the placed record, the verdict, what the hint and the
// check expect next, the demonstration's ticks and the preview's geometry.
#include <gtest/gtest.h>

#include "game/assembly.h"
#include "game/carrygesture.h"

namespace {

using quvo::DropOutcome;
using quvo::PickUpVerdict;
using quvo::PlacedStrokes;
using Marks = std::vector<std::uint8_t>;

TEST(PlacedStrokes, PiecesGoInAndComeOutByNumber) {
    PlacedStrokes placed;
    EXPECT_EQ(quvo::DropPiece(placed, 3, false), DropOutcome::kNothing);  // outside: not placed
    EXPECT_EQ(quvo::DropPiece(placed, 3, true), DropOutcome::kPlaced);
    EXPECT_EQ(quvo::DropPiece(placed, 12, true), DropOutcome::kPlaced);
    EXPECT_EQ(quvo::DropPiece(placed, 1, true), DropOutcome::kPlaced);
    EXPECT_EQ(placed.Text(), "3,12,1,");
    EXPECT_EQ(placed.Count(), 3);
    EXPECT_EQ(quvo::DropPiece(placed, 12, true), DropOutcome::kNothing);  // moved within the panel
    EXPECT_EQ(placed.Text(), "3,12,1,");
    EXPECT_FALSE(placed.Contains(2));  // "12" holds a 2, but not the item 2
    EXPECT_EQ(quvo::DropPiece(placed, 12, false), DropOutcome::kRemoved);  // taken back
    EXPECT_EQ(placed.Text(), "3,1,");
    EXPECT_EQ(placed.Count(), 2);
    EXPECT_FALSE(placed.Remove(12));
    placed.Clear();
    EXPECT_EQ(placed.Text(), "");
    EXPECT_EQ(placed.Count(), 0);
}

TEST(CheckAssembly, WrongPositionsAndTheirPieces) {
    Marks marks(3, 0);
    EXPECT_EQ(quvo::CheckAssembly("1,2,3", "2,1,3,", marks), "1,2,");
    EXPECT_EQ(marks, (Marks{2, 1, 0}));
    Marks right(3, 0);
    EXPECT_EQ(quvo::CheckAssembly("2,1,3", "2,1,3,", right), "");
    EXPECT_EQ(right, (Marks{0, 0, 0}));
    // A trailing comma in the store changes nothing.
    EXPECT_EQ(quvo::CheckAssembly("2,1,3,", "2,1,3,", right), "");
}

TEST(CheckAssembly, EmptyOrderJudgesEverythingRight) {
    Marks marks(3, 0);
    EXPECT_EQ(quvo::CheckAssembly("", "3,2,1,", marks), "");
    EXPECT_EQ(marks, (Marks{0, 0, 0}));
}

TEST(CheckAssembly, MarksNeverGoPastThePieces) {
    // The store names four strokes, the font gave three: position 4 is wrong, and unmarked.
    Marks marks(3, 0);
    EXPECT_EQ(quvo::CheckAssembly("1,2,3,4", "1,2,3,", marks), "4,");
    EXPECT_EQ(marks, (Marks{0, 0, 0}));
    Marks none;
    EXPECT_EQ(quvo::CheckAssembly("2,1", "1,2,", none), "1,2,");
}

TEST(NextStroke, ExpectedPieceAndHint) {
    EXPECT_EQ(quvo::ExpectedPiece("2,1,3", 0, 3), 2);
    EXPECT_EQ(quvo::ExpectedPiece("2,1,3", 1, 3), 1);
    EXPECT_EQ(quvo::ExpectedPiece("2,1,3", 3, 3), -1);
    EXPECT_EQ(quvo::ExpectedPiece("2,9,3", 1, 3), -1);  // names no piece
    EXPECT_EQ(quvo::ExpectedPiece("", 0, 3), -1);
    EXPECT_EQ(quvo::HintStroke("2,1,3", 0, 3), 2);
    EXPECT_EQ(quvo::HintStroke("2,1,3", 1, 3), 1);
    EXPECT_EQ(quvo::HintStroke("", 0, 3), 1);
    EXPECT_EQ(quvo::HintStroke("2,7,3", 1, 3), -1);
    EXPECT_EQ(quvo::HintStroke("", 0, 0), -1);
}

TEST(NextStroke, PickUpCheck) {
    EXPECT_EQ(quvo::CheckPickUp(true, true, "2,1,3", 0, 3, 1), PickUpVerdict::kWrong);
    EXPECT_EQ(quvo::CheckPickUp(true, true, "2,1,3", 0, 3, 2), PickUpVerdict::kRight);
    EXPECT_EQ(quvo::CheckPickUp(true, true, "2,1,3", 1, 3, 1), PickUpVerdict::kRight);
    EXPECT_EQ(quvo::CheckPickUp(true, false, "2,1,3", 0, 3, 1), PickUpVerdict::kUnchecked);
    EXPECT_EQ(quvo::CheckPickUp(false, true, "2,1,3", 0, 3, 1), PickUpVerdict::kUnchecked);
    EXPECT_EQ(quvo::CheckPickUp(true, true, "", 0, 3, 1), PickUpVerdict::kUnchecked);
    EXPECT_EQ(quvo::CheckPickUp(true, true, "5,1,3", 0, 3, 1), PickUpVerdict::kUnchecked);
}

TEST(Demonstration, ThreeStrokesInOrderThenAllHome) {
    std::vector<int> in;
    int step = 0;
    for (int tick = 1; tick <= 3; ++tick) {
        const quvo::DemoTick t = quvo::NextDemoTick("2,1,3", step, 3);
        EXPECT_FALSE(t.finished);
        in.push_back(t.pieceIn);
        step = t.nextStep;
    }
    EXPECT_EQ(in, (std::vector<int>{2, 1, 3}));
    const quvo::DemoTick last = quvo::NextDemoTick("2,1,3", step, 3);
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(last.pieceIn, -1);
    EXPECT_EQ(last.piecesBack, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(last.nextStep, 0);
}

TEST(Demonstration, NothingToMoveStillEndsAfterNPlusOneTicks) {
    int step = 0;
    int ticks = 0;
    for (bool done = false; !done && ticks < 10; ++ticks) {
        const quvo::DemoTick t = quvo::NextDemoTick("", step, 4);
        EXPECT_EQ(t.pieceIn, -1);
        EXPECT_TRUE(t.piecesBack.empty());
        step = t.nextStep;
        done = t.finished;
    }
    EXPECT_EQ(ticks, 5);
    EXPECT_TRUE(quvo::NextDemoTick("1", 0, 0).finished);  // no outline: the first tick ends it
    // Items naming no piece are skipped, there and back.
    const quvo::DemoTick bad = quvo::NextDemoTick("9,1", 0, 2);
    EXPECT_EQ(bad.pieceIn, -1);
    EXPECT_EQ(quvo::NextDemoTick("9,1", 2, 2).piecesBack, (std::vector<int>{1}));
}

// A slanted bar two and a half times the size of the small one (0..20 x 0..40): the large
// piece's shape in its window, a thin band from top-left to bottom-right.
TEST(Preview, ThePointedAtPointOfTheStrokeStaysUnderThePointer) {
    const quvo::PolygonRegion band({{0, 0}, {8, 0}, {50, 100}, {42, 100}});
    const quvo::Rect small{30, 60, 50, 100}, large{75, 150, 125, 250};
    const quvo::StrokePoint window{100, 300};  // the small piece's top-left in the dialog
    struct Case {
        quvo::StrokePoint local;  // the pointer within the small window
        quvo::StrokePoint under;  // the large shape's pixel that must come under it
    };
    for (const Case& c : {Case{{2, 1}, {5, 3}},        // on the band: scaled
                          Case{{10, 20}, {25, 50}},
                          Case{{19, 39}, {48, 98}},
                          Case{{12, 20}, {29, 51}},    // (30, 50) just right of the band: its edge
                          Case{{0, 39}, {35, 84}}}) {  // (0, 98) far off: the nearest pixel, across the band
        const quvo::StrokePoint pointer{window.x + c.local.x, window.y + c.local.y};
        const quvo::StrokePoint topLeft = quvo::PreviewTopLeft(pointer, window, small, large, band);
        const quvo::StrokePoint under{pointer.x - topLeft.x, pointer.y - topLeft.y};
        EXPECT_TRUE(band.Contains(under.x, under.y)) << c.local.x << "," << c.local.y;
        EXPECT_EQ(under.x, c.under.x) << c.local.x << "," << c.local.y;
        EXPECT_EQ(under.y, c.under.y) << c.local.x << "," << c.local.y;
    }
}

TEST(ResultPage, AddressOfAVerdict) {
    EXPECT_EQ(quvo::ResultPageQuery("\xB8\xDF", "no", "1,2,", 10, {"\xCC\xEC", "", "", "", ""}),
              "shizi.asp?z=\xB8\xDF&f=no&b=1,2,&c=10&s=\xCC\xEC,,,,,");
}

}  // namespace

namespace {

// A child's presses, moves and releases, and what each makes of the carry.
TEST(CarryGesture, ClicksDragsWobblesAndDoubleClicks) {
    using Action = quvo::CarryGesture::Action;
    struct Step {
        char what;  // 'p'ress on piece 1, 'P'ress beside every piece, 'm'ove held, 'f'ree move, 'r'elease
        int x, y;
        long long t;
        Action expected;
        bool carrying;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"a click picks up, the next click puts down",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'r', 10, 10, 50, Action::kNone, true},
          {'f', 300, 200, 600, Action::kNone, true}, {'P', 300, 200, 900, Action::kNone, true},
          {'r', 300, 200, 950, Action::kPutDown, false}}},
        {"a drag puts down at its release",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'m', 16, 15, 20, Action::kNone, true},
          {'m', 200, 100, 40, Action::kNone, true}, {'r', 400, 300, 300, Action::kPutDown, false}}},
        {"a wobble within the drag distance is still a click",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'m', 15, 15, 20, Action::kNone, true},
          {'r', 15, 15, 40, Action::kNone, true}, {'P', 300, 200, 900, Action::kNone, true},
          {'r', 300, 200, 950, Action::kPutDown, false}}},
        {"a double click keeps the piece",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'r', 10, 10, 60, Action::kNone, true},
          {'p', 11, 10, 150, Action::kNone, true}, {'r', 11, 10, 200, Action::kNone, true},
          {'P', 300, 200, 1200, Action::kNone, true}, {'r', 300, 200, 1250, Action::kPutDown, false}}},
        {"a quick click elsewhere puts down",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'r', 10, 10, 60, Action::kNone, true},
          {'p', 90, 40, 150, Action::kNone, true}, {'r', 90, 40, 200, Action::kPutDown, false}}},
        {"the put-down click on another piece picks nothing up",
         {{'p', 10, 10, 0, Action::kPickUp, true}, {'r', 10, 10, 60, Action::kNone, true},
          {'p', 200, 40, 900, Action::kNone, true}, {'r', 200, 40, 950, Action::kPutDown, false},
          {'p', 200, 40, 2000, Action::kPickUp, true}}},
        {"a press beside every piece starts nothing",
         {{'P', 10, 10, 0, Action::kNone, false}, {'r', 10, 10, 60, Action::kNone, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        quvo::CarryGesture gesture({10, 400});
        int i = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(i++);
            Action got = Action::kNone;
            switch (s.what) {
            case 'p': got = gesture.Press(1, {s.x, s.y}, s.t); break;
            case 'P': got = gesture.Press(0, {s.x, s.y}, s.t); break;
            case 'm': got = gesture.Move({s.x, s.y}, true); break;
            case 'f': got = gesture.Move({s.x, s.y}, false); break;
            default: got = gesture.Release({s.x, s.y}, s.t); break;
            }
            if (got == Action::kPickUp) {
                gesture.PickedUp();
            }
            EXPECT_EQ(got, s.expected);
            EXPECT_EQ(gesture.Carrying(), s.carrying);
        }
    }
}

TEST(CarryGesture, ARefusedPieceIsNoCarryAndAResetEndsOne) {
    quvo::CarryGesture gesture({10, 400});
    EXPECT_EQ(gesture.Press(2, {5, 5}, 0), quvo::CarryGesture::Action::kPickUp);  // refused: not said
    EXPECT_FALSE(gesture.Carrying());
    EXPECT_EQ(gesture.Release({5, 5}, 30), quvo::CarryGesture::Action::kNone);
    EXPECT_EQ(gesture.Press(2, {5, 5}, 1000), quvo::CarryGesture::Action::kPickUp);
    gesture.PickedUp();
    EXPECT_EQ(gesture.Move({50, 5}, true), quvo::CarryGesture::Action::kNone);
    EXPECT_TRUE(gesture.Dragging());
    gesture.Reset();
    EXPECT_FALSE(gesture.Carrying());
    EXPECT_EQ(gesture.Release({50, 5}, 1100), quvo::CarryGesture::Action::kNone);
}

}  // namespace
