#include "media/scriptedsound.h"

namespace quvo {

MciError ScriptedSound::Play(std::optional<std::uint32_t> from) {
    m_playing = true;
    if (from) {
        m_lastFrom = from;
    }
    return 0;
}

MciError ScriptedSound::Stop() {
    m_playing = false;
    return 0;
}

bool ScriptedSound::End(std::uint32_t notifyCode) {
    if (!m_playing) {
        return false;
    }
    m_playing = false;
    ReportEnd(notifyCode);
    return true;
}

}  // namespace quvo
