// Character data as the program reads it: the store with its bound query, the pinyin table's
// lines, textbook pages and the textbook files of a folder.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/pinyintable.h"
#include "chardata/textbook.h"
#include "testfiles.h"

namespace {

using quvo::StoreAnswer;
using quvo::test::TempFolder;
using quvo::test::WriteAll;

std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }

// A store with the table and rows given, written with SQLite itself.
void MakeStore(const std::string& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST(CharacterStore, FoundRowsGiveBothTextsExactly) {
    TempFolder dir;
    MakeStore(dir.File("hz.db"),
              "CREATE TABLE bishun (hanzi TEXT, bishun TEXT, bihuamc TEXT, extra TEXT);"
              "INSERT INTO bishun VALUES ('天', '2,1,3,4,', '0,0,7,26', 'x');"
              "INSERT INTO bishun VALUES ('天', '9', '9', 'second row, never read');");
    const StoreAnswer a = quvo::QueryCharacterStore(dir.File("hz.db"), Gbk("天"));
    EXPECT_EQ(a.status, StoreAnswer::kFound);
    EXPECT_EQ(a.strokeOrder, "2,1,3,4,");
    EXPECT_EQ(a.strokeTypes, "0,0,7,26");
}

TEST(CharacterStore, MissingRowsAndQuotesFindNothing) {
    TempFolder dir;
    MakeStore(dir.File("hz.db"),
              "CREATE TABLE bishun (hanzi TEXT, bishun TEXT, bihuamc TEXT);"
              "INSERT INTO bishun VALUES ('天', '1', '0');");
    EXPECT_EQ(quvo::QueryCharacterStore(dir.File("hz.db"), Gbk("地")).status, StoreAnswer::kNoRow);
    // A key that would break a query written as text is just a key that is not there.
    for (const char* key : {"'", "' OR '1'='1", "\xA3\xA7"}) {
        const StoreAnswer a = quvo::QueryCharacterStore(dir.File("hz.db"), key);
        EXPECT_EQ(a.status, StoreAnswer::kNoRow) << key;
        EXPECT_TRUE(a.strokeOrder.empty());
    }
    // Bytes that are no GBK at all cannot be in the store either.
    EXPECT_EQ(quvo::QueryCharacterStore(dir.File("hz.db"), "\xFF\xFF").status, StoreAnswer::kNoRow);
}

TEST(CharacterStore, FailuresCarryTheEnginesText) {
    TempFolder dir;
    const StoreAnswer missing = quvo::QueryCharacterStore(dir.File("none.db"), Gbk("天"));
    EXPECT_EQ(missing.status, StoreAnswer::kOpenFailed);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.db")));  // nothing created

    MakeStore(dir.File("other.db"), "CREATE TABLE words (w TEXT);");
    const StoreAnswer noTable = quvo::QueryCharacterStore(dir.File("other.db"), Gbk("天"));
    EXPECT_EQ(noTable.status, StoreAnswer::kQueryFailed);
    EXPECT_NE(noTable.error.find("bishun"), std::string::npos);

    WriteAll(dir.File("junk.db"), std::string(4096, 'j'));
    EXPECT_EQ(quvo::QueryCharacterStore(dir.File("junk.db"), Gbk("天")).status, StoreAnswer::kQueryFailed);
}

// The store kept open answers as a fresh opening would, through the file being replaced by
// another store, by junk, taken away and put back.
TEST(CharacterStore, AStoreKeptOpenFollowsItsFile) {
    TempFolder dir;
    const std::string file = dir.File("hz.db");
    const std::string other = dir.File("other.db");
    MakeStore(file, "CREATE TABLE bishun (hanzi TEXT, bishun TEXT, bihuamc TEXT);"
                    "INSERT INTO bishun VALUES ('天', '1,2', '0,1');");
    MakeStore(other, "CREATE TABLE bishun (hanzi TEXT, bishun TEXT, bihuamc TEXT);"
                     "INSERT INTO bishun VALUES ('天', '2,1', '5,2');");
    quvo::CharacterStore store(file);
    const std::function<void()> steps[] = {
        [] {},
        [] {},  // asked twice: the same answers from the open store
        [&] { std::filesystem::copy_file(other, file, std::filesystem::copy_options::overwrite_existing); },
        [&] { WriteAll(file, std::string(4096, 'j')); },
        [&] { std::filesystem::remove(file); },
        [&] { std::filesystem::copy_file(other, file); },
    };
    for (const auto& step : steps) {
        step();
        for (const char* c : {"天", "地"}) {
            const StoreAnswer fresh = quvo::QueryCharacterStore(file, Gbk(c));
            const StoreAnswer kept = store.Query(Gbk(c));
            EXPECT_EQ(kept.status, fresh.status) << c;
            EXPECT_EQ(kept.strokeOrder, fresh.strokeOrder);
            EXPECT_EQ(kept.strokeTypes, fresh.strokeTypes);
            EXPECT_EQ(kept.error, fresh.error);
        }
    }
    EXPECT_EQ(store.Query(Gbk("天")).strokeOrder, "2,1");
}

TEST(CharacterStore, TheShippedStoreKnowsGao) {
    const StoreAnswer a = quvo::QueryCharacterStore(QUVO_PROGRAM_DIR "/hz.db", Gbk("高"));
    ASSERT_EQ(a.status, StoreAnswer::kFound);
    EXPECT_EQ(std::count(a.strokeOrder.begin(), a.strokeOrder.end(), ','), 9);
}

// --- pinyin table ---

std::string Table(std::initializer_list<const char*> utf8Lines) {
    std::string table;
    for (const char* line : utf8Lines) {
        table += Gbk(line) + "\r\n";
    }
    return table;
}

TEST(PinyinTable, FirstMatchingLineWins) {
    const std::string table = Table({"啊,ā,1,a", "阿,ā,1,a", "阿,ē,1,e", "的,de,0,de"});
    std::string pinyin, tone;
    EXPECT_TRUE(quvo::LookUpPinyin(table, Gbk("阿"), pinyin, tone));
    EXPECT_EQ(pinyin, Gbk("ā"));
    EXPECT_EQ(tone, "1");
    EXPECT_TRUE(quvo::LookUpPinyin(table, Gbk("的"), pinyin, tone));
    EXPECT_EQ(tone, "0");
    EXPECT_FALSE(quvo::LookUpPinyin(table, Gbk("天"), pinyin, tone));
    EXPECT_TRUE(pinyin.empty());
    EXPECT_TRUE(tone.empty());
}

TEST(PinyinTable, AMalformedOrEmptyLineEndsTheSearch) {
    std::string pinyin, tone;
    for (const std::string& bad : {Gbk("天,tiān"), Gbk("天,tiān,1"), std::string(), Gbk("天")}) {
        const std::string table = Table({"啊,ā,1,a"}) + bad + "\n" + Table({"地,dì,4,di"});
        EXPECT_TRUE(quvo::LookUpPinyin(table, Gbk("啊"), pinyin, tone));
        EXPECT_FALSE(quvo::LookUpPinyin(table, Gbk("地"), pinyin, tone)) << bad;
    }
    // Bytes after the last line feed are not a line.
    EXPECT_FALSE(quvo::LookUpPinyin(Gbk("地,dì,4,di"), Gbk("地"), pinyin, tone));
}

TEST(PinyinTable, LongLinesAndFieldsAreCutNotOverrun) {
    std::string pinyin, tone;
    // A 60-byte line: cut to 39 bytes, which still holds three commas.
    const std::string longLine = Gbk("地,dì,4,") + std::string(50, 'x') + "\r\n";
    EXPECT_TRUE(quvo::LookUpPinyin(longLine, Gbk("地"), pinyin, tone));
    EXPECT_EQ(tone, "4");
    // A pinyin field of 25 bytes keeps 19 of them; the tone field keeps 4.
    const std::string wide = Gbk("地,") + std::string(25, 'p') + ",12345,x\r\n";
    EXPECT_TRUE(quvo::LookUpPinyin(wide, Gbk("地"), pinyin, tone));
    EXPECT_EQ(pinyin, std::string(19, 'p'));
    EXPECT_EQ(tone, "1234");
    // Cut to 39 bytes, a line can lose its third comma: then it ends the search.
    const std::string lost = Gbk("地,") + std::string(40, 'p') + ",4,x\r\n";
    EXPECT_FALSE(quvo::LookUpPinyin(lost, Gbk("地"), pinyin, tone));
}

// The index gives the scan's answer for every character: first lines, lines after one that
// ends the search, cut fields, and the whole shipped table.
TEST(PinyinTable, TheIndexAnswersAsTheScanDoes) {
    const std::string shipped = quvo::test::ReadAll(QUVO_PINYIN_TABLE);
    const std::string tables[] = {
        Table({"啊,ā,1,a", "阿,ā,1,a", "阿,ē,1,e", "的,de,0,de"}),
        Table({"啊,ā,1,a"}) + Gbk("天,tiān") + "\n" + Table({"地,dì,4,di"}),
        Gbk("地,") + std::string(25, 'p') + ",12345,x\r\n" + Gbk("天,tiān,1,tian"),
        shipped,
    };
    std::vector<std::string> characters;
    for (const char* c : {"啊", "阿", "的", "地", "天", "一", "爨", "氵"}) characters.push_back(Gbk(c));
    for (int lead = 0xB0; lead <= 0xF7; lead += 3) {
        for (int trail = 0xA1; trail <= 0xFE; trail += 5) {
            characters.push_back(std::string{char(lead), char(trail)});
        }
    }
    for (const std::string& table : tables) {
        const quvo::PinyinIndex index(table);
        for (const std::string& c : characters) {
            std::string scanPinyin, scanTone, pinyin = "old", tone = "old";
            const bool scanned = quvo::LookUpPinyin(table, c, scanPinyin, scanTone);
            EXPECT_EQ(index.LookUp(c, pinyin, tone), scanned) << c;
            EXPECT_EQ(pinyin, scanPinyin);
            EXPECT_EQ(tone, scanTone);
        }
    }
    EXPECT_GT(quvo::PinyinIndex(shipped).size(), 9000u);
}

TEST(PinyinTable, TheShippedTableReadsAhAndAAsFirstTone) {
    const std::string table = quvo::test::ReadAll(QUVO_PINYIN_TABLE);
    std::string pinyin, tone;
    ASSERT_TRUE(quvo::LookUpPinyin(table, Gbk("啊"), pinyin, tone));
    EXPECT_EQ(pinyin, "\xA8\xA1");  // ā in GBK's pinyin row
    EXPECT_EQ(tone, "1");
    ASSERT_TRUE(quvo::LookUpPinyin(table, Gbk("阿"), pinyin, tone));
    EXPECT_EQ(pinyin, "\xA8\xA1");
    ASSERT_TRUE(quvo::LookUpPinyin(table, Gbk("高"), pinyin, tone));
    EXPECT_EQ(quvo::GbkToUtf8(pinyin).value(), "gāo");
    EXPECT_FALSE(quvo::LookUpPinyin(table, "\xA3\xAC", pinyin, tone));  // full-width comma
}

// --- textbooks ---

std::vector<std::string> Characters(const char* utf8Page) {
    std::vector<std::string> out;
    for (const std::string& c : quvo::PickPageCharacters(Gbk(utf8Page))) {
        out.push_back(quvo::GbkToUtf8(c).value());
    }
    return out;
}

using Strings = std::vector<std::string>;

TEST(Textbook, PagesAreTokensWhateverTheLines) {
    TempFolder dir;
    WriteAll(dir.File("b.txt"), Gbk("天地人你我\r\n山水田土木\n\n  日月 星\t"));
    std::string page;
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("b.txt"), 0, page), 1);
    EXPECT_EQ(page, Gbk("天地人你我"));
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("b.txt"), 1, page), 1);
    EXPECT_EQ(page, Gbk("山水田土木"));
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("b.txt"), 3, page), 1);
    EXPECT_EQ(page, Gbk("星"));
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("b.txt"), 4, page), -1);
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("none.txt"), 0, page), -1);
    WriteAll(dir.File("empty.txt"), " \n\n ");
    EXPECT_EQ(quvo::ReadTextbookPage(dir.File("empty.txt"), 0, page), -1);
}

