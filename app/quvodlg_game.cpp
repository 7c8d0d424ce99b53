// The assembling game on the dialog: the enlarged preview of a piece under the pointer,
// picking a piece up with a click or a drag, carrying it, putting it down with the next click
// or the drag's release, and the verdict once every piece is placed.
#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "controls/mybutton.h"
#include "controls/xinfotip.h"
#include "strokes/bhwnd.h"
#include "strokes/qtstrokecanvas.h"

namespace {

quvo::Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QRect ToQRect(const quvo::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Where a window of `size` with its top-left at `topLeft` goes to lie whole inside the dialog.
QPoint KeptInside(QPoint topLeft, QSize size) {
    const int x = std::clamp(topLeft.x(), 0, std::max(0, CQuvoDlg::kWidth - size.width()));
    const int y = std::clamp(topLeft.y(), 0, std::max(0, CQuvoDlg::kHeight - size.height()));
    return {x, y};
}

}  // namespace

// Piece k (from 1), or null when k names no piece of the current character.
CBHWnd* CQuvoDlg::Piece(int k) const {
    if (k < 1 || k > static_cast<int>(m_pieces.size())) {
        return nullptr;
    }
    return m_pieces[static_cast<std::size_t>(k - 1)];
}

void CQuvoDlg::SwitchOutline(CBHWnd* piece, quvo::OutlineSeg* outline) {
    piece->m_outline = outline;
    quvo::GetStrokeBounds(outline, piece->m_bounds);
}

void CQuvoDlg::SetDialogCursor(const std::optional<QCursor>& cursor) {
    m_currentCursor = cursor ? cursor : std::optional<QCursor>(QCursor(Qt::PointingHandCursor));
    setCursor(*m_currentCursor);
}

void CQuvoDlg::OnPieceHovered(quvo::UserMessageEvent& event) {
    event.result = PreviewPiece(static_cast<int>(event.wParam()), event.point);
}

// The piece under the pointer grows to its large stroke for a look, the pointed-at point of
// the stroke staying under the pointer so that the click that follows still finds it; the
// enlarged piece stays whole inside the window.
int CQuvoDlg::PreviewPiece(int p, QPoint point) {
    if (CBHWnd* shown = Piece(m_hoveredPiece); shown && shown->m_hover) {
        EndPreview();
    }
    m_hoveredPiece = p;
    CBHWnd* piece = Piece(p);
    if (!piece) {
        return 0;
    }
    if (m_panels.practice.Contains(point.x(), point.y()) || m_pieceCarried) {
        piece->m_hover = 0;
        m_hoveredPiece = -1;
        return 0;
    }
    quvo::OutlineSeg* large = m_largeStrokes.StrokeAt(p);
    if (!large) {
        return 0;
    }
    m_hoverRect = ToQRect(piece->m_homeRect);
    const quvo::Rect small = piece->m_bounds;
    const QPoint smallWindow = piece->pos();
    SwitchOutline(piece, large);
    piece->ShapeToOutline(kPreviewHitMargin);
    const quvo::StrokePoint topLeft =
        quvo::PreviewTopLeft({point.x(), point.y()}, {smallWindow.x(), smallWindow.y()}, small,
                             piece->m_bounds, piece->Region());
    const QSize size(piece->m_bounds.Width() + 4, piece->m_bounds.Height() + 4);
    piece->setGeometry(QRect(KeptInside(QPoint(topLeft.x, topLeft.y), size), size));
    piece->repaint();
    return 1;
}

// The previewed piece goes back to its small stroke at its place in the tray.
void CQuvoDlg::EndPreview() {
    if (CBHWnd* piece = Piece(m_hoveredPiece)) {
        piece->m_hover = 0;
        SwitchOutline(piece, m_smallStrokes.StrokeAt(m_hoveredPiece));
        piece->setGeometry(m_hoverRect);
        piece->ShapeToOutline();
        piece->repaint();
    }
    m_hoveredPiece = -1;
}

quvo::CarryGesture::Settings CQuvoDlg::CarrySettings() {
    quvo::CarryGesture::Settings settings;
    if (const QStyleHints* hints = QGuiApplication::styleHints()) {
        settings.dragDistance = hints->startDragDistance();
        settings.doubleClickMs = hints->mouseDoubleClickInterval();
    }
    return settings;
}

// The left button down on a piece. A running demonstration ends first, and that is all the
// press does.
void CQuvoDlg::OnPiecePressed(quvo::UserMessageEvent& event) {
    if (StopDemo()) {
        return;
    }
    PressForCarry(static_cast<int>(event.wParam()), event.point, event.time);
}

// A release over a piece that no carry's grab took to the dialog.
void CQuvoDlg::OnPieceClicked(quvo::UserMessageEvent& event) {
    ReleaseForCarry(event.point, event.time);
    event.result = m_pieceCarried;
}

void CQuvoDlg::PressForCarry(int p, QPoint point, unsigned long long time) {
    const auto action = m_gesture.Press(p, {point.x(), point.y()}, static_cast<long long>(time));
    if (action == quvo::CarryGesture::Action::kPickUp && PickUpPiece(p, point) == 1) {
        m_gesture.PickedUp();
    }
}

void CQuvoDlg::ReleaseForCarry(QPoint point, unsigned long long time) {
    if (m_gesture.Release({point.x(), point.y()}, static_cast<long long>(time)) ==
        quvo::CarryGesture::Action::kPutDown) {
        PutDownPiece(point);
    }
}

// A carry that ends without being put down: the piece stays where it is.
void CQuvoDlg::EndCarry() {
    m_gesture.Reset();
    if (m_pieceCarried) {
        m_pieceCarried = 0;
        releaseMouse();
        SetDialogCursor(m_cursorNormal);
    }
}

// A press picks a piece up; it then follows the pointer, the pressed point of the stroke
// staying under it, until the next click or the end of the drag.
int CQuvoDlg::PickUpPiece(int p, QPoint point) {
    CBHWnd* piece = Piece(p);
    if (!piece) {
        return -1;
    }
    m_carriedPiece = p;
    m_largeFlag = piece->m_outline == m_largeStrokes.StrokeAt(p) ? 1 : 0;
    m_referencePoint = point;
    if (!CheckStrokeAtPickUp(p, point)) {
        return 0;
    }
    piece->FinishFill();
    if (p == m_hoveredPiece) {
        piece->m_hover = 0;  // the preview became the carry: it is not sent home
        m_hoveredPiece = -1;
    }
    piece->raise();
    SetDialogCursor(m_cursorMove);
    m_pieceCarried = 1;
    grabMouse();
    return 1;
}

// With the stroke-by-stroke check on, a piece taken from the tray must be the next stroke:
// the right one is greeted with a chime, a wrong one refused with a sound and a balloon.
bool CQuvoDlg::CheckStrokeAtPickUp(int p, QPoint point) {
    const quvo::PickUpVerdict verdict =
        quvo::CheckPickUp(m_strokeCheck != 0, m_panels.pieces.Contains(point.x(), point.y()),
                          m_strokeOrder, m_placed.Count(), m_strokeCount, p);
    if (verdict == quvo::PickUpVerdict::kWrong) {
        PlayCue(m_errorCuePath);
        m_infoTip->ShowTip(QStringLiteral("不对哦\n再想想！"));
        return false;
    }
    if (verdict == quvo::PickUpVerdict::kRight) {
        PlayCue(m_rightCuePath);
    }
    return true;
}

void CQuvoDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool inGame = m_panels.practice.Contains(point.x(), point.y()) ||
                        m_panels.pieces.Contains(point.x(), point.y());
    if (inGame && StopDemo()) {
        return;
    }
    if (m_pieceCarried) {
        PressForCarry(0, point, event->timestamp());
    } else if (Piece(m_hoveredPiece) && m_hoverRect.contains(point)) {
        // Beside the enlarged piece but on its place in the tray: the child meant the piece.
        PressForCarry(m_hoveredPiece, point, event->timestamp());
    } else {
        QDialog::mousePressEvent(event);
    }
}

void CQuvoDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_pieceCarried) {
        m_gesture.Move({point.x(), point.y()}, event->buttons().testFlag(Qt::LeftButton));
        CarryPiece(point);
    } else if (Piece(m_hoveredPiece) && !m_hoverRect.contains(point)) {
        EndPreview();
    }
    QDialog::mouseMoveEvent(event);
}

// The carried piece follows the pointer, large over the practice panel and small over the
// tray and the sample, and never into the web panel. The point of the stroke that was pressed
// stays under the pointer, also when the piece changes size.
void CQuvoDlg::CarryPiece(QPoint point) {
    CBHWnd* piece = Piece(m_carriedPiece);
    if (!piece) {
        return;
    }
    QPoint topLeft = piece->pos();
    auto resize = [&](quvo::OutlineSeg* outline, int large) {
        const quvo::Rect before = piece->m_bounds;
        SwitchOutline(piece, outline);
        piece->ShapeToOutline();
        const quvo::StrokePoint at =
            quvo::PreviewTopLeft({m_referencePoint.x(), m_referencePoint.y()}, {topLeft.x(), topLeft.y()},
                                 before, piece->m_bounds, piece->Region());
        topLeft = QPoint(at.x, at.y);
        m_largeFlag = large;
    };
    const int x = point.x(), y = point.y();
    if (m_panels.practice.Contains(x, y) && !m_largeFlag) {
        resize(m_largeStrokes.StrokeAt(m_carriedPiece), 1);
    }
    if ((m_panels.pieces.Contains(x, y) || m_panels.sample.Contains(x, y)) && m_largeFlag) {
        resize(m_smallStrokes.StrokeAt(m_carriedPiece), 0);
    }
    const QSize size(piece->m_bounds.Width() + 4, piece->m_bounds.Height() + 4);
    const QPoint delta = point - m_referencePoint;
    if (topLeft.x() + size.width() + delta.x() > m_panels.web.left) {
        // The piece stays; the pointer's way is made up at the next allowed move.
        piece->setGeometry(QRect(topLeft, size));
        return;
    }
    piece->setGeometry(QRect(topLeft + delta, size));
    m_referencePoint = point;
    piece->ShapeToOutline();
}

void CQuvoDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pieceCarried && event->button() == Qt::LeftButton) {
        ReleaseForCarry(event->position().toPoint(), event->timestamp());
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

// The next click puts the piece down where it is. Into the practice panel it counts as
// placed (and says its stroke's name and writes itself out); out of it, it is taken back.
void CQuvoDlg::PutDownPiece(QPoint point) {
    m_gesture.Reset();
    m_pieceCarried = 0;
    releaseMouse();
    SetDialogCursor(m_cursorNormal);
    const bool inPractice = m_panels.practice.Contains(point.x(), point.y());
    if (inPractice && m_hoveredPiece != -1) {
        if (CBHWnd* hovered = Piece(m_hoveredPiece)) {
            hovered->m_hover = 0;
        }
        m_hoveredPiece = -1;
    }
    if (m_placed.Count() < m_strokeCount) {
        CBHWnd* piece = Piece(m_carriedPiece);
        if (piece && quvo::DropPiece(m_placed, m_carriedPiece, inPractice) == quvo::DropOutcome::kPlaced) {
            piece->IdentifyAndSay();
            piece->AnimateFill(m_demoSpeed, 0);
        }
    }
    if (m_placed.Count() >= m_strokeCount && m_strokeCount > 0) {
        KillTimer(kHintTimer);
        CheckAssembly();
    }
}

// All pieces are placed: praise a right order, mark the pieces placed out of order so that
// they flash, and start over with the pieces where they are.
void CQuvoDlg::CheckAssembly() {
    const std::string wrong = quvo::CheckAssembly(m_strokeOrder, m_placed.Text(), m_strokeMarks);
    m_placed.Clear();
    const std::string result = wrong.empty() ? "ok" : "no";
    if (wrong.empty()) {
        m_infoTip->ShowTip(QStringLiteral("你真棒!\n全拼对了\n加油"));
    }
    std::vector<std::string> buttons;
    for (CMyButton* button : m_charButtons) {
        buttons.emplace_back(button->Character());
    }
    m_resultPage = quvo::ResultPageQuery(m_currentChar, result, wrong, m_strokeCount, buttons);
    NavigateToResultPage(m_resultPage);
    SetTimer(kFlashTimer, 500);
}

// Every piece placed out of order takes one new random colour per tick.
void CQuvoDlg::OnFlashTimer() {
    const int a = std::rand(), b = std::rand(), c = std::rand();
    const auto colour = static_cast<quvo::Colour>((a & 0xFF) + 256 * (b & 0xFF) + 65536 * (c % 256));
    for (std::uint8_t mark : m_strokeMarks) {
        if (CBHWnd* piece = mark != 0 ? Piece(mark) : nullptr) {
            piece->FillPiece(colour);
        }
    }
}

void CQuvoDlg::OnPieceMoving(quvo::UserMessageEvent& event) {
    // A piece dragged by the window system (never done by this program, which moves pieces
    // itself): once it reaches the practice panel it shows its large stroke.
    CBHWnd* piece = Piece(m_carriedPiece);
    if (piece && !m_largeFlag && ToRect(event.rect).right > m_panels.practice.left) {
        SwitchOutline(piece, m_largeStrokes.StrokeAt(m_carriedPiece));
        m_largeFlag = 1;
    }
}
