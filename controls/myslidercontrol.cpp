#include "controls/myslidercontrol.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <qdrawutil.h>

CMySliderControl::CMySliderControl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
}

void CMySliderControl::SetThumbColors(const QColor& normal, const QColor& selected) {
    m_normalThumb = normal;
    m_selectedThumb = selected;
}

QColor CMySliderControl::ThumbFill() const {
    const bool dragged = isSliderDown();
    const QColor chosen = dragged ? m_selectedThumb : m_normalThumb;
    if (chosen.isValid() && chosen != QColor(Qt::black)) {
        return chosen;
    }
    return palette().color(dragged ? QPalette::Light : QPalette::Button);
}

void CMySliderControl::ResetBackground(bool repaint) {
    m_background = QPixmap();
    if (repaint) {
        this->repaint();
    }
}

QRect CMySliderControl::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

QRect CMySliderControl::ChannelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    if (orientation() == Qt::Vertical) {
        return groove.adjusted(-1, 0, 1, 0);
    }
    // The style's groove of a horizontal slider may be its whole height: keep a thin channel.
    QRect channel(groove.left(), groove.center().y() - 2, groove.width(), 4);
    return channel.adjusted(0, -2, 0, 2);
}

// The parent's own drawing under the slider, without its child controls.
void CMySliderControl::CaptureBackground() {
    QWidget* parent = parentWidget();
    if (parent == nullptr || HoldsBackground()) {
        return;
    }
    QPixmap copy(size());
    copy.fill(parent->palette().window().color());
    parent->render(&copy, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    m_background = copy;
}

void CMySliderControl::paintEvent(QPaintEvent* /*event*/) {
    CaptureBackground();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    qDrawShadePanel(&painter, ChannelRect(), palette(), true, 1);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(ThumbFill());
    painter.drawEllipse(ThumbRect().adjusted(0, 0, -1, -1));
}

void CMySliderControl::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    Q_EMIT released();
}

void CMySliderControl::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    switch (event->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        Q_EMIT released();
        break;
    default:
        break;
    }
}

void CMySliderControl::wheelEvent(QWheelEvent* event) {
    QSlider::wheelEvent(event);
    Q_EMIT released();
}
