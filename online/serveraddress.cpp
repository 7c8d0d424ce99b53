#include "online/serveraddress.h"

namespace quvo {

std::string HelpPageAddress() {
    return std::string("http://") + kServerHost + "/newslist.asp?newstype=软件使用帮助";
}

}  // namespace quvo
