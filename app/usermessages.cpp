#include "app/usermessages.h"

#include <QCoreApplication>

namespace quvo {

QEvent::Type UserEventType(int message) { return static_cast<QEvent::Type>(QEvent::User + message); }

UserMessageEvent::UserMessageEvent(int message, std::intptr_t wParam)
    : QEvent(UserEventType(message)), m_message(message), m_wParam(wParam) {}

std::intptr_t SendUserMessage(QObject* receiver, UserMessageEvent& event) {
    QCoreApplication::sendEvent(receiver, &event);
    return event.result;
}

void PostUserMessage(QObject* receiver, UserMessageEvent* event) {
    QCoreApplication::postEvent(receiver, event);
}

}  // namespace quvo
