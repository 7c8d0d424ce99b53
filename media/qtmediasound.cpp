#include "media/qtmediasound.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QFile>
#include <QUrl>

#include <mutex>

namespace quvo {

// The GUI side of a sound, for as long as it is there to hear from the media thread.
struct SoundLink {
    std::mutex mutex;
    QtMediaSound* owner = nullptr;
};

// The media thread's side of a sound: the file's bytes, the player reading them and its
// output. Made, used and deleted on the media thread.
class SoundPlayer : public QObject {
public:
    SoundPlayer(const QString& path, std::shared_ptr<SoundLink> link);
    ~SoundPlayer() override;

    void Play(std::optional<std::uint32_t> from);
    void Stop();

private:
    void SeekTo(std::uint32_t from);
    void OnStatusChanged(QMediaPlayer::MediaStatus status);
    // Runs `report` on the GUI side, on its thread, unless the GUI side has gone.
    void Tell(std::function<void(QtMediaSound&)> report);

    std::shared_ptr<SoundLink> m_link;
    QBuffer m_bytes;  // before the output and the player: the player reads it until it goes
    QAudioOutput m_output;
    QMediaPlayer m_player;
    std::optional<std::uint32_t> m_pendingFrom;  // a position asked for before it could be set
};

namespace {

// The player takes a position only once the media is buffered; earlier ones are dropped.
bool CanSeek(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::BufferedMedia || status == QMediaPlayer::BufferingMedia;
}

bool Wanted(SoundLink& link) {
    const std::lock_guard lock(link.mutex);
    return link.owner != nullptr;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

MediaThread::MediaThread() : m_context(new QObject) {
    m_thread.setObjectName(QStringLiteral("quvo media"));
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

MediaThread::~MediaThread() {
    Post([this] { m_thread.quit(); });
    m_thread.wait();
    delete m_context;
}

void MediaThread::Post(std::function<void()> command) {
    QMetaObject::invokeMethod(m_context, std::move(command), Qt::QueuedConnection);
}

void MediaThread::WaitUntilDone() {
    if (QThread::currentThread() != &m_thread) {
        QMetaObject::invokeMethod(m_context, [] {}, Qt::BlockingQueuedConnection);
    }
}

SoundPlayer::SoundPlayer(const QString& path, std::shared_ptr<SoundLink> link) : m_link(std::move(link)) {
    m_bytes.setData(FileBytes(path));
    m_bytes.open(QIODevice::ReadOnly);
    m_player.setAudioOutput(&m_output);
    connect(&m_player, &QMediaPlayer::mediaStatusChanged, this, &SoundPlayer::OnStatusChanged);
    connect(&m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError) {
            Tell([](QtMediaSound& sound) { sound.OnFailure(); });
        }
    });
    m_player.setSourceDevice(&m_bytes, QUrl::fromLocalFile(path));
}

// The player lets go of its source before it goes: destroyed with a buffer still set, Qt 6.4's
// GStreamer player now and then had its pipeline read from the buffer, or report to the
// player, after they were gone.
SoundPlayer::~SoundPlayer() {
    m_player.disconnect(this);
    m_player.stop();
    m_player.setSourceDevice(nullptr);
}

// A sound that has played to its end stays there, as an MCI device does: playing it from
// where it stands ends again at once.
void SoundPlayer::Play(std::optional<std::uint32_t> from) {
    const QMediaPlayer::MediaStatus status = m_player.mediaStatus();
    if (status == QMediaPlayer::InvalidMedia) {
        return;  // the GUI side has heard of it, or is about to
    }
    if (!from && status == QMediaPlayer::EndOfMedia) {
        Tell([](QtMediaSound& sound) { sound.OnEnded(); });
        return;
    }
    if (from) {
        SeekTo(*from);
    }
    m_player.play();
}

// MCI's stop keeps the position, so the player pauses.
void SoundPlayer::Stop() {
    if (m_player.playbackState() == QMediaPlayer::PlayingState) {
        m_player.pause();
    }
}

void SoundPlayer::SeekTo(std::uint32_t from) {
    if (CanSeek(m_player.mediaStatus())) {
        m_player.setPosition(from);
    } else {
        m_pendingFrom = from;
    }
}

void SoundPlayer::OnStatusChanged(QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::BufferedMedia && m_pendingFrom) {
        m_player.setPosition(*m_pendingFrom);
        m_pendingFrom.reset();
    }
    Tell([status](QtMediaSound& sound) { sound.OnStatus(status); });
}

// Under the link's lock, so that the GUI side cannot go between the look and the posting; a
// report posted to it before it goes is dropped with it.
void SoundPlayer::Tell(std::function<void(QtMediaSound&)> report) {
    const std::lock_guard lock(m_link->mutex);
    if (QtMediaSound* owner = m_link->owner) {
        QMetaObject::invokeMethod(owner, [owner, report] { report(*owner); }, Qt::QueuedConnection);
    }
}

QtMediaSound::QtMediaSound(const QString& path, std::shared_ptr<MediaThread> thread)
    : m_thread(std::move(thread)), m_link(std::make_shared<SoundLink>()),
      m_player(std::make_shared<SoundPlayer*>(nullptr)) {
    m_link->owner = this;
    m_thread->Post([player = m_player, path, link = m_link] {
        if (Wanted(*link)) {  // a sound closed before the thread came to it is not loaded
            *player = new SoundPlayer(path, link);
        }
    });
}

QtMediaSound::~QtMediaSound() {
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->owner = nullptr;
    }
    m_thread->Post([player = m_player] {
        delete *player;
        *player = nullptr;
    });
}

void QtMediaSound::Command(std::function<void(SoundPlayer&)> command) {
    m_thread->Post([player = m_player, command] {
        if (*player != nullptr) {
            command(**player);
        }
    });
}

MciError QtMediaSound::Play(std::optional<std::uint32_t> from) {
    if (m_status == QMediaPlayer::InvalidMedia) {
        return mci::kErrInvalidFile;
    }
    Command([from](SoundPlayer& player) { player.Play(from); });
    return 0;
}

MciError QtMediaSound::Stop() {
    Command([](SoundPlayer& player) { player.Stop(); });
    return 0;
}

void QtMediaSound::OnStatus(QMediaPlayer::MediaStatus status) {
    m_status = status;
    if (status == QMediaPlayer::EndOfMedia) {
        ReportEnd(mci::kNotifySuccessful);
    } else if (status == QMediaPlayer::InvalidMedia) {
        ReportEnd(mci::kNotifyFailure);
    }
}

// A player that fails can play nothing more.
void QtMediaSound::OnFailure() {
    m_status = QMediaPlayer::InvalidMedia;
    ReportEnd(mci::kNotifyFailure);
}

void QtMediaSound::OnEnded() { ReportEnd(mci::kNotifySuccessful); }

}  // namespace quvo
