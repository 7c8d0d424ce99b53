#pragma once

#include <cstdint>
#include <string>

#include "media/mcicodes.h"

class QObject;

namespace quvo {

// MCI_OPEN_PARMS: what MCI_OPEN is told, and the device id it hands back.
struct MciOpenParms {
    QObject* callback = nullptr;  // the window of the player's owner
    MciDeviceId deviceId = 0;     // set by a successful open
    std::string deviceType;       // with MCI_OPEN_TYPE
    std::string elementName;      // with MCI_OPEN_ELEMENT: the file, GBK or UTF-8 bytes
    std::string alias;            // with MCI_OPEN_ALIAS
};

// MCI_PLAY_PARMS. Under Windows the callback is a window handle cut to its low 16 bits,
// which still names the window there; here it is the receiving object itself.
struct MciPlayParms {
    QObject* callback = nullptr;  // with MCI_NOTIFY: who gets the end-of-play notification
    std::uint32_t from = 0;       // with MCI_FROM, in milliseconds
    std::uint32_t to = 0;         // with MCI_TO (not supported)
};

// The media control interface as the players use it: devices opened under an alias, string
// commands that name the alias, command structures that name the device id, error texts,
// and an end-of-play notification (MciNotifyEvent) posted to the window that asked for it.
// Everything runs on the GUI thread.
class MediaDevices {
public:
    virtual ~MediaDevices();

    // mciSendStringA(command, no return buffer, 0, no callback): 0 or an error code.
    virtual MciError SendString(const char* command) = 0;

    // mciSendCommandA with MCI_OPEN. The id is ignored, as MCI ignores it for an open.
    virtual MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                                 MciOpenParms& parms) = 0;

    // mciSendCommandA with MCI_PLAY.
    virtual MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                                 MciPlayParms& parms) = 0;

    // mciGetErrorStringA: the code's text into `text`, at most length - 1 characters and a
    // terminating zero. False (and an empty text) for a code without a text.
    bool GetErrorString(MciError code, char* text, std::uint32_t length) const;

    // The devices the program plays through: the one installed with SetDefault, else the Qt
    // Multimedia devices, made on first use and released with the application object.
    static MediaDevices& Default();

    // Installs `devices` (not owned) as the default; null goes back to the Qt devices.
    static void SetDefault(MediaDevices* devices);
};

}  // namespace quvo
