#include "res/stringtable.h"

namespace quvo {

QString LoadResString(int id) {
    switch (id) {
    case IDS_SOCKETS_INIT_FAILED:
        return QStringLiteral("Windows 通信端口初始化失败。");
    case IDS_PRODUCT_TITLE:
        return QStringLiteral("Lumeo6.0");
    case IDS_CHOOSE_TEXTBOOK:
        return QStringLiteral("请选择课本");
    case IDS_FIRST_PAGE:
        return QStringLiteral("已到头了");
    case IDS_LAST_PAGE:
        return QStringLiteral("后面没有了");
    default:
        return QString();
    }
}

}  // namespace quvo
