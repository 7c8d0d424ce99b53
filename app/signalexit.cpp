#include "app/signalexit.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quvo {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int /*number*/) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void Handle(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

SignalExit::SignalExit(std::function<void()> onSignal) : m_onSignal(std::move(onSignal)) {
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        return;
    }
    ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalExit::OnReadable);
    Handle(OnSignal);
}

SignalExit::~SignalExit() {
    if (m_notifier == nullptr) {
        return;
    }
    Handle(SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalExit::OnReadable() {
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(g_pipe[0], &byte, 1);
    if (m_onSignal) {
        m_onSignal();
    }
}

}  // namespace quvo
