#pragma once

#include <string>
#include <vector>

namespace quvo {

// Textbooks: GBK text files whose whitespace-separated tokens are pages. A page shows its
// first five characters on the character buttons; bytes that cannot start a character
// (digits, Latin letters, punctuation of one byte) are skipped.

constexpr std::size_t kMaxPageBytes = 18;
constexpr int kCharactersPerPage = 5;

// A token longer than a page may be is cut to kMaxPageBytes, never through a double-byte
// character.
std::string CutPageToken(const std::string& token);

// Page n (from 0) of a textbook file (a local file name). Returns 1 and the page's text, or
// -1 when the file cannot be read or has no page n.
int ReadTextbookPage(const std::string& fileName, int n, std::string& page);

// Every page of a textbook file, read once; none when it cannot be read.
std::vector<std::string> ReadTextbookPages(const std::string& fileName);

// The characters of a page, two GBK bytes each, at most five.
std::vector<std::string> PickPageCharacters(const std::string& page);

// Textbook files of a folder: every *.txt, the extension matched without regard to case.
struct TextbookEntry {
    std::string name;  // the file name without its extension, UTF-8
    std::string path;  // the full path, UTF-8
};
std::vector<TextbookEntry> ListTextbooks(const std::string& folder);

}  // namespace quvo
