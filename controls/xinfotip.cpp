#include "controls/xinfotip.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags kTipFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
    Qt::WindowTransparentForInput;  // the tail's tip lies under the pointer: clicks go through

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

// The start of a run of `length` beginning at `start`, moved the least to lie within
// [first, last]; a run longer than that keeps to `first`.
int MovedWithin(int start, int length, int first, int last) {
    return std::max(first, std::min(start, last + 1 - length));
}

// Where the tail goes across the balloon: its side and its tip's x in window coordinates.
struct TailPlace {
    bool right = false;
    int tipX = 0;
};

// Left of the anchor with the tail on the right when that fits, else right of it with the tail
// on the left. The first needs the window to start past the left edge of the bounds, so that a
// balloon shown right at that edge opens to the right. Bounds too narrow for either get the
// window pushed inside them and the tail slid along the ellipse to stay over the anchor as far
// as it can.
TailPlace PlaceTail(int width, int anchorX, const QRect& bounds) {
    const auto fits = [&](int left) {
        return left >= bounds.left() && left + width - 1 <= bounds.right();
    };
    const int rightTip = width - kSideMargin;
    if (anchorX - rightTip > bounds.left() && fits(anchorX - rightTip)) {
        return {true, rightTip};
    }
    if (fits(anchorX - kSideMargin)) {
        return {false, kSideMargin};
    }
    const int x = MovedWithin(anchorX - width / 2, width, bounds.left(), bounds.right());
    const int tipX = std::clamp(anchorX - x, kSideMargin, width - kSideMargin);
    return {tipX > width / 2, tipX};
}

// The tail runs from 25 pixels inside the ellipse's box, where it joins the ellipse, to the
// tip; its base reaches towards the middle of the balloon.
QPolygon TailFor(const CXInfoTip::Balloon& balloon, int tipX) {
    const int baseX = balloon.tailRight ? tipX - kTailWidth : tipX + kTailWidth;
    const int tipY = balloon.tailTop ? 0 : balloon.height;
    const int baseY = balloon.tailTop ? 2 * kTailHeight : balloon.height - kTailHeight;
    return QPolygon({QPoint(tipX, baseY), QPoint(tipX, tipY), QPoint(baseX, baseY)});
}

// `rect` moved the least to lie inside `bounds`.
QRect MovedInto(QRect rect, const QRect& bounds) {
    rect.moveLeft(MovedWithin(rect.left(), rect.width(), bounds.left(), bounds.right()));
    rect.moveTop(MovedWithin(rect.top(), rect.height(), bounds.top(), bounds.bottom()));
    return rect;
}

bool IsHidingButton(const QEvent* event) {
    const Qt::MouseButton button = static_cast<const QMouseEvent*>(event)->button();
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace

QSize CXInfoTip::Balloon::WindowSize() const {
    return {width, height + kTailHeight};
}

QRect CXInfoTip::Balloon::Ellipse() const {
    return {0, tailTop ? kTailHeight : 0, width, height};
}

QRegion CXInfoTip::Balloon::Shape() const {
    return QRegion(Ellipse(), QRegion::Ellipse) | QRegion(tail, Qt::OddEvenFill);
}

// Above the anchor when the ellipse fits there, else below it, where the window reaches from
// the anchor down.
CXInfoTip::Balloon CXInfoTip::BalloonFor(QSize textSize, std::optional<QSize> iconSize,
                                         QPoint anchor, QRect bounds) {
    Balloon balloon;
    balloon.width = textSize.width() + 2 * kSideMargin;
    balloon.height = textSize.height() + 2 * kTopMargin;
    if (iconSize) {
        balloon.width += iconSize->width() + kIconGap;
        balloon.height = std::max(balloon.height, iconSize->height());
    }
    balloon.tailTop = anchor.y() - balloon.height < bounds.top();
    const TailPlace place = PlaceTail(balloon.width, anchor.x(), bounds);
    balloon.tailRight = place.right;
    balloon.tail = TailFor(balloon, place.tipX);
    return balloon;
}

QPoint CXInfoTip::WindowPosition(const Balloon& balloon, QPoint anchor) {
    return anchor - balloon.TailTip();
}

QRect CXInfoTip::WindowGeometry(const Balloon& balloon, QPoint anchor, QRect bounds) {
    return MovedInto(QRect(WindowPosition(balloon, anchor), balloon.WindowSize()), bounds);
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
    setGeometry(WindowGeometry(balloon, m_anchor, Bounds()));
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

QRect CXInfoTip::Bounds() const {
    const QScreen* screen = QGuiApplication::screenAt(m_anchor);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    QRect bounds = screen->availableGeometry();
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner != nullptr && owner->isVisible() && owner->frameGeometry().contains(m_anchor)) {
        bounds &= owner->frameGeometry();
    }
    return bounds;
}

CXInfoTip::Balloon CXInfoTip::CurrentBalloon() const {
    const QSize textSize = QFontMetrics(m_font, this).size(Qt::TextExpandTabs, m_text);
    const std::optional<QSize> iconSize =
        m_icon.isNull() ? std::nullopt : std::optional<QSize>(IconSize());
    return BalloonFor(textSize, iconSize, m_anchor, Bounds());
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
    const Balloon balloon = CurrentBalloon();
    PaintBalloon(painter, balloon.Shape());
    PaintContents(painter, balloon);
}

// A light face with a grey frame, edged in the text colour.
void CXInfoTip::PaintBalloon(QPainter& painter, const QRegion& shape) const {
    const QPalette& colours = palette();
    Fill(painter, shape, colours.color(QPalette::Base));
    Fill(painter, shape - Inset(shape, kOuterFrame), colours.color(QPalette::Mid));
    Fill(painter, shape - Inset(shape, kInnerFrame), colours.color(QPalette::WindowText));
}

// The icon at the ellipse's left, the text beside it, both the margins inside its box.
void CXInfoTip::PaintContents(QPainter& painter, const Balloon& balloon) const {
    const bool withIcon = !m_icon.isNull();
    const int textLeft = withIcon ? kSideMargin + m_iconWidth + kIconGap : kSideMargin;
    const int top = balloon.Ellipse().top() + kTopMargin;
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rect().adjusted(textLeft, top, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_text);
    if (withIcon) {
        const QSize size = IconSize();
        painter.drawPixmap(QRect(QPoint(kSideMargin, top), size), m_icon.pixmap(size));
    }
}
