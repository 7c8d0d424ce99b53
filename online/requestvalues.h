#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "online/pages.h"

namespace quvo {

// A request's query or form values, already percent-decoded (the HTTP library's parameters).
using QueryValues = std::multimap<std::string, std::string>;

// The characters of a UTF-8 text, one string each. False for bytes that are not well-formed
// UTF-8 (overlong forms, surrogates, code points past U+10FFFF, cut sequences) and for control
// characters, which no page value holds.
bool SplitCharacters(std::string_view text, std::vector<std::string>& characters);

// The one value of key; false when it is missing or given more than once.
bool OneValue(const QueryValues& values, const std::string& key, std::string& value);

// The result page's query (z, f, b, c, s) checked for form, before the character itself is
// looked up: z one character, f "ok" or "no", c a number of strokes 1..64, b the positions
// 1..c each followed by "," in rising order and empty exactly when f is "ok", s at most five
// characters each followed by ",". Gives the reason in words for the page when the query is
// refused, else an empty text with round filled in.
std::string ReadRoundQuery(const QueryValues& values, RoundResult& round);

// The character page's z: exactly one character. The reason when refused, else empty.
std::string ReadCharacterQuery(const QueryValues& values, std::string& character);

inline constexpr int kMaxStrokes = 64;
inline constexpr std::size_t kPageButtons = 5;

}  // namespace quvo
