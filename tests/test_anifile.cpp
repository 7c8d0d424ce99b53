#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "controls/anifile.h"
#include "testfiles.h"

namespace quvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& v, std::uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void Put32(Bytes& v, std::uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void Set32(Bytes& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) {
        v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
    }
}

Bytes Chunk(const char* tag, const Bytes& body) {
    Bytes c(tag, tag + 4);
    Put32(c, static_cast<std::uint32_t>(body.size()));
    c.insert(c.end(), body.begin(), body.end());
    if (body.size() % 2) {
        c.push_back(0);
    }
    return c;
}

std::size_t Find(const Bytes& file, const char* tag, std::size_t from = 0) {
    const auto it =
        std::search(file.begin() + static_cast<std::ptrdiff_t>(from), file.end(), tag, tag + 4);
    return static_cast<std::size_t>(it - file.begin());
}

constexpr std::uint32_t kClear = 0;

// A picture written as a cursor (type 2) or icon (type 1) file at a given depth, with the
// mask the writer derives: pixels must be opaque or clear (0), except at 32 bits.
struct CurPicture {
    int bits = 32;
    int width = 0;
    int height = 0;
    int type = 2;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first

    Bytes Build() const {
        // Index 0 is black, behind the clear pixels; deeper pictures have no table.
        std::vector<std::uint32_t> table(bits <= 8 ? 1 : 0, 0);
        for (auto p : pixels) {
            if (bits <= 8 && p != kClear &&
                std::find(table.begin(), table.end(), p & 0xFFFFFF) == table.end()) {
                table.push_back(p & 0xFFFFFF);
            }
        }
        if (bits <= 8) {
            table.resize(std::size_t{1} << bits);
        }
        const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
        const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
        Bytes colour(stride * height), mask(maskStride * height);
        for (int y = 0; y < height; ++y) {
            const std::size_t row = static_cast<std::size_t>(height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
                PutPixel(colour.data() + row * stride, x, p, table);
                if ((p >> 24) == 0) {
                    mask[row * maskStride + x / 8] |= 0x80 >> (x % 8);
                }
            }
        }
        Bytes image;
        for (std::uint32_t v : {40u, static_cast<std::uint32_t>(width), 2u * height}) {
            Put32(image, v);
        }
        Put16(image, 1);
        Put16(image, static_cast<std::uint32_t>(bits));
        for (int i = 0; i < 6; ++i) {
            Put32(image, 0);
        }
        for (auto c : table) {
            Put32(image, c);
        }
        image.insert(image.end(), colour.begin(), colour.end());
        image.insert(image.end(), mask.begin(), mask.end());
        Bytes file;
        for (std::uint32_t v : {0u, static_cast<std::uint32_t>(type), 1u}) {
            Put16(file, v);
        }
        file.insert(file.end(),
                    {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height), 0, 0});
        Put16(file, static_cast<std::uint32_t>(hotX));
        Put16(file, static_cast<std::uint32_t>(hotY));
        Put32(file, static_cast<std::uint32_t>(image.size()));
        Put32(file, 22);
        file.insert(file.end(), image.begin(), image.end());
        return file;
    }

    void PutPixel(std::uint8_t* row, int x, std::uint32_t p,
                  const std::vector<std::uint32_t>& table) const {
        if (bits >= 24) {
            const int n = bits / 8;
            for (int i = 0; i < n; ++i) {
                row[n * x + i] = static_cast<std::uint8_t>(p >> (8 * i));
            }
            return;
        }
        const auto index = static_cast<std::uint32_t>(
            p == kClear ? 0 : std::find(table.begin(), table.end(), p & 0xFFFFFF) - table.begin());
        const int bit = x * bits;
        row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
    }

    CursorFrame Expected() const {
        return CursorFrame{width, height, type == 2 ? hotX : width / 2,
                           type == 2 ? hotY : height / 2, pixels};
    }
};

