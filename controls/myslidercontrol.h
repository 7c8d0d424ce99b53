#pragma once

#include <QColor>
#include <QSlider>

// The demonstration speed slider: a horizontal slider whose thumb has a colour of its own,
// one while at rest and a brighter one while it is being dragged.
class CMySliderControl : public QSlider {
    Q_OBJECT

public:
    explicit CMySliderControl(QWidget* parent = nullptr);

    void SetThumbColors(const QColor& normal, const QColor& selected);
    QColor NormalThumbColor() const { return m_normalThumb; }
    QColor SelectedThumbColor() const { return m_selectedThumb; }

private:
    void ApplyThumbColors();

    QColor m_normalThumb;
    QColor m_selectedThumb;
};
