#include "controls/myslidercontrol.h"

CMySliderControl::CMySliderControl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
}

void CMySliderControl::SetThumbColors(const QColor& normal, const QColor& selected) {
    m_normalThumb = normal;
    m_selectedThumb = selected;
    ApplyThumbColors();
}

void CMySliderControl::ApplyThumbColors() {
    setStyleSheet(QStringLiteral("QSlider::groove:horizontal { height: 4px; background: #a0a0a0; }"
                                 "QSlider::handle:horizontal { width: 10px; margin: -8px 0;"
                                 " background: %1; border: 1px solid #606060; }"
                                 "QSlider::handle:horizontal:pressed { background: %2; }")
                      .arg(m_normalThumb.name(), m_selectedThumb.name()));
}
