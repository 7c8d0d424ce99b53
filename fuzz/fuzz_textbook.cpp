// Textbook pages as the dialog shows them on its character buttons and the page server
// indexes them: every page of the file, its characters, and their text in Unicode; and the
// pages the dialog reads one at a time are the same.
#include "chardata/gbk.h"
#include "chardata/textbook.h"
#include "fuzz/fuzzsupport.h"

using quvo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = quvo::fuzz::PutScratchFile("book.txt", quvo::fuzz::AsText(data, size));
    const std::vector<std::string> pages = quvo::ReadTextbookPages(file);
    // A page is a token, and tokens stand apart: n pages need 2n - 1 bytes at least.
    Check(2 * pages.size() <= size + 1, "a file has no more pages than tokens");
    for (const std::string& page : pages) {
        Check(!page.empty() && page.size() <= quvo::kMaxPageBytes,
              "a page is one token of at most 18 bytes");
        Check(quvo::CutPageToken(page) == page, "a page read is already cut");
        const std::vector<std::string> characters = quvo::PickPageCharacters(page);
        Check(characters.size() <= static_cast<std::size_t>(quvo::kCharactersPerPage),
              "five characters at most");
        for (const std::string& character : characters) {
            Check(character.size() == 2 &&
                      quvo::IsCharacterByte(static_cast<unsigned char>(character[0])),
                  "a character is two bytes that start with a character byte");
            (void)quvo::GbkToUtf8(character);
        }
    }
    std::string page;
    for (const std::size_t n : {std::size_t{0}, pages.size() / 2, pages.size() - 1}) {
        if (n < pages.size()) {
            Check(quvo::ReadTextbookPage(file, static_cast<int>(n), page) == 1 && page == pages[n],
                  "a page read alone is the page read with all the others");
        }
    }
    Check(quvo::ReadTextbookPage(file, static_cast<int>(pages.size()), page) == -1,
          "there is no page after the last");
    Check(quvo::ReadTextbookPage(file, -1, page) == -1, "there is no page before the first");
    return 0;
}
