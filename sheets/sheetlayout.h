#pragma once

#include <cstddef>
#include <vector>

namespace quvo {

// Where everything of a printable practice sheet goes. Lengths are in points (1/72 inch), from
// the paper's top left corner, y downwards. The layout knows only how many strokes each
// character has; what is drawn in its boxes is the painter's business.

struct SheetBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double Right() const { return x + width; }
    double Bottom() const { return y + height; }
};

struct PaperSize {
    const char* name;
    double width;
    double height;
};
inline constexpr PaperSize kPaperA4{"A4", 595.28, 841.89};
inline constexpr PaperSize kPaperLetter{"Letter", 612.0, 792.0};

// The measures of a sheet.
struct SheetMeasures {
    double margin = 36;         // on every side of the paper
    double titleHeight = 30;    // the title band at the top of every page
    double footerHeight = 18;   // the page number band at the foot
    double modelSize = 64;      // the large character in its 米字格
    double modelGap = 12;       // between it and the caption and strip at its right
    double captionHeight = 18;  // pinyin and stroke count, above the strip
    double frameSize = 28;      // one 田字格 of the stroke-order strip
    double frameGap = 6;        // across, between two frames
    double nameHeight = 11;     // the stroke's name under its frame
    double stripRowGap = 3;     // down, between two rows of the strip
    double practiceGap = 8;     // between the character's head and its practice rows
    int boxesPerRow = 12;       // practice boxes across the page
    int traceBoxes = 3;         // boxes at the start of each row that show the character
    double blockGap = 14;       // between two characters
};

struct StripFrame {
    SheetBox frame;  // the strokes up to this one, the new one in red
    SheetBox name;   // its name, under the frame
};

struct PracticeBox {
    SheetBox box;
    bool trace = false;  // the character in light grey, to write over
};

// One character's block: the model, the caption, the strip (one frame per stroke in writing
// order, wrapping into rows) and its practice rows.
struct CharacterBlock {
    std::size_t section = 0;  // which section of the sheet and which character of it
    std::size_t entry = 0;
    SheetBox bounds;
    SheetBox model;
    SheetBox caption;
    std::vector<StripFrame> strip;
    int stripRows = 0;
    int practiceRows = 0;
    std::vector<PracticeBox> practice;  // row after row
};

struct SheetPage {
    std::size_t section = 0;  // the section its first block belongs to
    std::vector<CharacterBlock> blocks;
};

struct SheetLayout {
    PaperSize paper = kPaperA4;
    SheetBox title;   // the same on every page
    SheetBox footer;
    SheetBox content; // where the blocks go
    std::vector<SheetPage> pages;
};

// Lays out sections of characters, given as their stroke counts. Every section starts on a
// page of its own (a textbook page, say); within one, a character goes onto the current page
// when its block fits below the others, else onto the next. Each block has at least one
// practice row; the height a page has left over becomes further rows, shared evenly by its
// blocks, so a sheet of one character is a page full of practice.
SheetLayout LayOutSheet(const std::vector<std::vector<int>>& sections, PaperSize paper,
                        const SheetMeasures& measures = {});

}  // namespace quvo
