#pragma once
// A simulated loop behind a pseudo-terminal, the way a HART modem on a USB adapter looks to the
// program: the link opens it with the real termios port through a stable path (a symbolic link,
// as /dev/serial/by-id gives an adapter), so the adapter can be pulled out and put back.
#include "sim/SimLoop.h"

#include <QString>
#include <string>

namespace testing_support {

class PtyLoop {
public:
    // The stable path is made in dir.
    PtyLoop(sim::SimLoop& loop, const QString& dir);
    ~PtyLoop();
    PtyLoop(const PtyLoop&) = delete;
    PtyLoop& operator=(const PtyLoop&) = delete;

    // A new terminal that the loop answers on; the stable path points at it.
    bool Plug();
    // The loop stops and the terminal's other side closes: whoever has the terminal open sees a
    // hang-up, and its device node and the stable path go away.
    void Unplug();
    bool IsPlugged() const { return m_master >= 0; }

    const std::string& Path() const { return m_path; }
    const std::string& DevicePath() const { return m_device; }

private:
    sim::SimLoop& m_loop;
    std::string m_path;
    std::string m_device;
    int m_master = -1;
    int m_keep = -1;
};

} // namespace testing_support
