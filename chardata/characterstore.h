#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quvo {

// The character store hz.db: table bishun, one row per character, with its stroke-order text
// (bishun) and stroke-type text (bihuamc). Characters are looked up by their GBK bytes and
// stored as UTF-8 text.
struct StoreAnswer {
    enum Status { kFound, kNoRow, kOpenFailed, kQueryFailed };
    Status status = kNoRow;
    std::string strokeOrder;
    std::string strokeTypes;
    std::string error;  // the engine's own description, for the two failures
};

// Opens the store read-only, asks for the character with a bound parameter and closes it
// again; nothing is kept between calls.
StoreAnswer QueryCharacterStore(const std::string& storeFile, std::string_view gbkCharacter);

// The same answers from a store kept open between questions, with its question prepared once:
// a character switch then costs no opening and no reading of the schema. The file is opened
// again when it is another file, or was changed, since the last question; a failure is
// answered as QueryCharacterStore answers it and keeps nothing open.
class CharacterStore {
public:
    explicit CharacterStore(std::string storeFile);
    ~CharacterStore();
    CharacterStore(const CharacterStore&) = delete;
    CharacterStore& operator=(const CharacterStore&) = delete;

    StoreAnswer Query(std::string_view gbkCharacter);

private:
    struct Identity {
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedSeconds = 0, modifiedNanoseconds = 0;
        bool operator==(const Identity&) const = default;
    };
    static Identity IdentityOf(const std::string& file);
    void Close();

    std::string m_file;
    Identity m_identity;
    ::sqlite3* m_db = nullptr;
    ::sqlite3_stmt* m_question = nullptr;
};

}  // namespace quvo
