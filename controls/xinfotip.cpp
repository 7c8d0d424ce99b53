#include "controls/xinfotip.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags kTipFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

constexpr int kSideMargin = 12;  // between the ellipse's box and the text, left and right
constexpr int kTopMargin = 25;   // between the ellipse's box and the text, top and bottom
constexpr int kIconGap = 5;      // between the icon and the text
constexpr int kTailHeight = 25;
constexpr int kTailWidth = 25;
constexpr int kOuterFrame = 3;
constexpr int kInnerFrame = 1;

// The part of `region` at least `width` pixels inside its edge, in each of the four directions.
QRegion Inset(const QRegion& region, int width) {
    return region & region.translated(width, 0) & region.translated(-width, 0) &
           region.translated(0, width) & region.translated(0, -width);
}

void Fill(QPainter& painter, const QRegion& region, const QColor& colour) {
    for (const QRect& rect : region) {
        painter.fillRect(rect, colour);
    }
}

// The largest picture the icon holds, each side kept in one byte.
QSize StoredIconSize(const QIcon& icon) {
    QSize largest(0, 0);
    for (const QSize& size : icon.availableSizes()) {
        if (size.width() * size.height() > largest.width() * largest.height()) {
            largest = size;
        }
    }
    return {largest.width() % 256, largest.height() % 256};
}

bool IsHidingButton(const QEvent* event) {
    const Qt::MouseButton button = static_cast<const QMouseEvent*>(event)->button();
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace

QSize CXInfoTip::Balloon::WindowSize() const {
    return {width, height + kTailHeight};
}

QRegion CXInfoTip::Balloon::Shape() const {
    return QRegion(QRect(0, 0, width, height), QRegion::Ellipse) | QRegion(tail, Qt::OddEvenFill);
}

CXInfoTip::Balloon CXInfoTip::BalloonFor(QSize textSize, std::optional<QSize> iconSize,
                                         QPoint anchor) {
    Balloon balloon;
    balloon.width = textSize.width() + 2 * kSideMargin;
    balloon.height = textSize.height() + 2 * kTopMargin;
    if (iconSize) {
        balloon.width += iconSize->width() + kIconGap;
        balloon.height = std::max(balloon.height, iconSize->height());
    }
    // Near the left edge of the screen the balloon opens to the right of the anchor.
    balloon.tailRight = balloon.width - kSideMargin < anchor.x();
    const int tipX = balloon.tailRight ? balloon.width - kSideMargin : kSideMargin;
    const int baseX = balloon.tailRight ? tipX - kTailWidth : tipX + kTailWidth;
    const int top = balloon.height - kTailHeight;
    balloon.tail = QPolygon({QPoint(tipX, top), QPoint(tipX, balloon.height), QPoint(baseX, top)});
    return balloon;
}

QPoint CXInfoTip::WindowPosition(const Balloon& balloon, QPoint anchor) {
    return anchor - balloon.TailTip();
}

CXInfoTip::CXInfoTip() : QWidget(nullptr, kTipFlags) {
    setAttribute(Qt::WA_ShowWithoutActivating);
}

CXInfoTip::~CXInfoTip() {
    KillTimer(m_timerId);
    m_tools.clear();
}

bool CXInfoTip::CreateTip(QWidget* parent) {
    setParent(parent, kTipFlags);
    setGeometry(0, 0, 0, 0);
    hide();
    m_font = QApplication::font();
    return true;
}

void CXInfoTip::AttachTip(QWidget* window, const QString& text, const QIcon& icon) {
    m_tools[window] = TipEntry{window, text, icon};
}

void CXInfoTip::DetachTip(QWidget* window) {
    m_tools.erase(window);
}

const CXInfoTip::TipEntry* CXInfoTip::FindTip(const QWidget* window) const {
    const auto it = m_tools.find(window);
    if (it == m_tools.end() || it->second.window.data() != window) {
        return nullptr;
    }
    return &it->second;
}

void CXInfoTip::SetTipIcon(const QIcon& icon) {
    m_icon = icon;
    const QSize size = StoredIconSize(icon);
    m_iconWidth = size.width();
    m_iconHeight = size.height();
    if (!icon.isNull()) {
        repaint();
    }
}

void CXInfoTip::ShowTip(const QString& text, std::optional<QPoint> point) {
    m_anchor = point.value_or(QCursor::pos());
    m_text = text;
    StartTimer(kShowTimer, m_showDelay);
}

void CXInfoTip::ForwardMessage(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            OnMouseMove();
            break;
        case QEvent::MouseButtonPress:
            if (IsHidingButton(event)) {
                hide();
            }
            break;
        default:
            break;
    }
}

