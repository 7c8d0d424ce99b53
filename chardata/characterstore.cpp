#include "chardata/characterstore.h"

#include <sqlite3.h>

#include <sys/stat.h>

#include <cstring>
#include <utility>

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

constexpr const char* kQuestion = "select * from bishun where hanzi = ?";

// One answer from a prepared question; the statement is reset for the next.
StoreAnswer Ask(sqlite3* db, sqlite3_stmt* statement, const std::string& key) {
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
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return answer;
}

StoreAnswer Query(sqlite3* db, const std::string& key) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, kQuestion, -1, &statement, nullptr) != SQLITE_OK) {
        return Failure(StoreAnswer::kQueryFailed, db);
    }
    StoreAnswer answer = Ask(db, statement, key);
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

CharacterStore::CharacterStore(std::string storeFile) : m_file(std::move(storeFile)) {}

CharacterStore::~CharacterStore() { Close(); }

void CharacterStore::Close() {
    sqlite3_finalize(m_question);
    sqlite3_close(m_db);
    m_question = nullptr;
    m_db = nullptr;
}

CharacterStore::Identity CharacterStore::IdentityOf(const std::string& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) {
        return {};
    }
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<unsigned long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
            static_cast<long long>(st.st_mtim.tv_nsec)};
}

StoreAnswer CharacterStore::Query(std::string_view gbkCharacter) {
    const Identity now = IdentityOf(m_file);
    if (m_question && !(now == m_identity)) {
        Close();
    }
    if (!m_question) {
        if (sqlite3_open_v2(m_file.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            StoreAnswer answer = Failure(StoreAnswer::kOpenFailed, m_db);
            Close();
            return answer;
        }
        if (sqlite3_prepare_v2(m_db, kQuestion, -1, &m_question, nullptr) != SQLITE_OK) {
            StoreAnswer answer = Failure(StoreAnswer::kQueryFailed, m_db);
            Close();
            return answer;
        }
        m_identity = now;
    }
    const std::string key = GbkToUtf8(gbkCharacter).value_or(std::string());
    StoreAnswer answer = Ask(m_db, m_question, key);
    if (answer.status == StoreAnswer::kQueryFailed) {
        Close();  // asked again from the start next time
    }
    return answer;
}

}  // namespace quvo
