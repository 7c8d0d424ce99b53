#include "online/netlibrary.h"

#include <curl/curl.h>

#include <csignal>

namespace quvo {

// A peer that closes its end while the program writes (a server going away during the
// update check or the download) must end that transfer, not the program: SIGPIPE is ignored
// for the whole process, as libcurl is told to install no signal handlers of its own.
bool StartNetworkLibrary() {
    std::signal(SIGPIPE, SIG_IGN);
    return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

}  // namespace quvo
