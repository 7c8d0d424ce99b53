#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "online/characterlibrary.h"
#include "sheets/sheetlayout.h"

namespace quvo {

// What a practice sheet shows: sections of characters, each with everything the library
// knows of them (readings, stroke outlines, writing order, stroke names). Text is UTF-8.
struct SheetSection {
    std::string title;  // a textbook page's place; empty: each page names its characters
    std::vector<CharacterInfo> characters;
};

// The characters of a text, one UTF-8 character each. White space and the commas and
// enumeration marks people put between characters are passed over.
std::vector<std::string> SplitCharacters(std::string_view utf8);

// The characters the library knows, in order, as a section; the ones it does not know are
// added to `unknown`.
SheetSection DescribeSection(const CharacterLibrary& library,
                             const std::vector<std::string>& characters, std::string title,
                             std::vector<std::string>& unknown);

// A textbook's pages, each as its UTF-8 characters.
std::vector<std::vector<std::string>> TextbookPageCharacters(const std::string& bookFile);

// The layout's input: each section's stroke counts.
std::vector<std::vector<int>> SectionStrokeCounts(const std::vector<SheetSection>& sections);

// The character a block shows.
const CharacterInfo& BlockCharacter(const std::vector<SheetSection>& sections,
                                    const CharacterBlock& block);

// The title of a page: its section's, else the characters on it.
std::string PageTitle(const std::vector<SheetSection>& sections, const SheetPage& page);

// "第 2 页 / 共 5 页".
std::string PageNumberText(std::size_t page, std::size_t pageCount);

// The line beside the model: the first reading and the stroke count, "gāo  10画".
std::string CaptionText(const CharacterInfo& info);

}  // namespace quvo
