// Practice sheets: the layout's positions and page breaks, and the program run from the
// command line in the real program folder, its PDFs read back with Poppler's tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "online/characterlibrary.h"
#include "sheets/sheetcontent.h"
#include "sheets/sheetlayout.h"
#include "tests/childprocess.h"
#include "tests/testfiles.h"

namespace quvo {
namespace {

constexpr double kEpsilon = 1e-6;

bool Inside(const SheetBox& inner, const SheetBox& outer) {
    return inner.x >= outer.x - kEpsilon && inner.y >= outer.y - kEpsilon &&
           inner.Right() <= outer.Right() + kEpsilon && inner.Bottom() <= outer.Bottom() + kEpsilon;
}

// The strip: one frame per stroke, rows filled from the left, its name right under each frame,
// and a row ends only where the next frame would not fit.
void CheckStrip(const CharacterBlock& b, int strokes, const SheetLayout& layout) {
    ASSERT_EQ(static_cast<int>(b.strip.size()), strokes);
    int perRow = 0;
    while (perRow < strokes && b.strip[static_cast<std::size_t>(perRow)].frame.y == b.strip[0].frame.y) {
        ++perRow;
    }
    EXPECT_EQ(b.stripRows, strokes == 0 ? 0 : (strokes + perRow - 1) / perRow);
    if (strokes > perRow && perRow >= 2) {
        const SheetBox& last = b.strip[static_cast<std::size_t>(perRow - 1)].frame;
        EXPECT_GT(last.Right() + (last.x - b.strip[static_cast<std::size_t>(perRow - 2)].frame.Right()) +
                      last.width,
                  layout.content.Right());
    }
    for (int k = 0; k < strokes; ++k) {
        const StripFrame& f = b.strip[static_cast<std::size_t>(k)];
        const StripFrame& first = b.strip[static_cast<std::size_t>(k % perRow)];
        EXPECT_DOUBLE_EQ(f.frame.x, first.frame.x) << k;
        EXPECT_DOUBLE_EQ(f.name.y, f.frame.Bottom()) << k;
        EXPECT_NEAR(f.name.x + f.name.width / 2, f.frame.x + f.frame.width / 2, kEpsilon) << k;
        EXPECT_GE(f.frame.x, b.model.Right()) << k;
        EXPECT_TRUE(Inside(f.name, b.bounds)) << k;
        if (k >= perRow) {
            EXPECT_GT(f.frame.y, b.strip[static_cast<std::size_t>(k - perRow)].name.Bottom()) << k;
        }
    }
}

// Practice rows: whole rows across the content, the first boxes of each row to trace, below
// the model and the strip.
void CheckPractice(const CharacterBlock& b, const SheetLayout& layout, const SheetMeasures& m) {
    ASSERT_EQ(b.practice.size(), static_cast<std::size_t>(b.practiceRows * m.boxesPerRow));
    const double head = b.strip.empty() ? b.model.Bottom() : std::max(b.model.Bottom(), b.strip.back().name.Bottom());
    for (std::size_t i = 0; i < b.practice.size(); ++i) {
        const PracticeBox& box = b.practice[i];
        const int column = static_cast<int>(i) % m.boxesPerRow;
        EXPECT_EQ(box.trace, column < m.traceBoxes) << i;
        EXPECT_GT(box.box.y, head) << i;
        EXPECT_TRUE(Inside(box.box, b.bounds)) << i;
        EXPECT_NEAR(box.box.width, layout.content.width / m.boxesPerRow, kEpsilon);
        if (column == 0) {
            EXPECT_DOUBLE_EQ(box.box.x, layout.content.x);
        } else {
            EXPECT_NEAR(box.box.x, b.practice[i - 1].box.Right(), kEpsilon);
        }
    }
    EXPECT_NEAR(b.practice.back().box.Right(), layout.content.Right(), kEpsilon);
}

// What every page of every layout keeps to: blocks inside the content area, one below the
// other in the characters' order, every character once; a page's blocks share its spare rows.
void CheckLayout(const SheetLayout& layout, const std::vector<std::vector<int>>& sections,
                 const SheetMeasures& m) {
    EXPECT_TRUE(Inside(layout.title, {0, 0, layout.paper.width, layout.paper.height}));
    EXPECT_GE(layout.content.y, layout.title.Bottom());
    EXPECT_LE(layout.content.Bottom(), layout.footer.y);
    EXPECT_LE(layout.footer.Bottom(), layout.paper.height - m.margin + kEpsilon);
    std::vector<std::pair<std::size_t, std::size_t>> seen;
    for (const SheetPage& page : layout.pages) {
        ASSERT_FALSE(page.blocks.empty());
        double top = layout.content.y;
        for (const CharacterBlock& b : page.blocks) {
            EXPECT_EQ(b.section, page.section);
            EXPECT_TRUE(Inside(b.bounds, layout.content));
            EXPECT_GE(b.bounds.y, top - kEpsilon);
            EXPECT_DOUBLE_EQ(b.model.x, layout.content.x);
            EXPECT_DOUBLE_EQ(b.model.y, b.bounds.y);
            EXPECT_EQ(b.practiceRows, page.blocks.front().practiceRows);
            top = b.bounds.Bottom();
            CheckStrip(b, sections[b.section][b.entry], layout);
            CheckPractice(b, layout, m);
            seen.emplace_back(b.section, b.entry);
        }
        // Another practice row for each block would not have fitted.
        const double rowForEach = static_cast<double>(page.blocks.size()) * layout.content.width / m.boxesPerRow;
        EXPECT_GT(top + rowForEach, layout.content.Bottom());
    }
    std::vector<std::pair<std::size_t, std::size_t>> all;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (std::size_t e = 0; e < sections[s].size(); ++e) {
            all.emplace_back(s, e);
        }
    }
    EXPECT_EQ(seen, all);
}

TEST(SheetLayout, PlacesCharactersAndBreaksPages) {
    struct Case {
        const char* what;
        std::vector<std::vector<int>> sections;
        PaperSize paper;
        std::vector<int> blocksPerPage;
        int minimumRows;  // practice rows of every block
    };
    const std::vector<Case> cases = {
        {"one character fills its page with practice", {{10}}, kPaperA4, {1}, 10},
        {"a textbook page of five", {{1, 2, 3, 2, 2}}, kPaperA4, {5}, 1},
        {"forty characters", {std::vector<int>(40, 8)}, kPaperA4, {5, 5, 5, 5, 5, 5, 5, 5}, 1},
        {"forty on Letter", {std::vector<int>(40, 8)}, kPaperLetter, {5, 5, 5, 5, 5, 5, 5, 5}, 1},
        {"thirty strokes wrap", {{30, 30}}, kPaperA4, {2}, 1},
        {"each section on its own page", {{10, 3}, {5}, {}, {12}}, kPaperA4, {2, 1, 1}, 3},
    };
    const SheetMeasures measures;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SheetLayout layout = LayOutSheet(c.sections, c.paper, measures);
        CheckLayout(layout, c.sections, measures);
        std::vector<int> blocks;
        for (const SheetPage& page : layout.pages) {
            blocks.push_back(static_cast<int>(page.blocks.size()));
            EXPECT_GE(page.blocks.front().practiceRows, c.minimumRows);
        }
        EXPECT_EQ(blocks, c.blocksPerPage);
    }
    // Thirty strokes take more than two rows of the strip, so the block is taller.
    const SheetLayout wide = LayOutSheet({{30, 3}}, kPaperA4, measures);
    const auto& blocks = wide.pages.front().blocks;
    EXPECT_GT(blocks[0].stripRows, 2);
    EXPECT_GT(blocks[0].bounds.height, blocks[1].bounds.height);
}

