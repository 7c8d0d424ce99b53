#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quvo {

// A textbook page that holds a character: the book's name (file name without ".txt", UTF-8)
// and the page's number counted from 1.
struct TextbookPlace {
    std::string book;
    int page = 0;
};

// "基础篇 第3页".
std::string PlaceText(const TextbookPlace& place);

// Everything the pages tell about one character, gathered from the program folder: the store
// (stroke order, stroke types, their names, the radical), the stroke font and the textbooks.
// Text is UTF-8.
struct CharacterInfo {
    std::string character;
    std::vector<std::string> readings;     // toned pinyin, the first reading first
    std::string radical;                   // empty when not known
    int strokeCount = 0;
    std::vector<int> writingOrder;         // contour numbers (from 1), in writing order
    std::vector<std::string> strokeNames;  // per writing step; empty text when not known
    std::vector<std::string> contourPaths; // SVG path data per contour (index = contour - 1),
                                           // in a square of kGlyphBox units
    std::vector<TextbookPlace> places;     // every page of every textbook that holds it
};

inline constexpr int kGlyphBox = 1000;

// The program folder's character data, read as the pages need it. Safe to call from several
// server threads at once.
class CharacterLibrary {
public:
    // programFolder holds hz.db, fonts/quvokai.ttf and book/; pinyinTable is the program's
    // pinyin table (GBK lines, as compiled into the program): the name of its file, or the
    // table's bytes themselves (any text with a line feed in it is taken as the table).
    // Everything is read when first needed; the textbooks once, on the first question.
    CharacterLibrary(std::string programFolder, std::string pinyinTable);
    ~CharacterLibrary();
    CharacterLibrary(const CharacterLibrary&) = delete;
    CharacterLibrary& operator=(const CharacterLibrary&) = delete;

    // False, with info untouched, unless utf8Character is exactly one character that the store
    // and the stroke font both know.
    bool Describe(std::string_view utf8Character, CharacterInfo& info) const;

    // The textbook (UTF-8 name) whose page shows exactly these characters in this order (the
    // characters of the five buttons); empty when no book has such a page.
    std::string BookOfPage(std::string_view utf8Characters) const;

    const std::string& ProgramFolder() const { return m_folder; }

private:
    struct Impl;
    std::string m_folder;
    std::string m_pinyinTable;
    mutable std::mutex m_mutex;
    Impl* m_impl;
};

}  // namespace quvo