TEST(Textbook, CharactersOfAPage) {
    EXPECT_EQ(Characters("天地人你我"), (Strings{"天", "地", "人", "你", "我"}));
    EXPECT_EQ(Characters("1.天地人"), (Strings{"天", "地", "人"}));
    EXPECT_EQ(Characters("一二三四五六七"), (Strings{"一", "二", "三", "四", "五"}));
    EXPECT_EQ(Characters("天a地bc人"), (Strings{"天", "地", "人"}));
    EXPECT_EQ(Characters("123"), Strings{});
    EXPECT_EQ(Characters(""), Strings{});
}

TEST(Textbook, TokensLongerThanAPageAreCutOnACharacterBoundary) {
    TempFolder dir;
    // Ten characters, 20 bytes: nine are kept.
    WriteAll(dir.File("long.txt"), Gbk("一二三四五六七八九十") + "\n" + std::string(17, 'a') + Gbk("天"));
    std::string page;
    ASSERT_EQ(quvo::ReadTextbookPage(dir.File("long.txt"), 0, page), 1);
    EXPECT_EQ(page, Gbk("一二三四五六七八九"));
    // 17 letters then a character: the character would end at byte 19 and is dropped.
    ASSERT_EQ(quvo::ReadTextbookPage(dir.File("long.txt"), 1, page), 1);
    EXPECT_EQ(page, std::string(17, 'a'));
    EXPECT_TRUE(quvo::PickPageCharacters(page).empty());
    EXPECT_EQ(quvo::CutPageToken(std::string(40, 'z')).size(), 18u);
}

TEST(Textbook, EveryTxtFileOfTheFolderIsListed) {
    TempFolder dir;
    for (const char* name : {"x.TXT", "x.txt", "动物.txt", "notes.txt.bak", "readme", "y.Txt"}) {
        WriteAll(dir.File(name), "天");
    }
    std::filesystem::create_directory(dir.File("folder.txt"));
    Strings names;
    for (const quvo::TextbookEntry& e : quvo::ListTextbooks(dir.Path().string())) {
        names.push_back(e.name);
        EXPECT_EQ(std::filesystem::path(e.path).parent_path(), dir.Path());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"x", "x", "y", "动物"}));
    EXPECT_TRUE(quvo::ListTextbooks(dir.File("none")).empty());
}

}  // namespace
