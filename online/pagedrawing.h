#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "online/characterlibrary.h"

namespace quvo {

// Building blocks of the pages: the document frame with its styles, the character drawn as
// inline SVG from its contours, and the small formatting helpers. Values put in here are
// escaped by the caller, except where a function says it escapes.

// A whole page: title (escaped here) and the body's HTML.
std::string PageDocument(std::string_view title, const std::string& body);

// The character's contours, once per page, as <path id="c{k}"> in a hidden <svg>; the
// drawings below refer to them with <use href="#c{k}">.
std::string ContourDefinitions(const CharacterInfo& info);

// The id a drawing uses for contour k (from 1).
std::string ContourId(int contour);

// How a drawing shows one contour: the CSS class of its <use>, or empty to leave it out.
struct StrokeStyle {
    int contour = 0;
    const char* cssClass = "ink";
};

// A drawing of pixel size `size` in a practice grid (mizi: the grid's diagonals too), with the
// given contours in order, then `extra` (SVG in the kGlyphBox square) on top.
std::string CharacterDrawing(int size, bool mizi, const std::vector<StrokeStyle>& strokes,
                             const std::string& extra, const char* cssClass);

// The middle of a contour's box, in kGlyphBox units, from its path data.
struct DrawingPoint {
    int x = kGlyphBox / 2;
    int y = kGlyphBox / 2;
};
DrawingPoint ContourCentre(std::string_view pathData);

// Where a round label of the given radius goes near `want`: the first of a few places around
// it that keeps clear of the labels already placed, inside the square.
DrawingPoint PlaceLabel(DrawingPoint want, int radius, const std::vector<DrawingPoint>& taken);

// Seconds since 1970 (UTC) shifted by utcOffsetSeconds, as "2026-03-05 08:09".
std::string FormatLocalTime(std::int64_t utcSeconds, int utcOffsetSeconds);

}  // namespace quvo
