#include "media/mcierrortext.h"

#include <iterator>

namespace quvo {

namespace {

struct ErrorText {
    MciError code;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {mci::kErrInvalidDeviceId, "The device identifier does not name an open device."},
    {mci::kErrUnrecognizedKeyword, "The command contains a keyword the device does not know."},
    {mci::kErrUnrecognizedCommand, "The device does not know this command."},
    {mci::kErrHardware, "The sound output reported an error. Check the sound settings."},
    {mci::kErrInvalidDeviceName, "No device is open under this name."},
    {mci::kErrDeviceOpen, "A device is already open under this name."},
    {mci::kErrMissingCommandString, "The command is empty."},
    {mci::kErrBadInteger, "A number in the command is not a whole number from 0 up."},
    {mci::kErrMissingParameter, "The command is missing a value it needs."},
    {mci::kErrFileNotFound, "The file cannot be found. Check the path and the file name."},
    {mci::kErrFlagsNotCompatible, "The command's flags cannot be used together."},
    {mci::kErrDeviceTypeRequired, "The device type is missing or not known."},
    {mci::kErrDuplicateAlias, "The alias is already used by an open device. Use another alias."},
    {mci::kErrMissingDeviceName, "The command names no device."},
    {mci::kErrInvalidFile, "The file cannot be played by this device."},
    {mci::kErrFilenameRequired, "The device needs a file name."},
};

}  // namespace

const char* MciErrorText(MciError code) {
    for (const ErrorText& entry : kTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return nullptr;
}

}  // namespace quvo
