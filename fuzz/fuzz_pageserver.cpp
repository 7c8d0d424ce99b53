// The page server's handling of what a client sends: the fuzzer's bytes go, as they are, to a
// real page server on 127.0.0.1 over one connection, which is then closed for writing; the
// server must answer and close its end. The server serves a real program folder (store, font,
// textbooks, pinyin table) and writes its results file in the scratch folder, so every page,
// the result page with its write included, runs as it does for a classroom.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fuzz/fuzzsupport.h"
#include "online/pageserver.h"

using quvo::fuzz::Check;

namespace {

// However slow the machine, a request is answered well within this.
constexpr int kAnswerMs = 20000;

// Never destroyed: its threads serve until the process ends.
quvo::PageServer* g_server = nullptr;
int g_port = 0;

std::string Setting(const char* name, const char* built) {
    const char* value = std::getenv(name);
    return value && *value ? value : built;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Connections come in turn from 64 addresses of the loopback network, as from a classroom's
// computers: the record pages see several computers' results, and thousands of connections a
// second are spread over as many ports.
constexpr std::uint32_t kFirstClient = 0x7F000101;  // 127.0.1.1
constexpr std::uint32_t kClients = 64;
std::uint32_t g_connections = 0;

// libFuzzer's alarm, which watches for inputs that run too long, interrupts whatever call the
// main thread is blocked in: every call here is made again when that happens.
int Connect() {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in client{};
    client.sin_family = AF_INET;
    client.sin_addr.s_addr = htonl(kFirstClient + g_connections++ % kClients);
    Check(sock >= 0 && bind(sock, reinterpret_cast<sockaddr*>(&client), sizeof(client)) == 0,
          "a client address of the loopback network is free");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(g_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int result = connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    // An interrupted connect goes on by itself; it is done once the socket can be written.
    if (result != 0 && errno == EINTR) {
        pollfd done{sock, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof(error);
        while (poll(&done, 1, kAnswerMs) < 0 && errno == EINTR) {
        }
        result = getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : -1;
    }
    Check(result == 0, "the page server takes a connection");
    return sock;
}

// Sends what it can: the server may answer and close before it has read everything.
void SendAll(int sock, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(sock, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

// Waits until the socket has something to read, or the server has gone quiet for too long.
bool Readable(int sock) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kAnswerMs);
    pollfd wait{sock, POLLIN, 0};
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int ready = poll(&wait, 1, static_cast<int>(std::max<long long>(left, 0)));
        if (ready >= 0 || errno != EINTR) {
            return ready == 1;
        }
    }
}

// Everything the server answers, until it closes the connection.
std::string ReceiveAll(int sock) {
    std::string answer;
    char buffer[16384];
    for (;;) {
        Check(Readable(sock), "the page server answers and closes the connection");
        const ssize_t got = recv(sock, buffer, sizeof(buffer), 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return answer;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string folder = Setting("QUVO_FUZZ_PROGRAM_DIR", QUVO_FUZZ_PROGRAM_DIR);
    const std::string pinyin = ReadFile(Setting("QUVO_FUZZ_PINYIN_TABLE", QUVO_FUZZ_PINYIN_TABLE));
    g_server =
        new quvo::PageServer({folder, pinyin, quvo::fuzz::ScratchFolder() + "/xxjl.db", "6.0", 4});
    Check(g_server->Start("127.0.0.1", 0), "the page server starts");
    g_port = g_server->Port();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int sock = Connect();
    SendAll(sock, data, size);
    shutdown(sock, SHUT_WR);
    const std::string answer = ReceiveAll(sock);
    close(sock);
    Check(answer.empty() || answer.rfind("HTTP/1.1 ", 0) == 0,
          "whatever the server sends is an HTTP answer");
    // Values from the request reach a page only escaped: no request can put markup in one.
    Check(answer.find("<script") == std::string::npos, "no page carries a script");
    return 0;
}
