#include "online/pageserver.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>
#include <utility>

#include "online/characterlibrary.h"
#include "online/pages.h"
#include "online/requestvalues.h"
#include "online/resultstore.h"
#include "online/updatereply.h"

namespace quvo {

namespace {

using httplib::Request;
using httplib::Response;

// Limits on what a request may bring; the program's own addresses stay far below them.
constexpr std::size_t kMaxAddress = 2048;
constexpr std::size_t kMaxBody = 4096;
constexpr time_t kKeepAliveSeconds = 2;
constexpr std::size_t kKeepAliveRequests = 100;
constexpr time_t kReadWriteSeconds = 5;

constexpr char kHtml[] = "text/html; charset=utf-8";
// The pages are self-contained: inline styles and SVG, no scripts, nothing from outside.
constexpr char kContentPolicy[] =
    "default-src 'none'; style-src 'unsafe-inline'; img-src data:; form-action 'none'; "
    "frame-ancestors 'none'";

// The update check's own request: user name and password of the program's form body.
constexpr char kUpdateUser[] = "pim";
constexpr char kUpdatePassword[] = "qorvintesl";
constexpr char kHelpType[] = "软件使用帮助";

void SendPage(Response& res, const std::string& html, int status = 200) {
    res.status = status;
    res.set_content(html, kHtml);
}

void SendMessage(Response& res, std::string_view title, std::string_view text, int status = 200) {
    SendPage(res, MessagePage(title, text), status);
}

void SendBadAddress(Response& res, const std::string& reason) {
    SendMessage(res, "这个地址看不懂", reason);
}

void SendUnknownCharacter(Response& res, const std::string& character) {
    SendMessage(res, "这个字还没有收进来",
                "字库里还没有「" + character + "」这个字，换一个字试试吧。");
}

// Midnight to midnight of today, in the server's time zone.
std::pair<std::int64_t, std::int64_t> LocalDay(std::time_t now) {
    std::tm day{};
    localtime_r(&now, &day);
    day.tm_hour = day.tm_min = day.tm_sec = 0;
    day.tm_isdst = -1;
    const std::time_t start = std::mktime(&day);
    day.tm_mday += 1;
    day.tm_isdst = -1;
    return {start, std::mktime(&day)};
}

int UtcOffset(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int>(local.tm_gmtoff);
}

// The body of an error answer that has none yet: the program and a browser both show a page.
void FillErrorPage(Response& res) {
    if (!res.body.empty()) {
        return;
    }
    switch (res.status) {
        case 404:
            return SendMessage(res, "没有这一页", "这个地址上没有网页。", 404);
        case 413:
            return SendMessage(res, "送来的内容太长", "这里只收 4 KB 以内的内容。", 413);
        case 414:
            return SendMessage(res, "地址太长", "这里只收 2 KB 以内的地址。", 414);
        default:
            return SendMessage(res, "出了点问题",
                               "这一页暂时打不开（" + std::to_string(res.status) + "）。",
                               res.status);
    }
}

// Every route catches what its page code might throw, so one bad request never ends the
// server's thread.
template <typename Handler>
auto Guarded(Handler handler) {
    return [handler](const Request& req, Response& res) {
        try {
            handler(req, res);
        } catch (...) {
            SendMessage(res, "出了点问题", "这一页暂时打不开。", 500);
        }
    };
}

}  // namespace

struct PageServer::Impl {
    explicit Impl(PageServerConfig config)
        : config(std::move(config)),
          library(this->config.programFolder, this->config.pinyinTable),
          store(this->config.resultsFile) {}

    void Configure();
    void Route();
    int Bind(const std::string& host, int port);
    void Serve();
    void StopServing();

    void CharacterRoute(const Request& req, Response& res) const;
    void RoundRoute(const Request& req, Response& res);
    void StartRoute(const Request& req, Response& res) const;
    void RecordRoute(const Request& req, Response& res, bool csv) const;
    void HelpRoute(const Request& req, Response& res) const;
    void UpdateRoute(const Request& req, Response& res) const;
    void RecordRound(const Request& req, Response& res, const CharacterInfo& info,
                     const RoundResult& round);

