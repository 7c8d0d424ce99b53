#include "chardata/textbook.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "chardata/gbk.h"

namespace quvo {
namespace {

// White space as the C library's "%s" scan sees it in the C locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsBlankOrNoCharacter(unsigned char byte) { return byte == 0x20 || !IsCharacterByte(byte); }

}  // namespace

std::string CutPageToken(const std::string& token) {
    std::size_t keep = 0;
    while (keep < token.size()) {
        const std::size_t width = IsLeadByte(static_cast<unsigned char>(token[keep])) ? 2 : 1;
        if (keep + width > kMaxPageBytes) {
            break;
        }
        keep += width;
    }
    return token.substr(0, std::min(keep, token.size()));
}

std::vector<std::string> ReadTextbookPages(const std::string& fileName) {
    std::vector<std::string> pages;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return pages;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsSpace(text[i])) {
            ++i;
        }
        if (i == start) {
            break;
        }
        pages.push_back(CutPageToken(text.substr(start, i - start)));
    }
    return pages;
}

int ReadTextbookPage(const std::string& fileName, int n, std::string& page) {
    if (n < 0) {
        return -1;
    }
    std::vector<std::string> pages = ReadTextbookPages(fileName);
    if (static_cast<std::size_t>(n) >= pages.size()) {
        return -1;
    }
    page = std::move(pages[static_cast<std::size_t>(n)]);
    return 1;
}

// The page text is the token with a line feed after it; a character is any byte pair
// starting at a character byte, found by skipping forward from where the pair would be.
std::vector<std::string> PickPageCharacters(const std::string& page) {
    const std::string text = page + '\n';
    const std::size_t length = text.size();
    auto at = [&text](std::size_t pos) {
        return pos < text.size() ? static_cast<unsigned char>(text[pos]) : 0;  // the terminator
    };
    std::vector<std::string> characters;
    std::size_t s = 0;
    for (std::size_t i = 0; i < kCharactersPerPage; ++i) {
        if (length <= 2 * i + 1) {
            break;
        }
        while (s + 2 * i <= length && IsBlankOrNoCharacter(at(s + 2 * i))) {
            ++s;
        }
        if (s + 2 * i + 1 >= length) {
            break;  // no whole pair left
        }
        characters.push_back(text.substr(s + 2 * i, 2));
    }
    return characters;
}

std::vector<TextbookEntry> ListTextbooks(const std::string& folder) {
    std::vector<TextbookEntry> entries;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        const std::string fileName = item.path().filename().string();
        const std::size_t dot = fileName.find_last_of('.');
        if (dot == std::string::npos || !item.is_regular_file(error)) {
            continue;
        }
        std::string extension = fileName.substr(dot + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (extension != "TXT") {
            continue;
        }
        entries.push_back({fileName.substr(0, dot), item.path().string()});
    }
    // The platform's order of a folder is arbitrary; by name reads best in the list.
    std::sort(entries.begin(), entries.end(),
              [](const TextbookEntry& a, const TextbookEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace quvo
