#include "chardata/characterstore.h"

#include <sqlite3.h>

#include <cstring>

#include "chardata/gbk.h"

namespace quvo {
namespace {

std::string ColumnText(sqlite3_stmt* statement, const char* name) {
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (std::strcmp(sqlite3_column_name(statement, i), name) == 0) {
            const auto* text = sqlite3_column_text(statement, i);
            return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
        }
    }
    return {};
}

StoreAnswer Failure(StoreAnswer::Status status, sqlite3* db) {
    StoreAnswer answer;
    answer.status = status;
    answer.error = db ? sqlite3_errmsg(db) : "out of memory";
    return answer;
}

StoreAnswer Query(sqlite3* db, const std::string& key) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select * from bishun where hanzi = ?", -1, &statement, nullptr) !=
        SQLITE_OK) {
        return Failure(StoreAnswer::kQueryFailed, db);
    }
    sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    StoreAnswer answer;
    const int step = sqlite3_step(statement);
    if (step == SQLITE_ROW) {
        answer.status = StoreAnswer::kFound;
        answer.strokeOrder = ColumnText(statement, "bishun");
        answer.strokeTypes = ColumnText(statement, "bihuamc");
    } else if (step != SQLITE_DONE) {
        answer = Failure(StoreAnswer::kQueryFailed, db);
    }
    sqlite3_finalize(statement);
    return answer;
}

}  // namespace

StoreAnswer QueryCharacterStore(const std::string& storeFile, std::string_view gbkCharacter) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(storeFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        StoreAnswer answer = Failure(StoreAnswer::kOpenFailed, db);
        sqlite3_close(db);
        return answer;
    }
    // A character that is not GBK cannot be in the store; the query then finds nothing.
    const std::string key = GbkToUtf8(gbkCharacter).value_or(std::string());
    StoreAnswer answer = Query(db, key);
    sqlite3_close(db);
    return answer;
}

}  // namespace quvo
