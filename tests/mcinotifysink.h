#pragma once

#include <QObject>

#include <cstdint>
#include <vector>

#include "media/mcinotifyevent.h"

namespace quvo::test {

// Stands in for a player's owner window: keeps every end-of-play notification it receives.
class MciNotifySink : public QObject {
public:
    struct Notice {
        std::uint32_t code;
        MciDeviceId deviceId;
    };

    std::vector<Notice> notices;
    int otherEvents = 0;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() != MciNotifyEvent::EventType()) {
            ++otherEvents;
            return;
        }
        const auto* notice = static_cast<const MciNotifyEvent*>(event);
        notices.push_back({notice->wParam(), notice->lParam()});
    }
};

}  // namespace quvo::test
