// The outline record walker: a glyph's native outline stream, as the stroke font gives it,
// walked into a stroke list, which is then measured the way the game measures its pieces.
#include "fuzz/fuzzsupport.h"
#include "strokes/glyphoutline.h"
#include "strokes/strokegeometry.h"

using quvo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes choose the ascent and the origin, as a cell of the dialog would.
    if (size < 4) {
        return 0;
    }
    const int ascent = data[0] * 4;
    const quvo::StrokePoint origin{static_cast<std::int8_t>(data[1]) * 8,
                                   static_cast<std::int8_t>(data[2]) * 8};
    const std::uint8_t* stream = data + 4;
    const std::size_t streamSize = size - 4;

    quvo::StrokeList list;
    list.Reset();
    const int contours = quvo::WalkGlyphOutline(stream, streamSize, ascent, origin,
                                                list.SegmentCursor(), list.HeadCursor());
    Check(contours >= 0 && static_cast<std::size_t>(contours) * 16 <= streamSize,
          "no more contours than the stream has headers for");
    Check(quvo::CountStrokes(list.First()) == contours, "the list has one stroke per contour");
    Check(list.StrokeAt(contours + 1) == nullptr, "nothing past the last stroke");
    for (int k = 1; k <= contours; ++k) {
        const quvo::OutlineSeg* chain = list.StrokeAt(k);
        quvo::Rect bounds{};
        quvo::GetStrokeBounds(chain, bounds);
        for (const quvo::StrokePoint& p : quvo::GatherStrokePoints(chain)) {
            Check(p.x >= bounds.left && p.x <= bounds.right && p.y >= bounds.top &&
                      p.y <= bounds.bottom,
                  "every point of a stroke lies in its bounds");
        }
        // The layouts the drawing code takes: a start point and its points for a line or spline
        // run, a start point and whole triples for a Bezier run.
        for (const quvo::OutlineSeg* seg = chain; seg; seg = seg->nextSeg) {
            Check(seg->kind == quvo::OutlineSeg::kBezier ? seg->pointCount % 3 == 1
                                                         : seg->pointCount >= 2,
                  "a segment has the points its kind is drawn with");
        }
    }
    return 0;
}
