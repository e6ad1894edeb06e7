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
    enum class Pull {
        CloseTerminal, // the other side closes: reads fail with EIO, as when hartsim ends
        HangUp,        // the driver hangs the line up first: reads see end of file and writes
                       // fail, as when a USB adapter is pulled out (needs the right to do it)
    };
    // The loop stops and the terminal goes: whoever has it open sees a hang-up, and its device
    // node and the stable path go away. False when the hang-up was not allowed.
    bool Unplug(Pull how = Pull::CloseTerminal);
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