// A picture using `colours` in turn, with a clear pixel every third one.
CurPicture Picture(int bits, int width, int height, std::vector<std::uint32_t> colours) {
    CurPicture c{bits, width, height, 2, width - 1, height / 2, {}};
    for (int i = 0; i < width * height; ++i) {
        c.pixels.push_back(i % 3 == 2 ? kClear
                                      : colours[static_cast<std::size_t>(i) % colours.size()]);
    }
    return c;
}

const std::vector<CurPicture>& Pictures() {
    static const std::vector<CurPicture> pictures = [] {
        const std::vector<std::uint32_t> bw = {0xFFFFFFFF, 0xFF000000};
        const std::vector<std::uint32_t> rgb = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF123456,
                                                0xFF000000};
        std::vector<CurPicture> p = {Picture(1, 40, 3, bw), Picture(4, 5, 3, rgb),
                                     Picture(8, 5, 3, rgb), Picture(24, 5, 3, rgb),
                                     Picture(32, 5, 3, rgb)};
        p.back().pixels[0] = 0x80FF8000;  // a half-clear pixel keeps its alpha at 32 bits
        p[2].type = 1;
        return p;
    }();
    return pictures;
}

// An animated cursor of the given frames; the rate and sequence tables when not empty.
Bytes Ani(const std::vector<Bytes>& icons, std::uint32_t jiffies,
          const std::vector<std::uint32_t>& rates, const std::vector<std::uint32_t>& seq) {
    const auto steps = static_cast<std::uint32_t>(seq.empty() ? icons.size() : seq.size());
    Bytes header;
    for (std::uint32_t v : {36u, static_cast<std::uint32_t>(icons.size()), steps, 0u, 0u, 0u, 0u,
                            jiffies, seq.empty() ? 1u : 3u}) {
        Put32(header, v);
    }
    const auto table = [](const std::vector<std::uint32_t>& values) {
        Bytes t;
        for (auto v : values) {
            Put32(t, v);
        }
        return t;
    };
    std::vector<Bytes> parts = {Chunk("LIST", Chunk("INFO", Chunk("INAM", {'o', 'd', 'd', 0, 0}))),
                                Chunk("anih", header)};
    if (!rates.empty()) {
        parts.push_back(Chunk("rate", table(rates)));
    }
    if (!seq.empty()) {
        parts.push_back(Chunk("seq ", table(seq)));
    }
    Bytes body = {'A', 'C', 'O', 'N'};
    for (const Bytes& part : parts) {
        body.insert(body.end(), part.begin(), part.end());
    }
    Bytes frames = {'f', 'r', 'a', 'm'};
    for (const Bytes& icon : icons) {
        const Bytes c = Chunk("icon", icon);
        frames.insert(frames.end(), c.begin(), c.end());
    }
    const Bytes list = Chunk("LIST", frames);
    body.insert(body.end(), list.begin(), list.end());
    return Chunk("RIFF", body);
}

std::vector<Bytes> PictureFiles() {
    std::vector<Bytes> files;
    for (const CurPicture& c : Pictures()) {
        files.push_back(c.Build());
    }
    return files;
}

// Every depth in one file, played out of order with a time per step.
Bytes Sampler() {
    return Ani(PictureFiles(), 10, {1, 2, 6, 60, 0, 100000}, {4, 0, 2, 2, 1, 3});
}

bool Refused(const Bytes& file, std::size_t size) {
    CursorAnimation out{{CursorFrame{7, 7, 0, 0, {}}}, {}};
    return !DecodeAniFile(file.data(), size, out) && out.frames.size() == 1 &&
           out.frames[0].width == 7;
}

TEST(AniFile, CursorPicturesOfEveryDepthAreReadBack) {
    for (const CurPicture& picture : Pictures()) {
        SCOPED_TRACE(picture.bits);
        const Bytes file = picture.Build();
        CursorFrame frame;
        ASSERT_TRUE(DecodeCursorFile(file.data(), file.size(), frame));
        EXPECT_EQ(frame, picture.Expected());
    }
}