// ---- The command line ----

const std::string kFolder = QUVO_PROGRAM_DIR;

struct Outcome {
    int code;
    std::string output;
};

Outcome Quvo(const std::vector<std::string>& args, const std::string& folder = kFolder) {
    test::ChildProcess process(QUVO_BINARY, args, folder);
    std::string output = process.Rest();
    return {process.Wait(), output};
}

std::string Poppler(const std::string& tool, const std::vector<std::string>& args) {
    test::ChildProcess process(tool, args);
    std::string output = process.Rest();
    EXPECT_EQ(process.Wait(), 0) << tool << ": " << output;
    return output;
}

std::string InfoField(const std::string& file, const std::string& field) {
    std::smatch m;
    const std::string info = Poppler("pdfinfo", {file});
    return std::regex_search(info, m, std::regex(field + ":\\s*([^\\n]*)")) ? m[1].str() : "";
}

std::string PageText(const std::string& file, int page) {
    const std::string n = std::to_string(page);
    return Poppler("pdftotext", {"-layout", "-f", n, "-l", n, "-enc", "UTF-8", file, "-"});
}

// The names, in this order, somewhere in the text.
bool InOrder(const std::string& text, const std::vector<std::string>& names) {
    std::size_t at = 0;
    for (const std::string& name : names) {
        at = text.find(name, at);
        if (at == std::string::npos) {
            return false;
        }
        at += name.size();
    }
    return true;
}

const CharacterLibrary& Library() {
    static const CharacterLibrary library(kFolder, QUVO_PINYIN_TABLE);
    return library;
}

