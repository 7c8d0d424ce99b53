#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

#include "controls/credits.h"

// The closing credits: a blue field on which the credit lines rise one pixel every 40 ms,
// each revealed row by row at the bottom in its own style. It closes two seconds after the
// last line, or at once on a click.
class CDisplay : public QDialog {
    Q_OBJECT

public:
    static constexpr int kStepMs = 40;
    explicit CDisplay(QWidget* parent = nullptr);

    // One 40 ms step of the scroll.
    void OnScrollTimer();
    const quvo::CreditsScroll& Scroll() const { return m_scroll; }
    // The field as it is now.
    const QImage& Field() const { return m_field; }
    // How long the last line stays before the credits close (2000 ms).
    int m_closeDelay = 2000;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawCurrentLine();

    QWidget* m_area;               // control 1019, where the field is shown
    QImage m_field;                // the credits area's pixels, scrolled in place
    quvo::CreditsScroll m_scroll;
    QTimer m_timer;
};
