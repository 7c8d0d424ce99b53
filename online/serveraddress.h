#pragma once

#include <string>

namespace quvo {

// The host of the program's web service: the help page here, the character and result pages
// and the update check once the page server is in place. The one place that names it.
inline constexpr char kServerHost[] = "127.0.0.1:8080";

// The help page on the service, opened in the desktop's browser by "帮助": UTF-8, not yet
// escaped (the browser's URL type escapes it).
std::string HelpPageAddress();

}  // namespace quvo
