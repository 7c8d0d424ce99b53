#include "media/qtmediasound.h"

#include <QUrl>

namespace quvo {

namespace {

// The player takes a position only once the media is buffered; earlier ones are dropped.
bool CanSeek(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::BufferedMedia || status == QMediaPlayer::BufferingMedia;
}

}  // namespace

QtMediaSound::QtMediaSound(const QString& path) {
    m_player.setAudioOutput(&m_output);
    connect(&m_player, &QMediaPlayer::mediaStatusChanged, this, &QtMediaSound::OnStatusChanged);
    connect(&m_player, &QMediaPlayer::errorOccurred, this, &QtMediaSound::OnError);
    m_player.setSource(QUrl::fromLocalFile(path));
}

QtMediaSound::~QtMediaSound() {
    m_player.disconnect(this);
}

// A sound that has played to its end stays there, as an MCI device does: playing it from
// where it stands ends again at once.
MciError QtMediaSound::Play(std::optional<std::uint32_t> from) {
    const QMediaPlayer::MediaStatus status = m_player.mediaStatus();
    if (status == QMediaPlayer::InvalidMedia) {
        return mci::kErrInvalidFile;
    }
    if (!from && status == QMediaPlayer::EndOfMedia) {
        ReportEndLater(mci::kNotifySuccessful);
        return 0;
    }
    if (from) {
        SeekTo(*from);
    }
    m_player.play();
    return 0;
}

// MCI's stop keeps the position, so the player pauses.
MciError QtMediaSound::Stop() {
    if (m_player.playbackState() == QMediaPlayer::PlayingState) {
        m_player.pause();
    }
    return 0;
}

void QtMediaSound::SeekTo(std::uint32_t from) {
    if (CanSeek(m_player.mediaStatus())) {
        m_player.setPosition(from);
    } else {
        m_pendingFrom = from;
    }
}

void QtMediaSound::OnStatusChanged(QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::BufferedMedia && m_pendingFrom) {
        m_player.setPosition(*m_pendingFrom);
        m_pendingFrom.reset();
    } else if (status == QMediaPlayer::EndOfMedia) {
        ReportEnd(mci::kNotifySuccessful);
    } else if (status == QMediaPlayer::InvalidMedia) {
        ReportEnd(mci::kNotifyFailure);
    }
}

void QtMediaSound::OnError(QMediaPlayer::Error error) {
    if (error != QMediaPlayer::NoError) {
        ReportEnd(mci::kNotifyFailure);
    }
}

// Queued, so the end comes after the command that caused it has returned; dropped if the
// sound is closed before.
void QtMediaSound::ReportEndLater(std::uint32_t notifyCode) {
    QMetaObject::invokeMethod(
        this, [this, notifyCode] { ReportEnd(notifyCode); }, Qt::QueuedConnection);
}

}  // namespace quvo
