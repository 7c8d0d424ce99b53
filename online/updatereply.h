#pragma once

#include <string>

namespace quvo {

// The reply to the update check (POST /update.asp): the tagged text of the server's update
// configuration file (at most 1019 bytes are sent, as the program reads no more); with no
// such file, or an unreadable one, "<ver>" + the running version + "</ver>", so that nothing
// is offered.
std::string UpdateReply(const std::string& configFile, const std::string& runningVersion);

}  // namespace quvo
