// The page server over real sockets on 127.0.0.1 with the real program folder, its results
// file in SQLite, the update reply, the checks of query values, and quvo-server as a process.
#include <gtest/gtest.h>

#include <httplib.h>
#include <signal.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>

#include "online/pageserver.h"
#include "online/requestvalues.h"
#include "online/resultstore.h"
#include "online/updatereply.h"
#include "childprocess.h"
#include "testfiles.h"

namespace {

using quvo::test::ReadAll;
using quvo::test::TempFolder;
using quvo::test::WriteAll;

quvo::StoredResult Round(const std::string& client, std::int64_t time, const std::string& book,
                         const std::string& character, bool right) {
    return {client,
            time,
            book,
            {character, right, right ? std::vector<int>{} : std::vector{2, 3}, 6, ""}};
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

std::string JournalMode(const std::string& file) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    std::string mode;
    if (sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return mode;
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
    // Results go through the write-ahead log: a reader never waits for a writer.
    EXPECT_EQ(JournalMode(store.File()), "wal");
}

TEST(ResultStore, UnwritableFileLosesNothingElse) {
    TempFolder dir;
    WriteAll(dir.File("not-a-database"), std::string(4096, 'x'));
    for (const std::string& file :
         {dir.Path().string(), dir.File("not-a-database"), dir.File("no/such/folder.db")}) {
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
                failed +=
                    store.Add(Round("c" + std::to_string(t), i, "", "羊", i % 2 == 0)) ? 0 : 1;
            }
        });
    }
    for (auto& w : writers) {
        w.join();
    }
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
        if (c.content) {
            WriteAll(file, *c.content);
        }
        EXPECT_EQ(quvo::UpdateReply(file, "6.0"), c.reply) << c.name;
    }
}

TEST(RequestValues, CharactersMustBeWellFormedUtf8) {
    const struct {
        std::string text;
        int characters;  // -1: refused
    } cases[] = {{"高", 1},
                 {"高山a,", 4},
                 {"", 0},
                 {"\xC0\x80", -1},
                 {"\xED\xA0\x80", -1},
                 {"\xE9\xAB", -1},
                 {"\xF4\x90\x80\x80", -1},
                 {"\x01", -1},
                 {"\xFF", -1},
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

// Every byte of a page is well-formed UTF-8.
bool IsUtf8(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    std::vector<std::string> characters;
    return quvo::SplitCharacters(text, characters);
}

// A program folder of the real data, with room for the server's own update.txt.
class PageServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"hz.db", "fonts", "book"}) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, folder.Path(), name);
        }
        server = std::make_unique<quvo::PageServer>(quvo::PageServerConfig{
            folder.Path().string(), ReadAll(QUVO_PINYIN_TABLE), Results(), "6.0"});
        ASSERT_TRUE(server->Start("127.0.0.1", 0));
    }

    std::string Results() const { return folder.File("results.db"); }
    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", server->Port());
        client.set_url_encode(false);
        return client;
    }
    // The answer to GET path: status and body, with the headers every page must carry.
    std::pair<int, std::string> Get(const std::string& path) const {
        const httplib::Result res = Client().Get(path);
        if (!res) {
            return {-1, httplib::to_string(res.error())};
        }
        if (res->status == 200 && path.find(".csv") == std::string::npos) {
            EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8") << path;
            EXPECT_TRUE(IsUtf8(res->body)) << path;
        }
        EXPECT_EQ(res->get_header_value("Cache-Control"), "no-store") << path;
        return {res->status, res->body};
    }
    std::string Update(const std::string& body) const {
        const httplib::Result res =
            Client().Post("/update.asp", body, "application/x-www-form-urlencoded");
        return res && res->status == 200 ? res->body : "no answer";
    }

    TempFolder folder;
    std::unique_ptr<quvo::PageServer> server;
};

// 羊 (6 strokes) on the first page of the book 动物.
const std::string kSheep = "z=%E7%BE%8A&c=6&s=%E7%89%9B,%E7%BE%8A,%E9%A9%AC,%E9%B8%A1,%E9%B8%AD,";

