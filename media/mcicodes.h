#pragma once

#include <cstdint>

// The numbers of the media control interface that the players and the device layer share:
// messages, flags, notification codes and error codes, with the values MCI gives them.

namespace quvo {

using MciDeviceId = std::uint32_t;  // 0 names no device
using MciError = std::uint32_t;     // 0 is success

namespace mci {

// Messages of the command structures.
constexpr std::uint32_t kOpen = 0x0803;  // MCI_OPEN
constexpr std::uint32_t kPlay = 0x0806;  // MCI_PLAY

// Flags of the command structures.
constexpr std::uint32_t kNotify = 0x00000001;       // MCI_NOTIFY
constexpr std::uint32_t kWait = 0x00000002;         // MCI_WAIT
constexpr std::uint32_t kFrom = 0x00000004;         // MCI_FROM
constexpr std::uint32_t kTo = 0x00000008;           // MCI_TO
constexpr std::uint32_t kOpenElement = 0x00000200;  // MCI_OPEN_ELEMENT
constexpr std::uint32_t kOpenAlias = 0x00000400;    // MCI_OPEN_ALIAS
constexpr std::uint32_t kOpenType = 0x00002000;     // MCI_OPEN_TYPE

// The window message that carries an end-of-play notification.
constexpr int kNotifyMessage = 0x3B9;  // MM_MCINOTIFY

// What the notification says (its wParam).
constexpr std::uint32_t kNotifySuccessful = 1;  // the command finished: playback reached its end
constexpr std::uint32_t kNotifySuperseded = 2;  // a later command asked for a notification instead
constexpr std::uint32_t kNotifyAborted = 4;     // stop or close came first
constexpr std::uint32_t kNotifyFailure = 8;     // the device failed while playing

// Error codes, MCIERR_BASE (256) plus the number MCI gives each.
constexpr MciError kErrInvalidDeviceId = 257;
constexpr MciError kErrUnrecognizedKeyword = 259;
constexpr MciError kErrUnrecognizedCommand = 261;
constexpr MciError kErrHardware = 262;
constexpr MciError kErrInvalidDeviceName = 263;
constexpr MciError kErrDeviceOpen = 265;
constexpr MciError kErrMissingCommandString = 267;
constexpr MciError kErrBadInteger = 270;
constexpr MciError kErrMissingParameter = 273;
constexpr MciError kErrFileNotFound = 275;
constexpr MciError kErrFlagsNotCompatible = 284;
constexpr MciError kErrDeviceTypeRequired = 287;
constexpr MciError kErrDuplicateAlias = 289;
constexpr MciError kErrMissingDeviceName = 292;
constexpr MciError kErrInvalidFile = 296;
constexpr MciError kErrFilenameRequired = 304;

// The device type of every sound the program plays.
constexpr const char* kMpegVideo = "MPEGvideo";

}  // namespace mci
}  // namespace quvo
