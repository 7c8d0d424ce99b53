// Sudden death while writing: a writer that saves the settings, the progress and a result
// again and again through the program's own writers is killed with SIGKILL at a random
// moment, 500 times over one folder. After every kill each file must be the one before the
// write under way or the one after it, whole, and the next start (the writer again) must read
// it. Some kills fall into the start-up, while the files are being read.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "childprocess.h"
#include "killwrites.h"
#include "testfiles.h"

namespace quvo {
namespace {

namespace kw = test::killwrites;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 500;
// Kills fall up to this long after the writer says it is ready, which covers a few rounds of
// the three writes; one run in kStartUpEvery is killed before that, while it starts.
constexpr int kKillWindowUs = 40000;
constexpr int kStartUpEvery = 8;

// Generations of the three files: settings, progress, results.
struct Generations {
    int settings = 0;
    int progress = 0;
    int results = 0;
    bool operator==(const Generations&) const = default;
};

std::string Describe(const Generations& g) {
    return std::to_string(g.settings) + " " + std::to_string(g.progress) + " " +
           std::to_string(g.results);
}

// What the kills hit: the write under way when each fell, by what the writer said last.
struct Tally {
    int duringStartUp = 0;
    int duringSettings = 0;
    int duringProgress = 0;
    int duringResult = 0;
    int newerFound = 0;  // a file found one generation past the last the writer confirmed
};

// The generation the file holds, when its bytes are those of done or done + 1.
std::optional<int> OldOrNew(const std::string& file, int done, std::string (*bytesOf)(int)) {
    const bool exists = std::filesystem::exists(file);
    const std::string bytes = exists ? test::ReadAll(file) : std::string();
    for (int g : {done, done + 1}) {
        if ((g == 0 && !exists) || (g > 0 && exists && bytes == bytesOf(g))) {
            return g;
        }
    }
    return std::nullopt;
}

std::string SettingsBytesOf(int g) {
    const SettingsBytes record = EncodeSettings(kw::SettingsFor(g));
    return std::string(reinterpret_cast<const char*>(record.data()), record.size());
}

// The first column of the first row of a query; empty when there is none.
std::string FirstText(sqlite3* db, const char* sql) {
    sqlite3_stmt* query = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db, sql, -1, &query, nullptr) == SQLITE_OK &&
        sqlite3_step(query) == SQLITE_ROW) {
        text = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    }
    sqlite3_finalize(query);
    return text;
}

// The number of rows, when they are results 1 .. n in order, each as it was written.
std::optional<int> RowsAsWritten(sqlite3* db) {
    sqlite3_stmt* rows = nullptr;
    if (sqlite3_prepare_v2(
            db,
            "SELECT client, time, book, hanzi, is_right, wrong, strokes, page FROM results"
            " ORDER BY id",
            -1, &rows, nullptr) != SQLITE_OK) {
        return std::nullopt;
    }
    auto text = [rows](int column) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(rows, column)));
    };
    int count = 0;
    bool asWritten = true;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const StoredResult want = kw::ResultFor(++count);
        asWritten = asWritten && text(0) == want.client &&
                    sqlite3_column_int64(rows, 1) == want.time && text(2) == want.book &&
                    text(3) == want.round.character &&
                    sqlite3_column_int(rows, 4) == (want.round.right ? 1 : 0) &&
                    text(5) == (want.round.right ? "" : "1,") && sqlite3_column_int(rows, 6) == 1 &&
                    text(7) == want.round.pageCharacters;
    }
    sqlite3_finalize(rows);
    return asWritten ? std::optional<int>(count) : std::nullopt;
}

// The results file as the next start opens it: whole, and holding results 1 .. n. n, or
// nothing when it is not so. The table is made in the first result's transaction: a file
// without it (created, then killed) holds no result yet.
std::optional<int> StoredResults(const std::string& file) {
    if (!std::filesystem::exists(file)) {
        return 0;
    }
    sqlite3* db = nullptr;
    std::optional<int> n;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        FirstText(db, "PRAGMA integrity_check") == "ok") {
        const bool table =
            !FirstText(db, "SELECT name FROM sqlite_master WHERE name = 'results'").empty();
        n = table ? RowsAsWritten(db) : std::optional<int>(0);
    }
    sqlite3_close(db);
    return n;
}

// Files beside the three and SQLite's own companions. A killed write may leave its pending
// file, one per file at most, which the next write replaces; nothing else.
std::set<std::string> StrayFiles(const std::filesystem::path& folder) {
    const std::set<std::string> expected = {kSettingsFileName,
                                            kProgressFileName,
                                            kResultsFileName,
                                            std::string(kResultsFileName) + "-wal",
                                            std::string(kResultsFileName) + "-shm",
                                            std::string(kResultsFileName) + "-journal",
                                            std::string(kSettingsFileName) + ".quvo-saving",
                                            std::string(kProgressFileName) + ".quvo-saving"};
    std::set<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (expected.count(entry.path().filename().string()) == 0) {
            stray.insert(entry.path().filename().string());
        }
    }
    return stray;
}

