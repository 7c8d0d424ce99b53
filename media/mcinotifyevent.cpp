#include "media/mcinotifyevent.h"

namespace quvo {

QEvent::Type MciNotifyEvent::EventType() {
    return static_cast<QEvent::Type>(QEvent::User + mci::kNotifyMessage);
}

MciNotifyEvent::MciNotifyEvent(std::uint32_t code, MciDeviceId deviceId)
    : QEvent(EventType()), m_code(code), m_deviceId(deviceId) {}

}  // namespace quvo
