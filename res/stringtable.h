#pragma once

#include <QString>

namespace quvo {

// The program's string table.
enum StringId : int {
    IDS_SOCKETS_INIT_FAILED = 103,
    IDS_PRODUCT_TITLE = 104,
    IDS_CHOOSE_TEXTBOOK = 105,
    IDS_FIRST_PAGE = 110,
    IDS_LAST_PAGE = 111,
};

// The text of a string-table entry; empty for an id that has none.
QString LoadResString(int id);

}  // namespace quvo
