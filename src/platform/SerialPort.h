#pragma once
// The byte pipe under the HART link. One interface, three implementations: termios on a real
// serial device or pseudo-terminal, and an in-process line whose far end is a simulated loop.
// Only the link thread calls these (the port is owned by it while connected).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vmc {

struct SerialSettings {
    std::string path;
    int baudRate = 1200;
    int byteSize = 8;
    int parity = 1;   // 0 none, 1 odd, 2 even
    int stopBits = 0; // 0 one, 2 two
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens exclusively. On failure returns false and describes the reason in *error.
    virtual bool Open(const SerialSettings& settings, std::string* error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Descriptor that polls readable when bytes are waiting, and reports POLLHUP/POLLERR when the
    // device has gone.
    virtual int PollFd() const = 0;
    // Returns bytes read, 0 when none are waiting, -1 on a port failure (errno set).
    virtual long Read(std::uint8_t* buffer, std::size_t size) = 0;
    // Writes the whole buffer or fails; returns bytes written or -1.
    virtual long Write(const std::uint8_t* data, std::size_t size) = 0;
    // Returns once the transmit queue is empty (the frame has left the line driver).
    virtual bool Drain() = 0;
    // True when the link must switch RTS itself around each frame (no RS-485 auto-RTS in the
    // driver, but modem lines exist). A pseudo-terminal has no modem lines at all.
    virtual bool NeedsManualRts() const = 0;
    virtual bool SetRts(bool on) = 0;
    virtual bool SetDtr(bool on) = 0;
    // Drops whatever is queued in either direction.
    virtual void Purge() = 0;
    virtual std::string Name() const = 0;
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

std::unique_ptr<SerialPort> CreateTermiosPort();

} // namespace vmc
