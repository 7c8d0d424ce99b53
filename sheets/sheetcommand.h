#pragma once

#include <string>
#include <vector>

#include "online/characterlibrary.h"
#include "sheets/sheetcontent.h"
#include "sheets/sheetlayout.h"

namespace quvo {

// Practice sheets from the command line, without a window:
//   quvo --worksheet 高山水 -o sheet.pdf
//   quvo --book 基础篇 --pages 3-5 -o week.pdf [--paper letter]
struct SheetCommand {
    bool help = false;
    std::string characters;  // --worksheet
    std::string book;        // --book, a textbook's name as the chooser lists it
    int firstPage = 0;       // --pages, from 1; 0: the whole book
    int lastPage = 0;
    std::string output;      // -o
    PaperSize paper = kPaperA4;
};

inline constexpr int kSheetBadArguments = 2;
inline constexpr int kSheetNotWritten = 1;

extern const char kSheetUsage[];

// Whether the program was started for a sheet: any of the sheet's options is there, or
// --help alone.
bool IsSheetCommand(const std::vector<std::string>& args);

// Throws std::invalid_argument with a message that says what is wrong.
SheetCommand ParseSheetCommand(const std::vector<std::string>& args);

// The sheet's characters from the program folder (its book/ folder and the library): one
// section for --worksheet, one per textbook page for --book. Throws std::invalid_argument
// naming the book, the pages or the characters it cannot find; a textbook's characters
// without strokes are left out, with a warning.
std::vector<SheetSection> GatherSheet(const SheetCommand& command, const CharacterLibrary& library,
                                      std::vector<std::string>& warnings);

}  // namespace quvo
