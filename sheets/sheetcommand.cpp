#include "sheets/sheetcommand.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "chardata/textbook.h"
#include "settings/commandline.h"

namespace quvo {

const char kSheetUsage[] =
    "usage: quvo --worksheet CHARACTERS -o FILE.pdf [--paper a4|letter]\n"
    "       quvo --book TEXTBOOK [--pages N|N-M] -o FILE.pdf [--paper a4|letter]\n"
    "  Writes printable practice sheets; run it in the program folder, like the program.\n"
    "  --worksheet  the characters, such as 高山水\n"
    "  --book       a textbook of the book folder, by its name (such as 基础篇)\n"
    "  --pages      the textbook's pages, counted from 1 (default: all of them)\n"
    "  -o           the PDF file to write\n"
    "  --paper      the paper size: a4 (default) or letter\n";

namespace {

const std::vector<std::string> kSheetOptions = {"--worksheet", "--book", "--pages", "-o",
                                                "--output", "--paper"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A page number of --pages: digits only, from 1, not absurdly long.
int PageNumber(const std::string& text, const std::string& whole) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) < 1) {
        throw std::invalid_argument("bad --pages value: " + whole +
                                    " (give a page N or pages N-M, counted from 1)");
    }
    return std::stoi(text);
}

void ParsePages(const std::string& text, SheetCommand& command) {
    const std::size_t dash = text.find('-');
    command.firstPage = PageNumber(text.substr(0, dash), text);
    command.lastPage =
        dash == std::string::npos ? command.firstPage : PageNumber(text.substr(dash + 1), text);
    if (command.lastPage < command.firstPage) {
        throw std::invalid_argument("bad --pages value: " + text + " (the first page comes first)");
    }
}

PaperSize ParsePaper(const std::string& text) {
    const std::string paper = Lower(text);
    if (paper == "a4") {
        return kPaperA4;
    }
    if (paper == "letter") {
        return kPaperLetter;
    }
    throw std::invalid_argument("bad --paper value: " + text + " (a4 or letter)");
}

void ReadOption(const std::vector<std::string>& args, std::size_t& i, SheetCommand& command) {
    if (auto w = OptionValue(args, i, "--worksheet")) {
        command.characters = *w;
    } else if (auto b = OptionValue(args, i, "--book")) {
        command.book = *b;
    } else if (auto p = OptionValue(args, i, "--pages")) {
        ParsePages(*p, command);
    } else if (auto o = OptionValue(args, i, "-o")) {
        command.output = *o;
    } else if (auto output = OptionValue(args, i, "--output")) {
        command.output = *output;
    } else if (auto paper = OptionValue(args, i, "--paper")) {
        command.paper = ParsePaper(*paper);
    } else {
        throw std::invalid_argument("unknown argument: " + args[i]);
    }
}

void CheckCommand(const SheetCommand& command, bool pagesGiven) {
    if (command.characters.empty() == command.book.empty()) {
        throw std::invalid_argument("give either --worksheet CHARACTERS or --book TEXTBOOK");
    }
    if (pagesGiven && command.book.empty()) {
        throw std::invalid_argument("--pages goes with --book");
    }
    if (command.output.empty()) {
        throw std::invalid_argument("give the PDF file to write with -o FILE.pdf");
    }
}

std::string JoinNames(const std::vector<std::string>& names, const char* separator) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : separator) + name;
    }
    return text;
}

TextbookEntry FindTextbook(const std::string& folder, const std::string& name) {
    const std::vector<TextbookEntry> books =
        ListTextbooks((std::filesystem::path(folder) / "book").string());
    std::vector<std::string> names;
    for (const TextbookEntry& book : books) {
        if (book.name == name || book.name + ".txt" == name) {
            return book;
        }
        names.push_back(book.name);
    }
    throw std::invalid_argument("no textbook \"" + name + "\" in the book folder" +
                                (names.empty() ? std::string(" (it has none: run in the program folder)")
                                               : " (there are: " + JoinNames(names, ", ") + ")"));
}

std::vector<SheetSection> TextbookSections(const SheetCommand& command,
                                           const CharacterLibrary& library,
                                           std::vector<std::string>& unknown) {
    const TextbookEntry book = FindTextbook(library.ProgramFolder(), command.book);
    const std::vector<std::vector<std::string>> pages = TextbookPageCharacters(book.path);
    const int count = static_cast<int>(pages.size());
    const int first = command.firstPage == 0 ? 1 : command.firstPage;
    const int last = command.firstPage == 0 ? count : command.lastPage;
    if (last > count || count == 0) {
        throw std::invalid_argument(book.name + " has " + std::to_string(count) +
                                    " pages: there is no page " + std::to_string(last));
    }
    std::vector<SheetSection> sections;
    for (int page = first; page <= last; ++page) {
        sections.push_back(DescribeSection(library, pages[static_cast<std::size_t>(page - 1)],
                                           PlaceText({book.name, page}), unknown));
    }
    return sections;
}

}  // namespace

bool IsSheetCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        return true;
    }
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return std::any_of(kSheetOptions.begin(), kSheetOptions.end(), [&arg](const std::string& o) {
            return arg == o || arg.rfind(o + "=", 0) == 0;
        });
    });
}

SheetCommand ParseSheetCommand(const std::vector<std::string>& args) {
    SheetCommand command;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        command.help = true;
        return command;
    }
    bool pagesGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        pagesGiven = pagesGiven || args[i].rfind("--pages", 0) == 0;
        ReadOption(args, i, command);
    }
    CheckCommand(command, pagesGiven);
    return command;
}

std::vector<SheetSection> GatherSheet(const SheetCommand& command, const CharacterLibrary& library,
                                      std::vector<std::string>& warnings) {
    std::vector<std::string> unknown;
    std::vector<SheetSection> sections;
    if (!command.book.empty()) {
        sections = TextbookSections(command, library, unknown);
        if (!unknown.empty()) {
            warnings.push_back("left out, no strokes known for: " + JoinNames(unknown, " "));
        }
    } else {
        sections.push_back(
            DescribeSection(library, SplitCharacters(command.characters), {}, unknown));
        if (!unknown.empty()) {
            throw std::invalid_argument("no strokes known for: " + JoinNames(unknown, " ") +
                                        " (the program folder's character store and stroke "
                                        "font have none)");
        }
    }
    if (std::all_of(sections.begin(), sections.end(),
                    [](const SheetSection& s) { return s.characters.empty(); })) {
        throw std::invalid_argument("no characters to put on the sheet");
    }
    return sections;
}

}  // namespace quvo
