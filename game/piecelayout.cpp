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

Colour PieceColour(std::time_t now, int i) {
    std::srand(static_cast<unsigned>(now + 100 + 100 * i));
    const int r = std::rand() & 0xFF;
    const int g = std::rand() % 256;
    const int b = std::rand() & 0xFF;
    return static_cast<Colour>(r + 256 * g + 65536 * b);
}

}  // namespace quvo
