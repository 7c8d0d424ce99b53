// The pages of the page server, built from the real program folder (store, stroke font,
// textbooks) and the real pinyin table, and read back by parsing what they say.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "chardata/textbook.h"
#include "online/characterlibrary.h"
#include "online/pages.h"
#include "tests/testfiles.h"

namespace quvo {
namespace {

const std::string kFolder = QUVO_PROGRAM_DIR;

const CharacterLibrary& Library() {
    static const CharacterLibrary library(kFolder, QUVO_PINYIN_TABLE);
    return library;
}

CharacterInfo Describe(const std::string& character) {
    CharacterInfo info;
    EXPECT_TRUE(Library().Describe(character, info)) << character;
    return info;
}

std::vector<std::smatch> Matches(const std::string& text, const std::string& pattern) {
    const std::regex re(pattern);
    return {std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()};
}

std::vector<std::string> Captures(const std::string& text, const std::string& pattern) {
    std::vector<std::string> out;
    for (const auto& m : Matches(text, pattern)) out.push_back(m[1]);
    return out;
}

// The stroke-type names as the store gives them.
std::map<int, std::string> StoreStrokeNames() {
    std::map<int, std::string> names;
    sqlite3* db = nullptr;
    sqlite3_open_v2((kFolder + "/hz.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select code, name from bihuaming", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        names[sqlite3_column_int(st, 0)] =
            reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return names;
}

// Every reading of the pinyin table's lines for a character, in the table's order.
std::vector<std::string> TableReadings(const std::string& character) {
    const std::string table = test::ReadAll(QUVO_PINYIN_TABLE);
    const std::string key = *Utf8ToGbk(character) + ",";
    std::vector<std::string> readings;
    for (std::size_t at = table.find(key); at != std::string::npos; at = table.find(key, at + 1)) {
        if (at != 0 && table[at - 1] != '\n')
            continue;
        const std::size_t start = at + key.size();
        readings.push_back(*GbkToUtf8(table.substr(start, table.find(',', start) - start)));
    }
    return readings;
}

TEST(CharacterLibrary, DescribesFromStoreFontTableAndBooks) {
    struct Case {
        const char* character;
        int strokes;
        const char* radical;
        const char* place;  // one page it must list
    };
    const Case cases[] = {{"高", 10, "高", "基础篇 34"},
                          {"爨", 30, "火", ""},
                          {"阿", 7, "阜", ""},
                          {"红", 6, "纟", ""},
                          {"人", 2, "人", "通用规范一级字 2"}};
    const std::map<int, std::string> names = StoreStrokeNames();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.character);
        const CharacterInfo info = Describe(c.character);
        const StoreAnswer store = QueryCharacterStore(kFolder + "/hz.db", *Utf8ToGbk(c.character));
        EXPECT_EQ(info.strokeCount, c.strokes);
        EXPECT_EQ(info.radical, c.radical);
        EXPECT_EQ(info.readings, TableReadings(c.character));
        ASSERT_EQ(info.contourPaths.size(), static_cast<std::size_t>(c.strokes));
        for (const std::string& d : info.contourPaths)
            EXPECT_TRUE(std::regex_match(d, std::regex("M[0-9 ]+([LC][0-9 ]+)+Z"))) << d;
        ASSERT_EQ(info.writingOrder.size(), static_cast<std::size_t>(c.strokes));
        for (int k = 1; k <= c.strokes; ++k) {
            const int contour = StrokeOrderAt(store.strokeOrder, k, c.strokes);
            EXPECT_EQ(info.writingOrder[k - 1], contour);
            const auto name = names.find(StrokeTypeAt(store.strokeTypes, contour));
            EXPECT_EQ(info.strokeNames[k - 1], name == names.end() ? "" : name->second);
        }
        std::vector<std::string> places;
        for (const TextbookPlace& p : info.places) {
            std::string page;
            ASSERT_EQ(ReadTextbookPage(kFolder + "/book/" + p.book + ".txt", p.page - 1, page), 1);
            EXPECT_NE(page.find(*Utf8ToGbk(c.character)), std::string::npos) << p.book << p.page;
            places.push_back(p.book + " " + std::to_string(p.page));
        }
        if (*c.place) {
            EXPECT_NE(std::find(places.begin(), places.end(), c.place), places.end());
        }
    }
    EXPECT_EQ(TableReadings("阿").size(), 3u);  // the several-readings case is really one
}

TEST(CharacterLibrary, RefusesAnythingButOneKnownCharacter) {
    for (const char* text : {"", "高人", "ab", "a", "\xFF", "\xE9\xAB", "😀", "€", "乄"}) {
        CharacterInfo info;
        info.character = "before";
        EXPECT_FALSE(Library().Describe(text, info)) << text;
        EXPECT_EQ(info.character, "before");
    }
}

// A program folder with an older store (no names, no radicals) and no textbooks: the
// character is still described, with what is there; a store row the font lacks is not.
TEST(CharacterLibrary, MissingTablesAndBooksLeaveTheirFieldsEmpty) {
    test::TempFolder folder;
    test::LinkProgramFile(kFolder, folder.Path(), "fonts/quvokai.ttf");
    const StoreAnswer gaoRow = QueryCharacterStore(kFolder + "/hz.db", *Utf8ToGbk("高"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.File("hz.db").c_str(), &db), SQLITE_OK);
    const std::string sql =
        "create table bishun(hanzi text, bishun text, bihuamc text);"
        "insert into bishun values('高','" +
        gaoRow.strokeOrder + "','" + gaoRow.strokeTypes + "'),('乄','1','0');";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    const CharacterLibrary bare(folder.Path().string(), test::ReadAll(QUVO_PINYIN_TABLE));
    CharacterInfo info;
    ASSERT_TRUE(bare.Describe("高", info));
    EXPECT_EQ(info.writingOrder, Describe("高").writingOrder);
    EXPECT_EQ(info.strokeNames, std::vector<std::string>(10, ""));
    EXPECT_EQ(info.radical, "");
    EXPECT_TRUE(info.places.empty());
    EXPECT_EQ(info.readings, TableReadings("高"));  // the table given as its bytes
    EXPECT_FALSE(bare.Describe("乄", info));
    EXPECT_EQ(bare.BookOfPage("一二三十人"), "");
}

// Server threads ask at once, the first questions included (the lazily read table and books).
TEST(CharacterLibrary, AnswersSeveralThreadsAlike) {
    const CharacterLibrary shared(kFolder, QUVO_PINYIN_TABLE);
    const std::vector<std::string> characters = {"高", "爨", "阿", "人"};
    std::vector<std::string> pages(characters.size() * 4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < pages.size(); ++t) {
        threads.emplace_back([&, t] {
            CharacterInfo info;
            if (shared.Describe(characters[t % characters.size()], info))
                pages[t] = CharacterPage(info);
        });
    }
    for (auto& thread : threads) thread.join();
    for (std::size_t t = 0; t < pages.size(); ++t)
        EXPECT_EQ(pages[t], CharacterPage(Describe(characters[t % characters.size()]))) << t;
}

TEST(CharacterLibrary, FindsTheBookOfAPage) {
    EXPECT_EQ(Library().BookOfPage("一二三十人"), "基础篇");
    EXPECT_EQ(Library().BookOfPage("家人我你他"), "家人和身体");
    for (const char* page : {"一二三", "人十三二一", "", "<b>\xFF"})
        EXPECT_EQ(Library().BookOfPage(page), "") << page;
}

// A frame of the stroke strip: its <use> elements (contour, class) and its caption.
struct Frame {
    std::vector<std::pair<int, std::string>> uses;
    std::string caption;
};

std::vector<Frame> StripFrames(const std::string& page) {
    std::vector<Frame> frames;
    for (const auto& m : Matches(page, "<figure>([\\s\\S]*?)<figcaption>(.*?)</figcaption>")) {
        Frame frame;
        frame.caption = m[2];
        const std::string inside = m[1];
        for (const auto& u : Matches(inside, "<use href=\"#c(\\d+)\" class=\"(\\w+)\""))
            frame.uses.emplace_back(std::stoi(u[1]), u[2]);
        frames.push_back(frame);
    }
    return frames;
}

TEST(Pages, CharacterPageShowsEveryStrokeInWritingOrder) {
    for (const char* character : {"高", "爨"}) {
        SCOPED_TRACE(character);
        const CharacterInfo info = Describe(character);
        const std::string page = CharacterPage(info);
        const std::vector<Frame> frames = StripFrames(page);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(info.strokeCount));
        for (std::size_t k = 0; k < frames.size(); ++k) {
            ASSERT_EQ(frames[k].uses.size(), k + 1);
            for (std::size_t i = 0; i <= k; ++i) {
                EXPECT_EQ(frames[k].uses[i].first, info.writingOrder[i]);
                EXPECT_EQ(frames[k].uses[i].second, i == k ? "new" : "old");
            }
            EXPECT_EQ(frames[k].caption, info.strokeNames[k]);
        }
        EXPECT_EQ(Captures(page, "<path id=\"c(\\d+)\"").size(), info.contourPaths.size());
        EXPECT_EQ(Captures(page, "<span class=\"chip\">(.*?)</span>"), info.readings);
        EXPECT_NE(page.find("<b>" + std::to_string(info.strokeCount) + "</b>"), std::string::npos);
        EXPECT_NE(page.find("<b>" + info.radical + "</b>"), std::string::npos);
        for (const TextbookPlace& p : info.places)
            EXPECT_NE(page.find(p.book + " 第" + std::to_string(p.page) + "页"), std::string::npos);
    }
}

TEST(Pages, ResultPageMarksTheMisplacedStrokesWithTheirPositions) {
    const CharacterInfo info = Describe("高");
    struct Case {
        std::vector<int> wrong;
        std::vector<int> marked;
    };
    const Case cases[] = {{{1, 2}, {1, 2}}, {{5, 3}, {5, 3}}, {{0, 11, 99, -1, 2, 2}, {2}}};
    for (const Case& c : cases) {
        const std::string page = ResultPage(info, {"高", false, c.wrong, 10, "高"}, {4, 1, false});
        std::vector<int> red, numbered, labels;
        for (const auto& u : Matches(page, "<use href=\"#c(\\d+)\" class=\"new\""))
            red.push_back(std::stoi(u[1]));
        for (const auto& g :
             Matches(page, "data-stroke=\"(\\d+)\"[^>]*>.*?<text[^>]*>(\\d+)</text>")) {
            numbered.push_back(std::stoi(g[1]));
            labels.push_back(std::stoi(g[2]));
        }
        std::vector<int> contours;
        for (int k : c.marked) contours.push_back(info.writingOrder[k - 1]);
        EXPECT_EQ(red, contours);
        EXPECT_EQ(numbered, contours);
        EXPECT_EQ(labels, c.marked);
        EXPECT_NE(page.find("再试一次!"), std::string::npos);
        EXPECT_EQ(page.find("你真棒"), std::string::npos);
    }
    const std::string right = ResultPage(info, {"高", true, {}, 10, "高"}, {3, 2, true});
    EXPECT_NE(right.find("你真棒!"), std::string::npos);
    EXPECT_TRUE(Matches(right, "class=\"new\"").empty());
    EXPECT_EQ(Captures(right, "<div class=\"fact\"><b>(.*?)</b>"),
              (std::vector<std::string>{"3", "2", "★"}));
}

// Every page, fed the same hostile text wherever a value goes in.
std::vector<std::string> AllPages(const std::string& v) {
    CharacterInfo info = Describe("高");
    info.character = v;
    info.readings = {v, v};
    info.radical = v;
    info.strokeNames.assign(info.strokeNames.size(), v);
    info.places = {{v, 3}};
    const std::vector<RecordLine> lines = {{v, v, 2, 1, 1765267200}, {"", v, 1, 0, 0}};
    return {CharacterPage(info),
            ResultPage(info, {v, false, {1}, 10, v}, {1, 0, false}),
            ResultPage(info, {v, true, {}, 10, v}, {1, 1, true}),
            StartPage(v, {3, 1, {v, v}}),
            RecordPage(lines, 3600),
            HelpPage(v),
            MessagePage(v, v)};
}

bool IsValidUtf8(const std::string& text) {
    return Utf8ToGbk(text).has_value();
}

TEST(Pages, EscapeEveryValueAndStayOnTheServer) {
    const std::string hostile = "<script>alert('x')</script>\"&amp;\xFF\xC0\xAF\x01";
    for (const std::string& page : AllPages(hostile)) {
        SCOPED_TRACE(page.substr(0, 400));
        EXPECT_EQ(page.find("<script"), std::string::npos);
        EXPECT_EQ(page.find("'x'"), std::string::npos);
        EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&quot;&amp;amp;"),
                  std::string::npos);
        EXPECT_TRUE(IsValidUtf8(page));
        for (const char* outside : {"http:", "https:", "ftp:", "url(", "@import", "<link", "<img",
                                    "<iframe", "<object", "<embed", "src="})
            EXPECT_EQ(page.find(outside), std::string::npos) << outside;
        for (const std::string& target : Captures(page, "href=\"([^\"]*)\"")) {
            const bool onPage = target.size() > 1 && target[0] == '#';
            const bool onServer = target.size() > 1 && target[0] == '/' && target[1] != '/';
            EXPECT_TRUE(onPage || onServer) << target;
        }
    }
    // A surrogate's three bytes, then a cut-off sequence: each bad byte becomes U+FFFD.
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(HtmlEscape("a\xED\xA0\x80z\xE4\xB8"), "a" + bad + bad + bad + "z" + bad + bad);
}

