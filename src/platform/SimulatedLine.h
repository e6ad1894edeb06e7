#pragma once
// An in-process serial line: the link's end behaves like a serial port (pollable, drains at the
// paced line speed when pacing is on), the far end is a plain descriptor for a simulated loop or a
// test. It records every frame written and can fail like real hardware does.
#include "platform/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vmc {

class SimulatedLine : public std::enable_shared_from_this<SimulatedLine> {
public:
    static std::shared_ptr<SimulatedLine> Create();
    ~SimulatedLine();

    // A port for the link. Several ports may be made over time (reconnects); one is open at a time.
    std::unique_ptr<SerialPort> CreatePort();

    // The far end: what the link writes comes out here, what is written here reaches the link.
    int PeerFd() const { return m_peerFd; }

    // 0 = no pacing. Otherwise Drain() lasts as long as the written characters take on the line.
    void SetPacing(int baudRate, int bitsPerChar = 11);

    // Bytes for the link, as if a device had sent them.
    void FeedReceived(const std::vector<std::uint8_t>& bytes);
    // Every write the link made, one entry per write call.
    std::vector<std::vector<std::uint8_t>> Writes() const;
    void ClearWrites();

    // Fault switches.
    // Writes refused while the port is present (a stalled driver); EIO would read as the adapter gone.
    void SetWriteFails(bool fails, int error = EAGAIN);
    void SetOpenFails(bool fails, const std::string& reason = "the port is in use by another program");
    // The adapter is pulled out: the link's end reports a hang-up and writes fail.
    void Unplug();
    bool IsUnplugged() const;

private:
    friend class SimulatedLinePort;
    SimulatedLine();

    mutable std::mutex m_mutex;
    int m_linkFd = -1;
    int m_peerFd = -1;
    int m_baud = 0;
    int m_bitsPerChar = 11;
    bool m_writeFails = false;
    int m_writeError = EAGAIN;
    bool m_openFails = false;
    bool m_unplugged = false;
    bool m_portOpen = false;
    std::string m_openFailReason;
    std::chrono::steady_clock::time_point m_txEnd{};
    std::vector<std::vector<std::uint8_t>> m_writes;
};

} // namespace vmc
