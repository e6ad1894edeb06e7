#include "sim/SimLoop.h"

#include "hart/Codecs.h"
#include "platform/Log.h"
#include "platform/TimeScale.h"
#include "sim/SimCommands.h"
#include "sim/SimModels.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

using namespace std::chrono;

namespace {

bool Consume(int& counter) {
    if (counter == 0)
        return false;
    if (counter > 0)
        --counter;
    return true;
}

// A socket whose master side has gone must not kill the process with SIGPIPE: the loop just
// loses its answer, as a device does when the modem is unplugged. Terminals are written plainly.
ssize_t WriteSome(int fd, const std::uint8_t* p, std::size_t n) {
    const ssize_t w = ::send(fd, p, n, MSG_NOSIGNAL);
    if (w < 0 && errno == ENOTSOCK)
        return ::write(fd, p, n);
    return w;
}

long WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = WriteSome(fd, p + done, n - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd pfd{fd, POLLOUT, 0};
                ::poll(&pfd, 1, 100);
                continue;
            }
            return -1;
        }
        done += static_cast<std::size_t>(w);
    }
    return static_cast<long>(done);
}

} // namespace

SimLoop::SimLoop() = default;

SimLoop::~SimLoop() { Stop(); }

SimDevice& SimLoop::AddDevice(const QString& model, int pollingAddress, std::uint32_t deviceId) {
    auto d = std::make_unique<SimDevice>();
    if (!ApplyModel(*d, model))
        ApplyModel(*d, QStringLiteral("KP510"));
    d->pollingAddress = static_cast<std::uint8_t>(pollingAddress);
    d->deviceId = deviceId & 0xFFFFFF;
    d->sensorSerial = 500000 + (deviceId & 0xFFFF);
    d->finalAssembly = 100000 + (deviceId & 0xFFFF);
    d->tag = QStringLiteral("%1-%2").arg(d->model.left(4)).arg(pollingAddress, 2, 10, QLatin1Char('0'));
    std::lock_guard lock(m_mutex);
    m_devices.push_back(std::move(d));
    return *m_devices.back();
}

void SimLoop::RemoveAll() {
    std::lock_guard lock(m_mutex);
    m_devices.clear();
}

void SimLoop::SetTiming(const LineTiming& t) {
    std::lock_guard lock(m_mutex);
    m_timing = t;
}

LineTiming SimLoop::Timing() const {
    std::lock_guard lock(m_mutex);
    return m_timing;
}

SimDevice* SimLoop::AtAddress(int pollingAddress) {
    for (auto& d : m_devices)
        if (d->pollingAddress == pollingAddress)
            return d.get();
    return nullptr;
}

SimDevice* SimLoop::ById(std::uint32_t deviceId) {
    for (auto& d : m_devices)
        if (d->deviceId == deviceId)
            return d.get();
    return nullptr;
}

SimDevice* SimLoop::Addressed(const ParsedRequest& r) {
    if (r.shortFrame)
        return AtAddress(r.shortAddress);
    for (auto& d : m_devices) {
        if ((r.longAddress[0] & 0x3F) == (d->manufacturer & 0x3F) && r.longAddress[1] == d->deviceType &&
            hart::GetU24(&r.longAddress[2]) == d->deviceId)
            return d.get();
    }
    return nullptr;
}

std::optional<SimLoop::Answer> SimLoop::Respond(const ParsedRequest& r) {
    ++m_requests;
    std::lock_guard lock(m_mutex);
    Request req;
    req.command = r.command;
    req.data = r.data;
    req.shortFrame = r.shortFrame;
    req.primaryMaster = r.primaryMaster;
    req.broadcast = !r.shortFrame && (r.longAddress[0] & 0x3F) == 0 && r.longAddress[1] == 0 &&
                    r.longAddress[2] == 0 && r.longAddress[3] == 0 && r.longAddress[4] == 0;

    SimDevice* d = nullptr;
    std::optional<Reply> reply;
    if (req.broadcast && r.command == 11) {
        // Every device compares the tag; only the one that has it answers.
        for (auto& dev : m_devices) {
            if (const Handler* h = Commands().Find(11, *dev, req)) {
                Reply rep = (*h)(*dev, req);
                if (!rep.silent) {
                    d = dev.get();
                    reply = std::move(rep);
                    break;
                }
            }
        }
        if (!d)
            return std::nullopt;
    } else {
        d = Addressed(r);
        if (!d)
            return std::nullopt;
    }
    d->received[r.command]++;
    if (Consume(d->faults.silent))
        return std::nullopt;

    ResponseFrame f;
    f.preambles = d->responsePreambles;
    f.shortFrame = r.shortFrame;
    f.shortAddress = static_cast<std::uint8_t>((r.primaryMaster ? 0x80 : 0x00) | d->pollingAddress);
    f.longAddress = r.longAddress;
    if (req.broadcast) {
        f.longAddress = {static_cast<std::uint8_t>((d->manufacturer & 0x3F) | (r.primaryMaster ? 0x80 : 0)),
                         d->deviceType, static_cast<std::uint8_t>(d->deviceId >> 16),
                         static_cast<std::uint8_t>(d->deviceId >> 8), static_cast<std::uint8_t>(d->deviceId)};
    }
    f.command = r.command;

    if (Consume(d->faults.commError)) {
        f.responseCode = d->faults.commErrorCode | 0x80;
    } else if (Consume(d->faults.busy)) {
        f.responseCode = 32;
        f.deviceStatus = d->DeviceStatus();
    } else if (Consume(d->faults.refuse)) {
        f.responseCode = d->faults.refuseCode;
        f.deviceStatus = d->DeviceStatus();
    } else {
        if (!reply) {
            if (const Handler* h = Commands().Find(r.command, *d, req))
                reply = (*h)(*d, req);
            else
                reply = Reply{64, {}, false}; // command not implemented
        }
        if (reply->silent)
            return std::nullopt;
        f.responseCode = reply->responseCode;
        f.data = std::move(reply->data);
        f.deviceStatus = d->DeviceStatus();
        d->coldStart = false;
    }
    Answer a;
    a.bytes = BuildResponse(f);
    if (Consume(d->faults.badCheck))
        a.bytes.back() ^= 0x5A;
    if (Consume(d->faults.noise)) {
        std::vector<std::uint8_t> noise;
        for (int i = 0; i < d->faults.noiseBytes; ++i)
            noise.push_back(static_cast<std::uint8_t>(0x11 * (i + 1) & 0x7F));
        a.bytes.insert(a.bytes.begin(), noise.begin(), noise.end());
    }
    a.extraDelayMs = d->faults.slowMs;
    d->answers++;
    return a;
}