TEST(Pages, RecordGroupsByBookInLocalTime) {
    const std::vector<RecordLine> lines = {{"基础篇", "高", 3, 2, 1765267200},
                                           {"基础篇", "人", 1, 1, 1765324740},
                                           {"", "爨", 5, 1, 1765267200},
                                           {"动物", "马", 2, 0, 0}};
    const std::string page = RecordPage(lines, 8 * 3600);
    EXPECT_EQ(Captures(page, "<h2>(.*?)</h2>"),
              (std::vector<std::string>{"基础篇", "其他的字", "动物"}));
    EXPECT_EQ(Captures(page, "<td class=\"hzc\">(.*?)</td>"),
              (std::vector<std::string>{"高", "人", "爨", "马"}));
    EXPECT_NE(page.find("2025-12-09 16:00"), std::string::npos);
    EXPECT_NE(page.find("2025-12-10 07:59"), std::string::npos);
    EXPECT_NE(page.find(std::string("href=\"") + kRecordCsvPath + "\""), std::string::npos);
    EXPECT_NE(StartPage("Quvo", {}).find(std::string("href=\"") + kRecordPath + "\""),
              std::string::npos);
}

TEST(Pages, CsvQuotesAndDisarmsFields) {
    struct Case {
        const char* value;
        const char* cell;
    };
    const Case cases[] = {{"基础篇", "基础篇"},
                          {"a,b", "\"a,b\""},
                          {"say \"hi\"", "\"say \"\"hi\"\"\""},
                          {"two\nlines", "\"two\nlines\""},
                          {"=1+2", "'=1+2"},
                          {"+1", "'+1"},
                          {"-1", "'-1"},
                          {"@sum", "'@sum"},
                          {"=a,b", "\"'=a,b\""},
                          {"", ""}};
    std::vector<RecordLine> lines;
    for (const Case& c : cases) lines.push_back({c.value, "高", 2, 1, 1765267200});
    const std::string csv = RecordCsv(lines, -5 * 3600);
    std::string expected = "\xEF\xBB\xBF课本,字,拼了几次,拼对几次,最近一次\r\n";
    for (const Case& c : cases) expected += std::string(c.cell) + ",高,2,1,2025-12-09 03:00\r\n";
    EXPECT_EQ(csv, expected);
}

}  // namespace
}  // namespace quvo
