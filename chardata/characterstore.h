#pragma once

#include <string>
#include <string_view>

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

}  // namespace quvo
