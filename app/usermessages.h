#pragma once

#include <QByteArray>
#include <QEvent>
#include <QPoint>
#include <QRect>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;

namespace quvo {

// The numbered messages that pieces, buttons and the update worker send the main dialog.
// Each is a custom event type QEvent::User + n, n being the message's number above WM_USER.
enum UserMessage : int {
    kPieceClicked = 1,     // a piece was released: pick it up or put it down
    kPiecePressed = 2,     // the left button went down on a piece
    kInitialised = 5,      // posted by the dialog to itself at the end of initialisation
    kPieceMoving = 6,      // a carried piece proposes its next rectangle
    kPieceHovered = 11,    // the pointer rests on a piece
    kCharacterButton = 15, // a character button was clicked
    kUpdateOffer = 18,     // the update worker found a newer version
    kDownloadProgress = 19 // download progress text (sent, not handled)
};

QEvent::Type UserEventType(int message);

class UserMessageEvent : public QEvent {
public:
    explicit UserMessageEvent(int message, std::intptr_t wParam = 0);
    ~UserMessageEvent() override;

    int Message() const { return m_message; }
    std::intptr_t wParam() const { return m_wParam; }

    // What the message carries besides wParam: a point (+1, +11; for +19 the kilobytes
    // transferred and in all), a rectangle (+6), text (+15, +18, +19). Carried by value, so a posted message never points at freed memory.
    QPoint point;
    QRect rect;
    QByteArray text;
    // The input event's time stamp in milliseconds (+1, +2).
    unsigned long long time = 0;

    // What the receiver returns to a sender (SendMessage's result).
    std::intptr_t result = 0;

    // Called with the result when the event is done with (handled or dropped).
    std::function<void(std::intptr_t)> onDone;

private:
    int m_message;
    std::intptr_t m_wParam;
};

// Delivered at once, on the calling thread; returns the receiver's result.
std::intptr_t SendUserMessage(QObject* receiver, UserMessageEvent& event);

// From another thread: delivered on the receiver's thread while the caller waits until it has
// been handled (or dropped with its receiver), or until `abandon` is set. Returns the
// receiver's result, 0 when abandoned.
std::intptr_t SendUserMessageAcrossThreads(QObject* receiver, std::unique_ptr<UserMessageEvent> event,
                                           const std::atomic<bool>& abandon);

// Queued; the receiver takes ownership of the event.
void PostUserMessage(QObject* receiver, UserMessageEvent* event);

}  // namespace quvo
