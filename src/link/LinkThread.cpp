#include "link/LinkThread.h"

#include "platform/Log.h"
#include "platform/TimeScale.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace hart {

using namespace std::chrono;

LinkThread::LinkThread(std::unique_ptr<vmc::SerialPort> port, LinkEvents* events, int baudRate)
    : m_port(std::move(port)), m_events(events),
      m_charTime(microseconds(11LL * 1000000 / (baudRate > 0 ? baudRate : 1200))) {}

LinkThread::~LinkThread() { Stop(); }

bool LinkThread::Start() {
    if (::pipe2(m_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    m_running = true;
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (...) {
        m_running = false;
        return false;
    }
    return true;
}

std::unique_ptr<vmc::SerialPort> LinkThread::Stop() {
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        Wake();
        m_thread.join();
    }
    for (int& fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    return std::move(m_port);
}

void LinkThread::Wake() {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(m_wakePipe[1], &c, 1);
}

bool LinkThread::Send(LinkJob job) {
    std::unique_lock lock(m_mutex);
    if (!m_running || m_lost)
        return false;
    m_pendingJob = std::move(job);
    m_writeResult.reset();
    lock.unlock();
    Wake();
    lock.lock();
    // The thread answers within one frame time (it may be finishing the previous frame).
    m_cv.wait_for(lock, seconds(5), [this] { return m_writeResult.has_value() || !m_running || m_lost; });
    const bool ok = m_writeResult.value_or(false);
    m_pendingJob.reset();
    return ok;
}

void LinkThread::Cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancel = true;
    }
    Wake();
}

void LinkThread::SetState(int s) {
    m_state = s;
    m_events->OnState(m_job.serial, s, m_attempt);
}

void LinkThread::ArmResponseTimer() {
    m_responseDeadline = Clock::now() + vmc::Scaled(milliseconds(kResponseTimeoutMs));
}

void LinkThread::BeginJob(LinkJob job) {
    m_job = std::move(job);
    m_haveJob = true;
    m_attempt = 1;
    m_retryTimer = false;
    m_responseDeadline.reset();
    m_quietDeadline.reset();
    m_drainUntil.reset();
    // Whatever arrived since the last transaction (an answer that came after its attempts were
    // spent) is no answer to this request; left queued, it would be taken for this one's.
    m_port->Purge();
    WriteFrame(true);
}

void LinkThread::WriteFrame(bool firstAttempt) {
    // The UI side has already announced the first send; retries announce their own.
    m_state = SEND_COM_STATE;
    if (!firstAttempt)
        SetState(SEND_COM_STATE);
    const bool manualRts = m_port->NeedsManualRts();
    if (manualRts) {
        m_port->SetRts(true);
        std::this_thread::sleep_for(vmc::Scaled(milliseconds(kRtsLeadMs))); // modem carrier turn-on
    }
    const long n = m_port->Write(m_job.frame.data(), m_job.frame.size());
    const int writeErr = errno;
    const bool ok = n == static_cast<long>(m_job.frame.size());
    const bool portGone = n < 0 && (writeErr == EIO || writeErr == ENXIO || writeErr == ENODEV);
    if (!ok) {
        qCDebug(lcLink) << "write failed" << n;
        if (manualRts)
            m_port->SetRts(false);
        // Before the result goes out, so a request refused here already reads as a lost port.
        if (portGone)
            PortLost(writeErr);
    }
    if (firstAttempt) {
        std::lock_guard lock(m_mutex);
        m_writeResult = ok;
        m_cv.notify_all();
    }
    if (!ok) {
        if (firstAttempt || portGone) {
            m_haveJob = false; // the requester hears of it from Send()
            m_state = IDLE_COM_STATE;
            return;
        }
        // A retry that did not go out counts as an attempt that was not answered.
        m_rxSize = 0;
        m_judgedSize = 0;
        SetState(WAIT_COM_STATE);
        ArmResponseTimer();
        return;
    }
    m_port->Drain();
    m_rxSize = 0;
    m_judgedSize = 0;
    std::fill(std::begin(m_rx), std::end(m_rx), std::uint8_t{0});
    SetState(WAIT_COM_STATE);
    ArmResponseTimer();
    if (manualRts)
        m_rtsOffDeadline = Clock::now() + vmc::Scaled(milliseconds(kRtsTailMs));
}

void LinkThread::ReadBytes() {
    std::uint8_t chunk[kFrameBufferSize];
    const bool collecting = m_state == WAIT_COM_STATE || m_state == RECEIVE_COM_STATE;
    for (;;) {
        const long n = m_port->Read(chunk, sizeof chunk);
        if (n < 0) {
            PortLost(errno);
            return;
        }
        if (n == 0)
            break;
        if (!collecting)
            continue; // the tail of an accepted answer
        for (long i = 0; i < n; ++i) {
            SetState(RECEIVE_COM_STATE);
            StoreReceivedByte(m_rx, m_rxSize, chunk[i]); // a run-away stream stops at the buffer's end
        }
    }
    if (!collecting) {
        m_drainUntil = Clock::now() + vmc::Scaled(m_charTime * 2);
        return;
    }
    const FrameProgress p = CheckProgress(m_rx, m_rxSize);
    if (m_judgedSize == 0 && (p == FrameProgress::Complete || m_rxSize >= kFrameBufferSize)) {
        Judge();
        return;
    }
    m_quietDeadline = Clock::now() + vmc::Scaled(m_charTime * 2);
}

