#include "media/mediaplayer.h"

#include <cstdio>

#include "media/mediadevices.h"

namespace {

constexpr std::size_t kCommandSize = 256;  // with the terminating zero
constexpr std::size_t kErrorTextSize = 100;
constexpr std::uint32_t kOpenFlags =
    quvo::mci::kOpenType | quvo::mci::kOpenElement | quvo::mci::kOpenAlias;

}  // namespace

CMediaPlayer::CMediaPlayer(quvo::MediaDevices* devices) : m_devices(devices) {}

CMediaPlayer::~CMediaPlayer() {
    Stop();
    Close();
}

void CMediaPlayer::Init(std::uint32_t aliasNumber, QObject* notifyWindow) {
    m_aliasNumber = aliasNumber;
    char alias[32] = {};
    std::snprintf(alias, sizeof alias, "QuvoMedia%u", static_cast<unsigned>(aliasNumber));
    m_alias = alias;
    m_open = 0;
    m_notifyWindow = notifyWindow;
}

int CMediaPlayer::Open(const std::string& path) {
    if (m_open == 1) {
        Stop();
    }
    m_open = 0;
    m_filePath = path;
    quvo::MciOpenParms parms;
    parms.callback = m_notifyWindow;
    parms.deviceType = quvo::mci::kMpegVideo;
    parms.elementName = m_filePath;
    parms.alias = m_alias;
    if (SendCommand(quvo::mci::kOpen, kOpenFlags, parms) == 0) {
        return 0;
    }
    m_deviceId = parms.deviceId;
    m_open = 1;
    return 1;
}

int CMediaPlayer::PlayNotify(QObject* notifyWindow) {
    m_notifyWindow = notifyWindow;
    quvo::MciPlayParms parms;
    parms.callback = m_notifyWindow;
    SendCommand(quvo::mci::kPlay, quvo::mci::kNotify, parms);
    return 1;
}

int CMediaPlayer::Play(int position) {
    if (m_open == 0) {
        return 0;
    }
    if (position == -1) {
        return SendString(FormatCommand("play %s", m_alias.c_str()));
    }
    return SendString(FormatCommand("play %s from %d", m_alias.c_str(), position));
}

int CMediaPlayer::Stop() {
    if (m_open == 0) {
        return 0;
    }
    return SendString(FormatCommand("stop %s", m_alias.c_str()));
}

int CMediaPlayer::Close() {
    if (m_open == 0) {
        return 1;
    }
    if (SendString(FormatCommand("close %s", m_alias.c_str())) == 0) {
        return 0;
    }
    m_open = 0;
    m_deviceId = 0;
    return 1;
}

// The formats are the player's own; a format without "%d" leaves the position unused.
std::string CMediaPlayer::FormatCommand(const char* format, const char* alias, int position) {
    char command[kCommandSize] = {};
    std::snprintf(command, kCommandSize, format, alias, position);
    return command;
}

quvo::MediaDevices& CMediaPlayer::Devices() const {
    return m_devices != nullptr ? *m_devices : quvo::MediaDevices::Default();
}

// A command string that fails leaves its error text; one that succeeds changes no text.
int CMediaPlayer::SendString(const std::string& command) {
    const quvo::MciError error = Devices().SendString(command.c_str());
    if (error != 0) {
        RecordError(error);
        return 0;
    }
    return 1;
}

int CMediaPlayer::SendCommand(std::uint32_t message, std::uint32_t flags,
                              quvo::MciOpenParms& parms) {
    return CommandResult(Devices().SendCommand(0, message, flags, parms));
}

int CMediaPlayer::SendCommand(std::uint32_t message, std::uint32_t flags,
                              quvo::MciPlayParms& parms) {
    return CommandResult(Devices().SendCommand(m_deviceId, message, flags, parms));
}

// A command structure leaves its error text, or "No Error" when it succeeds.
int CMediaPlayer::CommandResult(quvo::MciError error) {
    if (error != 0) {
        RecordError(error);
        return 0;
    }
    m_lastError = "No Error";
    return 1;
}

void CMediaPlayer::RecordError(quvo::MciError error) {
    char text[kErrorTextSize] = {};
    Devices().GetErrorString(error, text, kErrorTextSize);
    m_lastError = text;
}
