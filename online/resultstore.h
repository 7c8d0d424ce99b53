#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "online/pages.h"

namespace quvo {

// The results file of the program's own server, in its program folder beside the settings.
inline constexpr char kResultsFileName[] = "xxjl.db";

// One result as stored: who sent it, when, and what the round gave.
struct StoredResult {
    std::string client;  // the client's address ("127.0.0.1" for the program's own server)
    std::int64_t time = 0;
    std::string book;    // textbook of the page, empty when none
    RoundResult round;
};

// The results file: SQLite, one transaction per result, every value a bound parameter. Opened
// per call, so a server killed at any moment leaves every answered result in the file.
class ResultStore {
public:
    explicit ResultStore(std::string file);

    // False when the file cannot be written; the result is then lost and the page says so.
    bool Add(const StoredResult& result);
    CharacterHistory History(const std::string& client, const std::string& character) const;
    // Rounds between dayStart and dayEnd (seconds since 1970, UTC).
    DaySummary Day(const std::string& client, std::int64_t dayStart, std::int64_t dayEnd) const;
    // Every character the client practised, by textbook (books in name order, characters in
    // the order first practised).
    std::vector<RecordLine> Record(const std::string& client) const;

    const std::string& File() const { return m_file; }

private:
    std::string m_file;
};

}  // namespace quvo