void SimLoop::Start(int fd) {
    Stop();
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_stop = false;
    m_thread = std::thread([this, fd] { Run(fd); });
}

void SimLoop::Stop() {
    if (m_thread.joinable()) {
        m_stop = true;
        const char c = 1;
        [[maybe_unused]] auto n = ::write(m_wake[1], &c, 1);
        m_thread.join();
    }
    for (int& fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SimLoop::DropUnheard(int fd) {
    std::uint8_t sink[512];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN) || ::read(fd, sink, sizeof sink) <= 0)
            return;
    }
}

void SimLoop::Send(int fd, const Answer& a, steady_clock::time_point requestEnd) {
    const LineTiming t = Timing();
    const auto charTime = t.baudRate > 0 ? microseconds(1000000LL * t.bitsPerChar / t.baudRate) : microseconds(0);
    auto start = requestEnd;
    if (t.baudRate > 0)
        start += vmc::Scaled(milliseconds(t.turnaroundMs));
    start += vmc::Scaled(milliseconds(a.extraDelayMs));
    std::this_thread::sleep_until(start);
    DropUnheard(fd);
    if (t.baudRate <= 0) {
        WriteAll(fd, a.bytes.data(), a.bytes.size());
        return;
    }
    // A character is complete on the line one character time after it starts.
    for (std::size_t i = 0; i < a.bytes.size() && !m_stop; ++i) {
        std::this_thread::sleep_until(start + vmc::Scaled(charTime * static_cast<long>(i + 1)));
        if (WriteAll(fd, &a.bytes[i], 1) < 0)
            return;
    }
}

void SimLoop::Run(int fd) {
    std::vector<std::uint8_t> buffer;
    bool lineUp = true;
    while (!m_stop) {
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {fd, POLLIN, 0}};
        const int n = ::poll(fds, lineUp ? 2 : 1, -1);
        if (n < 0 && errno != EINTR)
            break;
        if (m_stop)
            break;
        if (!lineUp)
            continue;
        if (fds[1].revents & POLLIN) {
            std::uint8_t chunk[512];
            const ssize_t r = ::read(fd, chunk, sizeof chunk);
            if (r > 0) {
                buffer.insert(buffer.end(), chunk, chunk + r);
            } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
                lineUp = false; // the other end is gone; wait to be stopped
                continue;
            }
        } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            lineUp = false;
            continue;
        }
        for (;;) {
            ParsedRequest req;
            std::size_t consumed = 0;
            const ParseStatus st = ParseRequest(buffer.data(), buffer.size(), req, &consumed);
            if (st == ParseStatus::NeedMore)
                break;
            buffer.erase(buffer.begin(), buffer.begin() + static_cast<long>(consumed));
            if (st == ParseStatus::Skip)
                continue;
            const auto now = steady_clock::now();
            const LineTiming t = Timing();
            // The request arrived in one burst; on a paced line it ends after its characters.
            auto requestEnd = now;
            if (t.baudRate > 0)
                requestEnd += vmc::Scaled(microseconds(1000000LL * t.bitsPerChar / t.baudRate) *
                                          static_cast<long>(consumed));
            qCDebug(lcSim) << "request" << req.command << "bytes" << consumed;
            if (auto answer = Respond(req)) {
                m_answering = true;
                Send(fd, *answer, requestEnd);
                m_answering = false;
                buffer.clear(); // sent before the answer: not heard either
                break;
            }
        }
        if (buffer.size() > 4096)
            buffer.clear();
    }
}

} // namespace sim
