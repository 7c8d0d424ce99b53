// The page server over real sockets on 127.0.0.1 with the real program folder, its results
// file in SQLite, the update reply, the checks of query values, and quvo-server as a process.
#include <gtest/gtest.h>

#include <httplib.h>
#include <sqlite3.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "online/pageserver.h"
#include "online/requestvalues.h"
#include "online/resultstore.h"
#include "online/updatereply.h"
#include "testfiles.h"

namespace {

using quvo::test::ReadAll;
using quvo::test::TempFolder;
using quvo::test::WriteAll;

quvo::StoredResult Round(const std::string& client, std::int64_t time, const std::string& book,
                         const std::string& character, bool right) {
    return {client, time, book, {character, right, right ? std::vector<int>{} : std::vector{2, 3}, 6, ""}};
}

std::int64_t CountRows(const std::string& file) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    std::int64_t rows = -1;
    if (sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM results", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        rows = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

TEST(ResultStore, HistoryDayAndRecordPerClient) {
    TempFolder dir;
    quvo::ResultStore store(dir.File("results.db"));
    const std::string quote = "x'); DROP TABLE results;--";
    for (const auto& r : {Round("a", 100, "动物", "羊", false), Round("a", 200, "动物", "羊", true),
                          Round("a", 300, "", "高", true), Round("a", 400, "基础篇", "马", true),
                          Round("a", 500, "动物", "马", false), Round("b", 150, "动物", "羊", true),
                          Round(quote, 600, quote, quote, true)}) {
        ASSERT_TRUE(store.Add(r));
    }
    const quvo::CharacterHistory sheep = store.History("a", "羊");
    EXPECT_EQ(sheep.tries, 2);
    EXPECT_EQ(sheep.right, 1);
    EXPECT_FALSE(sheep.rightFirstTime);
    EXPECT_TRUE(store.History("b", "羊").rightFirstTime);
    EXPECT_EQ(store.History("c", "羊").tries, 0);
    EXPECT_EQ(store.History(quote, quote).tries, 1);

    const quvo::DaySummary day = store.Day("a", 200, 500);
    EXPECT_EQ(day.rounds, 3);
    EXPECT_EQ(day.right, 3);
    EXPECT_EQ(day.characters, (std::vector<std::string>{"羊", "高", "马"}));

    std::vector<std::string> lines;
    for (const quvo::RecordLine& line : store.Record("a")) {
        lines.push_back(line.book + "/" + line.character + "/" + std::to_string(line.tries) + "/" +
                        std::to_string(line.right) + "/" + std::to_string(line.lastTime));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"动物/羊/2/1/200", "动物/马/1/0/500",
                                               "基础篇/马/1/1/400", "/高/1/1/300"}));
    EXPECT_EQ(CountRows(store.File()), 7);
}

TEST(ResultStore, UnwritableFileLosesNothingElse) {
    TempFolder dir;
    WriteAll(dir.File("not-a-database"), std::string(4096, 'x'));
    for (const std::string& file : {dir.Path().string(), dir.File("not-a-database"),
                                    dir.File("no/such/folder.db")}) {
        quvo::ResultStore store(file);
        EXPECT_FALSE(store.Add(Round("a", 1, "", "羊", true))) << file;
        EXPECT_EQ(store.History("a", "羊").tries, 0);
        EXPECT_TRUE(store.Record("a").empty());
    }
    EXPECT_EQ(ReadAll(dir.File("not-a-database")), std::string(4096, 'x'));
}

TEST(ResultStore, ManyWritersAtOnceLoseNoRound) {
    TempFolder dir;
    quvo::ResultStore store(dir.File("results.db"));
    std::vector<std::thread> writers;
    std::atomic<int> failed{0};
    for (int t = 0; t < 8; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                failed += store.Add(Round("c" + std::to_string(t), i, "", "羊", i % 2 == 0)) ? 0 : 1;
            }
        });
    }
    for (auto& w : writers) w.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(CountRows(store.File()), 200);
    EXPECT_EQ(store.History("c7", "羊").right, 13);
}

TEST(UpdateReply, ConfigFileOrRunningVersion) {
    TempFolder dir;
    const std::string tags = "<ver>6.1</ver><web>127.0.0.1:2121</web><update>update.exe</update>";
    const std::string longText = "<ver>6.1</ver>" + std::string(2000, 'y') + "<sha256>z</sha256>";
    const struct {
        const char* name;
        std::optional<std::string> content;
        std::string reply;
    } cases[] = {
        {"none", std::nullopt, "<ver>6.0</ver>"},
        {"blank", " \n", "<ver>6.0</ver>"},
        {"tags", tags + "\r\n", tags},
        {"long", longText, longText.substr(0, 1019)},
    };
    for (const auto& c : cases) {
        const std::string file = dir.File(std::string(c.name) + ".txt");
        if (c.content) WriteAll(file, *c.content);
        EXPECT_EQ(quvo::UpdateReply(file, "6.0"), c.reply) << c.name;
    }
}

TEST(RequestValues, CharactersMustBeWellFormedUtf8) {
    const struct {
        std::string text;
        int characters;  // -1: refused
    } cases[] = {{"高", 1}, {"高山a,", 4}, {"", 0}, {"\xC0\x80", -1}, {"\xED\xA0\x80", -1},
                 {"\xE9\xAB", -1}, {"\xF4\x90\x80\x80", -1}, {"\x01", -1}, {"\xFF", -1},
                 {"\xF0\x9F\x98\x80", 1}};
    for (const auto& c : cases) {
        std::vector<std::string> characters;
        const bool ok = quvo::SplitCharacters(c.text, characters);
        EXPECT_EQ(ok ? static_cast<int>(characters.size()) : -1, c.characters) << c.text;
    }
}

TEST(RequestValues, RoundQueryIsCheckedForForm) {
    const struct {
        quvo::QueryValues query;
        bool accepted;
    } cases[] = {
        {{{"z", "羊"}, {"f", "no"}, {"b", "1,3,"}, {"c", "6"}, {"s", "牛,羊,,,,"}}, true},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}, {"s", ",,,,,"}}, true},
        {{{"z", "羊"}, {"f", "ok"}, {"b", "1,"}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "no"}, {"b", ""}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "no"}, {"b", "7,"}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "no"}, {"b", "3,1,"}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "no"}, {"b", "1"}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "65"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "-1"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "yes"}, {"b", ""}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}, {"s", ""}}, false},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}, {"s", "牛羊,,,,,"}}, false},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}, {"s", "一,二,三,四,五,六,"}}, false},
        {{{"z", "羊"}, {"f", "ok"}, {"b", ""}, {"c", "6"}}, false},
    };
    for (const auto& c : cases) {
        quvo::RoundResult round;
        const std::string reason = quvo::ReadRoundQuery(c.query, round);
        EXPECT_EQ(reason.empty(), c.accepted) << c.query.size() << " " << reason;
        if (c.accepted) {
            EXPECT_EQ(round.character, "羊");
        }
    }
    quvo::RoundResult round;
    ASSERT_EQ(quvo::ReadRoundQuery(cases[0].query, round), "");
    EXPECT_EQ(round.wrongPositions, (std::vector<int>{1, 3}));
    EXPECT_EQ(round.pageCharacters, "牛羊");
    EXPECT_FALSE(round.right);
    EXPECT_EQ(round.strokeCount, 6);
}

}  // namespace
