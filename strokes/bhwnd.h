#pragma once

#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "app/dialoglayout.h"
#include "media/mediaplayer.h"
#include "strokes/outlineseg.h"
#include "strokes/polygonregion.h"
#include "strokes/strokegeometry.h"

// One stroke of the current character as a window of its own: a borderless child of the main
// dialog shaped exactly like the stroke's outline and painted in the piece's colour. It draws
// itself, keeps its shape in step with the outline it shows, reports clicks and hovering to
// the dialog, and runs the fill animation when asked. Moving and judging are the dialog's.
class CBHWnd : public QWidget {
    Q_OBJECT

public:
    explicit CBHWnd(QWidget* parent = nullptr);
    ~CBHWnd() override;

    // Shows the window as control `id` at `rect` of the parent (the home rectangle at first),
    // shaped to the current outline. Stroke number, outline, colour, bounds, home rectangle,
    // stroke type and cursor are set before.
    bool Create(QWidget* parent, int id, const QRect& rect);

    // The window's shape becomes the polygon of the current outline; then it is redrawn.
    // With a hit margin, clicks within that many pixels of the shape count as on the piece
    // too (the enlarged preview, which a child's click may just miss).
    void ShapeToOutline(int hitMargin = 0);

    // "Writes" the stroke: floods its polygon from where the stroke starts, in the piece's
    // colour (choice 1) or its complement (any other choice), at the pace of 100 pixels every
    // delay / 100 ms but never in less than quvo::kShortestFillMs * delay / 1000 ms. It runs as
    // an animation on the piece's own timer and returns at once with the pixels it will set;
    // at delay 0 they are all set before it returns. With `redrawWhenDone` the piece is drawn
    // anew (outline and colour) once the fill has ended.
    long AnimateFill(int delay, int colourChoice, bool redrawWhenDone = false);
    bool IsFilling() const { return m_fill.timer.isActive(); }
    // A running fill writes its remaining pixels now.
    void FinishFill();
    // Where the fill animation takes its time from, in milliseconds (a steady clock unless a
    // test sets another; an empty function brings the steady clock back).
    static void SetFillClock(std::function<long long()> now);

    // Says the name of the piece's stroke type. A piece whose type is not known works it out
    // from the shape of its current outline first and keeps it, so that the fill starts from
    // the right end too; a shape without a code stays silent and unfilled.
    void IdentifyAndSay();
    // Plays "bihua/<code + 1>.mp3" with the piece's own player; codes outside 0..31 say nothing.
    void SayStroke(int code);
    // Piece k speaks under alias number kFirstSoundAlias - 1 + k, clear of the dialog's players
    // (music 1, cues 4).
    static constexpr int kFirstSoundAlias = 10;

    // Forgets what the piece shows, so that whatever lies beneath shows through until the
    // fill animation or the next drawing of the piece covers it.
    void ClearSurface();
    // Asks for the piece to be drawn anew (outline, then fill in its colour) soon.
    void Invalidate();

    // Fills the piece's polygon in `colour` at once, over whatever it shows (flashing).
    void FillPiece(quvo::Colour colour);

    // The platform's report that the window is being dragged to `proposed` (parent
    // coordinates). Pieces are moved by the dialog, so nothing here starts such a drag.
    void OnMoving(const QRect& proposed);

    int ControlId() const { return m_id; }
    const quvo::PolygonRegion& Region() const { return m_region; }
    const QImage& Surface() const { return m_surface; }

    // Fields the dialog sets and reads.
    int m_strokeType = -1;
    quvo::OutlineSeg* m_outline = nullptr;
    quvo::Colour m_colour = 0;
    quvo::Rect m_bounds;         // of the current outline, right and bottom inclusive
    int m_strokeNumber = -1;
    quvo::Rect m_homeRect;       // place in the pieces panel, dialog coordinates
    std::optional<QCursor> m_cursor;
    int m_fillDelay = 0;
    int m_hover = 0;
    int m_soundFlag = 0;
    CMediaPlayer m_player;       // the stroke's spoken name

    // Gives the piece its cursor; without one it shows the hand.
    void SetPieceCursor(const std::optional<QCursor>& cursor);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TestBHWnd;
    class PixelWriter;

    quvo::PolygonRegion BuildRegion();
    void SetMask(int hitMargin);
    QPoint ToDialog(QPoint local) const;
    void EnsureSurface();
    void RenderPiece();
    // The region was made from the outline and bounds the piece has now.
    bool ShapeIsCurrent() const;

    int m_id = 0;
    quvo::PolygonRegion m_region;
    const quvo::OutlineSeg* m_shapedOutline = nullptr;  // what m_region was made from
    quvo::Rect m_shapedBounds;
    int m_hitMargin = 0;         // of the present mask
    // The fill animation: the pixels in the order they are written, how many are written,
    // and since when it runs.
    struct Fill {
        QTimer timer;
        std::vector<quvo::StrokePoint> order;
        std::size_t written = 0;
        quvo::Colour colour = 0;
        int delay = 0;
        long long started = 0;
        bool redrawWhenDone = false;
    } m_fill;
    void AdvanceFill();
    // A fill still running stops where it is, without the redraw it may have asked for.
    void DropFill();
    void EndFill();
    // The window's own pixels: drawn from outline and colour when they change, and written
    // over by the fill animation and the flashing, which stay until the piece is drawn anew.
    QImage m_surface;
    bool m_surfaceStale = true;  // the surface does not yet show the current outline
};
