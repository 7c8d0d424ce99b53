// The program folder's check at start: the real shipped files pass, and each kind of damage
// to each kind of file is found and named, while missing pictures and sounds are allowed.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "settings/datafiles.h"
#include "testfiles.h"

namespace quvo {
namespace {

namespace fs = std::filesystem;

enum class Damage { kNone, kRemove, kHalf, kGarbage, kFirstBytes };

// A copy of the program folder made of links, but for one file that is damaged as asked (its
// folders are real, so that damage stays in the copy).
class DamagedFolder : public test::TempFolder {
public:
    DamagedFolder(const std::string& victim, Damage damage) {
        const fs::path source = QUVO_PROGRAM_DIR;
        for (const char* item : {"hz.db", "fonts", "book", "theme", "cur", "bmusic", "bihua"}) {
            LinkAllBut(source, item, damage == Damage::kNone ? std::string() : victim);
        }
        if (damage != Damage::kNone) {
            Spoil(source / victim, Path() / victim, damage);
        }
    }

private:
    void LinkAllBut(const fs::path& source, const fs::path& item, const std::string& victim) {
        const std::string name = item.string();
        if (victim.rfind(name + "/", 0) != 0) {
            if (name != victim) {
                test::LinkProgramFile(source, Path(), name);
            }
            return;
        }
        fs::create_directories(Path() / item);
        for (const auto& child : fs::directory_iterator(source / item)) {
            LinkAllBut(source, item / child.path().filename(), victim);
        }
    }

    static void Spoil(const fs::path& from, const fs::path& to, Damage damage) {
        if (damage == Damage::kRemove) {
            fs::remove_all(to);
            return;
        }
        std::string bytes = test::ReadAll(from.string());
        if (damage == Damage::kHalf) {
            bytes.resize(bytes.size() / 2);
        } else if (damage == Damage::kFirstBytes) {
            bytes.resize(std::min<std::size_t>(bytes.size(), 24));
        } else {
            std::mt19937 random(7);
            for (char& c : bytes) {
                c = static_cast<char>(random());
            }
        }
        test::WriteAll(to.string(), bytes);
    }
};

std::string PinyinTable() { return test::ReadAll(QUVO_PINYIN_TABLE); }

struct Case {
    const char* file;
    Damage damage;
    std::optional<DataFault::Kind> expected;  // none: the folder is fine
    const char* named = nullptr;              // the file the fault names, when not `file`
};

TEST(DataFiles, EachDamageToEachFileIsFoundAndNamed) {
    using K = DataFault::Kind;
    const Case cases[] = {
        {"hz.db", Damage::kNone, std::nullopt},
        {"hz.db", Damage::kRemove, K::kMissing},
        {"hz.db", Damage::kGarbage, K::kDamaged},
        {"hz.db", Damage::kHalf, K::kDamaged},
        {"hz.db", Damage::kFirstBytes, K::kDamaged},
        {"fonts/quvokai.ttf", Damage::kRemove, K::kMissing},
        {"fonts/quvokai.ttf", Damage::kHalf, K::kDamaged},
        {"fonts/quvokai.ttf", Damage::kGarbage, K::kDamaged},
        {"book", Damage::kRemove, K::kMissing, "book/"},
        {"book/基础篇.txt", Damage::kGarbage, K::kDamaged},
        {"theme/charming3.bmp", Damage::kRemove, std::nullopt},
        {"theme/charming3.bmp", Damage::kHalf, K::kDamaged},
        {"theme/charming3.bmp", Damage::kGarbage, K::kDamaged},
        {"cur/move.ani", Damage::kHalf, K::kDamaged},
        {"bmusic/start2.mp3", Damage::kRemove, std::nullopt},
        {"bmusic/start2.mp3", Damage::kGarbage, K::kDamaged},
        {"bihua/7.mp3", Damage::kRemove, std::nullopt},
        {"bihua/7.mp3", Damage::kFirstBytes, K::kDamaged},
        {"bihua", Damage::kRemove, std::nullopt},
    };
    const std::string pinyin = PinyinTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " damage " + std::to_string(static_cast<int>(c.damage)));
        const DamagedFolder folder(c.file, c.damage);
        const std::optional<DataFault> fault = CheckDataFiles(folder.Path().string(), pinyin);
        ASSERT_EQ(fault.has_value(), c.expected.has_value()) << (fault ? fault->file : "");
        if (fault) {
            EXPECT_EQ(fault->kind, *c.expected);
            EXPECT_EQ(fault->file, c.named ? c.named : c.file);
        }
    }
}

