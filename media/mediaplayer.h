#pragma once

#include <cstdint>
#include <string>

#include "media/mcicodes.h"

class QObject;

namespace quvo {
class MediaDevices;
struct MciOpenParms;
struct MciPlayParms;
}  // namespace quvo

// One sound device under a numbered alias ("QuvoMedia<n>"): opens one mp3 file, plays it,
// asks for a notification when playback ends, stops and closes it. Owners hold it by value
// and start a sound with: Stop and Close if open, Init, Open, PlayNotify (when they want to
// hear of the end), Play(-1). Failures are only returned (0) and kept as text in LastError;
// nothing is shown. GUI thread only.
class CMediaPlayer {
public:
    // Plays through `devices`, or through MediaDevices::Default() when null.
    explicit CMediaPlayer(quvo::MediaDevices* devices = nullptr);
    ~CMediaPlayer();
    CMediaPlayer(const CMediaPlayer&) = delete;
    CMediaPlayer& operator=(const CMediaPlayer&) = delete;

    // Keeps the alias number and the window, forms the alias, marks the player closed.
    // Sends nothing; meant for a closed player.
    void Init(std::uint32_t aliasNumber, QObject* notifyWindow);

    // Opens `path` under the alias. An open player is stopped first, not closed, so the
    // device layer then refuses the alias in use. 1 on success, else 0.
    int Open(const std::string& path);

    // Starts playback with an end-of-play notification to `notifyWindow`, sent to the
    // device id whether open or not. Always 1; a refusal only shows in LastError.
    int PlayNotify(QObject* notifyWindow);

    // Plays from the current position (-1) or from `position` ms. 0 when closed.
    int Play(int position);

    // 0 when closed, else the result of "stop".
    int Stop();

    // 1 when closed; else "close", after which the player is closed unless it failed.
    int Close();

    const std::string& FilePath() const { return m_filePath; }
    const std::string& Alias() const { return m_alias; }
    const std::string& LastError() const { return m_lastError; }
    std::uint32_t AliasNumber() const { return m_aliasNumber; }
    quvo::MciDeviceId DeviceId() const { return m_deviceId; }
    bool IsOpen() const { return m_open == 1; }
    QObject* NotifyWindow() const { return m_notifyWindow; }

    // `format` with the alias and the position, the way the command strings are made: in a
    // zero-filled 256-byte buffer, so at most 255 characters.
    static std::string FormatCommand(const char* format, const char* alias, int position = 0);

private:
    quvo::MediaDevices& Devices() const;
    int SendString(const std::string& command);
    int SendCommand(std::uint32_t message, std::uint32_t flags, quvo::MciOpenParms& parms);
    int SendCommand(std::uint32_t message, std::uint32_t flags, quvo::MciPlayParms& parms);
    int CommandResult(quvo::MciError error);
    void RecordError(quvo::MciError error);

    std::string m_filePath;
    std::string m_alias;
    std::string m_lastError;  // the text of the last failure, "No Error" after a good structure
    std::uint32_t m_aliasNumber = 0;
    quvo::MciDeviceId m_deviceId = 0;
    std::int32_t m_open = 0;
    QObject* m_notifyWindow = nullptr;
    quvo::MediaDevices* m_devices;
};
