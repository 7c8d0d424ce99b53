#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "media/mcicodes.h"

namespace quvo {

// One open sound behind a device of MciDeviceTable: the part a back end supplies. It plays
// from where it stands or from a position, stops where it is, and reports when playback
// reaches its end (kNotifySuccessful) or fails (kNotifyFailure). Closing is destroying it.
class MediaSound {
public:
    using EndHandler = std::function<void(std::uint32_t notifyCode)>;

    virtual ~MediaSound() = default;

    // From the current position when `from` is empty, else from `from` milliseconds.
    virtual MciError Play(std::optional<std::uint32_t> from) = 0;
    virtual MciError Stop() = 0;

    void SetEndHandler(EndHandler handler) { m_onEnd = std::move(handler); }

protected:
    void ReportEnd(std::uint32_t notifyCode) {
        if (m_onEnd) {
            m_onEnd(notifyCode);
        }
    }

private:
    EndHandler m_onEnd;
};

}  // namespace quvo
