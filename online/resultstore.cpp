#include "online/resultstore.h"

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

namespace quvo {

namespace {

// Many server threads write at once; a writer waits this long for the others.
constexpr int kBusyTimeoutMs = 10000;

// SQLite lets one writer at a time into a file and makes the others poll with growing sleeps;
// the server's own threads queue here instead, so a burst of results is written in turn
// without those sleeps. Other processes still wait through the busy timeout.
std::mutex g_writers;

// WAL with full synchronisation: a commit is on disk before the page is answered, so a server
// killed at any moment keeps every result it confirmed.
constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS results ("
    " id INTEGER PRIMARY KEY,"
    " client TEXT NOT NULL,"
    " time INTEGER NOT NULL,"
    " book TEXT NOT NULL,"
    " hanzi TEXT NOT NULL,"
    " is_right INTEGER NOT NULL,"
    " wrong TEXT NOT NULL,"
    " strokes INTEGER NOT NULL,"
    " page TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS results_by_character ON results(client, hanzi);"
    "CREATE INDEX IF NOT EXISTS results_by_time ON results(client, time);";

// One connection, opened for one call and closed with the object.
class Connection {
public:
    Connection(const std::string& file, bool create) {
        const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
            return;
        }
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        Exec("PRAGMA synchronous=FULL");
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Open() const { return m_db != nullptr; }
    sqlite3* Db() const { return m_db; }
    bool Exec(const char* sql) const {
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    sqlite3* m_db = nullptr;
};

// A prepared statement whose parameters are bound in order.
class Statement {
public:
    Statement(const Connection& connection, const char* sql) {
        if (connection.Open()) {
            sqlite3_prepare_v2(connection.Db(), sql, -1, &m_stmt, nullptr);
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ready() const { return m_stmt != nullptr; }
    Statement& Bind(const std::string& text) {
        sqlite3_bind_text(m_stmt, ++m_next, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(std::int64_t value) {
        sqlite3_bind_int64(m_stmt, ++m_next, value);
        return *this;
    }
    // True while a row is there to read.
    bool Row() { return m_stmt != nullptr && sqlite3_step(m_stmt) == SQLITE_ROW; }
    bool Done() { return m_stmt != nullptr && sqlite3_step(m_stmt) == SQLITE_DONE; }
    std::int64_t Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(m_stmt, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
                    : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_next = 0;
};

std::string CommaList(const std::vector<int>& positions) {
    std::string text;
    for (int position : positions) {
        text += std::to_string(position) + ",";
    }
    return text;
}

// WAL is a property of the file: set once, kept by every later connection.
// The mode can change only once the question's statement has ended: while it is open it holds
// a read, and the change would fail, leaving the file in its rollback-journal mode.
void UseWriteAheadLog(const Connection& connection) {
    bool wal = false;
    {
        Statement mode(connection, "PRAGMA journal_mode");
        wal = mode.Row() && mode.Text(0) == "wal";
    }
    if (!wal) {
        connection.Exec("PRAGMA journal_mode=WAL");
    }
}

bool InsertResult(const Connection& connection, const StoredResult& result) {
    Statement insert(connection,
                     "INSERT INTO results (client, time, book, hanzi, is_right, wrong, strokes,"
                     " page) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const RoundResult& round = result.round;
    insert.Bind(result.client).Bind(result.time).Bind(result.book).Bind(round.character);
    insert.Bind(std::int64_t{round.right ? 1 : 0}).Bind(CommaList(round.wrongPositions));
    insert.Bind(std::int64_t{round.strokeCount}).Bind(round.pageCharacters);
    return insert.Done();
}

}  // namespace

ResultStore::ResultStore(std::string file) : m_file(std::move(file)) {}

bool ResultStore::Add(const StoredResult& result) {
    const std::lock_guard<std::mutex> turn(g_writers);
    Connection connection(m_file, true);
    if (!connection.Open()) {
        return false;
    }
    UseWriteAheadLog(connection);
    if (!connection.Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    if (connection.Exec(kSchema) && InsertResult(connection, result) && connection.Exec("COMMIT")) {
        return true;
    }
    connection.Exec("ROLLBACK");
    return false;
}

CharacterHistory ResultStore::History(const std::string& client,
                                      const std::string& character) const {
    Connection connection(m_file, false);
    Statement query(connection,
                    "SELECT COUNT(*), COALESCE(SUM(is_right), 0), COALESCE((SELECT is_right FROM"
                    " results WHERE client = ?1 AND hanzi = ?2 ORDER BY id LIMIT 1), 0)"
                    " FROM results WHERE client = ?1 AND hanzi = ?2");
    CharacterHistory history;
    if (query.Bind(client).Bind(character).Row()) {
        history.tries = static_cast<int>(query.Int(0));
        history.right = static_cast<int>(query.Int(1));
        history.rightFirstTime = query.Int(2) != 0;
    }
    return history;
}

DaySummary ResultStore::Day(const std::string& client, std::int64_t dayStart,
                            std::int64_t dayEnd) const {
    Connection connection(m_file, false);
    DaySummary day;
    Statement counts(connection,
                     "SELECT COUNT(*), COALESCE(SUM(is_right), 0) FROM results"
                     " WHERE client = ? AND time >= ? AND time < ?");
    if (counts.Bind(client).Bind(dayStart).Bind(dayEnd).Row()) {
        day.rounds = static_cast<int>(counts.Int(0));
        day.right = static_cast<int>(counts.Int(1));
    }
    Statement characters(connection,
                         "SELECT hanzi FROM results WHERE client = ? AND time >= ? AND time < ?"
                         " GROUP BY hanzi ORDER BY MIN(id)");
    characters.Bind(client).Bind(dayStart).Bind(dayEnd);
    while (characters.Row()) {
        day.characters.push_back(characters.Text(0));
    }
    return day;
}

std::vector<RecordLine> ResultStore::Record(const std::string& client) const {
    Connection connection(m_file, false);
    // Named books in name order, then the characters of no known page.
    Statement query(connection,
                    "SELECT book, hanzi, COUNT(*), SUM(is_right), MAX(time) FROM results"
                    " WHERE client = ? GROUP BY book, hanzi ORDER BY book = '', book, MIN(id)");
    query.Bind(client);
    std::vector<RecordLine> lines;
    while (query.Row()) {
        lines.push_back({query.Text(0), query.Text(1), static_cast<int>(query.Int(2)),
                         static_cast<int>(query.Int(3)), query.Int(4)});
    }
    return lines;
}

}  // namespace quvo