TEST_F(PageServerTest, EveryPageAnswersWithUtf8Html) {
    for (const std::string& path : std::vector<std::string>{
             "/soft.asp?c=Lumeo6.0", "/", "/hanzi.asp?z=%E9%AB%98", "/shizi.asp?f=ok&b=&" + kSheep,
             "/newslist.asp?newstype=%E8%BD%AF%E4%BB%B6%E4%BD%BF%E7%94%A8%E5%B8%AE%E5%8A%A9",
             std::string(quvo::kRecordPath), std::string(quvo::kRecordCsvPath)}) {
        const auto [status, body] = Get(path);
        EXPECT_EQ(status, 200) << path;
        EXPECT_TRUE(path.find(".csv") != std::string::npos ||
                    body.find("<html") != std::string::npos)
            << path;
    }
    for (const char* path : {"/nothing.asp", "/hanzi.asp/x", "/update.asp", "/shizi.aspx"}) {
        EXPECT_EQ(Get(path).first, 404) << path;
    }
}

TEST_F(PageServerTest, ResultPageRecordsTheRoundAndShowsTheHistory) {
    const auto first = Get("/shizi.asp?f=no&b=1%2C3%2C&" + kSheep);
    const auto second = Get("/shizi.asp?f=ok&b=&" + kSheep);
    EXPECT_EQ(first.first, 200);
    EXPECT_EQ(second.first, 200);
    EXPECT_NE(first.second, second.second);
    quvo::ResultStore store(Results());
    const quvo::CharacterHistory history = store.History("127.0.0.1", "羊");
    EXPECT_EQ(history.tries, 2);
    EXPECT_EQ(history.right, 1);
    const std::vector<quvo::RecordLine> record = store.Record("127.0.0.1");
    ASSERT_EQ(record.size(), 1u);
    EXPECT_EQ(record[0].book, "动物");
    EXPECT_NE(Get(quvo::kRecordPath).second.find("羊"), std::string::npos);
}

TEST_F(PageServerTest, HostileRequestsGetTheirStatusAndAnEscapedPage) {
    const std::string script = "%3Cscript%3Ealert(%22x%22)%3C%2Fscript%3E";
    const std::string sql = "%27)%3B%20DROP%20TABLE%20results--";
    const std::string round = "/shizi.asp?z=%E7%BE%8A&f=ok&b=&c=6&s=";
    const struct {
        std::string path;
        int status;
    } cases[] = {
        {"/hanzi.asp?z=" + std::string(3000, 'a'), 414},
        {"/hanzi.asp?z=" + std::string(9000, 'a'), 414},
        {"/hanzi.asp?z=%3C", 200},
        {"/hanzi.asp?z=%22", 200},
        {"/hanzi.asp?z=" + script, 200},
        {"/hanzi.asp?z=" + sql, 200},
        {"/hanzi.asp?z=%E9%AB", 200},
        {"/hanzi.asp?z=%ZZ%", 200},
        {"/hanzi.asp?z=%FF%FE", 200},
        {"/hanzi.asp", 200},
        {"/hanzi.asp?z=" +
             [] {
                 std::string z;
                 for (int i = 0; i < 30; ++i) {
                     z += "%E9%AB%98";
                 }
                 return z;
             }(),
         200},
        {"/shizi.asp?z=" + script + "&f=ok&b=&c=6&s=", 200},
        {"/shizi.asp?z=%E7%BE%8A&f=" + script + "&b=&c=6&s=", 200},
        {"/shizi.asp?z=%E7%BE%8A&f=no&b=" + sql + "&c=6&s=", 200},
        {"/shizi.asp?z=%E7%BE%8A&f=ok&b=&c=" + sql + "&s=", 200},
        {round + script, 200},
        {round + sql, 200},
        {round + "%E9%AB", 200},
        {"/shizi.asp?z=%E7%BE%8A&f=ok&b=&c=5&s=", 200},
        {"/soft.asp?c=" + script, 200},
        {"/soft.asp?c=%E9%AB", 200},
        {"/newslist.asp?newstype=" + script, 200},
    };
    ASSERT_EQ(Get(round + ",,,,,").first, 200);
    for (const auto& c : cases) {
        const auto [status, body] = Get(c.path);
        EXPECT_EQ(status, c.status) << c.path.substr(0, 80);
        EXPECT_EQ(body.find("<script"), std::string::npos) << c.path;
    }
    EXPECT_NE(Get("/hanzi.asp?z=%3C").second.find("&lt;"), std::string::npos);
    const httplib::Result big = Client().Post("/update.asp", std::string(5000, 'x'), "text/plain");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 413);
    // The round before is still there, and the next one is added to it.
    EXPECT_EQ(CountRows(Results()), 1);
    EXPECT_EQ(Get(round + ",,,,,").first, 200);
    EXPECT_EQ(quvo::ResultStore(Results()).History("127.0.0.1", "羊").tries, 2);
}