TEST(DataFiles, ThePinyinTableMustGiveGao) {
    const DamagedFolder folder("hz.db", Damage::kNone);
    const std::string dir = folder.Path().string();
    EXPECT_EQ(CheckCharacterData(dir, "")->kind, DataFault::kMissing);
    EXPECT_EQ(CheckCharacterData(dir, "\x01\x02garbage\r\n")->kind, DataFault::kDamaged);
    EXPECT_EQ(CheckCharacterData(dir, "")->file, "pinyin.txt");
}

TEST(DataFiles, TheMessageNamesTheFileAndSaysToReinstall) {
    EXPECT_EQ(DataFaultMessage({DataFault::kDamaged, "hz.db", "汉字笔顺库"}),
              "汉字笔顺库文件“hz.db”已损坏。\n请重新安装本程序。");
    EXPECT_EQ(DataFaultMessage({DataFault::kMissing, "book/", "课本"}),
              "找不到课本文件夹“book”。\n请重新安装本程序。");
}

// The frame header's arithmetic, on headers of each MPEG version and layer: a file holding
// exactly the first frame is whole, one byte less is not.
TEST(DataFiles, AnMp3IsWholeWithItsFirstFrame) {
    struct Frame {
        unsigned char header[4];
        std::size_t length;
    };
    const Frame frames[] = {
        {{0xFF, 0xFB, 0x90, 0x00}, 417},   // MPEG 1 layer III, 128 kbit/s, 44.1 kHz
        {{0xFF, 0xFB, 0x92, 0x00}, 418},   // the same, padded
        {{0xFF, 0xF3, 0x84, 0x00}, 192},   // MPEG 2 layer III, 64 kbit/s, 24 kHz
        {{0xFF, 0xE3, 0x48, 0x00}, 288},   // MPEG 2.5 layer III, 32 kbit/s, 8 kHz
        {{0xFF, 0xFD, 0x80, 0x00}, 417},   // MPEG 1 layer II, 128 kbit/s, 44.1 kHz
        {{0xFF, 0xFF, 0x40, 0x00}, 136},   // MPEG 1 layer I, 128 kbit/s, 44.1 kHz
    };
    test::TempFolder folder;
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.length);
        // An ID3 tag of 5 bytes before the frame.
        std::string bytes = std::string("ID3\x03\x00\x00\x00\x00\x00\x05", 10) + "TAGS.";
        bytes += std::string(reinterpret_cast<const char*>(f.header), 4) + std::string(f.length - 4, '\0');
        test::WriteAll(folder.File("a.mp3"), bytes);
        EXPECT_TRUE(Mp3FileIsWhole(folder.File("a.mp3")));
        bytes.pop_back();
        test::WriteAll(folder.File("a.mp3"), bytes);
        EXPECT_FALSE(Mp3FileIsWhole(folder.File("a.mp3")));
    }
    for (const char* bad : {"\xFF\xFB\xF0\x00", "\xFF\xFB\x9C\x00", "\xFF\xF9\x90\x00", "RIFF"}) {
        test::WriteAll(folder.File("b.mp3"), std::string(bad, 4) + std::string(2000, '\0'));
        EXPECT_FALSE(Mp3FileIsWhole(folder.File("b.mp3"))) << bad;
    }
}

}  // namespace
}  // namespace quvo
