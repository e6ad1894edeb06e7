#include "platform/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vmc {
namespace {

speed_t SpeedFor(int baud) {
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

std::string Reason(const std::string& path, int err) {
    std::string why = std::strerror(err);
    if (err == EACCES)
        why += " (the user needs to be in the 'dialout' group, or the port's permissions must allow access)";
    else if (err == EBUSY || err == EWOULDBLOCK)
        why = "the port is in use by another program";
    else if (err == ENOENT)
        why = "no such device";
    return path + ": " + why;
}

class TermiosSerialPort final : public SerialPort {
public:
    ~TermiosSerialPort() override { Close(); }

    bool Open(const SerialSettings& s, std::string* error) override {
        Close();
        m_name = s.path;
        const speed_t speed = SpeedFor(s.baudRate);
        if (speed == B0)
            return Fail(error, s.path + ": unsupported baud rate " + std::to_string(s.baudRate));
        m_fd = ::open(s.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return Fail(error, Reason(s.path, errno));
        // Exclusive like the original COM open: an advisory lock that other serial programs
        // honour, plus TIOCEXCL where the driver has it.
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            Close();
            return Fail(error, Reason(s.path, err == EWOULDBLOCK ? EBUSY : err));
        }
        termios tio{};
        if (::tcgetattr(m_fd, &tio) != 0) {
            const int err = errno;
            Close();
            return Fail(error, s.path + ": not a serial port (" + std::strerror(err) + ")");
        }
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
        tio.c_cflag |= CLOCAL | CREAD;
        switch (s.byteSize) {
        case 5: tio.c_cflag |= CS5; break;
        case 6: tio.c_cflag |= CS6; break;
        case 7: tio.c_cflag |= CS7; break;
        default: tio.c_cflag |= CS8; break;
        }
        if (s.parity == 1)
            tio.c_cflag |= PARENB | PARODD;
        else if (s.parity == 2)
            tio.c_cflag |= PARENB;
        if (s.parity != 0)
            tio.c_iflag |= INPCK; // parity checking on; a damaged byte reaches the judge as 0
        if (s.stopBits == 2)
            tio.c_cflag |= CSTOPB;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        int rc = ::tcsetattr(m_fd, TCSANOW, &tio);
        if (rc != 0 && errno == EINVAL && (tio.c_cflag & PARENB)) {
            // A pseudo-terminal has no parity; the C library reports the ignored bit as an error.
            tio.c_cflag &= ~(PARENB | PARODD);
            tio.c_iflag &= ~INPCK;
            rc = ::tcsetattr(m_fd, TCSANOW, &tio);
        }
        if (rc != 0) {
            const int err = errno;
            Close();
            return Fail(error, s.path + ": cannot set line settings (" + std::strerror(err) + ")");
        }
        m_exclusive = ::ioctl(m_fd, TIOCEXCL) == 0;
        int lines = 0;
        m_hasModemLines = ::ioctl(m_fd, TIOCMGET, &lines) == 0;
        serial_rs485 rs485{};
        const bool autoRts = ::ioctl(m_fd, TIOCGRS485, &rs485) == 0 && (rs485.flags & SER_RS485_ENABLED) &&
                             (rs485.flags & SER_RS485_RTS_ON_SEND);
        m_manualRts = m_hasModemLines && !autoRts;
        SetDtr(true);
        if (m_manualRts)
            SetRts(false);
        ::tcflush(m_fd, TCIOFLUSH);
        return true;
    }

    void Close() override {
        if (m_fd >= 0) {
            // The exclusive mode belongs to the terminal, not to this descriptor: it would outlive
            // the close wherever someone else keeps the terminal open (hartsim does), and lock out
            // every later open by a user without administrator rights, this program's included.
            // Only by the one who set it: a failed open must not free the port of its holder.
            if (m_exclusive)
                ::ioctl(m_fd, TIOCNXCL);
            m_exclusive = false;
            ::close(m_fd);
            m_fd = -1;
        }
    }
    bool IsOpen() const override { return m_fd >= 0; }
    int PollFd() const override { return m_fd; }

    long Read(std::uint8_t* buffer, std::size_t size) override {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return 0;
        if (n == 0)
            return 0;
        return n;
    }

    long Write(const std::uint8_t* data, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN) {
                    ::tcdrain(m_fd); // output queue full: let it empty, then go on
                    continue;
                }
                return -1;
            }
            done += static_cast<std::size_t>(n);
        }
        return static_cast<long>(done);
    }

    bool Drain() override { return ::tcdrain(m_fd) == 0 || errno == ENOTTY || errno == EINVAL; }
    bool NeedsManualRts() const override { return m_manualRts; }
    bool SetRts(bool on) override { return ModemLine(TIOCM_RTS, on); }
    bool SetDtr(bool on) override { return ModemLine(TIOCM_DTR, on); }
    void Purge() override {
        if (m_fd >= 0)
            ::tcflush(m_fd, TCIOFLUSH);
    }
    std::string Name() const override { return m_name; }

private:
    static bool Fail(std::string* error, const std::string& text) {
        if (error)
            *error = text;
        return false;
    }
    bool ModemLine(int bit, bool on) {
        if (m_fd < 0 || !m_hasModemLines)
            return false;
        return ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
    }

    int m_fd = -1;
    bool m_exclusive = false;
    bool m_hasModemLines = false;
    bool m_manualRts = false;
    std::string m_name;
};

} // namespace

std::unique_ptr<SerialPort> CreateTermiosPort() { return std::make_unique<TermiosSerialPort>(); }

} // namespace vmc
