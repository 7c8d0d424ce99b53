#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quvo {

// A Windows bitmap file (.bmp) read by our own code: the 14-byte file header, the 40-byte
// information header, the colour table, then the pixels. The pixels are found by computing
// the size of the headers and the table; the file header's pixel offset is not trusted.
struct DecodedBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB, top row first
    int colourTableEntries = 0;         // as the header implies (2^bits when it names none)
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, built only when asked for and <= 256
};

// The largest width and height accepted; anything beyond is taken as a damaged header.
inline constexpr int kMaxBitmapSide = 16384;

// Decodes the whole contents of a bitmap file. False, with out left as it was, for anything
// that is not a bitmap this reader understands: a wrong signature, a short file, absurd
// sizes, a colour table or pixel rows running past the end of the data, an unknown depth or
// compression.
bool DecodeBitmap(const std::uint8_t* data, std::size_t size, bool wantPalette, DecodedBitmap& out);

// True when a bitmap file's headers are ones DecodeBitmap accepts and its pixels fit in the
// file, read from the headers and the file's size without decoding the pixels.
bool BitmapFileIsWhole(const std::string& fileName);

// Reads and decodes a bitmap file by its local file name.
bool LoadBitmapFile(const std::string& fileName, bool wantPalette, DecodedBitmap& out);

}  // namespace quvo
