#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quvo {

// The program folder's data files, checked before a game is offered: a game without its
// store, font, textbooks or pinyin table would be only half a game, and a damaged picture or
// sound would fail later with nobody told why. Missing pictures, music and spoken stroke names
// are allowed (the program plays without them); damaged ones are not. The checks read headers
// and sizes, so that they cost a few milliseconds at start.
struct DataFault {
    enum Kind { kMissing, kDamaged };
    Kind kind = kMissing;
    std::string file;  // relative to the program folder, UTF-8, such as "fonts/quvokai.ttf"
    std::string what;  // what the file is to a parent, in Chinese, such as "笔画字体"
};

// What a character needs: the store with 高 in it, the stroke font with 高's outline, a book
// folder of readable textbooks and the pinyin table (compiled into the program, passed in).
std::optional<DataFault> CheckCharacterData(const std::string& folder, std::string_view pinyinTable);

// Pictures, cursors, music and spoken stroke names that are there must be whole.
std::optional<DataFault> CheckMediaFiles(const std::string& folder);

// Both, characters first.
std::optional<DataFault> CheckDataFiles(const std::string& folder, std::string_view pinyinTable);

// The one message a parent sees, UTF-8: the file, what is wrong with it, and to reinstall.
std::string DataFaultMessage(const DataFault& fault);

// The checks of single files, true when the file looks whole.
bool StoreFileIsWhole(const std::string& fileName);       // SQLite header against the size
bool FontFileIsWhole(const std::string& fileName);        // every table inside the file
bool TextbookTextIsSound(std::string_view bytes);         // GBK text with a character in it
bool Mp3FileIsWhole(const std::string& fileName);         // a first MPEG audio frame, whole

}  // namespace quvo
