#include "tests/shapeart.h"

#include <algorithm>

namespace quvo::testing {

Art Blank(int w, int h) {
    return Art(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
}

Art Rects(int w, int h, const std::vector<Rect>& rects) {
    Art art = Blank(w, h);
    for (const Rect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) art[y][x] = '#';
        }
    }
    return art;
}

Art Rows(int w, int h, int width, const std::function<int(int)>& left) {
    Art art = Blank(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = left(y); x < left(y) + width; ++x) art[y][x] = '#';
    }
    return art;
}

namespace {

int FloorDiv(int a, int b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The art cut to the box of its '#' pixels (an empty art when there are none).
Art Cropped(const Art& art) {
    int left = 1 << 30, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < int(art.size()); ++y) {
        const auto first = art[y].find('#');
        if (first == std::string::npos) continue;
        left = std::min(left, int(first));
        right = std::max(right, int(art[y].rfind('#')) + 1);
        if (top < 0) top = y;
        bottom = y + 1;
    }
    if (top < 0) return {};
    Art cut;
    for (int y = top; y < bottom; ++y) cut.push_back(art[y].substr(left, right - left));
    return cut;
}

Art Scaled(const Art& art, int w, int h) {
    if (art.empty()) return art;
    const int w0 = int(art[0].size()), h0 = int(art.size());
    Art big = Blank(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) big[y][x] = art[y * h0 / h][x * w0 / w];
    }
    return big;
}

}  // namespace

Art Bands(int w, int h, const std::vector<Band>& bands, int scaleW, int scaleH) {
    Art art = Blank(w, h);
    for (const Band& b : bands) {
        for (int y = std::max(0, b.top); y < std::min(h, b.bottom); ++y) {
            const int left = b.left + FloorDiv((y - b.top) * b.num, b.den);
            for (int x = std::max(0, left); x < std::min(w, left + b.width); ++x) art[y][x] = '#';
        }
    }
    art = Cropped(art);
    return scaleW > 0 && scaleH > 0 ? Scaled(art, scaleW, scaleH) : art;
}

// Each run of a row is a rectangle one pixel high, reached from a far corner by a vertical edge
// that the path walks down and back up, so that the two copies cancel under the alternate fill
// rule.
PolygonRegion RegionOf(const Art& art) {
    const int far = -8;
    std::vector<StrokePoint> p{{far, far}};
    for (int y = 0; y < int(art.size()); ++y) {
        const std::string& row = art[y];
        for (int x = 0; x < int(row.size());) {
            if (row[x] != '#') {
                ++x;
                continue;
            }
            int end = x;
            while (end < int(row.size()) && row[end] == '#') ++end;
            p.insert(p.end(), {{far, y},
                               {x, y},
                               {end, y},
                               {end, y + 1},
                               {x, y + 1},
                               {x, y},
                               {far, y},
                               {far, far}});
            x = end;
        }
    }
    return PolygonRegion(p);
}

}  // namespace quvo::testing
