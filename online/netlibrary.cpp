#include "online/netlibrary.h"

#include <curl/curl.h>

namespace quvo {

bool StartNetworkLibrary() { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }

}  // namespace quvo
