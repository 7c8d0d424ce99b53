#pragma once

#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>

#include "media/mediasound.h"

namespace quvo {

class SoundPlayer;
struct SoundLink;

// The thread every sound plays on, with an object of its own that commands are posted to, so
// that they run in the order they were posted. It ends when its last owner lets it go, after
// every command posted before.
class MediaThread {
public:
    MediaThread();
    ~MediaThread();
    MediaThread(const MediaThread&) = delete;
    MediaThread& operator=(const MediaThread&) = delete;

    void Post(std::function<void()> command);
    // Returns once every command posted before has run.
    void WaitUntilDone();

private:
    QThread m_thread;
    QObject* m_context;
};

// One sound file played by Qt Multimedia. The player lives on the media thread, never on the
// GUI thread, and reads the file's bytes from memory there:
// - Qt 6.4's GStreamer player, given a file name, starts reading the file on a thread of
//   GStreamer's while it is still setting the source up, and once in a thousand times or so
//   the two lock each other out for good: whatever thread set the source up hangs. Given the
//   bytes instead, the player reads them only through its own thread's event loop, which is
//   busy setting the source up, so nothing of the file arrives before that is done.
// - That event loop must then keep running while the sound plays, and the GUI thread's is
//   held up now and then (a stroke writing itself out pauses it for a second or so, and the
//   stroke's name is spoken meanwhile), so it is the media thread's.
// The GUI side mirrors the player's state as the media thread reports it. The player always
// has an audio output: without one it has nowhere to send the sound and never plays. On a
// machine without a sound card the GStreamer back end's automatic sink finds no device and
// falls back to a fake sink that keeps the clock, so playback takes its real time and still
// reaches its end.
class QtMediaSound : public QObject, public MediaSound {
    Q_OBJECT

public:
    // Starts loading the file at `path` (absolute) on `thread`.
    QtMediaSound(const QString& path, std::shared_ptr<MediaThread> thread);
    ~QtMediaSound() override;

    MciError Play(std::optional<std::uint32_t> from) override;
    MciError Stop() override;

private:
    friend class SoundPlayer;

    // Reports from the media thread, arriving on the GUI thread.
    void OnStatus(QMediaPlayer::MediaStatus status);
    void OnFailure();
    void OnEnded();

    void Command(std::function<void(SoundPlayer&)> command);

    std::shared_ptr<MediaThread> m_thread;
    std::shared_ptr<SoundLink> m_link;
    std::shared_ptr<SoundPlayer*> m_player;  // made, used and deleted on the media thread
    QMediaPlayer::MediaStatus m_status = QMediaPlayer::LoadingMedia;
};

}  // namespace quvo
