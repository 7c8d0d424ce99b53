#pragma once

#include <optional>

#include "media/mediasound.h"

namespace quvo {

// A sound that plays nothing: it remembers whether it is playing and from where it was last
// told to play, and ends when a test says so.
class ScriptedSound : public MediaSound {
public:
    MciError Play(std::optional<std::uint32_t> from) override;
    MciError Stop() override;

    // Playback reaches its end (kNotifySuccessful) or fails (kNotifyFailure). False, and
    // nothing reported, when the sound is not playing.
    bool End(std::uint32_t notifyCode);

    bool IsPlaying() const { return m_playing; }
    std::optional<std::uint32_t> LastFrom() const { return m_lastFrom; }

private:
    bool m_playing = false;
    std::optional<std::uint32_t> m_lastFrom;
};

}  // namespace quvo
