#include "sheets/sheetcontent.h"

#include <algorithm>
#include <array>

#include "chardata/gbk.h"
#include "chardata/textbook.h"

namespace quvo {
namespace {

bool IsSeparator(std::string_view c) {
    static constexpr std::array<std::string_view, 5> kMarks = {"，", "、", "　", "；", "。"};
    if (c.size() == 1) {
        return c == " " || c == "\t" || c == "\n" || c == "\r" || c == ",";
    }
    for (const std::string_view mark : kMarks) {
        if (c == mark) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> SplitCharacters(std::string_view utf8) {
    std::vector<std::string> characters;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // A byte that starts no well-formed sequence stands alone, and the library refuses it.
        const std::size_t length = std::max<std::size_t>(1, Utf8SequenceLength(utf8, i));
        const std::string_view c = utf8.substr(i, length);
        if (!IsSeparator(c)) {
            characters.emplace_back(c);
        }
        i += length;
    }
    return characters;
}

SheetSection DescribeSection(const CharacterLibrary& library,
                             const std::vector<std::string>& characters, std::string title,
                             std::vector<std::string>& unknown) {
    SheetSection section{std::move(title), {}};
    for (const std::string& c : characters) {
        CharacterInfo info;
        if (library.Describe(c, info)) {
            section.characters.push_back(std::move(info));
        } else {
            unknown.push_back(c);
        }
    }
    return section;
}

std::vector<std::vector<std::string>> TextbookPageCharacters(const std::string& bookFile) {
    std::vector<std::vector<std::string>> pages;
    for (const std::string& page : ReadTextbookPages(bookFile)) {
        auto& characters = pages.emplace_back();
        for (const std::string& gbk : PickPageCharacters(page)) {
            if (const auto utf8 = GbkToUtf8(gbk)) {
                characters.push_back(*utf8);
            }
        }
    }
    return pages;
}

std::vector<std::vector<int>> SectionStrokeCounts(const std::vector<SheetSection>& sections) {
    std::vector<std::vector<int>> counts;
    for (const SheetSection& section : sections) {
        auto& list = counts.emplace_back();
        for (const CharacterInfo& info : section.characters) {
            list.push_back(static_cast<int>(info.writingOrder.size()));
        }
    }
    return counts;
}

const CharacterInfo& BlockCharacter(const std::vector<SheetSection>& sections,
                                    const CharacterBlock& block) {
    return sections.at(block.section).characters.at(block.entry);
}

std::string PageTitle(const std::vector<SheetSection>& sections, const SheetPage& page) {
    if (page.section < sections.size() && !sections[page.section].title.empty()) {
        return sections[page.section].title;
    }
    std::string title;
    for (const CharacterBlock& block : page.blocks) {
        title += BlockCharacter(sections, block).character;
    }
    return title;
}

std::string PageNumberText(std::size_t page, std::size_t pageCount) {
    return "第 " + std::to_string(page) + " 页 / 共 " + std::to_string(pageCount) + " 页";
}

std::string CaptionText(const CharacterInfo& info) {
    std::string text = info.readings.empty() ? std::string() : info.readings.front() + "  ";
    return text + std::to_string(info.writingOrder.size()) + "画";
}

}  // namespace quvo
