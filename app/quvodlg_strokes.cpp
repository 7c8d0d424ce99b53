// The dialog's pictures of the current character: the coloured sample, the practice grid,
// the dotted large outline, and the title of the current textbook.
#include <QFont>
#include <QPainter>

#include "app/kaifont.h"
#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "strokes/outlineseg.h"
#include "strokes/qtstrokecanvas.h"
#include "strokes/strokegeometry.h"

// Every small stroke at the sample panel's top-left + (30, 10): magenta outline, then filled
// in the colour of its piece.
void CQuvoDlg::DrawSample(QPainter& painter) {
    quvo::PainterStrokeCanvas canvas(painter);
    const int x = m_panels.sample.left + 30;
    const int y = m_panels.sample.top + 10;
    const quvo::Pen pen{quvo::PenStyle::Solid, 1, quvo::kOutlineMagenta};
    for (int k = 1; k <= m_strokeCount; ++k) {
        quvo::OutlineSeg* chain = m_smallStrokes.StrokeAt(k);
        if (!chain) {
            break;
        }
        const auto colour = static_cast<quvo::Colour>(m_strokeColours[static_cast<std::size_t>(k - 1)]);
        quvo::DrawStrokeOutlineAt(canvas, chain, x, y, pen);
        quvo::FillStrokePolygonAt(canvas, chain, x, y, colour);
    }
}

// A square from the practice panel's top-left + (10, 10), as wide as the large font's widest
// character + 10: grey frame, dotted diagonals and middle lines.
void CQuvoDlg::DrawGrid(QPainter& painter) {
    quvo::PainterStrokeCanvas canvas(painter);
    const int m = m_textMetrics[1].maxCharWidth;
    const int l = m_panels.practice.left + 10;
    const int t = m_panels.practice.top + 10;
    const int r = m_panels.practice.left + m + 20;
    const int b = m_panels.practice.top + m + 20;
    canvas.Polyline({{l, t}, {r, t}, {r, b}, {l, b}, {l, t}},
                    {quvo::PenStyle::Solid, 2, quvo::kGridGrey});
    const quvo::Pen dotted{quvo::PenStyle::Dot, 1, 0};
    const int c = (m + 10) / 2;
    canvas.Polyline({{l, t}, {r, b}}, dotted);
    canvas.Polyline({{r, t}, {l, b}}, dotted);
    canvas.Polyline({{l, t + c}, {r, t + c}}, dotted);
    canvas.Polyline({{l + c, t}, {l + c, b}}, dotted);
}

// Every large stroke at the practice panel's top-left + (10, 10), dotted magenta, so that the
// character's cell sits in the grid's corner.
void CQuvoDlg::DrawUnderlay(QPainter& painter) {
    quvo::PainterStrokeCanvas canvas(painter);
    const quvo::Pen pen{quvo::PenStyle::Dot, 1, quvo::kOutlineMagenta};
    for (int k = 1; k <= m_strokeCount; ++k) {
        quvo::OutlineSeg* chain = m_largeStrokes.StrokeAt(k);
        if (!chain) {
            break;
        }
        quvo::DrawStrokeOutlineAt(canvas, chain, m_panels.practice.left + 10,
                                  m_panels.practice.top + 10, pen);
    }
}

// The textbook's file name without folder and extension (GBK), empty when the path has no
// folder or no extension.
std::string CQuvoDlg::TextbookName() const {
    const std::size_t slash = m_bookPath.find_last_of('/');
    const std::size_t dot = m_bookPath.find_last_of('.');
    if (slash == std::string::npos || dot == std::string::npos || dot < slash) {
        return {};
    }
    return m_bookPath.substr(slash + 1, dot - slash - 1);
}

// The textbook's name in KaiTi 30, centred by its byte length near the bottom panel's foot.
void CQuvoDlg::DrawTextbookTitle(QPainter& painter) {
    const std::string title = TextbookName();
    const auto text = quvo::GbkToUtf8(title);
    if (title.empty() || !text) {
        return;
    }
    QFont font(QString::fromUtf16(quvo::kKaiFaceName));
    font.setPixelSize(30);
    // The widest character of the face itself, not of whatever font Qt falls back on.
    const int maxWidth = GlyphFont().Metrics(30).maxCharWidth;
    const int x = (m_panels.bottom.right - m_panels.bottom.left) / 2 -
                  static_cast<int>(title.size()) * maxWidth / 4;
    const int y = m_panels.bottom.bottom - 40;
    painter.save();
    painter.setFont(font);
    painter.setPen(quvo::ToQColor(quvo::kTitleColour));
    painter.drawText(QRect(x, y, width() - x, 40), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromUtf8(text->c_str()));
    painter.restore();
}
