#include <gtest/gtest.h>

#include <random>

#include "app/bitmapfile.h"
#include "testfiles.h"

namespace quvo {
namespace {

void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// Builds a bitmap file: headers, optional masks, table, a gap, then the rows as given
// (each already padded). The file header's pixel offset claims offsetClaim when nonzero.
struct BmpBuilder {
    int width = 0;
    int height = 0;
    int bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;
    std::vector<std::uint32_t> table;  // 0x00RRGGBB
    std::vector<std::uint8_t> gap;
    std::vector<std::uint8_t> pixels;
    std::uint32_t offsetClaim = 0;

    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> info;
        Put32(info, 40);
        Put32(info, static_cast<std::uint32_t>(width));
        Put32(info, static_cast<std::uint32_t>(height));
        Put16(info, 1);
        Put16(info, static_cast<std::uint32_t>(bits));
        Put32(info, compression);
        Put32(info, static_cast<std::uint32_t>(pixels.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, coloursUsed);
        Put32(info, 0);
        for (auto m : masks) Put32(info, m);
        for (auto c : table) Put32(info, c);
        info.insert(info.end(), gap.begin(), gap.end());
        std::vector<std::uint8_t> file;
        const std::uint32_t total = 14 + static_cast<std::uint32_t>(info.size() + pixels.size());
        Put16(file, 0x4D42);
        Put32(file, total);
        Put32(file, 0);
        Put32(file, offsetClaim != 0 ? offsetClaim : 14 + static_cast<std::uint32_t>(info.size()));
        file.insert(file.end(), info.begin(), info.end());
        file.insert(file.end(), pixels.begin(), pixels.end());
        return file;
    }
};

bool Decode(const std::vector<std::uint8_t>& file, DecodedBitmap& out, bool palette = false) {
    return DecodeBitmap(file.data(), file.size(), palette, out);
}

BmpBuilder TwentyFourBit() {
    // 3 x 2, bottom row first: bottom = red green blue, top = white black grey; rows padded to 12.
    BmpBuilder b;
    b.width = 3;
    b.height = 2;
    b.pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,
                255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0};
    return b;
}

TEST(BitmapFile, TwentyFourBitRowsBottomUpWithPaddingAndNoPalette) {
    DecodedBitmap bmp;
    ASSERT_TRUE(Decode(TwentyFourBit().Build(), bmp, /*palette=*/true));
    EXPECT_EQ(bmp.width, 3);
    EXPECT_EQ(bmp.height, 2);
    const std::vector<std::uint32_t> expected = {0xFFFFFFFF, 0xFF000000, 0xFF808080,
                                                 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    EXPECT_EQ(bmp.pixels, expected);
    EXPECT_GT(bmp.colourTableEntries, 256);
    EXPECT_TRUE(bmp.palette.empty());  // never for more than 256 implied colours
}

TEST(BitmapFile, TopDownPicture) {
    BmpBuilder b = TwentyFourBit();
    b.height = -2;
    DecodedBitmap bmp;
    ASSERT_TRUE(Decode(b.Build(), bmp));
    EXPECT_EQ(bmp.height, 2);
    EXPECT_EQ(bmp.pixels[0], 0xFFFF0000u);
}

TEST(BitmapFile, IndexedDepthsAndTheirPalettes) {
    BmpBuilder b8;
    b8.width = 2;
    b8.height = 1;
    b8.bits = 8;
    b8.coloursUsed = 3;
    b8.table = {0x112233, 0x445566, 0x778899};
    b8.pixels = {2, 0, 0, 0};
    DecodedBitmap bmp;
    ASSERT_TRUE(Decode(b8.Build(), bmp, true));
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint32_t>{0xFF778899, 0xFF112233}));
    EXPECT_EQ(bmp.palette, (std::vector<std::uint32_t>{0x112233, 0x445566, 0x778899}));
    ASSERT_TRUE(Decode(b8.Build(), bmp, false));
    EXPECT_TRUE(bmp.palette.empty());

    BmpBuilder b4 = b8;
    b4.bits = 4;
    b4.width = 3;
    b4.coloursUsed = 0;  // a full table of 16
    b4.table.assign(16, 0);
    b4.table[1] = 0x0000FF;
    b4.table[15] = 0xFFFFFF;
    b4.pixels = {0x1F, 0x10, 0, 0};
    ASSERT_TRUE(Decode(b4.Build(), bmp, true));
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint32_t>{0xFF0000FF, 0xFFFFFFFF, 0xFF0000FF}));
    EXPECT_EQ(bmp.palette.size(), 16u);

    BmpBuilder b1 = b8;
    b1.bits = 1;
    b1.width = 10;
    b1.coloursUsed = 0;
    b1.table = {0x000000, 0xFFFFFF};
    b1.pixels = {0xA0, 0x40, 0, 0};  // 1010 0000 01..
    ASSERT_TRUE(Decode(b1.Build(), bmp));
    const std::vector<std::uint32_t> ones = {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000,
                                             0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                             0xFF000000, 0xFFFFFFFF};
    EXPECT_EQ(bmp.pixels, ones);
}

