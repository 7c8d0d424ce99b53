#include "app/bitmapfile.h"

#include <bit>
#include <fstream>
#include <optional>

namespace quvo {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t U16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct InfoHeader {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t bitCount;
    std::uint32_t compression;
    std::uint32_t coloursUsed;
};

InfoHeader ReadInfoHeader(const std::uint8_t* p) {
    return InfoHeader{static_cast<std::int32_t>(U32(p + 4)), static_cast<std::int32_t>(U32(p + 8)),
                      U16(p + 14), U32(p + 16), U32(p + 32)};
}

// How to turn a 16- or 32-bit pixel into its colour channels.
struct Mask {
    std::uint32_t bits = 0;
    int shift = 0;
    std::uint32_t max = 0;
    std::uint32_t Channel(std::uint32_t value) const {
        return max == 0 ? 0 : ((value & bits) >> shift) * 255 / max;
    }
};

Mask MakeMask(std::uint32_t bits) {
    Mask m;
    m.bits = bits;
    m.shift = bits == 0 ? 0 : std::countr_zero(bits);
    m.max = bits >> m.shift;
    return m;
}

struct Decoder {
    const std::uint8_t* rest;  // everything after the file header
    std::size_t restSize;
    InfoHeader header;
    std::uint64_t tableEntries;

    bool Decode(bool wantPalette, DecodedBitmap& out) const;
    // Sane headers, with the colour table and every pixel row inside the data.
    bool Fits() const;

private:
    bool Plausible() const;
    std::uint64_t PixelOffset() const;
    std::uint32_t TableColour(std::uint32_t index) const;
    bool Masks(Mask (&masks)[3]) const;
    void DecodeRow(const std::uint8_t* row, const Mask (&masks)[3], std::uint32_t* dst) const;
};

bool Decoder::Plausible() const {
    const auto& h = header;
    const bool depthOk = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 ||
                         h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32;
    const bool compressionOk =
        h.compression == kBiRgb || (h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32));
    const std::int64_t height = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    return depthOk && compressionOk && h.width > 0 && h.width <= kMaxBitmapSide && height > 0 &&
           height <= kMaxBitmapSide;
}

// The pixels follow the information header and, for indexed pictures, the whole colour
// table; for deeper pictures, the colours the header names plus three masks for bit fields.
std::uint64_t Decoder::PixelOffset() const {
    if (header.bitCount <= 8) {
        return kInfoHeaderSize + 4 * tableEntries;
    }
    return kInfoHeaderSize + 4ull * header.coloursUsed + (header.compression == kBiBitfields ? 12 : 0);
}

std::uint32_t Decoder::TableColour(std::uint32_t index) const {
    if (index >= tableEntries) {
        return 0xFF000000u;
    }
    const std::uint8_t* e = rest + kInfoHeaderSize + 4 * index;
    return 0xFF000000u | (e[2] << 16) | (e[1] << 8) | e[0];
}

bool Decoder::Masks(Mask (&masks)[3]) const {
    if (header.compression == kBiBitfields) {
        const std::uint8_t* m = rest + kInfoHeaderSize;
        for (int i = 0; i < 3; ++i) {
            masks[i] = MakeMask(U32(m + 4 * i));
        }
    } else if (header.bitCount == 16) {
        masks[0] = MakeMask(0x7C00);
        masks[1] = MakeMask(0x03E0);
        masks[2] = MakeMask(0x001F);
    } else {
        masks[0] = MakeMask(0x00FF0000);
        masks[1] = MakeMask(0x0000FF00);
        masks[2] = MakeMask(0x000000FF);
    }
    return true;
}

