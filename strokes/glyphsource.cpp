#include "strokes/glyphsource.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "chardata/gbk.h"
#include "strokes/nativeoutline.h"

namespace quvo {

// The font is read through a stream of pread calls, not mapped: with a mapping, each glyph
// touched makes the kernel map the pages around it too, and over many characters most of the
// 8 MB file ends up resident once per face. Read, a glyph costs only its own bytes, briefly.
struct GlyphSource::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_StreamRec stream{};
    int fd = -1;
    int cellUnits = 0;    // ascent + descent in font units
    int ascentUnits = 0;
    int averageUnits = 0;
    FT_Error error = 0;

    // Windows sizes a font by its cell: ascent and descent from the OS/2 table when there is
    // one.
    void ReadCellMetrics() {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            ascentUnits = os2->usWinAscent;
            cellUnits = os2->usWinAscent + os2->usWinDescent;
            averageUnits = os2->xAvgCharWidth;
        } else {
            ascentUnits = face->ascender;
            cellUnits = face->ascender - face->descender;
            averageUnits = face->max_advance_width / 2;
        }
    }

    static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                              unsigned long count) {
        if (count == 0) {
            return offset > stream->size ? 1 : 0;  // a seek: 0 when it stays inside the file
        }
        const ssize_t got = pread(static_cast<int>(stream->descriptor.value), buffer, count,
                                  static_cast<off_t>(offset));
        return got < 0 ? 0 : static_cast<unsigned long>(got);
    }

    FT_Error Open(const std::string& fontFile) {
        fd = open(fontFile.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || fstat(fd, &st) != 0) {
            return FT_Err_Cannot_Open_Resource;
        }
        stream.size = static_cast<unsigned long>(st.st_size);
        stream.descriptor.value = fd;
        stream.read = Read;
        FT_Open_Args args{};
        args.flags = FT_OPEN_STREAM;
        args.stream = &stream;
        return FT_Open_Face(library, &args, 0, &face);
    }

    ~Face() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
        if (fd >= 0) {
            close(fd);
        }
    }
};

