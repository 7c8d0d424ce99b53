#include "ftpserver.h"

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace quvo::test {

namespace {

constexpr char kScript[] = R"(import os, sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
logging.disable(logging.CRITICAL)
user, password, folder, rate = sys.argv[1:5]
class Handler(FTPHandler):
    def ftp_SIZE(self, path):
        if os.path.basename(path).startswith('short'):
            self.respond('213 %d' % (os.path.getsize(path) + 4096))
            return
        return FTPHandler.ftp_SIZE(self, path)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, folder, perm='elr')
Handler.authorizer = authorizer
if int(rate) > 0:
    ThrottledDTPHandler.write_limit = int(rate)
    Handler.dtp_handler = ThrottledDTPHandler
server = FTPServer(('127.0.0.1', 0), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)";

}  // namespace

FtpServer::FtpServer(const std::filesystem::path& folder, const std::string& user, const std::string& password,
                     int bytesPerSecond)
    : m_script(folder.parent_path() / ("ftpserver-" + std::to_string(::getpid()) + ".py")) {
    std::ofstream(m_script) << kScript;
    const std::string rate = std::to_string(bytesPerSecond);  // nothing is allocated after the fork
    int out[2];
    if (::pipe(out) != 0) {
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl("/usr/bin/python3", "python3", m_script.c_str(), user.c_str(), password.c_str(), folder.c_str(),
                rate.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::FILE* lines = ::fdopen(out[0], "r");
    char port[32] = {};
    if (lines != nullptr && std::fgets(port, sizeof port, lines) != nullptr && std::atoi(port) > 0) {
        m_address = "127.0.0.1:" + std::to_string(std::atoi(port));
    }
    if (lines != nullptr) {
        std::fclose(lines);
    }
}

FtpServer::~FtpServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove(m_script, ignored);
}

SilentServer::SilentServer() : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_fd, 4) == 0 &&
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        m_port = ntohs(address.sin_port);
    }
}

SilentServer::~SilentServer() { ::close(m_fd); }

std::string RecordingUpdater(const std::filesystem::path& record) {
    return "#!/bin/sh\n{ for a in \"$0\" \"$@\"; do echo \"$a\"; done; pwd; } > '" + record.string() + ".part'\n"
           "mv '" + record.string() + ".part' '" + record.string() + "'\n";
}

}  // namespace quvo::test
