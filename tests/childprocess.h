#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quvo::test {

// A program run as a child process, in `folder` when one is given: its output (both streams
// together) and its exit code. A program name without a slash is looked up in PATH. A child
// still running when the object goes is killed.
class ChildProcess {
public:
    ChildProcess(const std::string& program, std::vector<std::string> args,
                 const std::string& folder = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Output up to the first line break or the end, waiting at most 20 seconds.
    std::string Line();
    // All the output to the end, waiting at most 60 seconds.
    std::string Rest();
    // The exit code, 128 for a child ended by a signal.
    int Wait();
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_status = -1;
};

}  // namespace quvo::test
