#pragma once

#include "media/mcicodes.h"

namespace quvo {

// The text the device layer gives for an error code, or null for a code it does not know.
const char* MciErrorText(MciError code);

}  // namespace quvo
