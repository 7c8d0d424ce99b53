#include "settings/datafiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/bitmapfile.h"
#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/pinyintable.h"
#include "chardata/textbook.h"
#include "controls/anifile.h"
#include "strokes/glyphsource.h"

namespace quvo {
namespace {

namespace fs = std::filesystem;

constexpr char kGao[] = "\xB8\xDF";  // 高, the first character of a first start
constexpr std::uint16_t kGaoCode = 0xB8DF;

std::uint32_t Be16(const unsigned char* p) { return (p[0] << 8) | p[1]; }
std::uint32_t Be32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// The first `count` bytes of a file (fewer when it is shorter) and its size.
struct FileHead {
    std::vector<unsigned char> bytes;
    std::uint64_t size = 0;
    bool read = false;
};

FileHead ReadHead(const std::string& fileName, std::uint64_t offset, std::size_t count) {
    FileHead head;
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) {
        return head;
    }
    head.size = static_cast<std::uint64_t>(in.tellg());
    const std::uint64_t available = head.size > offset ? head.size - offset : 0;
    head.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(count, available)));
    in.seekg(static_cast<std::streamoff>(offset));
    head.read = static_cast<bool>(in.read(reinterpret_cast<char*>(head.bytes.data()),
                                          static_cast<std::streamsize>(head.bytes.size())));
    return head;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

DataFault Fault(DataFault::Kind kind, std::string file, std::string what) {
    return DataFault{kind, std::move(file), std::move(what)};
}

// A required file: missing, or damaged when `whole` says so.
std::optional<DataFault> CheckRequired(const std::string& folder, const std::string& name,
                                       const char* what,
                                       const std::function<bool(const std::string&)>& whole) {
    const std::string path = folder + "/" + name;
    if (!Exists(path)) {
        return Fault(DataFault::kMissing, name, what);
    }
    if (!whole(path)) {
        return Fault(DataFault::kDamaged, name, what);
    }
    return std::nullopt;
}

bool StoreAnswersGao(const std::string& fileName) {
    if (!StoreFileIsWhole(fileName)) {
        return false;
    }
    const StoreAnswer answer = QueryCharacterStore(fileName, kGao);
    return answer.status == StoreAnswer::kFound && !answer.strokeOrder.empty();
}

bool FontDrawsGao(const std::string& fileName) {
    if (!FontFileIsWhole(fileName)) {
        return false;
    }
    GlyphSource font(fileName);
    std::vector<std::uint8_t> outline;
    return font.IsOpen() && font.HasGlyph(kGaoCode) && font.NativeOutline(kGaoCode, 500, outline) > 0;
}

bool ExtensionIs(const fs::path& path, const char* extension) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == extension;
}

// The files of one of the program folder's folders with the extension, by name.
std::vector<fs::path> FilesOf(const std::string& folder, const char* subfolder, const char* extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(fs::path(folder) / subfolder, error)) {
        if (ExtensionIs(item.path(), extension)) {
            files.push_back(item.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// File names on disk are UTF-8, as the messages are.
std::string RelativeName(const char* subfolder, const fs::path& file) {
    return std::string(subfolder) + "/" + file.filename().string();
}

std::optional<DataFault> CheckBooks(const std::string& folder) {
    const std::vector<fs::path> books = FilesOf(folder, "book", ".txt");
    if (books.empty()) {
        return Fault(DataFault::kMissing, "book/", "课本");
    }
    for (const fs::path& book : books) {
        std::ifstream in(book, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.is_open() || !TextbookTextIsSound(text)) {
            return Fault(DataFault::kDamaged, RelativeName("book", book), "课本");
        }
    }
    return std::nullopt;
}

// Every file of the folder with the extension that is there must be whole.
std::optional<DataFault> CheckPresent(const std::string& folder, const char* subfolder,
                                      const char* extension, const char* what,
                                      const std::function<bool(const std::string&)>& whole) {
    for (const fs::path& file : FilesOf(folder, subfolder, extension)) {
        if (!whole(file.string())) {
            return Fault(DataFault::kDamaged, RelativeName(subfolder, file), what);
        }
    }
    return std::nullopt;
}

bool CursorFileIsWhole(const std::string& fileName) {
    CursorAnimation animation;
    return LoadCursorFile(fileName, animation);
}

// Bit rates in kbit/s of MPEG audio by version (1, or 2 and 2.5) and layer (I, II, III).
constexpr std::array<std::array<int, 15>, 5> kBitRates{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // 1, I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // 1, II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // 1, III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // 2, I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // 2, II and III
}};
constexpr int kSampleRates[3] = {44100, 48000, 32000};

// The length in bytes of the MPEG audio frame whose four header bytes are given; 0 when they
// are not a frame header.
std::uint64_t FrameLength(const unsigned char* h) {
    const int version = (h[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layer = 4 - ((h[1] >> 1) & 3);  // 4 is reserved
    const int rateIndex = h[2] >> 4;
    const int sampleIndex = (h[2] >> 2) & 3;
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0 || version == 1 || layer == 4 || rateIndex == 0 ||
        rateIndex == 15 || sampleIndex == 3) {
        return 0;
    }
    const bool first = version == 3;
    const int table = first ? layer - 1 : (layer == 1 ? 3 : 4);
    const std::uint64_t bitRate = 1000ull * kBitRates[table][rateIndex];
    const std::uint64_t sampleRate = kSampleRates[sampleIndex] >> (first ? 0 : (version == 2 ? 1 : 2));
    const std::uint64_t padding = (h[2] >> 1) & 1;
    if (layer == 1) {
        return (12 * bitRate / sampleRate + padding) * 4;
    }
    const std::uint64_t factor = layer == 3 && !first ? 72 : 144;
    return factor * bitRate / sampleRate + padding;
}

}  // namespace

bool StoreFileIsWhole(const std::string& fileName) {
    const FileHead head = ReadHead(fileName, 0, 100);
    if (!head.read || head.bytes.size() < 100 || std::memcmp(head.bytes.data(), "SQLite format 3", 16) != 0) {
        return false;
    }
    const unsigned char* h = head.bytes.data();
    const std::uint64_t pageSize = Be16(h + 16) == 1 ? 65536 : Be16(h + 16);
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || head.size % pageSize != 0) {
        return false;
    }
    // The page count in the header is valid when written by the same change as the counter.
    const bool countValid = Be32(h + 92) == Be32(h + 24) && Be32(h + 28) != 0;
    return !countValid || Be32(h + 28) * pageSize == head.size;
}

bool FontFileIsWhole(const std::string& fileName) {
    const FileHead header = ReadHead(fileName, 0, 12);
    if (!header.read || header.bytes.size() < 12) {
        return false;
    }
    const std::uint32_t version = Be32(header.bytes.data());
    if (version != 0x00010000u && version != 0x74727565u /* true */ && version != 0x4F54544Fu /* OTTO */) {
        return false;
    }
    const std::uint32_t tables = Be16(header.bytes.data() + 4);
    const FileHead directory = ReadHead(fileName, 12, 16 * tables);
    if (tables == 0 || !directory.read || directory.bytes.size() < 16 * tables) {
        return false;
    }
    for (std::uint32_t i = 0; i < tables; ++i) {
        const unsigned char* record = directory.bytes.data() + 16 * i;
        if (static_cast<std::uint64_t>(Be32(record + 8)) + Be32(record + 12) > header.size) {
            return false;
        }
    }
    return true;
}

bool TextbookTextIsSound(std::string_view bytes) {
    for (unsigned char c : bytes) {
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') {
            return false;
        }
    }
    if (!GbkToUtf8(bytes)) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (IsCharacterByte(static_cast<unsigned char>(bytes[i])) &&
            IsCharacterByte(static_cast<unsigned char>(bytes[i + 1]))) {
            return true;
        }
    }
    return false;
}

