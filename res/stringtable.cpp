#include "res/stringtable.h"

namespace quvo {

QString LoadResString(int id) {
    switch (id) {
    case IDS_SOCKETS_INIT_FAILED:
        return QStringLiteral("Windows 通信端口初始化失败。");
    case IDS_PRODUCT_TITLE:
        return QStringLiteral("Lumeo6.0");
    default:
        return QString();
    }
}

}  // namespace quvo