TEST(BitmapFile, SixteenAndThirtyTwoBitWithAndWithoutBitFields) {
    BmpBuilder b16;
    b16.width = 2;
    b16.height = 1;
    b16.bits = 16;
    b16.pixels = {0x00, 0x7C, 0x1F, 0x00};  // 555: red, blue
    DecodedBitmap bmp;
    ASSERT_TRUE(Decode(b16.Build(), bmp));
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF0000FF}));

    b16.compression = 3;
    b16.masks = {0xF800, 0x07E0, 0x001F};
    b16.pixels = {0xE0, 0x07, 0x00, 0xF8};  // 565: green, red
    ASSERT_TRUE(Decode(b16.Build(), bmp));
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint32_t>{0xFF00FF00, 0xFFFF0000}));

    BmpBuilder b32;
    b32.width = 1;
    b32.height = 1;
    b32.bits = 32;
    b32.pixels = {0x10, 0x20, 0x30, 0x00};
    ASSERT_TRUE(Decode(b32.Build(), bmp));
    EXPECT_EQ(bmp.pixels[0], 0xFF302010u);
    b32.compression = 3;
    b32.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // stored as R G B X
    ASSERT_TRUE(Decode(b32.Build(), bmp));
    EXPECT_EQ(bmp.pixels[0], 0xFF102030u);
}

TEST(BitmapFile, PixelsAreTakenFromTheComputedPositionNotTheClaimedOne) {
    BmpBuilder b = TwentyFourBit();
    b.offsetClaim = 54 + 16;  // the header says the pixels start 16 bytes later
    DecodedBitmap computed;
    ASSERT_TRUE(Decode(b.Build(), computed));
    EXPECT_EQ(computed.pixels[3], 0xFFFF0000u);

    // Extra bytes between headers and pixels shift the real pixels; the reader still reads
    // from the computed position, so it sees the gap's bytes as the first row.
    b.gap.assign(12, 0x55);
    b.offsetClaim = 54 + 12;
    DecodedBitmap shifted;
    ASSERT_TRUE(Decode(b.Build(), shifted));
    EXPECT_EQ(shifted.pixels[3], 0xFF555555u);
}

TEST(BitmapFile, MalformedFilesAreRefusedAndLeaveThePictureAsItWas) {
    DecodedBitmap keep;
    keep.width = 7;
    auto refused = [&](const std::vector<std::uint8_t>& file) {
        const bool ok = Decode(file, keep);
        return !ok && keep.width == 7;
    };
    auto with = [](auto change) {
        BmpBuilder b = TwentyFourBit();
        change(b);
        return b.Build();
    };
    std::vector<std::uint8_t> bad = TwentyFourBit().Build();
    bad[0] = 'X';
    EXPECT_TRUE(refused(bad));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.width = 0; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.width = 16385; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.height = 16385; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.height = -16385; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.height = 0; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.width = -3; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.bits = 7; })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.compression = 1; })));  // run-length
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.width = 4000; })));     // rows past the end
    EXPECT_TRUE(refused(with([](BmpBuilder& b) {
        b.bits = 8;
        b.coloursUsed = 0xFFFFFFF0u;  // a table far beyond the file
    })));
    EXPECT_TRUE(refused(with([](BmpBuilder& b) { b.coloursUsed = 0x40000000u; })));
}

TEST(BitmapFile, EveryTruncationOfAValidFileIsRefused) {
    BmpBuilder b;
    b.width = 5;
    b.height = 3;
    b.bits = 8;
    b.coloursUsed = 4;
    b.table = {1, 2, 3, 4};
    b.pixels.assign(8 * 3, 1);
    const std::vector<std::uint8_t> file = b.Build();
    DecodedBitmap bmp;
    for (std::size_t n = 0; n < file.size(); ++n) {
        const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<long>(n));
        EXPECT_FALSE(DecodeBitmap(cut.data(), cut.size(), true, bmp)) << "length " << n;
    }
    EXPECT_TRUE(DecodeBitmap(file.data(), file.size(), true, bmp));
}

TEST(BitmapFile, RandomHeaderValuesNeverReadPastTheData) {
    std::mt19937 random(2026);
    const std::vector<std::uint8_t> base = TwentyFourBit().Build();
    int accepted = 0;
    for (int round = 0; round < 5000; ++round) {
        std::vector<std::uint8_t> file = base;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            file[14 + random() % 40] = static_cast<std::uint8_t>(random());
        }
        DecodedBitmap bmp;
        if (DecodeBitmap(file.data(), file.size(), true, bmp)) {
            ++accepted;
            EXPECT_EQ(bmp.pixels.size(), static_cast<std::size_t>(bmp.width) * bmp.height);
            EXPECT_LE(bmp.palette.size(), 256u);
        }
    }
    EXPECT_GT(accepted, 0);  // harmless changes (resolution fields) still decode
}

TEST(BitmapFile, LoadsFromAFile) {
    test::TempFolder dir;
    const auto bytes = TwentyFourBit().Build();
    test::WriteAll(dir.File("t.bmp"), std::string(bytes.begin(), bytes.end()));
    DecodedBitmap bmp;
    ASSERT_TRUE(LoadBitmapFile(dir.File("t.bmp"), false, bmp));
    EXPECT_EQ(bmp.width, 3);
    EXPECT_FALSE(LoadBitmapFile(dir.File("missing.bmp"), false, bmp));
}

}  // namespace
}  // namespace quvo
