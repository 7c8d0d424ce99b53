#include "childprocess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quvo::test {

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> args,
                           const std::string& folder) {
    int out[2];
    if (pipe(out) != 0) {
        return;
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        if (!folder.empty() && chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    m_out = out[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && m_status < 0) {
        kill(m_pid, SIGKILL);
        Wait();
    }
    close(m_out);
}

std::string ChildProcess::Line() {
    std::string line;
    char c = 0;
    pollfd fd{m_out, POLLIN, 0};
    while (poll(&fd, 1, 20000) > 0 && read(m_out, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

std::string ChildProcess::Rest() {
    std::string text;
    char buffer[4096];
    pollfd fd{m_out, POLLIN, 0};
    ssize_t n = 0;
    while (poll(&fd, 1, 60000) > 0 && (n = read(m_out, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

int ChildProcess::Wait() {
    int status = 0;
    if (m_status < 0 && waitpid(m_pid, &status, 0) == m_pid) {
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    return m_status;
}

}  // namespace quvo::test