namespace {

int Scale(long units, int height, int cellUnits) {
    if (cellUnits <= 0) {
        return 0;
    }
    return static_cast<int>((units * height + cellUnits / 2) / cellUnits);
}

char32_t DecodeUtf8One(const std::string& s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    if (s.size() == 1 && p[0] < 0x80) {
        return p[0];
    }
    if (s.size() == 2 && (p[0] & 0xE0) == 0xC0) {
        return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    }
    if (s.size() == 3 && (p[0] & 0xF0) == 0xE0) {
        return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    }
    if (s.size() == 4 && (p[0] & 0xF8) == 0xF0) {
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
               (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    }
    return 0;
}

FixedPoint ToFixedMirrored(const FT_Vector& v) {
    // 26.6 to 16.16, and the font's upward y turned downwards.
    return {static_cast<std::int32_t>(v.x * 1024), static_cast<std::int32_t>(-v.y * 1024)};
}

FixedPoint Midpoint(const FixedPoint& a, const FixedPoint& b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// One contour as GGO_NATIVE writes it: it starts on an on-curve point; runs of on-curve
// points become line records, runs of off-curve points with the on-curve point after them
// become spline records, and a spline still open at the end is closed on the start point.
// A closing straight edge is left implicit.
void WriteContour(const FT_Outline& outline, int first, int last, NativeOutlineBuilder& out) {
    const int n = last - first + 1;
    auto onCurve = [&](int i) { return (FT_CURVE_TAG(outline.tags[first + i]) == FT_CURVE_TAG_ON); };
    auto point = [&](int i) { return ToFixedMirrored(outline.points[first + i]); };

    int startIndex = -1;
    for (int i = 0; i < n && startIndex < 0; ++i) {
        if (onCurve(i)) {
            startIndex = i;
        }
    }
    FixedPoint start;
    int count = n - 1;  // points after the start
    if (startIndex < 0) {
        start = Midpoint(point(n - 1), point(0));
        startIndex = n - 1;  // walk all n points, from index 0
        count = n;
    } else {
        start = point(startIndex);
    }
    out.BeginContour(start);
    std::vector<FixedPoint> run;
    bool runOn = false;
    for (int step = 1; step <= count; ++step) {
        const int i = (startIndex + step) % n;
        const bool on = onCurve(i);
        if (!run.empty() && on != runOn) {
            if (runOn) {
                out.AddRecord(native_outline::kPrimLine, run);
                run.clear();
            } else {
                run.push_back(point(i));  // the on-curve end of the spline
                out.AddRecord(native_outline::kPrimQSpline, run);
                run.clear();
                continue;
            }
        }
        runOn = on;
        run.push_back(point(i));
    }
    if (!run.empty()) {
        if (runOn) {
            out.AddRecord(native_outline::kPrimLine, run);
        } else {
            run.push_back(start);
            out.AddRecord(native_outline::kPrimQSpline, run);
        }
    }
}

}  // namespace

GlyphSource::GlyphSource(const std::string& fontFile) : m_face(std::make_unique<Face>()) {
    Face& f = *m_face;
    f.error = FT_Init_FreeType(&f.library);
    if (f.error == 0) {
        f.error = f.Open(fontFile);
    }
    if (f.error == 0 && !FT_IS_SCALABLE(f.face)) {
        f.error = FT_Err_Invalid_File_Format;
    }
    if (f.error == 0) {
        f.ReadCellMetrics();
    }
    if (f.error != 0 && f.face) {
        FT_Done_Face(f.face);
        f.face = nullptr;
    }
}

GlyphSource::~GlyphSource() = default;

bool GlyphSource::IsOpen() const { return m_face->face != nullptr; }

TextMetrics GlyphSource::Metrics(int height) const {
    TextMetrics m;
    if (!IsOpen() || height <= 0) {
        return m;
    }
    const Face& f = *m_face;
    m.height = height;
    m.ascent = Scale(f.ascentUnits, height, f.cellUnits);
    m.descent = height - m.ascent;
    m.aveCharWidth = Scale(f.averageUnits, height, f.cellUnits);
    m.maxCharWidth = Scale(f.face->max_advance_width, height, f.cellUnits);
    return m;
}

bool GlyphSource::HasGlyph(std::uint16_t code) const {
    const char32_t unicode = GbkCodeToUnicode(code);
    return IsOpen() && unicode != 0 && FT_Get_Char_Index(m_face->face, unicode) != 0;
}

long GlyphSource::NativeOutline(std::uint16_t code, int height, std::vector<std::uint8_t>& out) {
    out.clear();
    if (!IsOpen()) {
        m_lastError = static_cast<unsigned long>(m_face->error);
        return -1;
    }
    FT_Face face = m_face->face;
    // The em that gives this cell height, in 26.6 points at 72 dpi (one point per pixel).
    const FT_F26Dot6 em = static_cast<FT_F26Dot6>(
        (static_cast<long long>(height) * 64 * face->units_per_EM) / m_face->cellUnits);
    FT_Error error = FT_Set_Char_Size(face, 0, em, 72, 72);
    if (error == 0) {
        const FT_UInt index = FT_Get_Char_Index(face, GbkCodeToUnicode(code));
        error = FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    }
    if (error == 0 && face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        error = FT_Err_Invalid_Glyph_Format;
    }
    if (error != 0) {
        m_lastError = static_cast<unsigned long>(error);
        return -1;
    }
    const FT_Outline& outline = face->glyph->outline;
    NativeOutlineBuilder builder;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        const int last = outline.contours[c];
        if (last > first) {  // a contour of one point draws nothing
            WriteContour(outline, first, last, builder);
        }
        first = last + 1;
    }
    out = builder.Take();
    m_lastError = 0;
    return static_cast<long>(out.size());
}

char32_t GbkCodeToUnicode(std::uint16_t code) {
    std::string bytes;
    if (code < 0x100) {
        bytes.push_back(static_cast<char>(code));
    } else {
        bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
    }
    const auto utf8 = GbkToUtf8(bytes);
    return utf8 ? DecodeUtf8One(*utf8) : 0;
}

}  // namespace quvo
