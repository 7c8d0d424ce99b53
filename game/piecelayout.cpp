#include "game/piecelayout.h"

#include <algorithm>
#include <cstdlib>

namespace quvo {

std::vector<Rect> LayOutPieces(const Rect& panel, int gapX, int gapY,
                               const std::vector<Size>& pieceSizes) {
    std::vector<Rect> homes;
    homes.reserve(pieceSizes.size());
    int x = panel.left;
    int y = panel.top + 20;
    int rowHeight = 0;
    for (const Size& size : pieceSizes) {
        if (x + size.width > panel.right) {
            x = panel.left;
            y = y + gapY + rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height);
        homes.push_back({x, y, x + size.width, y + size.height});
        x = x + gapX + size.width;
    }
    return homes;
}

Rect PieceTray(const Panels& panels) {
    Rect tray = panels.pieces;
    if (panels.bottom.left < tray.right && panels.bottom.right > tray.left) {
        tray.bottom = std::min(tray.bottom, panels.bottom.top);
    }
    return tray;
}

bool TrayHolds(const std::vector<Rect>& homes, const Rect& tray) {
    for (std::size_t i = 0; i < homes.size(); ++i) {
        const Rect& a = homes[i];
        if (a.left < tray.left || a.top < tray.top || a.right > tray.right || a.bottom > tray.bottom) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const Rect& b = homes[j];
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) {
                return false;
            }
        }
    }
    return true;
}

int FitSmallHeight(const std::function<std::vector<Size>(int height)>& sizesAt, const Rect& tray,
                   int gapX, int gapY) {
    int height = kSmallPieceHeight;
    while (!TrayHolds(LayOutPieces(tray, gapX, gapY, sizesAt(height)), tray) &&
           height > kSmallestPieceHeight) {
        height -= 10;
    }
    return height;
}

namespace {

// Red, green and blue drawn in that order, as the game always has.
Colour DrawPieceColour() {
    const int r = std::rand() & 0xFF;
    const int g = std::rand() % 256;
    const int b = std::rand() & 0xFF;
    return static_cast<Colour>(r + 256 * g + 65536 * b);
}

}  // namespace

Colour PieceColour(std::time_t now, int i) { return PieceColour(now, i, Backdrop({})); }

Colour PieceColour(std::time_t now, int i, const Backdrop& under) {
    std::srand(static_cast<unsigned>(now + 100 + 100 * i));
    return under.StandingOut(DrawPieceColour);
}

}  // namespace quvo
