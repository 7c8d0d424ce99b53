#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quvo {

// Addresses on the program's web service. The pages are asked for with "http://" addresses
// whose values are percent-encoded UTF-8, whatever the program holds them in.

// Every byte but the unreserved ones (letters, digits, - . _ ~) as %XX.
std::string PercentEncode(std::string_view bytes);

// "http://host/" + a path with its query, as the program forms it: GBK values after "key=".
// Each value is turned into UTF-8 and percent-encoded; a value that is not GBK text is
// encoded byte by byte as it stands.
std::string ServerPageAddress(const std::string& host, std::string_view gbkPathAndQuery);

// The help page, opened in the desktop's browser by "帮助".
std::string HelpPageAddress(const std::string& host);

// The start page, with the product text as its c value (UTF-8).
std::string StartPageAddress(const std::string& host, std::string_view product);

// The server the program uses, as host or host:port: the environment variable QUVO_SERVER
// when set, else the first line of server.txt in the program folder; nullopt when neither
// names one, and the program then serves its pages itself. A value that is not a host name
// or address with an optional port 1..65535 is refused with a line on standard error.
std::optional<std::string> ConfiguredServer(const char* environmentValue,
                                            const std::string& serverFile);

// True for "host" or "host:port" (a name or IPv4 address, port 1..65535).
bool IsServerHost(std::string_view text);

}  // namespace quvo
