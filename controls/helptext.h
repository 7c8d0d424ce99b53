#pragma once

#include <string>
#include <string_view>

namespace quvo {

// The start-up help's text from the help file's bytes (GBK): every run of characters without
// white space on a line of its own (so spaces inside a line of the file break it too), for
// as long as the text stays within 2047 bytes; a token that would pass that ends the text.
// A token longer than 1023 bytes keeps its first 1023 bytes, cut before a character, never
// through a double-byte one.
inline constexpr std::size_t kHelpTextLimit = 2047;
inline constexpr std::size_t kHelpTokenLimit = 1023;
std::string HelpTextFromFile(std::string_view bytes);

}  // namespace quvo
