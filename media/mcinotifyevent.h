#pragma once

#include <QEvent>

#include <cstdint>

#include "media/mcicodes.h"

namespace quvo {

// The end-of-play notification a media device posts to the window that asked for it with
// MCI_PLAY and MCI_NOTIFY: event type QEvent::User + MM_MCINOTIFY, wParam the notification
// code (1 = playback reached its end), lParam the device id.
class MciNotifyEvent : public QEvent {
public:
    static QEvent::Type EventType();

    MciNotifyEvent(std::uint32_t code, MciDeviceId deviceId);

    std::uint32_t wParam() const { return m_code; }
    MciDeviceId lParam() const { return m_deviceId; }
    std::uint32_t Code() const { return m_code; }
    MciDeviceId DeviceId() const { return m_deviceId; }

private:
    std::uint32_t m_code;
    MciDeviceId m_deviceId;
};

}  // namespace quvo
