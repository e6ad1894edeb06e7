#include "OtherProcess.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

// Children use system calls only: the parent has threads, so nothing else is safe after fork().
bool DropSysAdmin() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << (CAP_SYS_ADMIN % 32);
    auto& word = data[CAP_SYS_ADMIN / 32];
    word.effective &= ~bit;
    word.permitted &= ~bit;
    word.inheritable &= ~bit;
    return ::syscall(SYS_capset, &header, data) == 0;
}

// Closes every inherited descriptor but two (the terminals of the test must not stay open here).
void CloseAllBut(int a, int b) {
    const unsigned lo = static_cast<unsigned>(std::min(a, b));
    const unsigned hi = static_cast<unsigned>(std::max(a, b));
    if (lo > 3)
        ::close_range(3, lo - 1, 0);
    if (hi > lo + 1)
        ::close_range(lo + 1, hi - 1, 0);
    ::close_range(hi + 1, ~0U, 0);
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

PortHolder::PortHolder(const std::string& path, HoldMode mode) {
    int ready[2];
    int release[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return;
    if (::pipe2(release, O_CLOEXEC) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        CloseAllBut(ready[1], release[0]);
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool held = fd >= 0 && (mode == HoldMode::Lock ? ::flock(fd, LOCK_EX | LOCK_NB) == 0
                                                             : ::ioctl(fd, TIOCEXCL) == 0);
        const char c = held ? 'H' : 'F';
        [[maybe_unused]] auto n = ::write(ready[1], &c, 1);
        char sink;
        while (::read(release[0], &sink, 1) < 0 && errno == EINTR) {
        }
        ::_exit(held ? 0 : 1);
    }
    ::close(ready[1]);
    ::close(release[0]);
    m_release = release[1];
    char c = 0;
    if (m_pid > 0)
        while (::read(ready[0], &c, 1) < 0 && errno == EINTR) {
        }
    ::close(ready[0]);
    m_holding = c == 'H';
}

PortHolder::~PortHolder() { Release(); }

void PortHolder::Release() {
    if (m_release >= 0)
        ::close(m_release);
    m_release = -1;
    if (m_pid > 0)
        WaitFor(m_pid);
    m_pid = -1;
    m_holding = false;
}

int AsUnprivilegedUser(const std::function<int()>& f) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(DropSysAdmin() ? f() & 0xFF : 255);
    if (pid < 0)
        return -1;
    const int rc = WaitFor(pid);
    return rc == 255 ? -1 : rc;
}

} // namespace testing_support