    PageServerConfig config;
    CharacterLibrary library;
    ResultStore store;
    httplib::Server server;
    std::thread thread;
    std::atomic<bool> serving{false};
    std::atomic<bool> stopRequested{false};
    std::mutex stopMutex;
    std::atomic<int> port{0};
    int listenSocket = -1;
};

void PageServer::Impl::Configure() {
    const std::size_t threads = std::max<std::size_t>(config.threads, 1);
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // Address reuse lets a restarted server bind at once; port sharing, the library's default,
    // would let a second server take half of a classroom's requests.
    server.set_socket_options([this](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        listenSocket = sock;
    });
    server.set_payload_max_length(kMaxBody);
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    server.set_keep_alive_max_count(kKeepAliveRequests);
    server.set_read_timeout(kReadWriteSeconds);
    server.set_write_timeout(kReadWriteSeconds);
    server.set_default_headers({{"Cache-Control", "no-store"},
                                {"X-Content-Type-Options", "nosniff"},
                                {"Content-Security-Policy", kContentPolicy}});
    server.set_pre_routing_handler([](const Request& req, Response& res) {
        if (req.target.size() <= kMaxAddress) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        res.status = 414;
        res.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    });
    server.set_error_handler([](const Request&, Response& res) { FillErrorPage(res); });
    server.set_exception_handler([](const Request&, Response& res, std::exception_ptr) {
        SendMessage(res, "出了点问题", "这一页暂时打不开。", 500);
    });
}

void PageServer::Impl::Route() {
    server.Get("/hanzi\\.asp", Guarded([this](auto& q, auto& r) { CharacterRoute(q, r); }));
    server.Get("/shizi\\.asp", Guarded([this](auto& q, auto& r) { RoundRoute(q, r); }));
    server.Get("/(soft\\.asp)?", Guarded([this](auto& q, auto& r) { StartRoute(q, r); }));
    server.Get("/newslist\\.asp", Guarded([this](auto& q, auto& r) { HelpRoute(q, r); }));
    server.Get("/jilu\\.asp", Guarded([this](auto& q, auto& r) { RecordRoute(q, r, false); }));
    server.Get("/jilu\\.csv", Guarded([this](auto& q, auto& r) { RecordRoute(q, r, true); }));
    server.Post("/update\\.asp", Guarded([this](auto& q, auto& r) { UpdateRoute(q, r); }));
}

void PageServer::Impl::CharacterRoute(const Request& req, Response& res) const {
    std::string character;
    const std::string reason = ReadCharacterQuery(req.params, character);
    CharacterInfo info;
    if (!reason.empty()) {
        return SendBadAddress(res, reason);
    }
    if (!library.Describe(character, info)) {
        return SendUnknownCharacter(res, character);
    }
    SendPage(res, CharacterPage(info));
}

void PageServer::Impl::RoundRoute(const Request& req, Response& res) {
    RoundResult round;
    const std::string reason = ReadRoundQuery(req.params, round);
    CharacterInfo info;
    if (!reason.empty()) {
        return SendBadAddress(res, reason);
    }
    if (!library.Describe(round.character, info)) {
        return SendUnknownCharacter(res, round.character);
    }
    if (info.strokeCount != round.strokeCount) {
        return SendBadAddress(
            res, "c 和这个字的笔画数（" + std::to_string(info.strokeCount) + "）不一样。");
    }
    RecordRound(req, res, info, round);
}

// The round goes into the results file before the page is answered, so an answered round is
// never lost; the page then shows the character's rounds with this one counted.
void PageServer::Impl::RecordRound(const Request& req, Response& res, const CharacterInfo& info,
                                   const RoundResult& round) {
    const StoredResult stored{req.remote_addr, static_cast<std::int64_t>(std::time(nullptr)),
                              library.BookOfPage(round.pageCharacters), round};
    if (!store.Add(stored)) {
        return SendMessage(res, "这一次没有记下来", "成绩文件写不进去，这一次的结果没有保存。",
                           500);
    }
    SendPage(res, ResultPage(info, round, store.History(req.remote_addr, round.character)));
}

void PageServer::Impl::StartRoute(const Request& req, Response& res) const {
    std::string product;
    std::vector<std::string> characters;
    if (req.has_param("c") && (!OneValue(req.params, "c", product) ||
                               !SplitCharacters(product, characters) || characters.size() > 64)) {
        return SendBadAddress(res, "c 应当是一段不长的文字。");
    }
    const auto [dayStart, dayEnd] = LocalDay(std::time(nullptr));
    SendPage(res, StartPage(product, store.Day(req.remote_addr, dayStart, dayEnd)));
}

void PageServer::Impl::RecordRoute(const Request& req, Response& res, bool csv) const {
    const std::vector<RecordLine> lines = store.Record(req.remote_addr);
    const int offset = UtcOffset(std::time(nullptr));
    if (!csv) {
        return SendPage(res, RecordPage(lines, offset));
    }
    res.set_content(RecordCsv(lines, offset), "text/csv; charset=utf-8");
    res.set_header("Content-Disposition", "attachment; filename=\"jilu.csv\"");
}

void PageServer::Impl::HelpRoute(const Request& req, Response& res) const {
    std::string type;
    if (req.has_param("newstype") &&
        (!OneValue(req.params, "newstype", type) || type != kHelpType)) {
        return SendMessage(res, "没有这一类文章", "这里只有软件使用帮助。");
    }
    SendPage(res, HelpPage(library.ProgramFolder()));
}

// The tagged reply goes only to the program's own update check; anything else is told the
// running version, which offers nothing.
void PageServer::Impl::UpdateRoute(const Request& req, Response& res) const {
    httplib::Params form;
    httplib::detail::parse_query_text(req.body, form);
    std::string user;
    std::string password;
    const bool program = OneValue(form, "username", user) && user == kUpdateUser &&
                         OneValue(form, "password", password) && password == kUpdatePassword;
    const std::string file = program ? config.programFolder + "/update.txt" : std::string();
    res.set_content(UpdateReply(file, config.version), "text/plain; charset=utf-8");
}

int PageServer::Impl::Bind(const std::string& host, int wanted) {
    // Once stopped, a server stays stopped.
    if (serving || thread.joinable() || stopRequested) {
        return -1;
    }
    const int bound = wanted == 0 ? server.bind_to_any_port(host)
                                  : (server.bind_to_port(host, wanted) ? wanted : -1);
    // The library listens with a queue of 5 connections; a classroom whose browsers all
    // connect at once would see the rest retried a second later. Listening again widens it.
    if (bound >= 0) {
        ::listen(listenSocket, SOMAXCONN);
    }
    return bound;
}

// Runs until StopServing. Whoever comes second of the two sees the other: either this sees
// the stop request, or the stop sees serving set and waits for it to end.
void PageServer::Impl::Serve() {
    serving = true;
    if (!stopRequested) {
        server.listen_after_bind();
    }
    serving = false;
}

void PageServer::Impl::StopServing() {
    std::lock_guard<std::mutex> lock(stopMutex);
    stopRequested = true;
    bool stopped = false;
    while (serving) {
        // The server takes its stop only once it runs; a second stop would find no socket.
        if (!stopped && server.is_running()) {
            server.stop();
            stopped = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (thread.joinable()) {
        thread.join();
    }
}

PageServer::PageServer(PageServerConfig config)
    : m_impl(std::make_unique<Impl>(std::move(config))) {
    m_impl->Configure();
    m_impl->Route();
}

PageServer::~PageServer() {
    Stop();
}

bool PageServer::Start(const std::string& host, int port) {
    const int bound = m_impl->Bind(host, port);
    if (bound < 0) {
        return false;
    }
    m_impl->port = bound;
    m_impl->serving = true;
    m_impl->thread = std::thread([this] { m_impl->Serve(); });
    return true;
}

bool PageServer::Listen(const std::string& host, int port) {
    const int bound = m_impl->Bind(host, port);
    if (bound < 0) {
        return false;
    }
    m_impl->port = bound;
    m_impl->Serve();
    return true;
}

void PageServer::Stop() {
    m_impl->StopServing();
}

int PageServer::Port() const {
    return m_impl->port;
}

}  // namespace quvo
