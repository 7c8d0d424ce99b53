// The current character: its outlines at both sizes, and one shaped piece per stroke laid
// out in the pieces panel.
#include <QString>
#include <QTimer>

#include <malloc.h>

#include <cstring>
#include <vector>

#include "app/quvodlg.h"
#include "chardata/strokeitems.h"
#include "controls/messagebox.h"
#include "game/piecelayout.h"
#include "controls/xinfotip.h"
#include "strokes/bhwnd.h"
#include "strokes/glyphoutline.h"
#include "strokes/strokegeometry.h"

namespace {
constexpr int kSmallHeight = 180;
constexpr int kLargeHeight = 500;
constexpr int kFirstPieceId = 2000;
}  // namespace

// Makes `character` current and builds its outlines and pieces. Only called with nothing of
// an earlier character left (start-up, or after FreeCharacter).
void CQuvoDlg::SetUpCharacter(const char* character) {
    m_largeFlag = 0;
    m_metricSlot = 0;
    m_demoStep = 0;
    m_pieceGapX = 10;
    m_pieceGapY = 10;
    m_placed.Clear();
    m_strokeNames.clear();

    m_smallStrokes.Reset();
    m_largeStrokes.Reset();
    m_glyphSizes[0] = kSmallHeight;
    m_glyphSizes[1] = kLargeHeight;
    m_outlineOrigin = {0, 0};
    m_strokeCount = 0;

    // Copied through a buffer of its own: the caller may pass the current character itself.
    char copy[sizeof m_currentChar] = {};
    std::strncpy(copy, character, sizeof copy - 1);
    std::memcpy(m_currentChar, copy, sizeof m_currentChar);
    ExtractGlyphStrokes(m_currentChar, m_glyphSizes[0], m_smallStrokes.SegmentCursor(),
                        m_smallStrokes.HeadCursor());
    ExtractGlyphStrokes(m_currentChar, m_glyphSizes[1], m_largeStrokes.SegmentCursor(),
                        m_largeStrokes.HeadCursor());
    FitPiecesToTray();

    const auto n = static_cast<std::size_t>(m_strokeCount);
    m_strokeColours.assign(n, 0);
    m_strokeMarks.assign(n, 0);
    LookUpCharacter();
    if (m_exitStarted) {
        return;  // the store could not be opened: the program is ending
    }
    CreatePieces();
    m_pinyin.clear();
    m_tone.clear();
    LookUpPinyin();
}

quvo::GlyphSource& CQuvoDlg::GlyphFont() {
    if (!m_glyphSource) {
        m_glyphSource = std::make_unique<quvo::GlyphSource>(DataPath("fonts/quvokai.ttf"));
    }
    return *m_glyphSource;
}

// One size of the character's outline, appended to a stroke list through its two cursors.
// A glyph without outline shows "error" with the reason's number and leaves the list alone.
void CQuvoDlg::ExtractGlyphStrokes(const char* character, int height,
                                   quvo::OutlineSeg*& segCursor, quvo::OutlineSeg*& headCursor) {
    quvo::GlyphSource& font = GlyphFont();
    const quvo::TextMetrics metrics = font.Metrics(height);
    if (m_metricSlot >= 0 && m_metricSlot < 2) {
        m_textMetrics[m_metricSlot] = metrics;
    }
    ++m_metricSlot;
    const auto* bytes = reinterpret_cast<const unsigned char*>(character);
    const auto code = static_cast<std::uint16_t>(bytes[0] * 256 + (bytes[0] ? bytes[1] : 0));
    std::vector<std::uint8_t> outline;
    const long size = font.NativeOutline(code, height, outline);
    if (size <= 0) {
        quvo::ShowMessageBox(this, QStringLiteral("error"), QString::number(font.LastError()));
        return;
    }
    m_strokeCount = quvo::WalkGlyphOutline(outline.data(), outline.size(), metrics.ascent,
                                           m_outlineOrigin, segCursor, headCursor);
}

