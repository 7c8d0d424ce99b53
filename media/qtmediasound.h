#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <optional>

#include "media/mediasound.h"

namespace quvo {

// One sound file played by Qt Multimedia. The player always has an audio output: without one
// it has nowhere to send the sound and never plays. On a machine without a sound card the
// GStreamer back end's automatic sink finds no device and falls back to a fake sink that
// keeps the clock, so playback takes its real time and still reaches its end.
class QtMediaSound : public QObject, public MediaSound {
    Q_OBJECT

public:
    // Starts loading the file at `path` (absolute).
    explicit QtMediaSound(const QString& path);
    ~QtMediaSound() override;

    MciError Play(std::optional<std::uint32_t> from) override;
    MciError Stop() override;

private:
    void SeekTo(std::uint32_t from);
    void OnStatusChanged(QMediaPlayer::MediaStatus status);
    void OnError(QMediaPlayer::Error error);
    void ReportEndLater(std::uint32_t notifyCode);

    QAudioOutput m_output;  // declared first, so the player goes before its output
    QMediaPlayer m_player;
    std::optional<std::uint32_t> m_pendingFrom;  // a position asked for before it could be set
};

}  // namespace quvo
