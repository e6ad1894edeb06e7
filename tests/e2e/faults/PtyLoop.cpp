#include "PtyLoop.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace testing_support {

PtyLoop::PtyLoop(sim::SimLoop& loop, const QString& dir)
    : m_loop(loop), m_path(QDir(dir).filePath(QStringLiteral("ttyHART0")).toStdString()) {}

PtyLoop::~PtyLoop() { Unplug(); }

bool PtyLoop::Plug() {
    Unplug();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return false;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        Unplug();
        return false;
    }
    m_device = ::ptsname(m_master);
    // Raw from the start, so nothing the link writes before it has set the line up is echoed;
    // held open as hartsim does, so the terminal lives between the link's connects.
    m_keep = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_keep < 0 || ::tcgetattr(m_keep, &tio) != 0) {
        Unplug();
        return false;
    }
    ::cfmakeraw(&tio);
    ::tcsetattr(m_keep, TCSANOW, &tio);
    ::unlink(m_path.c_str());
    if (::symlink(m_device.c_str(), m_path.c_str()) != 0) {
        Unplug();
        return false;
    }
    m_loop.Start(m_master);
    return true;
}

bool PtyLoop::Unplug(Pull how) {
    bool done = true;
    if (how == Pull::HangUp && m_keep >= 0)
        done = ::ioctl(m_keep, TIOCVHANGUP) == 0;
    m_loop.Stop();
    ::unlink(m_path.c_str());
    if (m_keep >= 0)
        ::close(m_keep);
    if (m_master >= 0)
        ::close(m_master);
    m_keep = -1;
    m_master = -1;
    return done;
}

} // namespace testing_support