// Characters with many or wide strokes get a smaller small outline, so that every piece
// lies whole in the tray, clear of the others and of the buttons below.
void CQuvoDlg::FitPiecesToTray() {
    const int height = quvo::FitSmallHeight(
        [this](int h) {
            if (h != m_glyphSizes[0]) {
                m_smallStrokes.Free();
                m_smallStrokes.Reset();
                m_glyphSizes[0] = h;
                ExtractGlyphStrokes(m_currentChar, h, m_smallStrokes.SegmentCursor(),
                                    m_smallStrokes.HeadCursor());
            }
            return PieceSizes();
        },
        quvo::PieceTray(m_panels), m_pieceGapX, m_pieceGapY);
    m_glyphSizes[0] = height;
}

// Each piece's window: its small stroke's box and 4 pixels more.
std::vector<quvo::Size> CQuvoDlg::PieceSizes() const {
    std::vector<quvo::Size> sizes;
    for (int k = 1; k <= m_strokeCount; ++k) {
        quvo::Rect bounds;
        quvo::GetStrokeBounds(m_smallStrokes.StrokeAt(k), bounds);
        sizes.push_back({bounds.Width() + 4, bounds.Height() + 4});
    }
    return sizes;
}

// Piece k shows small stroke k; pieces go in rows in the tray, each with a colour drawn from
// the clock.
void CQuvoDlg::CreatePieces() {
    const int n = m_strokeCount;
    const std::vector<quvo::Rect> homes =
        quvo::LayOutPieces(quvo::PieceTray(m_panels), m_pieceGapX, m_pieceGapY, PieceSizes());
    const std::time_t now = std::time(nullptr);
    m_pieces.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        quvo::OutlineSeg* outline = m_smallStrokes.StrokeAt(i + 1);
        quvo::Rect bounds;
        quvo::GetStrokeBounds(outline, bounds);
        m_pieces.push_back(CreatePiece(i + 1, outline, bounds, homes[static_cast<std::size_t>(i)], now));
    }
}

CBHWnd* CQuvoDlg::CreatePiece(int k, quvo::OutlineSeg* outline, const quvo::Rect& bounds,
                              const quvo::Rect& home, std::time_t now) {
    auto* piece = new CBHWnd(this);
    piece->m_strokeNumber = k;
    piece->m_outline = outline;
    piece->m_bounds = bounds;
    piece->m_homeRect = home;
    piece->m_cursor = m_cursorOn;
    piece->m_strokeType = quvo::StrokeTypeAt(m_strokeNames, k);
    piece->m_soundFlag = 0;
    const int id = kFirstPieceId + k;
    piece->Create(this, id, QRect(home.left, home.top, home.Width(), home.Height()));
    // Its colour stands out from the picture under it, which the shape now tells.
    const quvo::Backdrop under(PictureUnder(piece->Region().Spans(), piece->pos()));
    piece->m_colour = quvo::PieceColour(now, k - 1, under);
    m_strokeColours[static_cast<std::size_t>(k - 1)] = static_cast<std::int32_t>(piece->m_colour);
    m_controls[id] = piece;
    piece->update();  // painted with the others in one pass
    AttachPieceTip(piece);
    return piece;
}

void CQuvoDlg::DestroyPieces() {
    for (CBHWnd* piece : m_pieces) {
        if (piece->m_player.IsOpen()) {
            piece->m_player.Stop();
            piece->m_player.Close();
        }
    }
    for (CBHWnd* piece : m_pieces) {
        m_infoTip->DetachTip(piece);
        m_controls.erase(piece->ControlId());
        delete piece;
    }
    m_pieces.clear();
}

// Everything of the current character: pieces, their tables and both outline lists.
void CQuvoDlg::FreeCharacter() {
    m_smallStrokes.Free();
    m_largeStrokes.Free();
    EndCarry();
    DestroyPieces();
    m_strokeColours.clear();
    m_strokeMarks.clear();
    m_hoveredPiece = -1;
}

void CQuvoDlg::ScheduleHeapTrim() {
    if (!m_heapTrimTimer) {
        m_heapTrimTimer = new QTimer(this);
        m_heapTrimTimer->setSingleShot(true);
        m_heapTrimTimer->setInterval(2000);
        connect(m_heapTrimTimer, &QTimer::timeout, this, &CQuvoDlg::TrimHeap);
    }
    m_heapTrimTimer->start();  // a child switching on and on puts it off
}

// glibc keeps freed memory for later allocations; between characters there is no later
// allocation coming, and the resident size would keep the highest water mark of any switch.
void CQuvoDlg::TrimHeap() { malloc_trim(0); }
