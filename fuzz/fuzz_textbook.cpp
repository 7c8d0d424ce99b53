// Textbook pages as the dialog shows them on its character buttons and the page server
// indexes them: every page of the file, its characters, and their text in Unicode.
#include "chardata/gbk.h"
#include "chardata/textbook.h"
#include "fuzz/fuzzsupport.h"

using quvo::fuzz::Check;

namespace {

// Pages are read from the file one at a time, each read going through the whole file: a
// book of this many pages is past anything new a page can show.
constexpr int kMostPages = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = quvo::fuzz::PutScratchFile("book.txt", quvo::fuzz::AsText(data, size));
    std::string page;
    int n = 0;
    for (; n < kMostPages && quvo::ReadTextbookPage(file, n, page) == 1; ++n) {
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
    // A page is a token, and tokens stand apart: n pages need 2n - 1 bytes at least.
    Check(n < kMostPages || size + 1 >= 2 * kMostPages, "a file has no more pages than tokens");
    Check(quvo::ReadTextbookPage(file, -1, page) == -1, "there is no page before the first");
    return 0;
}
