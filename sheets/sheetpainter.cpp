#include "sheets/sheetpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>

#include "app/kaifont.h"

namespace quvo {
namespace {

const QColor kFrameColour(0xe5, 0x73, 0x73);  // the grid's border
const QColor kGuideColour(0xf0, 0x9a, 0x9a);  // its dotted middle lines and diagonals
const QColor kInkColour(0x21, 0x21, 0x21);
const QColor kDoneColour(0xb4, 0xb4, 0xb4);   // the strokes before the new one
const QColor kNewColour(0xe5, 0x39, 0x35);    // the new stroke
const QColor kTraceColour(0xdc, 0xdc, 0xdc);  // the character to write over
const QColor kTextColour(0x3e, 0x27, 0x23);

// The glyph square inside a box keeps clear of the box's border by this share of its side.
constexpr double kGlyphInset = 0.04;

QRectF Rect(const SheetBox& b) {
    return QRectF(b.x, b.y, b.width, b.height);
}

// The painter draws in points; text is drawn in device units, so that the font engine works
// at the printed size rather than at a few units.
class SheetCanvas {
public:
    SheetCanvas(QPainter& painter, double unitsPerPoint) : m_p(painter), m_scale(unitsPerPoint) {
        m_p.scale(m_scale, m_scale);
        m_p.setRenderHint(QPainter::Antialiasing);
    }

    void Grid(const SheetBox& box, bool mizi, double border) {
        const QRectF r = Rect(box);
        m_p.save();
        QPen guide(kGuideColour, border * 0.6, Qt::CustomDashLine, Qt::FlatCap);
        guide.setDashPattern({3, 3});
        m_p.setPen(guide);
        m_p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        m_p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
        if (mizi) {
            m_p.drawLine(r.topLeft(), r.bottomRight());
            m_p.drawLine(r.topRight(), r.bottomLeft());
        }
        m_p.setPen(QPen(kFrameColour, border));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(r);
        m_p.restore();
    }

    // A path of the glyph square in a box.
    void Glyph(const SheetBox& box, const QPainterPath& path, const QColor& colour) {
        const double inset = box.width * kGlyphInset;
        m_p.save();
        m_p.translate(box.x + inset, box.y + inset);
        m_p.scale((box.width - 2 * inset) / kGlyphBox, (box.height - 2 * inset) / kGlyphBox);
        m_p.fillPath(path, colour);
        m_p.restore();
    }

    // Text in KaiTi of `points` size, made smaller when it would not fit across the box.
    void Text(const SheetBox& box, const QString& text, double points, const QColor& colour,
              int flags) {
        QFont font(QString::fromUtf16(kKaiFaceName));
        font.setPointSizeF(points);
        const QRectF r(box.x * m_scale, box.y * m_scale, box.width * m_scale, box.height * m_scale);
        const double width = QFontMetricsF(font, m_p.device()).horizontalAdvance(text);
        if (width > r.width()) {
            font.setPointSizeF(points * r.width() / width);
        }
        m_p.save();
        m_p.resetTransform();
        m_p.setFont(font);
        m_p.setPen(colour);
        m_p.drawText(r, flags | Qt::TextSingleLine, text);
        m_p.restore();
    }

