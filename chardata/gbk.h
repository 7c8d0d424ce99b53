#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quvo {

// Text inside the program is GBK (code page 936) bytes, as in the textbook files, the
// pinyin table and the stored paths. These two functions are the only way across to
// Unicode; they go through GB18030, whose bytes equal GBK's for every GBK character and
// which also covers the few pinyin letters that glibc's GBK table lacks.

// GBK bytes to UTF-8; nullopt when the bytes are not valid GBK/GB18030.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK bytes; nullopt when the text is not valid UTF-8.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Length of the well-formed UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// A byte that can be part of a double-byte character in a textbook or the edit box.
constexpr bool IsCharacterByte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xFD; }

}  // namespace quvo
