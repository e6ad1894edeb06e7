#pragma once
// Other programs on the same terminal, as forked children: one that holds the port the way serial
// programs do (an advisory lock, or the terminal's exclusive mode), and a way to try an open as a
// user without administrator rights (root passes the exclusive mode; a service engineer does not).
#include <functional>
#include <string>
#include <sys/types.h>

namespace testing_support {

enum class HoldMode {
    Lock,      // flock(), as serial terminal programs and our own tools do
    Exclusive, // TIOCEXCL, the terminal refuses further opens to unprivileged users
};

class PortHolder {
public:
    PortHolder(const std::string& path, HoldMode mode);
    ~PortHolder();
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;
    // True once the child has the port open and held.
    bool Holding() const { return m_holding; }
    // The child lets go of the port and ends.
    void Release();

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_holding = false;
};

// Runs f in a child process without the capability that passes the terminal's exclusive mode;
// returns f's result (0..255), or -1 when the child could not run it.
int AsUnprivilegedUser(const std::function<int()>& f);

} // namespace testing_support