    void Rule(double x1, double x2, double y) {
        m_p.save();
        m_p.setPen(QPen(kFrameColour, 0.6));
        m_p.drawLine(QPointF(x1, y), QPointF(x2, y));
        m_p.restore();
    }

private:
    QPainter& m_p;
    double m_scale;
};

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The character's contours in writing order, each a path of the glyph square.
std::vector<QPainterPath> StrokesInOrder(const CharacterInfo& info) {
    std::vector<QPainterPath> strokes;
    for (const int contour : info.writingOrder) {
        const auto k = static_cast<std::size_t>(contour - 1);
        strokes.push_back(k < info.contourPaths.size() ? ContourPainterPath(info.contourPaths[k])
                                                       : QPainterPath());
    }
    return strokes;
}

// Every frame of the strip: the strokes so far as one path, the new one on top.
void PaintStrip(SheetCanvas& canvas, const CharacterBlock& block, const CharacterInfo& info,
                const std::vector<QPainterPath>& strokes) {
    QPainterPath before;
    before.setFillRule(Qt::WindingFill);
    for (std::size_t k = 0; k < block.strip.size() && k < strokes.size(); ++k) {
        const StripFrame& f = block.strip[k];
        canvas.Grid(f.frame, false, 0.5);
        canvas.Glyph(f.frame, before, kDoneColour);
        canvas.Glyph(f.frame, strokes[k], kNewColour);
        if (k < info.strokeNames.size()) {
            canvas.Text(f.name, Q(info.strokeNames[k]), 7, kTextColour, Qt::AlignHCenter | Qt::AlignTop);
        }
        before.addPath(strokes[k]);
    }
}

void PaintBlock(SheetCanvas& canvas, const CharacterBlock& block, const CharacterInfo& info) {
    const std::vector<QPainterPath> strokes = StrokesInOrder(info);
    QPainterPath whole;
    whole.setFillRule(Qt::WindingFill);  // strokes that cross stay filled where they cross
    for (const QPainterPath& stroke : strokes) {
        whole.addPath(stroke);
    }
    canvas.Grid(block.model, true, 1.0);
    canvas.Glyph(block.model, whole, kInkColour);
    canvas.Text(block.caption, Q(CaptionText(info)), 12, kTextColour, Qt::AlignLeft | Qt::AlignTop);
    PaintStrip(canvas, block, info, strokes);
    for (const PracticeBox& box : block.practice) {
        canvas.Grid(box.box, false, 0.8);
        if (box.trace) {
            canvas.Glyph(box.box, whole, kTraceColour);
        }
    }
}

void PaintPage(SheetCanvas& canvas, const SheetLayout& layout, std::size_t index,
               const std::vector<SheetSection>& sections) {
    const SheetPage& page = layout.pages[index];
    canvas.Text(layout.title, Q(PageTitle(sections, page)), 16, kTextColour,
                Qt::AlignLeft | Qt::AlignTop);
    canvas.Text(layout.title, QStringLiteral("姓名：__________  日期：__________"), 10, kTextColour,
                Qt::AlignRight | Qt::AlignTop);
    canvas.Rule(layout.title.x, layout.title.Right(), layout.title.Bottom() - 8);
    for (const CharacterBlock& block : page.blocks) {
        PaintBlock(canvas, block, BlockCharacter(sections, block));
    }
    canvas.Text(layout.footer, Q(PageNumberText(index + 1, layout.pages.size())), 9, kTextColour,
                Qt::AlignHCenter | Qt::AlignBottom);
}

double NextNumber(std::string_view d, std::size_t& i) {
    const std::string text(d.substr(i, std::min<std::size_t>(24, d.size() - i)));
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    i += static_cast<std::size_t>(end - text.c_str());
    return value;
}

}  // namespace

QPainterPath ContourPainterPath(std::string_view d) {
    QPainterPath path;
    std::size_t i = 0;
    auto point = [&d, &i] {
        const double x = NextNumber(d, i);
        return QPointF(x, NextNumber(d, i));
    };
    while (i < d.size()) {
        const char command = d[i++];
        if (command == 'M') {
            path.moveTo(point());
        } else if (command == 'L') {
            path.lineTo(point());
        } else if (command == 'C') {
            const QPointF c1 = point();
            const QPointF c2 = point();
            path.cubicTo(c1, c2, point());
        } else if (command == 'Z') {
            path.closeSubpath();
        }
    }
    return path;
}

bool PaintSheet(QPagedPaintDevice& device, const SheetLayout& layout,
                const std::vector<SheetSection>& sections) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    SheetCanvas canvas(painter, device.logicalDpiX() / 72.0);
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        PaintPage(canvas, layout, i, sections);
    }
    return painter.end();
}

bool WriteSheetPdf(QIODevice& out, PaperSize paper, const std::vector<SheetSection>& sections) {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QSizeF(paper.width, paper.height), QPageSize::Point,
                                 QString::fromLatin1(paper.name), QPageSize::FuzzyMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Quvo"));
    // The file's page is the named size in whole points, which the layout then fills.
    const QRect page = writer.pageLayout().fullRectPoints();
    paper.width = page.width();
    paper.height = page.height();
    const SheetLayout layout = LayOutSheet(SectionStrokeCounts(sections), paper);
    if (!layout.pages.empty()) {
        writer.setTitle(Q(PageTitle(sections, layout.pages.front())));
    }
    return PaintSheet(writer, layout, sections);
}

}  // namespace quvo
