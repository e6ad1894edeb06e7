#include "platform/SimulatedLine.h"

#include "platform/TimeScale.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vmc {

class SimulatedLinePort final : public SerialPort {
public:
    explicit SimulatedLinePort(std::shared_ptr<SimulatedLine> line) : m_line(std::move(line)) {}
    ~SimulatedLinePort() override { Close(); }

    bool Open(const SerialSettings&, std::string* error) override {
        std::lock_guard lock(m_line->m_mutex);
        if (m_line->m_unplugged || m_line->m_openFails || m_line->m_portOpen) {
            if (error)
                *error = "simulated loop: " + (m_line->m_unplugged ? std::string("no such device")
                                               : m_line->m_openFails ? m_line->m_openFailReason
                                                                     : std::string("the port is in use by another program"));
            return false;
        }
        m_line->m_portOpen = true;
        m_open = true;
        return true;
    }
    void Close() override {
        if (!m_open)
            return;
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_portOpen = false;
        m_open = false;
    }
    bool IsOpen() const override { return m_open; }
    int PollFd() const override { return m_line->m_linkFd; }

    long Read(std::uint8_t* buffer, std::size_t size) override {
        const ssize_t n = ::recv(m_line->m_linkFd, buffer, size, MSG_DONTWAIT);
        if (n < 0)
            return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
        if (n == 0) { // far end shut down: the device is gone
            errno = EIO;
            return -1;
        }
        return n;
    }

    long Write(const std::uint8_t* data, std::size_t size) override {
        std::chrono::steady_clock::time_point start;
        {
            std::lock_guard lock(m_line->m_mutex);
            if (m_line->m_writeFails || m_line->m_unplugged) {
                errno = m_line->m_unplugged ? EIO : m_line->m_writeError;
                return -1;
            }
            m_line->m_writes.emplace_back(data, data + size);
            start = std::max(std::chrono::steady_clock::now(), m_line->m_txEnd);
            if (m_line->m_baud > 0) {
                const auto perChar = std::chrono::microseconds(1000000LL * m_line->m_bitsPerChar / m_line->m_baud);
                m_line->m_txEnd = start + Scaled(perChar * static_cast<long>(size));
            }
        }
        const ssize_t n = ::send(m_line->m_linkFd, data, size, MSG_NOSIGNAL);
        return n < 0 ? -1 : static_cast<long>(n);
    }

    bool Drain() override {
        std::chrono::steady_clock::time_point until;
        {
            std::lock_guard lock(m_line->m_mutex);
            until = m_line->m_txEnd;
        }
        std::this_thread::sleep_until(until);
        return true;
    }
    bool NeedsManualRts() const override { return false; }
    bool SetRts(bool) override { return false; }
    bool SetDtr(bool) override { return false; }
    void Purge() override {
        std::uint8_t sink[256];
        while (::recv(m_line->m_linkFd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
        }
    }
    std::string Name() const override { return "simulated loop"; }

private:
    std::shared_ptr<SimulatedLine> m_line;
    bool m_open = false;
};

std::shared_ptr<SimulatedLine> SimulatedLine::Create() { return std::shared_ptr<SimulatedLine>(new SimulatedLine()); }

SimulatedLine::SimulatedLine() {
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) == 0) {
        m_linkFd = sv[0];
        m_peerFd = sv[1];
    }
}

SimulatedLine::~SimulatedLine() {
    if (m_linkFd >= 0)
        ::close(m_linkFd);
    if (m_peerFd >= 0)
        ::close(m_peerFd);
}

std::unique_ptr<SerialPort> SimulatedLine::CreatePort() {
    return std::make_unique<SimulatedLinePort>(shared_from_this());
}

void SimulatedLine::SetPacing(int baudRate, int bitsPerChar) {
    std::lock_guard lock(m_mutex);
    m_baud = baudRate;
    m_bitsPerChar = bitsPerChar;
}

void SimulatedLine::FeedReceived(const std::vector<std::uint8_t>& bytes) {
    if (!bytes.empty())
        [[maybe_unused]] auto n = ::send(m_peerFd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

std::vector<std::vector<std::uint8_t>> SimulatedLine::Writes() const {
    std::lock_guard lock(m_mutex);
    return m_writes;
}

void SimulatedLine::ClearWrites() {
    std::lock_guard lock(m_mutex);
    m_writes.clear();
}

void SimulatedLine::SetWriteFails(bool fails, int error) {
    std::lock_guard lock(m_mutex);
    m_writeFails = fails;
    m_writeError = error;
}

void SimulatedLine::SetOpenFails(bool fails, const std::string& reason) {
    std::lock_guard lock(m_mutex);
    m_openFails = fails;
    m_openFailReason = reason;
}

void SimulatedLine::Unplug() {
    std::lock_guard lock(m_mutex);
    m_unplugged = true;
    ::shutdown(m_peerFd, SHUT_RDWR);
}

bool SimulatedLine::IsUnplugged() const {
    std::lock_guard lock(m_mutex);
    return m_unplugged;
}

} // namespace vmc
