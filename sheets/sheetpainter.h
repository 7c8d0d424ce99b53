#pragma once

#include <QPainterPath>
#include <QString>

#include <string_view>
#include <vector>

#include "sheets/sheetcontent.h"
#include "sheets/sheetlayout.h"

class QIODevice;
class QPagedPaintDevice;

namespace quvo {

// Paints a sheet's pages, one after the other, onto a device whose pages are the layout's
// paper and whose painting starts at the paper's corner (a QPdfWriter without margins, a
// QPrinter painting the full page). Everything is vector drawing: the stroke font's outlines
// as paths, text in KaiTi. False when the painter cannot begin on the device.
bool PaintSheet(QPagedPaintDevice& device, const SheetLayout& layout,
                const std::vector<SheetSection>& sections);

// Lays the sections out on the paper and writes them to `out` as a PDF document.
bool WriteSheetPdf(QIODevice& out, PaperSize paper, const std::vector<SheetSection>& sections);

// A contour's SVG path data (as the character library gives it: M, L, C and Z with whole
// numbers) as a painter path in the library's kGlyphBox square.
QPainterPath ContourPainterPath(std::string_view pathData);

}  // namespace quvo