TEST(AniFile, StepsFollowTheSequenceAndRateOrTheHeader) {
    struct Case {
        Bytes file;
        std::vector<CursorStep> steps;
    };
    const std::vector<Case> cases = {
        // 0 jiffies are taken as 1, more than a minute as a minute.
        {Sampler(), {{4, 17}, {0, 33}, {2, 100}, {2, 1000}, {1, 17}, {3, 60000}}},
        {Ani(PictureFiles(), 6, {}, {}), {{0, 100}, {1, 100}, {2, 100}, {3, 100}, {4, 100}}},
        {Ani(PictureFiles(), 3, {}, {1, 1}), {{1, 50}, {1, 50}}},
    };
    for (const Case& c : cases) {
        CursorAnimation ani;
        ASSERT_TRUE(DecodeAniFile(c.file.data(), c.file.size(), ani));
        EXPECT_EQ(ani.steps, c.steps);
        ASSERT_EQ(ani.frames.size(), Pictures().size());
        for (std::size_t i = 0; i < ani.frames.size(); ++i) {
            EXPECT_EQ(ani.frames[i], Pictures()[i].Expected());
        }
    }
}

TEST(AniFile, EveryTruncationIsRefused) {
    const Bytes file = Sampler();
    for (std::size_t n = 0; n < file.size(); ++n) {
        ASSERT_TRUE(Refused(file, n)) << n;
        // The same cut with the RIFF size made to fit: a chunk inside now runs past the end.
        if (n < 12) {
            continue;
        }
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        Set32(cut, 4, static_cast<std::uint32_t>(n - 8));
        ASSERT_TRUE(Refused(cut, cut.size())) << n;
    }
    const Bytes cur = Pictures()[0].Build();
    CursorFrame frame;
    for (std::size_t n = 0; n < cur.size(); ++n) {
        ASSERT_FALSE(DecodeCursorFile(cur.data(), n, frame)) << n;
    }
}

TEST(AniFile, AbsurdOrBrokenFieldsAreRefused) {
    const Bytes good = Sampler();
    const std::size_t anih = Find(good, "anih") + 8;
    const std::size_t seq = Find(good, "seq ") + 8;
    const std::size_t cur = Find(good, "icon") + 8;  // the 1-bit picture, 40 x 3
    const std::size_t dib = cur + 22;
    const std::uint32_t frames = static_cast<std::uint32_t>(Pictures().size());
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"RIFF size past the end", 4, static_cast<std::uint32_t>(good.size())},
        {"anih size past the end", anih - 4, 0xFFFFFFF0},
        {"header size", anih, 0},
        {"no frames", anih + 4, 0},
        {"too many frames", anih + 4, kMaxCursorFrames + 1},
        {"absurd frames", anih + 4, 0xFFFFFFFF},
        {"more frames than icons", anih + 4, frames + 1},
        {"no steps", anih + 8, 0},
        {"absurd steps", anih + 8, 100000},
        {"steps unlike the tables", anih + 8, 5},
        {"frames not icons", anih + 32, 2},
        {"sequence names a missing frame", seq + 4, frames},
        {"sequence names an absurd frame", seq + 4, 0xFFFFFFFF},
        {"not a cursor directory", cur, 0x00030000},
        {"no images", cur + 4, 0},
        {"image length past the end", cur + 14, 0x7FFFFFFF},
        {"image offset past the end", cur + 18, 0xFFFFFFF0},
        {"hotspot outside", cur + 10, 40},
        {"DIB header size past the image", dib, 0x10000},
        {"no width", dib + 4, 0},
        {"negative width", dib + 4, 0xFFFFFFFB},
        {"width too large", dib + 4, kMaxCursorSide + 1},
        {"odd height", dib + 8, 5},
        {"height too large", dib + 8, 2 * (kMaxCursorSide + 1)},
        {"unknown depth", dib + 12, 3 << 16 | 1},
        {"compressed", dib + 16, 1},
        {"more colours than the depth has", dib + 32, 3},
    };
    for (const Case& c : cases) {
        Bytes bad = good;
        Set32(bad, c.at, c.value);
        EXPECT_TRUE(Refused(bad, bad.size())) << c.what;
    }
    Bytes form = good;
    std::memcpy(form.data() + 8, "AVI ", 4);
    EXPECT_TRUE(Refused(form, form.size()));
}

