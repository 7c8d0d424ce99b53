// Painting of the main dialog: the theme picture behind everything, then the drawings of
// the panels in a fixed order.
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QPaintEvent>

#include <algorithm>

#include "app/bitmapfile.h"
#include "app/quvodlg.h"
#include "chardata/gbk.h"

// Loads a bitmap file as the background picture. On failure the picture stays as it was.
bool CQuvoDlg::LoadBackgroundPicture(const std::string& path) {
    const auto fileName = quvo::GbkToUtf8(path);
    quvo::DecodedBitmap bitmap;
    if (!fileName || !quvo::LoadBitmapFile(*fileName, false, bitmap)) {
        return false;
    }
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* row = bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
        std::copy(row, row + bitmap.width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    }
    m_background = QPixmap::fromImage(image);
    m_backgroundImage = image;
    return true;
}

// The picture's pixels under the runs `spans`, placed at `at` in the dialog; pixels outside
// the picture are left out.
std::vector<quvo::Colour> CQuvoDlg::PictureUnder(const std::vector<quvo::PolygonRegion::Span>& spans,
                                                 QPoint at) const {
    std::vector<quvo::Colour> pixels;
    for (const quvo::PolygonRegion::Span& s : spans) {
        for (int x = s.left; x < s.right; ++x) {
            const QPoint p = at + QPoint(x, s.y);
            if (m_backgroundImage.valid(p)) {
                const QRgb rgb = m_backgroundImage.pixel(p);
                pixels.push_back(quvo::MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb)));
            }
        }
    }
    return pixels;
}

void CQuvoDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (isMinimized()) {
        PaintMinimisedIcon(painter);
        return;
    }
    // The picture is not scaled: only its top-left 1024 x 768 pixels are used. The dialog
    // paints its own background (it is opaque), so what the picture leaves uncovered gets the
    // window colour here.
    const QRect picture = m_background.isNull()
                              ? QRect()
                              : QRect(0, 0, std::min(m_background.width(), int(kWidth)),
                                      std::min(m_background.height(), int(kHeight)));
    if (!picture.contains(event->rect())) {
        painter.fillRect(event->rect(), palette().window());
    }
    if (!m_background.isNull()) {
        const QRect exposed = event->rect() & picture;
        painter.drawPixmap(exposed, m_background, exposed);
    }
    // Each drawing stays inside its panel; a repaint elsewhere (a piece being redrawn in the
    // pieces panel) skips it, which keeps creating and moving pieces fast.
    const QRegion& dirty = event->region();
    auto touches = [&dirty](const quvo::Rect& r) {
        return dirty.intersects(QRect(r.left, r.top, r.Width(), r.Height()));
    };
    if (m_showSample && touches(m_panels.sample)) {
        DrawSample(painter);
    }
    if (m_showGrid && touches(m_panels.practice)) {
        DrawGrid(painter);
    }
    if (m_showUnderlay && touches(m_panels.practice)) {
        DrawUnderlay(painter);
    }
    if (m_showPinyin && touches(m_panels.title)) {
        DrawPinyin(painter);
    }
    if (touches(m_panels.bottom)) {
        DrawTextbookTitle(painter);
    }
    DrawHint(painter);
    if (m_webPanelDue) {
        m_webPanelDue = false;
        ReportStartupStamp("first paint");
        QTimer::singleShot(0, this, &CQuvoDlg::CreateWebPanel);
    }
}

void CQuvoDlg::PaintMinimisedIcon(QPainter& painter) {
    const QSize icon(32, 32);
    painter.fillRect(rect(), palette().window());
    m_mainIcon.paint(&painter, (width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2,
                     icon.width(), icon.height());
}