bool Mp3FileIsWhole(const std::string& fileName) {
    FileHead head = ReadHead(fileName, 0, 10);
    if (!head.read || head.bytes.size() < 4) {
        return false;
    }
    std::uint64_t offset = 0;
    const unsigned char* h = head.bytes.data();
    if (head.bytes.size() == 10 && std::memcmp(h, "ID3", 3) == 0) {
        // An ID3v2 tag: its size is four 7-bit bytes, plus a footer when flagged.
        offset = 10 + ((std::uint64_t{h[6]} & 0x7F) << 21 | (h[7] & 0x7F) << 14 | (h[8] & 0x7F) << 7 | (h[9] & 0x7F)) +
                 ((h[5] & 0x10) ? 10 : 0);
        head = ReadHead(fileName, offset, 4);
        if (!head.read || head.bytes.size() < 4) {
            return false;
        }
    }
    const std::uint64_t length = FrameLength(head.bytes.data());
    return length != 0 && offset + length <= head.size;
}

std::optional<DataFault> CheckCharacterData(const std::string& folder, std::string_view pinyinTable) {
    if (auto fault = CheckRequired(folder, "hz.db", "汉字笔顺库", StoreAnswersGao)) {
        return fault;
    }
    if (auto fault = CheckRequired(folder, "fonts/quvokai.ttf", "笔画字体", FontDrawsGao)) {
        return fault;
    }
    std::string pinyin, tone;
    if (!LookUpPinyin(pinyinTable, kGao, pinyin, tone)) {
        return Fault(pinyinTable.empty() ? DataFault::kMissing : DataFault::kDamaged, "pinyin.txt", "拼音表");
    }
    return CheckBooks(folder);
}

std::optional<DataFault> CheckMediaFiles(const std::string& folder) {
    const auto bitmap = [](const std::string& file) { return BitmapFileIsWhole(file); };
    if (auto fault = CheckPresent(folder, "theme", ".bmp", "图片", bitmap)) {
        return fault;
    }
    if (auto fault = CheckPresent(folder, "cur", ".ani", "光标", CursorFileIsWhole)) {
        return fault;
    }
    if (auto fault = CheckPresent(folder, "bmusic", ".mp3", "声音", Mp3FileIsWhole)) {
        return fault;
    }
    return CheckPresent(folder, "bihua", ".mp3", "声音", Mp3FileIsWhole);
}

std::optional<DataFault> CheckDataFiles(const std::string& folder, std::string_view pinyinTable) {
    if (auto fault = CheckCharacterData(folder, pinyinTable)) {
        return fault;
    }
    return CheckMediaFiles(folder);
}

std::string DataFaultMessage(const DataFault& fault) {
    std::string name = fault.file;
    const bool isFolder = !name.empty() && name.back() == '/';
    if (isFolder) {
        name.pop_back();
    }
    const std::string subject = fault.what + (isFolder ? "文件夹" : "文件") + "“" + name + "”";
    const std::string problem =
        fault.kind == DataFault::kMissing ? "找不到" + subject + "。" : subject + "已损坏。";
    return problem + "\n请重新安装本程序。";
}

}  // namespace quvo
