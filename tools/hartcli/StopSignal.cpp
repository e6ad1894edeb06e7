#include "StopSignal.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace cli {
namespace {

// The write end of the pipe, for the signal handler (which may touch nothing else).
int g_signalPipe = -1;

void OnSignal(int sig) {
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const auto n = ::write(g_signalPipe, &c, 1);
    std::signal(sig, SIG_DFL); // a second Ctrl+C ends the program at once
}

} // namespace

StopSignal::StopSignal() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalPipe = fds[1];
    m_notifier = std::make_unique<QSocketNotifier>(fds[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this, fd = fds[0]] {
        char buffer[16];
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        m_requested = true;
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

StopSignal::~StopSignal() {
    if (!m_notifier)
        return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    const int readFd = static_cast<int>(m_notifier->socket());
    m_notifier.reset();
    ::close(readFd);
    ::close(g_signalPipe);
    g_signalPipe = -1;
}

} // namespace cli
