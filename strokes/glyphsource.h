#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quvo {

// The text metrics the stroke code uses of a font at one height, in pixels.
struct TextMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

// Glyph outlines of the stroke font, in the native TrueType form a Windows program gets from
// GetGlyphOutline(GGO_NATIVE) with a vertical mirror: per contour a polygon header and line /
// quadratic-spline records, 16.16 fixed point, y growing downwards from the baseline. Read
// with FreeType, without hinting. A height is a cell height (ascent + descent), as a Windows
// font height is.
class GlyphSource {
public:
    explicit GlyphSource(const std::string& fontFile);
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    bool IsOpen() const;
    TextMetrics Metrics(int height) const;

    // The outline of a character given by its GBK code (lead byte * 256 + trail byte).
    // Returns the stream's size: 0 for a glyph without contours, -1 on failure; then
    // LastError() tells why (0 for an empty glyph, else FreeType's error code). A character
    // the font lacks gets the font's missing-glyph box.
    long NativeOutline(std::uint16_t code, int height, std::vector<std::uint8_t>& out);
    unsigned long LastError() const { return m_lastError; }
    // True when the font has a glyph of its own for the character (not the missing-glyph box).
    bool HasGlyph(std::uint16_t code) const;

private:
    struct Face;
    std::unique_ptr<Face> m_face;
    unsigned long m_lastError = 0;
};

// The Unicode code point of a GBK code; 0 when it encodes nothing.
char32_t GbkCodeToUnicode(std::uint16_t code);

}  // namespace quvo
