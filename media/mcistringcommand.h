#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/mcicodes.h"

namespace quvo {

// One command string as the device layer understands it: "play NAME", "play NAME from N",
// "stop NAME" or "close NAME". Words are separated by blanks and compared without case.
struct MciStringCommand {
    enum class Verb { kPlay, kStop, kClose };

    Verb verb = Verb::kPlay;
    std::string device;                 // the alias, as written
    std::optional<std::uint32_t> from;  // "from N": the position in milliseconds
};

// Reads `text` into `command`; returns 0, or the error code of what is wrong with it.
MciError ParseMciStringCommand(std::string_view text, MciStringCommand& command);

// Whether two device names are the same name; MCI compares them without case.
bool SameMciName(std::string_view a, std::string_view b);

}  // namespace quvo
