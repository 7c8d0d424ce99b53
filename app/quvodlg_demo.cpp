// The two aids of the game that run on timers: the blinking outline of the next stroke, and
// the demonstration that moves (and writes) the pieces into the grid in writing order.
#include <QPainter>

#include <cstdlib>
#include <utility>

#include "app/quvodlg.h"
#include "strokes/bhwnd.h"
#include "strokes/qtstrokecanvas.h"

// Every 100 ms the stroke that should be placed next is outlined again in a new colour.
void CQuvoDlg::OnHintTimer() {
    const int m = quvo::HintStroke(m_strokeOrder, m_placed.Count(), m_strokeCount);
    const int b = std::rand(), g = std::rand(), c = std::rand();
    m_hintColour = static_cast<std::uint32_t>((b & 0xFF) + 256 * (g % 256) + 65536 * (c & 0xFF));
    quvo::OutlineSeg* stroke = m_largeStrokes.StrokeAt(m);
    if (!stroke) {
        return;
    }
    m_hintStroke = m;
    quvo::Rect bounds;
    quvo::GetStrokeBounds(stroke, bounds);
    update(QRect(m_panels.practice.left + 10 + bounds.left - 2, m_panels.practice.top + 10 + bounds.top - 2,
                 bounds.Width() + 5, bounds.Height() + 5));
}

// Drawn over the panel by the paint the hint asked for; any later paint of the panel wipes
// it until the next tick draws it again.
void CQuvoDlg::DrawHint(QPainter& painter) {
    quvo::OutlineSeg* stroke = m_largeStrokes.StrokeAt(m_hintStroke);
    m_hintStroke = -1;
    if (!stroke) {
        return;
    }
    quvo::PainterStrokeCanvas canvas(painter);
    quvo::DrawStrokeOutlineAt(canvas, stroke, m_panels.practice.left + 10, m_panels.practice.top + 10,
                              {quvo::PenStyle::DashDot, 1, m_hintColour});
}

// "拼字演示": starts the demonstration from its first stroke, one interval from now.
void CQuvoDlg::OnDemoButton() {
    KillTimer(kDemoTimer);
    m_demoStep = 0;
    SetTimer(kDemoTimer, m_demoSpeed);
}

// One stroke per tick into the grid, in writing order; one tick after the last, all home.
void CQuvoDlg::OnDemoTimer() {
    const quvo::DemoTick tick = quvo::NextDemoTick(m_strokeOrder, m_demoStep, m_strokeCount);
    if (tick.pieceIn > 0) {
        DemoStep(tick.pieceIn, 1);
    }
    m_demoStep = tick.nextStep;
    if (tick.finished) {
        KillTimer(kDemoTimer);
        for (int s : tick.piecesBack) {
            DemoStep(s, 0);
        }
        m_demoStep = 0;
    }
}

// Piece s at full size where its stroke lies in the grid's character, or back home small;
// in write mode it is then written out in its own colour.
void CQuvoDlg::DemoStep(int s, int toPanel) {
    CBHWnd* piece = Piece(s);
    quvo::OutlineSeg* outline = toPanel ? m_largeStrokes.StrokeAt(s) : m_smallStrokes.StrokeAt(s);
    if (!piece || !outline) {
        return;
    }
    SwitchOutline(piece, outline);
    quvo::Rect target = piece->m_homeRect;
    if (toPanel) {
        const quvo::Rect& b = piece->m_bounds;
        const int dx = m_panels.practice.left + 8, dy = m_panels.practice.top + 8;
        target = {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    }
    piece->setGeometry(target.left, target.top, target.Width() + 4, target.Height() + 4);
    piece->ShapeToOutline();
    if (m_demoMode != 1) {
        piece->repaint();
        return;
    }
    // Written out: the piece is not drawn first, so its own colour floods over what lies
    // beneath it; then it is drawn as usual.
    piece->ClearSurface();
    piece->AnimateFill(m_demoSpeed, 1, true);
}

// A click in the grid or the tray, or Escape, ends a running demonstration at once: every
// piece goes home to the tray and nothing counts as placed, so that the child can play.
// False when no demonstration runs.
bool CQuvoDlg::StopDemo() {
    if (!IsTimerRunning(kDemoTimer)) {
        return false;
    }
    KillTimer(kDemoTimer);
    EndCarry();
    const int mode = std::exchange(m_demoMode, 0);  // home small and drawn, not written out
    for (int k = 1; k <= m_strokeCount; ++k) {
        DemoStep(k, 0);
    }
    m_demoMode = mode;
    m_demoStep = 0;
    m_placed.Clear();
    return true;
}
