// The dialog's two players: the background music, which starts again each time it ends,
// and the cues of the stroke-by-stroke check.
#include "app/quvodlg.h"
#include "media/mcinotifyevent.h"

namespace {
constexpr std::uint32_t kMusicAlias = 1;
constexpr std::uint32_t kCueAlias = 4;
}  // namespace

void CQuvoDlg::StartBackgroundMusic() {
    if (m_backgroundMusicOn) {
        StartMusicPlayer();
    }
}

// The start sequence of a sound, with the end reported back to the dialog.
void CQuvoDlg::StartMusicPlayer() {
    if (m_musicPlayer.IsOpen()) {
        m_musicPlayer.Stop();
        m_musicPlayer.Close();
    }
    m_musicPlayer.Init(kMusicAlias, this);
    m_musicPlayer.Open(m_musicPath);
    m_musicPlayer.PlayNotify(this);
    m_musicPlayer.Play(-1);
}

void CQuvoDlg::StopBackgroundMusic() {
    m_musicPlayer.Stop();
    m_musicPlayer.Close();
}

// Music that reached its end starts again from the beginning. False: the event goes on.
bool CQuvoDlg::RestartMusicOnNotify(QEvent* event) {
    if (event->type() != quvo::MciNotifyEvent::EventType()) {
        return false;
    }
    const auto* notify = static_cast<quvo::MciNotifyEvent*>(event);
    if (notify->Code() == quvo::mci::kNotifySuccessful && notify->DeviceId() != 0 &&
        notify->DeviceId() == m_musicPlayer.DeviceId()) {
        StartMusicPlayer();
    }
    return false;
}

// A cue interrupts the one before; nothing is asked of its end.
void CQuvoDlg::PlayCue(const std::string& path) {
    if (m_cuePlayer.IsOpen()) {
        m_cuePlayer.Stop();
        m_cuePlayer.Close();
    }
    m_cuePlayer.Init(kCueAlias, this);
    m_cuePlayer.Open(path);
    m_cuePlayer.Play(-1);
}
