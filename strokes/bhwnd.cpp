#include "strokes/bhwnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/guipause.h"
#include "app/usermessages.h"
#include "media/mcinotifyevent.h"
#include "strokes/qtstrokecanvas.h"
#include "strokes/strokeclassify.h"
#include "strokes/strokefill.h"

// The fill animation's view of the piece: the pixels of its surface, and a pause that shows
// the progress on the screen before it sleeps.
class CBHWnd::PixelWriter : public quvo::FillSurface {
public:
    explicit PixelWriter(CBHWnd& piece) : m_piece(piece) {}

    quvo::Colour Pixel(int x, int y) const override {
        const QImage& image = m_piece.m_surface;
        if (!image.valid(x, y)) {
            return 0;
        }
        const QRgb rgb = image.pixel(x, y);
        return quvo::MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }

    void SetPixel(int x, int y, quvo::Colour colour) override {
        if (m_piece.m_surface.valid(x, y)) {
            m_piece.m_surface.setPixel(x, y, quvo::ToQColor(colour).rgb());
        }
    }

    void Pause(int milliseconds) override {
        if (milliseconds <= 0) {
            return;  // no pause, no need to show the progress either
        }
        Show();
        quvo::PauseGuiThread(milliseconds);
    }

    void Show() { m_piece.repaint(); }

private:
    CBHWnd& m_piece;
};

CBHWnd::CBHWnd(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    hide();
}

CBHWnd::~CBHWnd() = default;

bool CBHWnd::Create(QWidget* parent, int id, const QRect& rect) {
    if (parent != parentWidget()) {
        setParent(parent);
    }
    m_id = id;
    setWindowTitle(QStringLiteral("bh"));
    setGeometry(rect);
    SetPieceCursor(m_cursor);
    ShapeToOutline();
    show();
    return true;
}

void CBHWnd::SetPieceCursor(const std::optional<QCursor>& cursor) {
    m_cursor = cursor;
    setCursor(m_cursor ? *m_cursor : QCursor(Qt::PointingHandCursor));
}

bool CBHWnd::ShapeIsCurrent() const {
    return m_outline == m_shapedOutline && m_bounds == m_shapedBounds && !m_region.IsEmpty();
}

quvo::PolygonRegion CBHWnd::BuildRegion() {
    quvo::SetStrokeOffset(m_outline, -m_bounds.left, -m_bounds.top);
    quvo::PolygonRegion region(quvo::GatherStrokePoints(m_outline));
    quvo::ResetStrokeOffset(m_outline);
    return region;
}

void CBHWnd::ShapeToOutline(int hitMargin) {
    // A piece that only moved keeps its shape: the region is in the piece's own coordinates.
    if (ShapeIsCurrent()) {
        if (hitMargin != m_hitMargin) {
            SetMask(hitMargin);
        }
        m_surfaceStale = true;
        update();
        return;
    }
    quvo::PolygonRegion region = BuildRegion();
    if (region.IsEmpty()) {
        return;  // the window keeps the shape it had
    }
    m_region = std::move(region);
    m_shapedOutline = m_outline;
    m_shapedBounds = m_bounds;
    SetMask(hitMargin);
    m_surfaceStale = true;
    update();
}

void CBHWnd::SetMask(int hitMargin) {
    m_hitMargin = hitMargin;
    setMask(hitMargin > 0 ? quvo::ToQRegion(m_region.GrownSpans(hitMargin)) : quvo::ToQRegion(m_region));
}

void CBHWnd::EnsureSurface() {
    if (m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_surface.fill(Qt::transparent);
        m_surfaceStale = true;
    }
}

// Outline in black, then the polygon in the piece's colour, in piece coordinates.
void CBHWnd::RenderPiece() {
    EnsureSurface();
    m_surface.fill(Qt::transparent);
    QPainter painter(&m_surface);
    quvo::PainterStrokeCanvas canvas(painter);
    quvo::DrawStrokeOutlineAt(canvas, m_outline, -m_bounds.left, -m_bounds.top,
                              {quvo::PenStyle::Solid, 1, 0});
    if (ShapeIsCurrent()) {
        canvas.FillSpans(m_region.Spans(), m_colour);  // the shape's own region, made once
    } else {
        quvo::FillStrokePolygonAt(canvas, m_outline, -m_bounds.left, -m_bounds.top, m_colour);
    }
    m_surfaceStale = false;
}

