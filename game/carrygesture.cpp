#include "game/carrygesture.h"

#include <cstdlib>

namespace quvo {

bool CarryGesture::Near(StrokePoint a, StrokePoint b, int distance) const {
    // The platform's drag distance is a Manhattan length.
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) <= distance;
}

CarryGesture::Action CarryGesture::Press(int piece, StrokePoint at, long long timeMs) {
    switch (m_state) {
    case State::kIdle:
        if (piece <= 0) {
            return Action::kNone;
        }
        m_pressAt = at;
        m_pickedUpAt = timeMs;
        return Action::kPickUp;
    case State::kCarried:
        if (timeMs - m_pickedUpAt <= m_settings.doubleClickMs && Near(at, m_pressAt, m_settings.dragDistance)) {
            m_state = State::kSwallowing;  // a double click on the piece just picked up
            return Action::kNone;
        }
        m_state = State::kPuttingDown;
        return Action::kNone;
    case State::kPressed:
    case State::kDragging:
    case State::kPuttingDown:
    case State::kSwallowing:
        break;  // a second button's press, or a lost release: nothing new starts
    }
    return Action::kNone;
}

void CarryGesture::PickedUp() {
    m_state = State::kPressed;
}

CarryGesture::Action CarryGesture::Move(StrokePoint at, bool buttonHeld) {
    if (m_state == State::kPressed && buttonHeld && !Near(at, m_pressAt, m_settings.dragDistance)) {
        m_state = State::kDragging;
    }
    return Action::kNone;
}

CarryGesture::Action CarryGesture::Release(StrokePoint, long long timeMs) {
    switch (m_state) {
    case State::kPressed:
        m_state = State::kCarried;  // a click: the piece goes on following the pointer
        m_pickedUpAt = timeMs;
        return Action::kNone;
    case State::kDragging:
    case State::kPuttingDown:
        Reset();
        return Action::kPutDown;
    case State::kSwallowing:
        m_state = State::kCarried;
        return Action::kNone;
    case State::kIdle:
    case State::kCarried:
        break;
    }
    return Action::kNone;
}

void CarryGesture::Reset() {
    m_state = State::kIdle;
}

}  // namespace quvo