void Decoder::DecodeRow(const std::uint8_t* row, const Mask (&masks)[3], std::uint32_t* dst) const {
    const int bits = static_cast<int>(header.bitCount);
    for (int x = 0; x < header.width; ++x) {
        std::uint32_t colour = 0;
        if (bits <= 8) {
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            const std::uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            colour = TableColour(index);
        } else if (bits == 24) {
            const std::uint8_t* p = row + 3 * x;
            colour = 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
        } else {
            const std::uint32_t v = bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
            colour = 0xFF000000u | (masks[0].Channel(v) << 16) | (masks[1].Channel(v) << 8) |
                     masks[2].Channel(v);
        }
        dst[x] = colour;
    }
}

bool Decoder::Fits() const {
    if (!Plausible()) {
        return false;
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(header.width) * header.bitCount + 31) / 32) * 4;
    const std::uint64_t height = header.height < 0 ? -static_cast<std::int64_t>(header.height) : header.height;
    const std::uint64_t offset = PixelOffset();
    const std::uint64_t tableEnd =
        header.bitCount <= 8 ? offset : kInfoHeaderSize + (header.compression == kBiBitfields ? 12 : 0);
    return tableEnd <= restSize && offset <= restSize && stride * height <= restSize - offset;
}

bool Decoder::Decode(bool wantPalette, DecodedBitmap& out) const {
    if (!Fits()) {
        return false;
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(header.width) * header.bitCount + 31) / 32) * 4;
    const bool topDown = header.height < 0;
    const int height = topDown ? -header.height : header.height;
    const std::uint64_t offset = PixelOffset();
    Mask masks[3];
    Masks(masks);
    DecodedBitmap result;
    result.width = header.width;
    result.height = height;
    result.colourTableEntries = static_cast<int>(std::min<std::uint64_t>(tableEntries, 1u << 31));
    result.pixels.resize(static_cast<std::size_t>(header.width) * height);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        DecodeRow(rest + offset + stride * fileRow, masks, result.pixels.data() + static_cast<std::size_t>(y) * header.width);
    }
    if (wantPalette && tableEntries <= 256 && header.bitCount <= 8) {
        for (std::uint32_t i = 0; i < tableEntries; ++i) {
            result.palette.push_back(TableColour(i) & 0x00FFFFFFu);
        }
    }
    out = std::move(result);
    return true;
}

// A decoder over the bytes after the file header of a file of `size` bytes, whose first
// `available` bytes are in memory: the headers suffice to ask whether the rest fits.
std::optional<Decoder> MakeDecoder(const std::uint8_t* data, std::size_t available, std::uint64_t size) {
    if (available < kFileHeaderSize + kInfoHeaderSize || U16(data) != 0x4D42) {
        return std::nullopt;
    }
    const std::uint8_t* rest = data + kFileHeaderSize;
    const InfoHeader header = ReadInfoHeader(rest);
    const std::uint64_t tableEntries =
        header.coloursUsed != 0 ? header.coloursUsed : (1ull << (header.bitCount & 31));
    return Decoder{rest, static_cast<std::size_t>(size - kFileHeaderSize), header, tableEntries};
}

}  // namespace

bool DecodeBitmap(const std::uint8_t* data, std::size_t size, bool wantPalette, DecodedBitmap& out) {
    const std::optional<Decoder> decoder = MakeDecoder(data, size, size);
    return decoder && decoder->Decode(wantPalette, out);
}

bool BitmapFileIsWhole(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size < 0) {
        return false;
    }
    std::uint8_t head[kFileHeaderSize + kInfoHeaderSize] = {};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const std::optional<Decoder> decoder =
        MakeDecoder(head, static_cast<std::size_t>(in.gcount()), static_cast<std::uint64_t>(size));
    return decoder && decoder->Fits();
}

bool LoadBitmapFile(const std::string& fileName, bool wantPalette, DecodedBitmap& out) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    const std::streamoff size = in.tellg();
    constexpr std::streamoff kLargest = 64 + 1024 + 4ll * kMaxBitmapSide * kMaxBitmapSide;
    if (size < 0 || size > kLargest) {
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return false;
    }
    return DecodeBitmap(bytes.data(), bytes.size(), wantPalette, out);
}

}  // namespace quvo