class KillWhileWriting : public ::testing::Test {
protected:
    // One run: start the writer, kill it at a random moment, check the folder. `files` is what
    // the folder held before and becomes what it holds after.
    void Run(Generations& files) {
        test::ChildProcess writer(QUVO_KILL_WRITER_BINARY, {m_folder.Path().string()});
        const bool duringStartUp = m_random() % kStartUpEvery == 0;
        if (duringStartUp) {
            std::this_thread::sleep_for(std::chrono::microseconds(m_random() % (m_startUpUs + 1)));
        } else {
            const auto started = Clock::now();
            ASSERT_EQ(writer.Line(), "ready " + Describe(files))
                << "the next start reads what the files hold";
            m_startUpUs = static_cast<int>(
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started)
                    .count());
            std::this_thread::sleep_for(std::chrono::microseconds(m_random() % kKillWindowUs));
        }
        kill(writer.Pid(), SIGKILL);
        writer.Wait();
        const Generations done = Confirmed(writer.Rest(), files);
        CountKill(duringStartUp, done, files);
        CheckFolder(done, files);
    }

    // The generations the writer said it had written before it died, from what it said.
    Generations Confirmed(const std::string& said, const Generations& before) {
        Generations done = before;
        m_last = '-';
        std::istringstream lines(said);
        for (std::string line; std::getline(lines, line);) {
            char kind = 0;
            int g = 0;
            if (std::sscanf(line.c_str(), "%c %d", &kind, &g) == 2 &&
                (kind == 's' || kind == 'p' || kind == 'r')) {
                (kind == 's' ? done.settings : kind == 'p' ? done.progress : done.results) = g;
                m_last = kind;
            } else {
                EXPECT_EQ(line, "ready " + Describe(before))
                    << "the next start reads what the files hold";
            }
        }
        return done;
    }

    void CountKill(bool duringStartUp, const Generations& done, const Generations& before) {
        if (duringStartUp && done == before) {
            ++m_tally.duringStartUp;
        } else {
            ++(m_last == 's'   ? m_tally.duringProgress
               : m_last == 'p' ? m_tally.duringResult
                               : m_tally.duringSettings);
        }
    }

    void CheckFolder(const Generations& done, Generations& files) {
        const auto settings =
            OldOrNew(m_folder.File(kSettingsFileName), done.settings, SettingsBytesOf);
        const auto progress =
            OldOrNew(m_folder.File(kProgressFileName), done.progress, kw::ProgressFileFor);
        const std::optional<int> results = StoredResults(m_folder.File(kResultsFileName));
        ASSERT_TRUE(settings.has_value())
            << "settings neither " << done.settings << " nor the next";
        ASSERT_TRUE(progress.has_value())
            << "progress neither " << done.progress << " nor the next";
        ASSERT_TRUE(results.has_value()) << "results file damaged";
        ASSERT_TRUE(*results == done.results || *results == done.results + 1)
            << *results << " results, " << done.results << " confirmed";
        ASSERT_EQ(StrayFiles(m_folder.Path()), std::set<std::string>{});
        files = {*settings, *progress, *results};
        m_tally.newerFound += (files.settings > done.settings) + (files.progress > done.progress) +
                              (files.results > done.results);
    }

    test::TempFolder m_folder;
    std::mt19937 m_random{std::random_device{}()};
    int m_startUpUs = 20000;
    char m_last = '-';  // the kind of the last write the writer confirmed
    Tally m_tally;
};

TEST_F(KillWhileWriting, EachFileIsOldOrNewWholeAndReadByTheNextStart) {
    Generations files;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + " of " + std::to_string(kRuns));
        ASSERT_NO_FATAL_FAILURE(Run(files));
    }
    // The last state, read once more by a start that is not killed.
    test::ChildProcess writer(QUVO_KILL_WRITER_BINARY, {m_folder.Path().string()});
    EXPECT_EQ(writer.Line(), "ready " + Describe(files));
    std::printf(
        "%d kills: %d in start-up, %d in a settings write, %d in a progress write, %d in a result "
        "write; %d times a file was found one write past the last confirmed; "
        "files reached generations %s\n",
        kRuns, m_tally.duringStartUp, m_tally.duringSettings, m_tally.duringProgress,
        m_tally.duringResult, m_tally.newerFound, Describe(files).c_str());
    EXPECT_GT(files.settings + files.progress + files.results, 0) << "the writer never wrote";
}

}  // namespace
}  // namespace quvo
