#include "sheets/sheetlayout.h"

#include <algorithm>
#include <cmath>

namespace quvo {
namespace {

// Room for rounding: a block that fits to within this still fits.
constexpr double kSlack = 1e-6;

struct Geometry {
    SheetMeasures m;
    SheetBox content;
    double boxSize = 0;    // a practice box's side
    double stripLeft = 0;  // where the caption and the strip begin
    int framesPerRow = 1;
};

Geometry MakeGeometry(PaperSize paper, const SheetMeasures& m, SheetLayout& layout) {
    Geometry g{m, {}, 0, 0, 1};
    const double width = paper.width - 2 * m.margin;
    layout.title = {m.margin, m.margin, width, m.titleHeight};
    layout.footer = {m.margin, paper.height - m.margin - m.footerHeight, width, m.footerHeight};
    g.content = {m.margin, layout.title.Bottom(), width, layout.footer.y - layout.title.Bottom()};
    layout.content = g.content;
    g.boxSize = width / std::max(1, m.boxesPerRow);
    g.stripLeft = g.content.x + m.modelSize + m.modelGap;
    const double stripWidth = g.content.Right() - g.stripLeft;
    g.framesPerRow =
        std::max(1, static_cast<int>((stripWidth + m.frameGap + kSlack) / (m.frameSize + m.frameGap)));
    return g;
}

int StripRows(const Geometry& g, int strokes) {
    return (std::max(strokes, 0) + g.framesPerRow - 1) / g.framesPerRow;
}

double StripRowPitch(const Geometry& g) {
    return g.m.frameSize + g.m.nameHeight + g.m.stripRowGap;
}

// The model, or the caption and strip beside it, whichever reaches further down.
double HeadHeight(const Geometry& g, int strokes) {
    const int rows = StripRows(g, strokes);
    const double strip = rows == 0 ? 0 : rows * StripRowPitch(g) - g.m.stripRowGap;
    return std::max(g.m.modelSize, g.m.captionHeight + strip);
}

double BlockHeight(const Geometry& g, int strokes, int practiceRows) {
    return HeadHeight(g, strokes) + g.m.practiceGap + practiceRows * g.boxSize;
}

std::vector<StripFrame> PlaceStrip(const Geometry& g, int strokes, double top) {
    std::vector<StripFrame> strip;
    const double pitch = g.m.frameSize + g.m.frameGap;
    for (int k = 0; k < strokes; ++k) {
        StripFrame f;
        f.frame = {g.stripLeft + (k % g.framesPerRow) * pitch,
                   top + g.m.captionHeight + (k / g.framesPerRow) * StripRowPitch(g), g.m.frameSize,
                   g.m.frameSize};
        f.name = {f.frame.x - g.m.frameGap / 2, f.frame.Bottom(), pitch, g.m.nameHeight};
        strip.push_back(f);
    }
    return strip;
}

std::vector<PracticeBox> PlacePractice(const Geometry& g, int rows, double top) {
    std::vector<PracticeBox> boxes;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < g.m.boxesPerRow; ++c) {
            boxes.push_back({{g.content.x + c * g.boxSize, top + r * g.boxSize, g.boxSize, g.boxSize},
                             c < g.m.traceBoxes});
        }
    }
    return boxes;
}

CharacterBlock PlaceBlock(const Geometry& g, std::size_t section, std::size_t entry, int strokes,
                          int practiceRows, double top) {
    CharacterBlock b;
    b.section = section;
    b.entry = entry;
    b.bounds = {g.content.x, top, g.content.width, BlockHeight(g, strokes, practiceRows)};
    b.model = {g.content.x, top, g.m.modelSize, g.m.modelSize};
    b.caption = {g.stripLeft, top, g.content.Right() - g.stripLeft, g.m.captionHeight};
    b.strip = PlaceStrip(g, strokes, top);
    b.stripRows = StripRows(g, strokes);
    b.practiceRows = practiceRows;
    b.practice = PlacePractice(g, practiceRows, top + HeadHeight(g, strokes) + g.m.practiceGap);
    return b;
}

// A page's characters before they are placed: section, entry and stroke count.
struct Pending {
    std::size_t section;
    std::size_t entry;
    int strokes;
};

// Which characters go onto which page, each block with its one practice row.
std::vector<std::vector<Pending>> Paginate(const Geometry& g,
                                           const std::vector<std::vector<int>>& sections) {
    std::vector<std::vector<Pending>> pages;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        double used = 0;  // on the current page; a section never continues another's page
        for (std::size_t e = 0; e < sections[s].size(); ++e) {
            const double h = BlockHeight(g, sections[s][e], 1);
            if (e == 0 || used + g.m.blockGap + h > g.content.height + kSlack) {
                pages.emplace_back();
                used = h;
            } else {
                used += g.m.blockGap + h;
            }
            pages.back().push_back({s, e, sections[s][e]});
        }
    }
    return pages;
}

// Places one page's blocks from the top, sharing the height left over as practice rows.
SheetPage PlacePage(const Geometry& g, const std::vector<Pending>& pending) {
    const int n = static_cast<int>(pending.size());
    double used = g.m.blockGap * (n - 1);
    for (const Pending& p : pending) {
        used += BlockHeight(g, p.strokes, 1);
    }
    const int spare = std::max(0, static_cast<int>((g.content.height - used + kSlack) / g.boxSize));
    const int rows = 1 + spare / n;
    SheetPage page;
    page.section = pending.front().section;
    double top = g.content.y;
    for (const Pending& p : pending) {
        page.blocks.push_back(PlaceBlock(g, p.section, p.entry, p.strokes, rows, top));
        top = page.blocks.back().bounds.Bottom() + g.m.blockGap;
    }
    return page;
}

}  // namespace

SheetLayout LayOutSheet(const std::vector<std::vector<int>>& sections, PaperSize paper,
                        const SheetMeasures& measures) {
    SheetLayout layout;
    layout.paper = paper;
    const Geometry g = MakeGeometry(paper, measures, layout);
    for (const auto& pending : Paginate(g, sections)) {
        layout.pages.push_back(PlacePage(g, pending));
    }
    return layout;
}

}  // namespace quvo