// A pointer resting on a registered window asks for that window's tip at the pointer; a
// pointer anywhere else takes the balloon away. A show already asked for still comes.
void CXInfoTip::OnMouseMove() {
    const QPoint pointer = QCursor::pos();
    if (pointer != m_anchor) {
        if (const TipEntry* entry = FindTip(WindowUnder(pointer))) {
            m_anchor = pointer;
            SetTipIcon(entry->icon);
            ShowTip(entry->text, pointer);
        }
    }
    if (m_anchor != pointer) {
        hide();
    }
}

// The widget the pointer is on. The balloon itself counts only inside its shape; elsewhere in
// its window the pointer is on what lies beneath, in the dialog.
const QWidget* CXInfoTip::WindowUnder(QPoint global) const {
    if (isVisible() && mask().contains(mapFromGlobal(global))) {
        return this;
    }
    const QWidget* widget = QApplication::widgetAt(global);
    if (widget != this) {
        return widget;
    }
    const QWidget* below = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    return below != nullptr ? below->childAt(below->mapFromGlobal(global)) : nullptr;
}

void CXInfoTip::OnTimer(int id) {
    if (id == kShowTimer) {
        ShowBalloon();
    } else if (id == kHideCheckTimer) {
        CheckPointer();
    }
}

void CXInfoTip::ShowBalloon() {
    KillTimer(m_timerId);
    const Balloon balloon = CurrentBalloon();
    setMask(balloon.Shape());
    setGeometry(QRect(WindowPosition(balloon, m_anchor), balloon.WindowSize()));
    raise();
    show();
    StartTimer(kHideCheckTimer, kHideCheckInterval);
}

void CXInfoTip::CheckPointer() {
    if (QCursor::pos() != m_anchor) {
        KillTimer(m_timerId);
        hide();
    }
}

CXInfoTip::Balloon CXInfoTip::CurrentBalloon() const {
    const QSize textSize = QFontMetrics(m_font, this).size(Qt::TextExpandTabs, m_text);
    const std::optional<QSize> iconSize =
        m_icon.isNull() ? std::nullopt : std::optional<QSize>(IconSize());
    return BalloonFor(textSize, iconSize, m_anchor);
}

// Restarting a running timer puts its next firing a whole interval away.
void CXInfoTip::StartTimer(int id, int interval) {
    (id == kShowTimer ? m_showTimer : m_hideCheckTimer).start(interval, this);
    m_timerId = id;
}

void CXInfoTip::KillTimer(int id) {
    if (id == kShowTimer) {
        m_showTimer.stop();
    } else if (id == kHideCheckTimer) {
        m_hideCheckTimer.stop();
    }
}

void CXInfoTip::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_showTimer.timerId()) {
        OnTimer(kShowTimer);
    } else if (event->timerId() == m_hideCheckTimer.timerId()) {
        OnTimer(kHideCheckTimer);
    } else {
        QWidget::timerEvent(event);
    }
}

void CXInfoTip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintBalloon(painter, CurrentBalloon().Shape());
    PaintContents(painter);
}

// A light face with a grey frame, edged in the text colour.
void CXInfoTip::PaintBalloon(QPainter& painter, const QRegion& shape) const {
    const QPalette& colours = palette();
    Fill(painter, shape, colours.color(QPalette::Base));
    Fill(painter, shape - Inset(shape, kOuterFrame), colours.color(QPalette::Mid));
    Fill(painter, shape - Inset(shape, kInnerFrame), colours.color(QPalette::WindowText));
}

void CXInfoTip::PaintContents(QPainter& painter) const {
    const bool withIcon = !m_icon.isNull();
    const int textLeft = withIcon ? kSideMargin + m_iconWidth + kIconGap : kSideMargin;
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rect().adjusted(textLeft, kTopMargin, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_text);
    if (withIcon) {
        const QSize size = IconSize();
        painter.drawPixmap(QRect(QPoint(kSideMargin, kTopMargin), size), m_icon.pixmap(size));
    }
}
