#include "app/usermessages.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quvo {

QEvent::Type UserEventType(int message) { return static_cast<QEvent::Type>(QEvent::User + message); }

UserMessageEvent::UserMessageEvent(int message, std::intptr_t wParam)
    : QEvent(UserEventType(message)), m_message(message), m_wParam(wParam) {}

UserMessageEvent::~UserMessageEvent() {
    if (onDone) {
        onDone(result);
    }
}

std::intptr_t SendUserMessageAcrossThreads(QObject* receiver, std::unique_ptr<UserMessageEvent> event,
                                           const std::atomic<bool>& abandon) {
    // Shared with the event, which may outlive an abandoned wait.
    struct Reply {
        std::mutex mutex;
        std::condition_variable done;
        bool handled = false;
        std::intptr_t result = 0;
    };
    auto reply = std::make_shared<Reply>();
    event->onDone = [reply](std::intptr_t result) {
        {
            std::lock_guard lock(reply->mutex);
            reply->handled = true;
            reply->result = result;
        }
        reply->done.notify_all();
    };
    QCoreApplication::postEvent(receiver, event.release());
    std::unique_lock lock(reply->mutex);
    while (!reply->handled && !abandon.load()) {
        reply->done.wait_for(lock, std::chrono::milliseconds(50));
    }
    return reply->handled ? reply->result : 0;
}

std::intptr_t SendUserMessage(QObject* receiver, UserMessageEvent& event) {
    QCoreApplication::sendEvent(receiver, &event);
    return event.result;
}

void PostUserMessage(QObject* receiver, UserMessageEvent* event) {
    QCoreApplication::postEvent(receiver, event);
}

}  // namespace quvo
