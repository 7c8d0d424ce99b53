#pragma once

#include "strokes/outlineseg.h"

namespace quvo {

// How a child's presses, moves and releases become picking a piece up, carrying it and putting
// it down. Two ways of carrying are the same game:
// - a click (press and release without moving further than the drag distance) picks a piece
//   up; it follows the pointer without a held button until the next click puts it down;
// - a drag (press on a piece, then a move of more than the drag distance with the button
//   held) carries it while the button is held; the release puts it down.
// A click that puts a piece down does nothing else, and the second click of a double click
// on the piece just picked up is no click at all. The dialog does the picking up and putting
// down; this says when.
class CarryGesture {
public:
    struct Settings {
        int dragDistance = 10;       // pixels, as the platform's
        int doubleClickMs = 400;     // the platform's double-click interval
    };

    enum class Action {
        kNone,
        kPickUp,   // pick up the piece pressed on (the dialog then says PickedUp or not)
        kPutDown,  // put the carried piece down where the pointer is
    };

    explicit CarryGesture(Settings settings) : m_settings(settings) {}

    // The left button went down at `at` (dialog coordinates) on piece `piece` (0 for none) at
    // `timeMs`.
    Action Press(int piece, StrokePoint at, long long timeMs);
    // The pointer moved to `at`, with the left button held or not.
    Action Move(StrokePoint at, bool buttonHeld);
    // The left button came up at `at`.
    Action Release(StrokePoint at, long long timeMs);

    // The dialog picked the piece up after a kPickUp (a refused piece is not said).
    void PickedUp();
    // The carry ended otherwise (another character, the demonstration, a window closing).
    void Reset();

    bool Carrying() const { return m_state != State::kIdle; }
    // The carried piece follows a held button (a drag), not a click.
    bool Dragging() const { return m_state == State::kDragging; }

private:
    enum class State {
        kIdle,
        kPressed,      // a piece was picked up by a press; the button is still down
        kDragging,     // it is carried with the button held
        kCarried,      // it follows the pointer without a button, after a click
        kPuttingDown,  // the button went down to put it down; the release does it
        kSwallowing,   // the second click of a double click; its release does nothing
    };

    bool Near(StrokePoint a, StrokePoint b, int distance) const;

    Settings m_settings;
    State m_state = State::kIdle;
    StrokePoint m_pressAt{0, 0};
    long long m_pickedUpAt = 0;
};

}  // namespace quvo