void LinkThread::Judge() {
    m_quietDeadline.reset();
    const JudgedFrame f = JudgeFrame(m_rx, m_rxSize, m_job.judge);
    m_judgedSize = m_rxSize;
    m_events->OnJudged(m_job.serial, std::vector<std::uint8_t>(m_rx, m_rx + m_rxSize), f, m_attempt);
    if (f.verdict == Verdict::Accepted) {
        // The UI side delivers it and goes idle; this side stops collecting.
        m_state = IDLE_COM_STATE;
        m_haveJob = false;
        m_responseDeadline.reset();
        m_drainUntil = Clock::now() + vmc::Scaled(m_charTime * 2);
        return;
    }
    m_retryTimer = true;
    ArmResponseTimer();
}

void LinkThread::OnQuietLine() {
    m_quietDeadline.reset();
    if (m_rxSize > 8 && m_rxSize > m_judgedSize) {
        Judge();
        return;
    }
    if (m_judgedSize > 0)
        return; // nothing new since the last verdict; the response timer decides
    // Too few bytes for an answer: wait for more, the response timer decides.
    m_retryTimer = true;
    ArmResponseTimer();
    SetState(WAIT_COM_STATE);
}

void LinkThread::Retry() {
    ++m_attempt;
    SetState(RETRY_COM_STATE);
    WriteFrame(false);
}

void LinkThread::OnResponseTimer() {
    m_responseDeadline.reset();
    if (!m_haveJob)
        return;
    if (m_state == WAIT_COM_STATE && m_rxSize <= 8) {
        if (m_attempt < m_retryCount.load()) {
            Retry();
        } else {
            m_haveJob = false;
            m_state = NORESPONSE_COM_STATE;
            m_events->OnExhausted(m_job.serial, NORESPONSE_COM_STATE);
        }
    } else if (m_state == RECEIVE_COM_STATE && m_retryTimer) {
        m_retryTimer = false;
        if (m_attempt < m_retryCount.load()) {
            Retry();
        } else {
            m_haveJob = false;
            m_state = COMERROR_COM_STATE;
            m_events->OnExhausted(m_job.serial, COMERROR_COM_STATE);
        }
    }
}

void LinkThread::PortLost(int err) {
    if (m_lost.exchange(true))
        return;
    qCWarning(lcLink) << "serial port lost:" << err;
    m_haveJob = false;
    m_responseDeadline.reset();
    m_quietDeadline.reset();
    {
        std::lock_guard lock(m_mutex);
        m_cv.notify_all();
    }
    m_events->OnPortLost(err);
}

void LinkThread::Run() {
    for (;;) {
        const auto now = Clock::now();
        std::optional<Clock::time_point> next;
        for (const auto& d : {m_responseDeadline, m_quietDeadline, m_rtsOffDeadline, m_drainUntil})
            if (d && (!next || *d < *next))
                next = d;
        timespec ts{};
        timespec* timeout = nullptr;
        if (next) {
            const auto left = std::max(Clock::duration::zero(), *next - now);
            const auto ns = duration_cast<nanoseconds>(left).count();
            ts.tv_sec = static_cast<time_t>(ns / 1000000000);
            ts.tv_nsec = static_cast<long>(ns % 1000000000);
            timeout = &ts;
        }
        pollfd fds[2] = {{m_wakePipe[0], POLLIN, 0}, {-1, 0, 0}};
        int nfds = 1;
        if (!m_lost) {
            const bool reading = m_state == WAIT_COM_STATE || m_state == RECEIVE_COM_STATE || m_drainUntil;
            fds[1] = {m_port->PollFd(), static_cast<short>(reading ? POLLIN : 0), 0};
            nfds = 2;
        }
        const int r = ::ppoll(fds, static_cast<nfds_t>(nfds), timeout, nullptr);
        if (r < 0 && errno != EINTR)
            break;

        if (fds[0].revents & POLLIN) {
            char sink[64];
            while (::read(m_wakePipe[0], sink, sizeof sink) > 0) {
            }
            std::optional<LinkJob> job;
            {
                std::lock_guard lock(m_mutex);
                if (m_stop)
                    break;
                if (m_cancel) {
                    m_cancel = false;
                    m_haveJob = false;
                    m_state = IDLE_COM_STATE;
                    m_responseDeadline.reset();
                    m_quietDeadline.reset();
                }
                if (m_pendingJob && !m_writeResult) {
                    job = m_pendingJob; // copy: the UI side clears the slot once answered
                }
            }
            if (job && !m_lost)
                BeginJob(std::move(*job));
        }
        if (nfds == 2 && !m_lost) {
            if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                if (fds[1].revents & POLLIN)
                    ReadBytes();
                PortLost(EIO);
            } else if (fds[1].revents & POLLIN) {
                ReadBytes();
            }
        }
        const auto t = Clock::now();
        if (m_rtsOffDeadline && *m_rtsOffDeadline <= t) {
            m_rtsOffDeadline.reset();
            m_port->SetRts(false);
        }
        if (m_drainUntil && *m_drainUntil <= t)
            m_drainUntil.reset();
        if (m_quietDeadline && *m_quietDeadline <= t)
            OnQuietLine();
        if (m_responseDeadline && *m_responseDeadline <= t)
            OnResponseTimer();
    }
    std::lock_guard lock(m_mutex);
    m_running = false;
    m_cv.notify_all();
}

} // namespace hart