TEST_F(PageServerTest, UpdateReplyComesFromTheConfigFileForTheProgramOnly) {
    const std::string program = "username=pim&password=qorvintesl";
    EXPECT_EQ(Update(program), "<ver>6.0</ver>");
    const std::string tags = "<ver>6.1</ver><web>127.0.0.1:2121</web><sha256>ab</sha256>";
    WriteAll(folder.File("update.txt"), tags + "\n");
    EXPECT_EQ(Update(program), tags);
    EXPECT_EQ(Update("username=pim&password=guess"), "<ver>6.0</ver>");
    WriteAll(folder.File("update.txt"), tags + std::string(3000, 'y') + "<update>u.exe</update>");
    EXPECT_EQ(Update(program), (tags + std::string(3000, 'y')).substr(0, 1019));
}

TEST_F(PageServerTest, ListenServesOnTheCallingThreadAndAPortServesOnce) {
    quvo::PageServer second({folder.Path().string(), ReadAll(QUVO_PINYIN_TABLE), Results(), "6.0"});
    EXPECT_FALSE(second.Start("127.0.0.1", server->Port()));
    EXPECT_FALSE(second.Start("192.0.2.1", 0));
    bool listened = false;
    std::thread serving([&] { listened = second.Listen("127.0.0.1", 0); });
    while (second.Port() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    httplib::Client client("127.0.0.1", second.Port());
    const httplib::Result page = client.Get("/hanzi.asp?z=%E9%AB%98");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    second.Stop();
    serving.join();
    EXPECT_TRUE(listened);
}

// quvo-server as a process.
class ServerProcess : public quvo::test::ChildProcess {
public:
    explicit ServerProcess(std::vector<std::string> args)
        : ChildProcess(QUVO_SERVER_BINARY, std::move(args)) {}
};

TEST_F(PageServerTest, QuvoServerServesUntilSigterm) {
    ServerProcess process({"--listen", "127.0.0.1:0", "--folder", folder.Path().string(),
                           "--results", folder.File("classroom.db")});
    const std::string line = process.Line();
    const std::size_t colon = line.rfind(':');
    ASSERT_NE(colon, std::string::npos) << line;
    httplib::Client client("127.0.0.1", std::atoi(line.c_str() + colon + 1));
    const httplib::Result page = client.Get("/shizi.asp?f=ok&b=&" + kSheep);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(CountRows(folder.File("classroom.db")), 1);
    kill(process.Pid(), SIGTERM);
    EXPECT_EQ(process.Wait(), 0);
}

TEST_F(PageServerTest, QuvoServerRefusesBadArguments) {
    const std::string here = folder.Path().string();
    const std::vector<std::vector<std::string>> cases = {
        {"--listen", "nonsense"},
        {"--listen", "127.0.0.1:99999"},
        {"--listen"},
        {"--folder", here + "/no/such"},
        {"--folder", here + "/book"},
        {"--frobnicate"},
        {"--folder", here, "--pinyin", here + "/no/such/table"},
        {"--folder", here, "--results", here},
        {"--folder", here, "--results", here + "/no/such/results.db"},
    };
    for (const auto& args : cases) {
        ServerProcess process(args);
        const std::string message = process.Line();
        EXPECT_EQ(process.Wait(), 2) << args[0];
        EXPECT_EQ(message.rfind("quvo-server: ", 0), 0u) << message;
    }
}

}  // namespace
