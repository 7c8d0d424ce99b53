#include "game/assembly.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chardata/strokeitems.h"

namespace quvo {
namespace {

// The item starting at pos (up to the next comma or the end); pos moves past its comma.
std::string ReadItem(const std::string& text, std::size_t& pos) {
    if (pos >= text.size()) {
        pos = text.size() + 1;
        return {};
    }
    const std::size_t comma = text.find(',', pos);
    const std::size_t end = comma == std::string::npos ? text.size() : comma;
    std::string item = text.substr(pos, end - pos);
    pos = end + 1;
    return item;
}

bool IsPiece(int piece, int n) { return piece >= 1 && piece <= n; }

}  // namespace

bool PlacedStrokes::Contains(int piece) const {
    std::size_t pos = 0;
    for (int i = 0; i < m_count; ++i) {
        if (ReadItem(m_text, pos) == std::to_string(piece)) {
            return true;
        }
    }
    return false;
}

void PlacedStrokes::Append(int piece) {
    m_text += std::to_string(piece) + ",";
    ++m_count;
}

bool PlacedStrokes::Remove(int piece) {
    const std::string item = std::to_string(piece);
    std::size_t pos = 0;
    while (pos < m_text.size()) {
        const std::size_t start = pos;
        if (ReadItem(m_text, pos) == item) {
            m_text.erase(start, pos - start);
            --m_count;
            return true;
        }
    }
    return false;
}

void PlacedStrokes::Clear() {
    m_text.clear();
    m_count = 0;
}

DropOutcome DropPiece(PlacedStrokes& placed, int piece, bool inPracticePanel) {
    if (placed.Contains(piece)) {
        return !inPracticePanel && placed.Remove(piece) ? DropOutcome::kRemoved : DropOutcome::kNothing;
    }
    if (!inPracticePanel) {
        return DropOutcome::kNothing;
    }
    placed.Append(piece);
    return DropOutcome::kPlaced;
}

std::string CheckAssembly(const std::string& strokeOrder, const std::string& placedText,
                          std::vector<std::uint8_t>& marks) {
    std::string wrong;
    std::size_t orderPos = 0;
    std::size_t placedPos = 0;
    const std::size_t end = strokeOrder.size();
    for (std::size_t k = 1; orderPos < end || placedPos < end; ++k) {
        const std::string expected = ReadItem(strokeOrder, orderPos);
        const std::string placed = ReadItem(placedText, placedPos);
        if (expected == placed) {
            continue;
        }
        wrong += std::to_string(k) + ",";
        if (k <= marks.size()) {
            marks[k - 1] = static_cast<std::uint8_t>(std::atoi(placed.c_str()));
        }
    }
    return wrong;
}

int ExpectedPiece(const std::string& strokeOrder, int placedCount, int n) {
    const int piece = StrokeOrderAt(strokeOrder, placedCount + 1, n);
    return IsPiece(piece, n) ? piece : -1;
}

int HintStroke(const std::string& strokeOrder, int placedCount, int n) {
    const int m = StrokeOrderAt(strokeOrder, placedCount + 1, n);
    if (m <= 1) {
        return n >= 1 ? 1 : -1;
    }
    return m <= n ? m : -1;
}

PickUpVerdict CheckPickUp(bool checkOn, bool fromPiecesPanel, const std::string& strokeOrder,
                          int placedCount, int n, int piece) {
    if (!checkOn || !fromPiecesPanel || strokeOrder.empty()) {
        return PickUpVerdict::kUnchecked;
    }
    const int expected = ExpectedPiece(strokeOrder, placedCount, n);
    if (expected < 0) {
        return PickUpVerdict::kUnchecked;  // the store names no piece: nothing to judge by
    }
    return piece == expected ? PickUpVerdict::kRight : PickUpVerdict::kWrong;
}

DemoTick NextDemoTick(const std::string& strokeOrder, int step, int n) {
    DemoTick tick;
    const int s = StrokeOrderAt(strokeOrder, step + 1, n);
    tick.pieceIn = IsPiece(s, n) ? s : -1;
    tick.nextStep = step + 1;
    if (tick.nextStep > n) {
        tick.finished = true;
        tick.nextStep = 0;
        for (int i = 1; i <= n; ++i) {
            const int back = StrokeOrderAt(strokeOrder, i, n);
            if (IsPiece(back, n)) {
                tick.piecesBack.push_back(back);
            }
        }
    }
    return tick;
}

std::string ResultPageQuery(const std::string& character, const std::string& result,
                            const std::string& wrongList, int n,
                            const std::vector<std::string>& buttonCharacters) {
    std::string query = "shizi.asp?z=" + character + "&f=" + result + "&b=" + wrongList +
                        "&c=" + std::to_string(n) + "&s=";
    for (const std::string& c : buttonCharacters) {
        query += c + ",";
    }
    return query;
}

namespace {

// Where `offset` within a side of length `from` lies on a side of length `to`.
int ScaleAlong(int offset, int from, int to) {
    if (from <= 0) {
        return to / 2;
    }
    return static_cast<int>(std::lround(double(offset) * to / from));
}

}  // namespace

StrokePoint PreviewTopLeft(StrokePoint point, StrokePoint smallWindow, const Rect& small, const Rect& large,
                     const PolygonRegion& largeShape) {
    // Window coordinates are the outline's own, less its box's top-left.
    int x = ScaleAlong(point.x - smallWindow.x, small.Width(), large.Width());
    int y = ScaleAlong(point.y - smallWindow.y, small.Height(), large.Height());
    if (!largeShape.Contains(x, y)) {
        largeShape.Nearest(x, y, x, y);
    }
    return {point.x - x, point.y - y};
}

}  // namespace quvo
