#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace quvo::test {

// A real FTP server (Debian's pyftpdlib) on 127.0.0.1, serving `folder` to one user, run for
// the life of the object. A file whose name starts with "short" is announced 4 KiB larger than
// it is, as a transfer broken off would leave it. With `bytesPerSecond`, files are sent no
// faster than that.
class FtpServer {
public:
    FtpServer(const std::filesystem::path& folder, const std::string& user, const std::string& password,
              int bytesPerSecond = 0);
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // host:port; empty when the server did not start.
    const std::string& Address() const { return m_address; }

private:
    pid_t m_pid = -1;
    std::string m_address;
    std::filesystem::path m_script;
};

// A socket on 127.0.0.1 that takes connections and never answers, for the life of the object.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_fd = -1;
    int m_port = 0;
};

// A shell script that writes its arguments and its working folder, one a line, into `record`.
std::string RecordingUpdater(const std::filesystem::path& record);

}  // namespace quvo::test
