#include "controls/buttonst.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>

CButtonST::CButtonST(QWidget* parent) : CButtonST(QString(), parent) {}

CButtonST::CButtonST(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
    setFlat(true);
    const QPalette system = QApplication::palette();
    m_normalBack = m_activeBack = system.color(QPalette::Button);
    m_normalText = m_activeText = system.color(QPalette::ButtonText);
}

void CButtonST::AssignIcons(const QIcon& active, const QIcon& normal) {
    m_activeIcon = active;
    m_normalIcon = normal.isNull() ? active : normal;
    const QList<QSize> sizes = active.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize() : sizes.front();
    m_iconWidth = size.width() % 256;
    m_iconHeight = size.height() % 256;
    repaint();
}

void CButtonST::LoadIcons(int activeId, int normalId, int size) {
    const auto load = [](int id, int side) {
        QPixmap pixmap(QStringLiteral(":/icons/icon%1.png").arg(id));
        if (side > 0 && !pixmap.isNull()) {
            pixmap = pixmap.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        return pixmap.isNull() ? QIcon() : QIcon(pixmap);
    };
    AssignIcons(load(activeId, size), normalId != 0 ? load(normalId, 0) : QIcon());
}

void CButtonST::SetNormalBackColor(const QColor& colour, bool repaint) {
    m_normalBack = colour;
    if (repaint) update();
}

void CButtonST::SetNormalTextColor(const QColor& colour, bool repaint) {
    m_normalText = colour;
    if (repaint) update();
}

void CButtonST::SetActiveBackColor(const QColor& colour, bool repaint) {
    m_activeBack = colour;
    if (repaint) update();
}

void CButtonST::SetActiveTextColor(const QColor& colour, bool repaint) {
    m_activeText = colour;
    if (repaint) update();
}

void CButtonST::ShowCaption(bool show) {
    m_showCaption = show;
    update();
}

void CButtonST::ResetBackground(bool repaint) {
    m_backgroundCache = QPixmap();
    if (repaint) update();
}

void CButtonST::SetTipText(const QString& text, bool activate) {
    setToolTip(activate ? text : QString());
}

QColor CButtonST::TextColour() const { return IsActive() ? m_activeText : m_normalText; }

QRect CButtonST::IconRect() const {
    QRect r = rect();
    if (m_showCaption && !text().isEmpty()) {
        r.setLeft(r.left() + 3);
    } else {
        r.setLeft(r.left() + (r.width() - m_iconWidth) / 2);
    }
    r.setTop(r.top() + (r.height() - m_iconHeight) / 2);
    r.setSize(QSize(m_iconWidth, m_iconHeight));
    return isDown() ? r.translated(1, 1) : r;
}

QRect CButtonST::CaptionRect() const {
    QRect r = rect();
    if (!m_activeIcon.isNull()) {
        r.setLeft(r.left() + m_iconWidth + 3);
    }
    return isDown() ? r.translated(1, 1) : r;
}

// The parent's own drawing (its background picture) under the button, without any child
// controls, taken once and reused until ResetBackground.
void CButtonST::CaptureBackground() {
    QWidget* parent = parentWidget();
    if (parent == nullptr || !m_backgroundCache.isNull()) {
        return;
    }
    QPixmap cache(size());
    cache.fill(parent->palette().window().color());
    parent->render(&cache, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    m_backgroundCache = cache;
}

void CButtonST::DrawBorder(QPainter& painter) const {
    const QPalette& p = palette();
    const QColor light = p.color(QPalette::Light), shadow = p.color(QPalette::Dark);
    const QColor topLeft = isDown() ? shadow : light, bottomRight = isDown() ? light : shadow;
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void CButtonST::paintEvent(QPaintEvent* /*event*/) {
    CaptureBackground();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_backgroundCache);
    if (isDown() || m_hover) {
        DrawBorder(painter);
    }
    if (!m_activeIcon.isNull()) {
        const QIcon& icon = IsActive() ? m_activeIcon : m_normalIcon;
        icon.paint(&painter, IconRect(), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    const QString caption = m_showCaption ? text() : QString();
    if (caption.isEmpty()) {
        return;
    }
    QFont font(QStringLiteral("楷体_GB2312"));
    font.setPixelSize(m_textSize);
    painter.setFont(font);
    painter.setPen(isEnabled() ? TextColour() : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(CaptionRect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
}

// Hover starts only when the pointer comes in without the left button held.
void CButtonST::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (!(QApplication::mouseButtons() & Qt::LeftButton) || m_hover) {
        m_hover = true;
        update();
    }
}

void CButtonST::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

// The second press of a double click counts as a press, so two quick clicks are two clicks.
void CButtonST::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }
