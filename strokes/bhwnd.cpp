#include "strokes/bhwnd.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/usermessages.h"
#include "media/mcinotifyevent.h"
#include "strokes/qtstrokecanvas.h"
#include "strokes/strokeclassify.h"
#include "strokes/strokefill.h"

#include <utility>

namespace {

std::function<long long()>& FillClock() {
    static std::function<long long()> clock;
    return clock;
}

long long FillNow() {
    if (FillClock()) {
        return FillClock()();
    }
    static const QElapsedTimer steady = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return steady.elapsed();
}

// A frame at 60 Hz: the animation writes what is due once a frame.
constexpr int kFillFrameMs = 16;

}  // namespace

// The fill's view of the piece: the pixels of its surface.
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

    void Pause(int) override {}  // the animation paces itself by its clock

    void Show() { m_piece.repaint(); }

private:
    CBHWnd& m_piece;
};

CBHWnd::CBHWnd(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    m_fill.timer.setInterval(kFillFrameMs);
    connect(&m_fill.timer, &QTimer::timeout, this, &CBHWnd::AdvanceFill);
    hide();
}

void CBHWnd::SetFillClock(std::function<long long()> now) { FillClock() = std::move(now); }

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
    DropFill();  // the piece is drawn anew in its shape
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

long CBHWnd::AnimateFill(int delay, int colourChoice, bool redrawWhenDone) {
    DropFill();
    m_fillDelay = quvo::NormaliseFillDelay(delay);
    const quvo::PolygonRegion region = BuildRegion();
    const auto seed = quvo::FindFillSeed(region, m_strokeType);
    if (!seed) {
        if (redrawWhenDone) {
            Invalidate();
        }
        return 0;
    }
    EnsureSurface();
    if (m_surfaceStale) {
        RenderPiece();
    }
    m_fill.colour = colourChoice == 1 ? m_colour : quvo::Complement(m_colour);
    m_fill.order = quvo::FillOrder(region, *seed, m_fill.colour, PixelWriter(*this));
    m_fill.written = 0;
    m_fill.delay = m_fillDelay;
    m_fill.started = FillNow();
    m_fill.redrawWhenDone = redrawWhenDone;
    const long pixels = static_cast<long>(m_fill.order.size());
    if (quvo::FillDurationMs(pixels, m_fillDelay) <= 0) {
        FinishFill();
    } else {
        m_fill.timer.start();
    }
    return pixels;
}

void CBHWnd::AdvanceFill() {
    const long total = static_cast<long>(m_fill.order.size());
    const auto due = static_cast<std::size_t>(
        quvo::PixelsDue(total, m_fill.delay, static_cast<long>(FillNow() - m_fill.started)));
    PixelWriter writer(*this);
    for (; m_fill.written < due && m_fill.written < m_fill.order.size(); ++m_fill.written) {
        const quvo::StrokePoint p = m_fill.order[m_fill.written];
        writer.SetPixel(p.x, p.y, m_fill.colour);
    }
    update();
    if (m_fill.written >= m_fill.order.size()) {
        EndFill();
    }
}

void CBHWnd::FinishFill() {
    m_fill.started = FillNow() - quvo::FillDurationMs(static_cast<long>(m_fill.order.size()), m_fill.delay);
    AdvanceFill();
}

void CBHWnd::EndFill() {
    m_fill.timer.stop();
    m_fill.order = {};
    m_fill.written = 0;
    if (std::exchange(m_fill.redrawWhenDone, false)) {
        Invalidate();
    }
}

void CBHWnd::DropFill() {
    m_fill.timer.stop();
    m_fill.order = {};
    m_fill.written = 0;
    m_fill.redrawWhenDone = false;
}

void CBHWnd::ClearSurface() {
    DropFill();
    EnsureSurface();
    m_surface.fill(Qt::transparent);
    m_surfaceStale = false;
}

void CBHWnd::Invalidate() {
    m_surfaceStale = true;
    update();
}

void CBHWnd::FillPiece(quvo::Colour colour) {
    DropFill();  // the flashing colour stays over the piece
    EnsureSurface();
    {
        QPainter painter(&m_surface);
        quvo::PainterStrokeCanvas canvas(painter);
        quvo::FillStrokePolygonAt(canvas, m_outline, -m_bounds.left, -m_bounds.top, colour);
    }
    PixelWriter(*this).Show();
}

QPoint CBHWnd::ToDialog(QPoint local) const { return local + pos(); }

// A press picks the piece up (or, for a click that ends a carry, starts putting it down).
// A double click's second press comes here too.
void CBHWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        quvo::UserMessageEvent pressed(quvo::kPiecePressed, m_strokeNumber);
        pressed.point = ToDialog(event->position().toPoint());
        pressed.time = event->timestamp();
        quvo::SendUserMessage(parentWidget(), pressed);
    }
    event->accept();
}

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
        clicked.time = event->timestamp();
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
