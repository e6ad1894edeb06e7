#pragma once
// Ctrl+C (and SIGTERM) as a request to stop: the handler only writes to a pipe, and a socket
// notifier turns that into a flag on the event loop, so a command ends between two transactions
// with the port closed properly. A second Ctrl+C ends the program at once.
#include <QSocketNotifier>
#include <memory>

namespace cli {

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool Requested() const { return m_requested; }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_requested = false;
};

} // namespace cli
