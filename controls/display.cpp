#include "controls/display.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr QRgb kBlue = 0xff0000ff;

QFont FontOf(quvo::CreditStyle style) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(quvo::FontHeightOf(style));
    font.setBold(style != quvo::CreditStyle::kNotice);
    font.setUnderline(style == quvo::CreditStyle::kTitle);
    if (style == quvo::CreditStyle::kNotice) {
        font.setWeight(QFont::Thin);
    }
    return font;
}

QColor ColourOf(quvo::CreditStyle style) {
    switch (style) {
    case quvo::CreditStyle::kTitle:
        return QColor(255, 0, 0);
    case quvo::CreditStyle::kRole:
        return QColor(255, 255, 0);
    case quvo::CreditStyle::kNotice:
        return QColor(255, 255, 255);
    }
    return Qt::white;
}

}  // namespace

// 264 x 137 dialog units of the 8-point dialog font; the field is inset by 4 pixels.
CDisplay::CDisplay(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setModal(true);
    setFixedSize(396, 223);
    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("1019"));
    m_area->setGeometry(rect().adjusted(4, 4, -4, -4));
    m_area->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_field = QImage(m_area->size(), QImage::Format_RGB32);
    m_field.fill(kBlue);
    connect(&m_timer, &QTimer::timeout, this, &CDisplay::OnScrollTimer);
    m_timer.start(kStepMs);
}

// The field moves up one pixel; the bottom row turns blue and the current line shows one
// more row of itself there.
void CDisplay::OnScrollTimer() {
    if (m_scroll.Tick() == quvo::CreditsScroll::Step::kOver) {
        m_timer.stop();
        // A timer, not a pause: the field keeps painting and a click still closes it at once.
        QTimer::singleShot(m_closeDelay, this, &QDialog::reject);
        return;
    }
    const qsizetype row = m_field.bytesPerLine();
    uchar* bits = m_field.bits();
    std::memmove(bits, bits + row, static_cast<std::size_t>(row * (m_field.height() - 1)));
    auto* last = reinterpret_cast<QRgb*>(m_field.scanLine(m_field.height() - 1));
    std::fill(last, last + m_field.width(), kBlue);
    DrawCurrentLine();
    update(m_area->geometry());
}

void CDisplay::DrawCurrentLine() {
    const std::string& line = m_scroll.CurrentLine();
    if (line.empty()) {
        return;
    }
    const quvo::CreditStyle style = quvo::StyleOf(line);
    const QString text = QString::fromStdString(line.substr(0, line.size() - 1));
    QPainter painter(&m_field);
    const int bottom = m_field.height();
    const QRect band(0, bottom - m_scroll.RowsShown(), m_field.width(), m_scroll.RowsShown());
    painter.setClipRect(band);
    painter.setFont(FontOf(style));
    painter.setPen(ColourOf(style));
    painter.drawText(QRect(0, band.top(), m_field.width(), m_scroll.LineHeight() + 8),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
}

void CDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(m_area->geometry().topLeft(), m_field);
}

void CDisplay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_timer.stop();
        accept();
    }
}