// Paints come for many reasons (a sibling moving over the piece, the window being shown);
// they show the piece's pixels as they are and draw it anew only when its shape changed.
void CBHWnd::paintEvent(QPaintEvent* event) {
    if (m_surfaceStale) {
        RenderPiece();
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface, event->rect());
}

void CBHWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    raise();
    show();
}

long CBHWnd::AnimateFill(int delay, int colourChoice) {
    m_fillDelay = quvo::NormaliseFillDelay(delay);
    const quvo::PolygonRegion region = BuildRegion();
    const auto seed = quvo::FindFillSeed(region, m_strokeType);
    if (!seed) {
        return 0;
    }
    const quvo::Colour colour = colourChoice == 1 ? m_colour : quvo::Complement(m_colour);
    EnsureSurface();
    if (m_surfaceStale) {
        RenderPiece();
    }
    PixelWriter writer(*this);
    const long pixels = quvo::FloodFill(region, *seed, colour, m_fillDelay, writer);
    writer.Show();
    return pixels;
}

void CBHWnd::ClearSurface() {
    EnsureSurface();
    m_surface.fill(Qt::transparent);
    m_surfaceStale = false;
}

void CBHWnd::Invalidate() {
    m_surfaceStale = true;
    update();
}

void CBHWnd::FillPiece(quvo::Colour colour) {
    EnsureSurface();
    {
        QPainter painter(&m_surface);
        quvo::PainterStrokeCanvas canvas(painter);
        quvo::FillStrokePolygonAt(canvas, m_outline, -m_bounds.left, -m_bounds.top, colour);
    }
    PixelWriter(*this).Show();
}

QPoint CBHWnd::ToDialog(QPoint local) const { return local + pos(); }

// The press belongs to the piece, so that the release comes back to it.
void CBHWnd::mousePressEvent(QMouseEvent* event) { event->accept(); }

void CBHWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_hover == 0) {
        const QPoint p = event->position().toPoint();
        // Two pixels inside on all four sides, so that the outline's edge does not fire it.
        const bool inside = m_region.Contains(p.x() - 2, p.y()) && m_region.Contains(p.x() + 2, p.y()) &&
                            m_region.Contains(p.x(), p.y() - 2) && m_region.Contains(p.x(), p.y() + 2);
        if (inside) {
            m_hover = 1;
            quvo::UserMessageEvent hovered(quvo::kPieceHovered, m_strokeNumber);
            hovered.point = ToDialog(p);
            quvo::SendUserMessage(parentWidget(), hovered);
        }
    }
    event->accept();  // a piece's own moves are not the dialog's
}

void CBHWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        quvo::UserMessageEvent clicked(quvo::kPieceClicked, m_strokeNumber);
        clicked.point = ToDialog(event->position().toPoint());
        quvo::SendUserMessage(parentWidget(), clicked);
    }
    event->accept();
}

void CBHWnd::OnMoving(const QRect& proposed) {
    quvo::UserMessageEvent moving(quvo::kPieceMoving, 1);
    moving.rect = proposed;
    quvo::SendUserMessage(parentWidget(), moving);
    repaint();
}

void CBHWnd::IdentifyAndSay() {
    if (m_strokeType < 0) {
        // Worked out from the outline shown now (the large one after a drop) and kept, so a
        // piece is analysed once; a shape without a code is tried again at the next drop.
        m_strokeType = quvo::IdentifyStrokeType(BuildRegion()).code;
    }
    SayStroke(m_strokeType);
}

void CBHWnd::SayStroke(int code) {
    if (code < 0 || code > 31) {
        return;
    }
    if (m_player.IsOpen()) {
        m_player.Stop();
        m_player.Close();
    }
    m_player.Init(static_cast<std::uint32_t>(kFirstSoundAlias - 1 + m_strokeNumber), this);
    if (m_player.Open("bihua/" + std::to_string(code + 1) + ".mp3")) {
        m_player.PlayNotify(this);
        m_player.Play(-1);
    }
}

// The end of the piece's own sound closes its player; any other notice is left alone. The
// event goes on to the usual handling either way.
bool CBHWnd::event(QEvent* event) {
    if (event->type() == quvo::MciNotifyEvent::EventType()) {
        const auto* notify = static_cast<quvo::MciNotifyEvent*>(event);
        if (notify->Code() == quvo::mci::kNotifySuccessful && notify->DeviceId() != 0 &&
            notify->DeviceId() == m_player.DeviceId()) {
            m_player.Stop();
            m_player.Close();
        }
    }
    return QWidget::event(event);
}