TEST(SheetCommand, RefusesBadArguments) {
    test::TempFolder out;
    const std::string pdf = out.File("sheet.pdf");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"--worksheet", "高"}, 2, "-o FILE.pdf"},
        {{"-o", pdf}, 2, "either --worksheet"},
        {{"--worksheet", "高", "--book", "基础篇", "-o", pdf}, 2, "either --worksheet"},
        {{"--worksheet", "高", "--pages", "1", "-o", pdf}, 2, "--pages goes with --book"},
        {{"--worksheet", "高a山", "-o", pdf}, 2, "no strokes known for: a"},
        {{"--worksheet", "，、 ", "-o", pdf}, 2, "no characters"},
        {{"--book", "没有这本", "-o", pdf}, 2, "no textbook \"没有这本\""},
        {{"--book", "基础篇", "--pages", "0-2", "-o", pdf}, 2, "bad --pages value: 0-2"},
        {{"--book", "基础篇", "--pages", "3-1", "-o", pdf}, 2, "bad --pages value: 3-1"},
        {{"--book", "基础篇", "--pages=x", "-o", pdf}, 2, "bad --pages value: x"},
        {{"--book", "基础篇", "--pages", "999", "-o", pdf}, 2, "there is no page 999"},
        {{"--worksheet", "高", "-o", pdf, "--paper", "b5"}, 2, "bad --paper value: b5"},
        {{"--worksheet", "高", "-o", pdf, "--frobnicate"}, 2, "unknown argument: --frobnicate"},
        {{"--worksheet", "高", "-o"}, 2, "-o needs a value"},
        {{"--worksheet", "高", "-o", out.File("no/such/folder/sheet.pdf")}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        const Outcome run = Quvo(c.args);
        EXPECT_EQ(run.code, c.code) << c.args[0] << " " << c.says;
        EXPECT_EQ(run.output.rfind("quvo: ", 0), 0u) << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << c.says;
    }
    // Anywhere but the program folder it says where to run it.
    const Outcome elsewhere = Quvo({"--worksheet", "高", "-o", pdf}, out.Path().string());
    EXPECT_EQ(elsewhere.code, 2);
    EXPECT_NE(elsewhere.output.find("run quvo in its program folder"), std::string::npos);
    const Outcome help = Quvo({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.output.rfind("usage: quvo --worksheet", 0), 0u) << help.output;
}

TEST(SheetCommand, WritesPdfsThatPopplerReads) {
    test::TempFolder out;
    std::string forty;
    for (const char* c : {"一", "二", "三", "十", "人", "口", "日", "月"}) {
        for (int i = 0; i < 5; ++i) {
            forty += c;
        }
    }
    struct Case {
        std::vector<std::string> args;
        std::string pageSize;
        std::vector<std::string> titles;  // of every page
    };
    const std::vector<Case> cases = {
        {{"--worksheet", "高山水"}, "595 x 842 pts (A4)", {"高山水"}},
        {{"--book", "基础篇", "--pages", "1-3"}, "595 x 842 pts (A4)",
         {"基础篇 第1页", "基础篇 第2页", "基础篇 第3页"}},
        {{"--worksheet", "高", "--paper", "letter"}, "612 x 792 pts (letter)", {"高"}},
        {{"--worksheet", forty}, "595 x 842 pts (A4)", {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string pdf = out.File("sheet" + std::to_string(i) + ".pdf");
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", pdf});
        const Outcome run = Quvo(args);
        ASSERT_EQ(run.code, 0) << run.output;
        EXPECT_EQ(InfoField(pdf, "Page size"), c.pageSize);
        // Vector drawing only: no picture anywhere in the file.
        EXPECT_EQ(Poppler("pdfimages", {"-list", pdf}).find(" image "), std::string::npos);
        const int pages = std::stoi(InfoField(pdf, "Pages"));
        if (c.titles.empty()) {
            const std::vector<std::string> characters = SplitCharacters(forty);
            std::vector<int> counts;
            for (const std::string& ch : characters) {
                CharacterInfo info;
                ASSERT_TRUE(Library().Describe(ch, info));
                counts.push_back(info.strokeCount);
            }
            EXPECT_EQ(static_cast<std::size_t>(pages), LayOutSheet({counts}, kPaperA4).pages.size());
            EXPECT_GT(pages, 1);
        } else {
            EXPECT_EQ(pages, static_cast<int>(c.titles.size()));
        }
        for (int p = 1; p <= pages; ++p) {
            const std::string text = PageText(pdf, p);
            if (!c.titles.empty()) {
                EXPECT_NE(text.find(c.titles[static_cast<std::size_t>(p - 1)]), std::string::npos) << text;
            }
            EXPECT_NE(text.find(PageNumberText(static_cast<std::size_t>(p), static_cast<std::size_t>(pages))),
                      std::string::npos)
                << text;
        }
    }
    // Each character's reading and stroke count, then its stroke names in writing order.
    std::vector<std::string> expected;
    for (const char* c : {"高", "山", "水"}) {
        CharacterInfo info;
        ASSERT_TRUE(Library().Describe(c, info));
        expected.push_back(info.readings.front());
        expected.push_back(std::to_string(info.strokeCount) + "画");
        expected.insert(expected.end(), info.strokeNames.begin(), info.strokeNames.end());
    }
    const std::string text = PageText(out.File("sheet0.pdf"), 1);
    EXPECT_TRUE(InOrder(text, expected)) << text;
}

}  // namespace
}  // namespace quvo
