// The page server under load and under sudden death. Run from the build folder:
//   bench/bench_server
// Load: 50 clients at once send 20,000 requests over loopback, mixed over the character,
// result and start pages; reported: errors (must be 0), requests per second, p50 and p99.
// Kill: 1,000 results are sent to a quvo-server process that is killed with SIGKILL at random
// moments and started again; every result that was answered must be in the results file.
#include <benchmark/benchmark.h>

#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "online/pageserver.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 50;
constexpr int kRequests = 20000;
constexpr int kResults = 1000;
constexpr int kSenders = 4;
// Neither test runs longer than this, whatever happens.
constexpr auto kTimeLimit = std::chrono::seconds(240);

// Percent-encoded characters of the first pages of the books 动物 and 基础篇, with their
// stroke counts.
struct Character {
    const char* z;
    int strokes;
};
constexpr Character kCharacters[] = {
    {"%E7%89%9B", 4}, {"%E7%BE%8A", 6}, {"%E9%A9%AC", 3}, {"%E9%B8%A1", 7}, {"%E9%B8%AD", 10},
    {"%E4%B8%80", 1}, {"%E4%BA%8C", 2}, {"%E4%B8%89", 3}, {"%E5%8D%81", 2}, {"%E4%BA%BA", 2},
};
constexpr char kAnimalsPage[] = "%E7%89%9B,%E7%BE%8A,%E9%A9%AC,%E9%B8%A1,%E9%B8%AD,";

