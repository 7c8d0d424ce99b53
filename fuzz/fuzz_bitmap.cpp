// The bitmap reader, as the dialog reads a theme picture: every byte of the file is the
// fuzzer's. With the colour table asked for and without, the same pixels must come out.
#include "app/bitmapfile.h"
#include "fuzz/fuzzsupport.h"

using quvo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quvo::DecodedBitmap withTable;
    quvo::DecodedBitmap plain;
    const bool decoded = quvo::DecodeBitmap(data, size, true, withTable);
    Check(decoded == quvo::DecodeBitmap(data, size, false, plain),
          "the colour table does not decide whether a picture is read");
    if (!decoded) {
        Check(withTable.pixels.empty() && withTable.width == 0,
              "a refused picture leaves its result alone");
        return 0;
    }
    Check(withTable.width > 0 && withTable.width <= quvo::kMaxBitmapSide && withTable.height > 0 &&
              withTable.height <= quvo::kMaxBitmapSide,
          "a picture read has a sensible size");
    Check(withTable.pixels.size() == static_cast<std::size_t>(withTable.width) * withTable.height,
          "a picture has one pixel for each place");
    Check(withTable.pixels == plain.pixels, "the colour table does not change the pixels");
    Check(plain.palette.empty() && withTable.palette.size() <= 256,
          "a palette only when asked, 256 at most");
    for (const std::uint32_t pixel : withTable.pixels) {
        Check((pixel >> 24) == 0xFF, "every pixel is opaque");
    }
    return 0;
}
