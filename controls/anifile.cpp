#include "controls/anifile.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace quvo {
namespace {

constexpr std::uint32_t kAfIcon = 1;
constexpr std::size_t kAniHeaderSize = 36;
constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIconEntrySize = 16;
constexpr std::size_t kDibHeaderSize = 40;
constexpr std::uint32_t kJiffyLimit = 3600;  // one minute; longer steps are cut to it
// Far more than the largest cursor this reader accepts with its frames and mask.
constexpr std::streamoff kMaxFileSize = std::streamoff{1} << 27;

// Bytes read little-endian, every position checked against the size first.
struct Bytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool Has(std::size_t at, std::size_t n) const { return at <= size && n <= size - at; }
    std::uint32_t U16(std::size_t at) const { return data[at] | (data[at + 1] << 8); }
    std::uint32_t U32(std::size_t at) const {
        return U16(at) | (static_cast<std::uint32_t>(U16(at + 2)) << 16);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    bool Is(std::size_t at, const char* tag) const {
        return Has(at, 4) && std::memcmp(data + at, tag, 4) == 0;
    }
    Bytes Sub(std::size_t at, std::size_t n) const { return Bytes{data + at, n}; }
};

// --- Cursor images ---

struct Dib {
    int width = 0;
    int height = 0;  // of the picture; the header counts the mask's rows as well
    int bits = 0;
    std::vector<std::uint32_t> table;  // 0x00RRGGBB
    Bytes colourRows;                  // bottom row first, then the mask's rows
    std::size_t colourStride = 0;
    std::size_t maskStride = 0;
};

bool DepthKnown(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

// Reads the header and colour table and finds the rows; the picture must be a plain
// (uncompressed) one within the size limits, with as many colours as its depth allows.
bool ReadDib(Bytes image, Dib& dib) {
    if (!image.Has(0, kDibHeaderSize)) {
        return false;
    }
    const std::uint32_t headerSize = image.U32(0);
    const std::int32_t width = image.I32(4);
    const std::int32_t rows = image.I32(8);
    const std::uint32_t bits = image.U16(14);
    const std::uint32_t colours = image.U32(32);
    if (headerSize < kDibHeaderSize || !image.Has(0, headerSize) || !DepthKnown(bits) ||
        image.U32(16) != 0 || width < 1 || width > kMaxCursorSide || rows < 2 || rows % 2 != 0 ||
        rows / 2 > kMaxCursorSide) {
        return false;
    }
    const std::uint32_t tableMax = bits <= 8 ? 1u << bits : 0;
    if (colours > tableMax) {
        return false;
    }
    const std::size_t entries = colours != 0 ? colours : tableMax;
    dib = Dib{width, rows / 2, static_cast<int>(bits), {}, {}, 0, 0};
    dib.colourStride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    dib.maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t rowBytes = (dib.colourStride + dib.maskStride) * dib.height;
    const std::size_t rowsAt = headerSize + 4 * entries;
    if (!image.Has(headerSize, 4 * entries) || !image.Has(rowsAt, rowBytes)) {
        return false;
    }
    for (std::size_t i = 0; i < entries; ++i) {
        dib.table.push_back(image.U32(headerSize + 4 * i) & 0xFFFFFF);
    }
    dib.colourRows = image.Sub(rowsAt, rowBytes);
    return true;
}

// The colour of pixel x of a row, opaque; alpha too for 32 bits.
std::uint32_t PixelColour(const Dib& dib, const std::uint8_t* row, int x) {
    if (dib.bits == 32) {
        const std::uint8_t* p = row + 4 * x;
        return (static_cast<std::uint32_t>(p[3]) << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    if (dib.bits == 24) {
        const std::uint8_t* p = row + 3 * x;
        return 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    const int bit = x * dib.bits;
    const std::uint32_t index = (row[bit / 8] >> (8 - dib.bits - bit % 8)) & ((1u << dib.bits) - 1);
    return 0xFF000000u | (index < dib.table.size() ? dib.table[index] : 0);
}

// Pixels of a picture whose transparency is its AND mask: a set bit over black shows the
// screen; over a colour it inverts the screen, shown here as opaque black.
void ApplyMask(const Dib& dib, std::vector<std::uint32_t>& pixels) {
    const std::uint8_t* mask = dib.colourRows.data + dib.colourStride * dib.height;
    for (int y = 0; y < dib.height; ++y) {
        const std::uint8_t* row = mask + dib.maskStride * (dib.height - 1 - y);
        for (int x = 0; x < dib.width; ++x) {
            if ((row[x / 8] >> (7 - x % 8)) & 1) {
                std::uint32_t& p = pixels[static_cast<std::size_t>(y) * dib.width + x];
                p = (p & 0xFFFFFF) == 0 ? 0 : 0xFF000000u;
            }
        }
    }
}

std::vector<std::uint32_t> DecodePixels(const Dib& dib) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(dib.width) * dib.height);
    bool anyAlpha = false;
    for (int y = 0; y < dib.height; ++y) {
        const std::uint8_t* row = dib.colourRows.data + dib.colourStride * (dib.height - 1 - y);
        for (int x = 0; x < dib.width; ++x) {
            const std::uint32_t c = PixelColour(dib, row, x);
            anyAlpha = anyAlpha || (c >> 24) != 0;
            pixels[static_cast<std::size_t>(y) * dib.width + x] = c;
        }
    }
    // A 32-bit picture carries its own alpha, unless it is all zero (an old picture that
    // relies on the mask like the shallower ones).
    if (dib.bits == 32 && anyAlpha) {
        return pixels;
    }
    if (dib.bits == 32) {
        for (auto& p : pixels) {
            p |= 0xFF000000u;
        }
    }
    ApplyMask(dib, pixels);
    return pixels;
}

// --- Animated cursors ---

struct Chunk {
    Bytes tag;
    Bytes body;
};

// Splits a run of RIFF chunks, each padded to an even length; false when one runs past the
// end. A missing pad byte after the last chunk is forgiven.
bool SplitChunks(Bytes run, std::vector<Chunk>& chunks) {
    std::size_t at = 0;
    while (at < run.size) {
        if (!run.Has(at, 8)) {
            return false;
        }
        const std::uint32_t length = run.U32(at + 4);
        if (!run.Has(at + 8, length)) {
            return false;
        }
        chunks.push_back(Chunk{run.Sub(at, 4), run.Sub(at + 8, length)});
        at += 8 + static_cast<std::size_t>(length) + (length & 1);
    }
    return true;
}

struct AniParts {
    const Bytes* header = nullptr;
    const Bytes* rates = nullptr;
    const Bytes* sequence = nullptr;
    std::vector<Chunk> icons;
};

// Sorts the list's chunks into the parts of an animated cursor; the first of each counts.
bool FindParts(const std::vector<Chunk>& chunks, AniParts& parts) {
    bool framesFound = false;
    for (const Chunk& c : chunks) {
        if (c.tag.Is(0, "anih") && !parts.header) {
            parts.header = &c.body;
        }
        if (c.tag.Is(0, "rate") && !parts.rates) {
            parts.rates = &c.body;
        }
        if (c.tag.Is(0, "seq ") && !parts.sequence) {
            parts.sequence = &c.body;
        }
        if (c.tag.Is(0, "LIST") && c.body.Is(0, "fram") && !framesFound) {
            framesFound = true;
            std::vector<Chunk> inner;
            if (!SplitChunks(c.body.Sub(4, c.body.size - 4), inner)) {
                return false;
            }
            for (const Chunk& i : inner) {
                if (i.tag.Is(0, "icon")) {
                    parts.icons.push_back(i);
                }
            }
        }
    }
    return parts.header && framesFound;
}

struct AniHeader {
    std::uint32_t frames = 0;
    std::uint32_t steps = 0;
    std::uint32_t jiffies = 0;
};

bool ReadHeader(Bytes h, AniHeader& header) {
    if (h.size < kAniHeaderSize || h.U32(0) != kAniHeaderSize || !(h.U32(32) & kAfIcon)) {
        return false;
    }
    header = AniHeader{h.U32(4), h.U32(8), h.U32(28)};
    return header.frames >= 1 && header.frames <= kMaxCursorFrames && header.steps >= 1 &&
           header.steps <= kMaxCursorSteps;
}

int JiffiesToMs(std::uint32_t jiffies) {
    const std::uint32_t j = std::clamp<std::uint32_t>(jiffies, 1, kJiffyLimit);
    return static_cast<int>((j * 1000 + 30) / 60);
}

// A per-step table must hold exactly one entry for each step.
bool StepTable(const Bytes* table, std::uint32_t steps) {
    return table == nullptr || table->size == 4 * static_cast<std::size_t>(steps);
}

// Without a sequence the steps show the frames in order.
bool ReadSteps(const AniHeader& h, const AniParts& parts, std::vector<CursorStep>& steps) {
    if (!StepTable(parts.rates, h.steps) || !StepTable(parts.sequence, h.steps)) {
        return false;
    }
    for (std::uint32_t i = 0; i < h.steps; ++i) {
        const std::uint32_t frame = parts.sequence ? parts.sequence->U32(4 * i) : i;
        if (frame >= h.frames) {
            return false;
        }
        const std::uint32_t jiffies = parts.rates ? parts.rates->U32(4 * i) : h.jiffies;
        steps.push_back(CursorStep{static_cast<int>(frame), JiffiesToMs(jiffies)});
    }
    return true;
}

bool ReadFrames(const std::vector<Chunk>& icons, std::uint32_t count,
                std::vector<CursorFrame>& frames) {
    if (icons.size() < count) {
        return false;
    }
    frames.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!DecodeCursorFile(icons[i].body.data, icons[i].body.size, frames[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool DecodeCursorFile(const std::uint8_t* data, std::size_t size, CursorFrame& out) {
    const Bytes file{data, size};
    const std::uint32_t type = file.Has(0, kIconDirSize) ? file.U16(2) : 0;
    if (!file.Has(0, kIconDirSize + kIconEntrySize) || file.U16(0) != 0 ||
        (type != 1 && type != 2) || file.U16(4) == 0) {
        return false;
    }
    const std::size_t entry = kIconDirSize;
    const std::uint32_t length = file.U32(entry + 8);
    const std::uint32_t offset = file.U32(entry + 12);
    Dib dib;
    if (!file.Has(offset, length) || !ReadDib(file.Sub(offset, length), dib)) {
        return false;
    }
    CursorFrame frame{dib.width, dib.height, dib.width / 2, dib.height / 2, {}};
    if (type == 2) {
        frame.hotX = static_cast<int>(file.U16(entry + 4));
        frame.hotY = static_cast<int>(file.U16(entry + 6));
        if (frame.hotX >= dib.width || frame.hotY >= dib.height) {
            return false;
        }
    }
    frame.pixels = DecodePixels(dib);
    out = std::move(frame);
    return true;
}

bool DecodeAniFile(const std::uint8_t* data, std::size_t size, CursorAnimation& out) {
    const Bytes file{data, size};
    if (!file.Is(0, "RIFF") || !file.Is(8, "ACON")) {
        return false;
    }
    const std::uint32_t riffSize = file.U32(4);
    std::vector<Chunk> chunks;
    AniParts parts;
    AniHeader header;
    if (riffSize < 4 || !file.Has(8, riffSize) ||
        !SplitChunks(file.Sub(12, riffSize - 4), chunks) || !FindParts(chunks, parts) ||
        !ReadHeader(*parts.header, header)) {
        return false;
    }
    CursorAnimation animation;
    if (!ReadSteps(header, parts, animation.steps) ||
        !ReadFrames(parts.icons, header.frames, animation.frames)) {
        return false;
    }
    out = std::move(animation);
    return true;
}

bool LoadCursorFile(const std::string& fileName, CursorAnimation& out) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size <= 0 || size > kMaxFileSize) {
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return false;
    }
    if (Bytes{bytes.data(), bytes.size()}.Is(0, "RIFF")) {
        return DecodeAniFile(bytes.data(), bytes.size(), out);
    }
    CursorFrame frame;
    if (!DecodeCursorFile(bytes.data(), bytes.size(), frame)) {
        return false;
    }
    out = CursorAnimation{{std::move(frame)}, {CursorStep{0, 0}}};
    return true;
}

}  // namespace quvo