std::string TempFolder(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string RoundPath(const Character& c, bool right, const std::string& page) {
    return std::string("/shizi.asp?z=") + c.z + (right ? "&f=ok&b=" : "&f=no&b=1%2C") +
           "&c=" + std::to_string(c.strokes) + "&s=" + page;
}

// One request of the mix: half character pages, a quarter result pages, a quarter start pages.
std::string MixedPath(std::mt19937& random) {
    const Character& c = kCharacters[random() % std::size(kCharacters)];
    switch (random() % 4) {
        case 0:
            return RoundPath(c, random() % 2 == 0, kAnimalsPage);
        case 1:
            return "/soft.asp?c=Lumeo6.0";
        default:
            return std::string("/hanzi.asp?z=") + c.z;
    }
}

struct ClientTally {
    std::vector<double> latencies;       // milliseconds
    std::vector<double> roundLatencies;  // of the result pages alone
    int errors = 0;
};

// Each client is a computer of its own: it sends from an address of its own on loopback.
void RunClient(int port, int requests, unsigned seed, Clock::time_point deadline,
               ClientTally& tally) {
    httplib::Client client("127.0.0.1", port);
    client.set_interface("127.0.1." + std::to_string(1 + seed % 200));
    client.set_keep_alive(true);
    client.set_url_encode(false);
    client.set_connection_timeout(5);
    client.set_read_timeout(10);
    std::mt19937 random(seed);
    for (int i = 0; i < requests && Clock::now() < deadline; ++i) {
        const std::string path = MixedPath(random);
        const auto start = Clock::now();
        const httplib::Result res = client.Get(path);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        tally.latencies.push_back(ms);
        if (path.rfind("/shizi", 0) == 0) {
            tally.roundLatencies.push_back(ms);
        }
        if (!res || res->status != 200) {
            ++tally.errors;
        }
    }
}

double Percentile(std::vector<double>& values, double p) {
    if (values.empty()) {
        return 0;
    }
    const auto at = values.begin() + static_cast<long>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void BM_LoadMixedPages(benchmark::State& state) {
    const std::string folder = TempFolder("quvo-bench-load");
    quvo::PageServer server(
        // As quvo-server serves a classroom.
        {QUVO_PROGRAM_DIR, ReadFile(QUVO_PINYIN_TABLE), folder + "/results.db", "6.0", 96});
    if (!server.Start("127.0.0.1", 0)) {
        return state.SkipWithError("cannot start the server");
    }
    std::vector<ClientTally> tallies(kClients);
    for (auto _ : state) {
        const auto deadline = Clock::now() + kTimeLimit;
        std::vector<std::thread> clients;
        for (int i = 0; i < kClients; ++i) {
            clients.emplace_back(RunClient, server.Port(), kRequests / kClients, 1000u + i,
                                 deadline, std::ref(tallies[i]));
        }
        for (auto& client : clients) {
            client.join();
        }
    }
    std::vector<double> latencies;
    std::vector<double> roundLatencies;
    int errors = 0;
    for (const ClientTally& tally : tallies) {
        latencies.insert(latencies.end(), tally.latencies.begin(), tally.latencies.end());
        roundLatencies.insert(roundLatencies.end(), tally.roundLatencies.begin(),
                              tally.roundLatencies.end());
        errors += tally.errors;
    }
    state.counters["requests"] = static_cast<double>(latencies.size());
    state.counters["errors"] = errors;
    state.counters["req_per_s"] =
        benchmark::Counter(static_cast<double>(latencies.size()), benchmark::Counter::kIsRate);
    state.counters["p50_ms"] = Percentile(latencies, 0.50);
    state.counters["p99_ms"] = Percentile(latencies, 0.99);
    state.counters["result_p99_ms"] = Percentile(roundLatencies, 0.99);
    server.Stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadMixedPages)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// quvo-server as a child process; the first line of its output names the port.
class ServerProcess {
public:
    ServerProcess(const std::string& listen, const std::string& results) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], 1);
            execl(QUVO_SERVER_BINARY, QUVO_SERVER_BINARY, "--listen", listen.c_str(), "--folder",
                  QUVO_PROGRAM_DIR, "--results", results.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        m_out = out[0];
    }
    ~ServerProcess() {
        Signal(SIGKILL);
        close(m_out);
    }
    // The port it serves on, 0 when it did not start within 20 seconds.
    int Port() {
        std::string line;
        char c = 0;
        pollfd fd{m_out, POLLIN, 0};
        while (poll(&fd, 1, 20000) > 0 && read(m_out, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        const std::size_t colon = line.rfind(':');
        return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
    }
    void Signal(int signal) {
        if (m_pid <= 0) {
            return;
        }
        kill(m_pid, signal);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

// Page characters that name the result: its number's digits, each followed by a comma.
std::string NumberedPage(int number) {
    std::string page;
    for (char digit : std::to_string(number)) {
        page += std::string(1, digit) + ",";
    }
    return page;
}

// Sends results first .. first + count - 1 until each is answered (or time runs out).
void SendResults(int port, int first, int count, Clock::time_point deadline,
                 std::vector<char>& answered, std::atomic<int>& refused) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    client.set_connection_timeout(1);
    client.set_read_timeout(5);
    for (int i = first; i < first + count && Clock::now() < deadline;) {
        const httplib::Result res = client.Get(RoundPath(kCharacters[1], true, NumberedPage(i)));
        if (res && res->status == 200) {
            answered[static_cast<std::size_t>(i++)] = 1;
        } else {
            ++refused;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

// Kills the server at random moments and starts it again, until the senders are done.
int KillRepeatedly(std::unique_ptr<ServerProcess>& server, const std::string& listen,
                   const std::string& results, const std::atomic<bool>& done) {
    std::mt19937 random(std::random_device{}());
    int kills = 0;
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 400));
        if (done) {
            break;
        }
        server->Signal(SIGKILL);
        ++kills;
        server = std::make_unique<ServerProcess>(listen, results);
        server->Port();
    }
    return kills;
}

// The numbers of the results in the file, each once.
std::set<std::string> StoredPages(const std::string& results, int& rows) {
    std::set<std::string> pages;
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    rows = 0;
    if (sqlite3_open(results.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT page FROM results", -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            pages.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            ++rows;
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return pages;
}

// Answered results that are not in the file.
int LostResults(const std::string& results, const std::vector<char>& answered, int& rows) {
    const std::set<std::string> stored = StoredPages(results, rows);
    int lost = 0;
    for (int i = 0; i < kResults; ++i) {
        if (!answered[static_cast<std::size_t>(i)]) {
            continue;
        }
        std::string digits = NumberedPage(i);
        digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
        lost += stored.count(digits) == 0 ? 1 : 0;
    }
    return lost;
}

void BM_KilledServerKeepsAnsweredResults(benchmark::State& state) {
    const std::string folder = TempFolder("quvo-bench-kill");
    const std::string results = folder + "/results.db";
    auto server = std::make_unique<ServerProcess>("127.0.0.1:0", results);
    const int port = server->Port();
    if (port == 0) {
        return state.SkipWithError("quvo-server did not start");
    }
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    std::vector<char> answered(kResults, 0);
    std::atomic<int> refused{0};
    int kills = 0;
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::thread killer([&] { kills = KillRepeatedly(server, listen, results, done); });
        const auto deadline = Clock::now() + kTimeLimit;
        std::vector<std::thread> senders;
        for (int s = 0; s < kSenders; ++s) {
            senders.emplace_back(SendResults, port, s * kResults / kSenders, kResults / kSenders,
                                 deadline, std::ref(answered), std::ref(refused));
        }
        for (auto& sender : senders) {
            sender.join();
        }
        done = true;
        killer.join();
    }
    server->Signal(SIGTERM);
    int rows = 0;
    state.counters["lost"] = LostResults(results, answered, rows);
    state.counters["answered"] =
        static_cast<double>(std::count(answered.begin(), answered.end(), 1));
    state.counters["kills"] = kills;
    state.counters["unanswered_tries"] = refused.load();
    state.counters["rows"] = rows;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_KilledServerKeepsAnsweredResults)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