// Whatever a damaged file holds, a file that is read is whole: steps name frames it has and
// every frame has its pixels and its hotspot inside.
TEST(AniFile, RandomDamageGivesWholeAnimationsOrNone) {
    const Bytes good = Sampler();
    std::mt19937 random(7);
    int read = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes bad = good;
        for (int k = 0; k <= round % 4; ++k) {
            bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
        }
        CursorAnimation ani;
        if (!DecodeAniFile(bad.data(), bad.size(), ani)) {
            continue;
        }
        ++read;
        for (const CursorStep& s : ani.steps) {
            ASSERT_LT(static_cast<std::size_t>(s.frame), ani.frames.size());
        }
        for (const CursorFrame& f : ani.frames) {
            ASSERT_EQ(f.pixels.size(), static_cast<std::size_t>(f.width) * f.height);
            ASSERT_TRUE(f.hotX < f.width && f.hotY < f.height && f.width <= kMaxCursorSide);
        }
    }
    EXPECT_GT(read, 100);  // most damage falls on pixels, which a reader cannot tell
}

// The program folder's cursors: 32 x 32 frames that change from step to step, drawn with
// smooth edges, the click point on the drawing.
TEST(AniFile, ProgramCursorsAreAnimatedAndClickWhereTheyPoint) {
    for (const char* name : {"normal", "move", "on"}) {
        SCOPED_TRACE(name);
        CursorAnimation ani;
        ASSERT_TRUE(LoadCursorFile(std::string(QUVO_PROGRAM_DIR) + "/cur/" + name + ".ani", ani));
        ASSERT_GE(ani.frames.size(), 4u);
        std::vector<bool> shown(ani.frames.size());
        for (const CursorStep& s : ani.steps) {
            shown[static_cast<std::size_t>(s.frame)] = true;
            EXPECT_TRUE(s.durationMs >= 50 && s.durationMs <= 400) << s.durationMs;
        }
        EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](bool b) { return b; }));
        for (std::size_t i = 0; i < ani.frames.size(); ++i) {
            const CursorFrame& f = ani.frames[i];
            ASSERT_EQ(f.width, 32);
            ASSERT_EQ(f.height, 32);
            EXPECT_GE(f.pixels[static_cast<std::size_t>(f.hotY * 32 + f.hotX)] >> 24, 192u) << i;
            const auto alpha = [&f](auto test) {
                return std::any_of(f.pixels.begin(), f.pixels.end(),
                                   [&](std::uint32_t p) { return test(p >> 24); });
            };
            EXPECT_TRUE(alpha([](std::uint32_t a) { return a == 0; }));
            EXPECT_TRUE(alpha([](std::uint32_t a) { return a == 255; }));
            EXPECT_TRUE(alpha([](std::uint32_t a) { return a > 0 && a < 255; }));
            EXPECT_FALSE(i > 0 && f.pixels == ani.frames[i - 1].pixels) << i;
        }
    }
}

TEST(AniFile, APlainCursorFileIsAStillCursor) {
    test::TempFolder folder;
    const Bytes cur = Pictures()[3].Build();
    test::WriteAll(folder.File("plain.cur"), std::string(cur.begin(), cur.end()));
    CursorAnimation ani;
    ASSERT_TRUE(LoadCursorFile(folder.File("plain.cur"), ani));
    EXPECT_EQ(ani.frames, std::vector<CursorFrame>{Pictures()[3].Expected()});
    EXPECT_EQ(ani.steps, (std::vector<CursorStep>{{0, 0}}));
    EXPECT_FALSE(LoadCursorFile(folder.File("missing.ani"), ani));
}

}  // namespace
}  // namespace quvo
