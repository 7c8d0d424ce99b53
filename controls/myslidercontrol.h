#pragma once

#include <QColor>
#include <QPixmap>
#include <QSlider>

// The demonstration speed slider. It draws itself: the dialog's picture behind it, a sunken
// channel, and an elliptical thumb with a colour of its own, one while at rest and a
// brighter one while it is dragged. It tells when the user lets go of it, however the
// position was changed.
class CMySliderControl : public QSlider {
    Q_OBJECT

public:
    explicit CMySliderControl(QWidget* parent = nullptr);

    // A colour of black (0) stands for the system's colour.
    void SetThumbColors(const QColor& normal, const QColor& selected);
    QColor NormalThumbColor() const { return m_normalThumb; }
    QColor SelectedThumbColor() const { return m_selectedThumb; }
    // The colour the thumb is filled with now.
    QColor ThumbFill() const;

    // Forgets the copy of the picture behind the slider (a new theme); the next paint takes a
    // new one. With repaint, that paint comes at once.
    void ResetBackground(bool repaint);
    bool HoldsBackground() const { return !m_background.isNull(); }

    QRect ThumbRect() const;
    // The channel as drawn: the style's groove, 2 pixels taller on each side when horizontal,
    // 1 pixel wider on each side when vertical.
    QRect ChannelRect() const;

Q_SIGNALS:
    // The user let go: after a drag, a click on the track, a key or the wheel.
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void CaptureBackground();

    QPixmap m_background;  // the parent's picture behind the slider, taken once
    QColor m_normalThumb;
    QColor m_selectedThumb;
};
