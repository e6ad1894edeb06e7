#pragma once
// The link thread: owns the serial port while connected, writes each frame (switching RTS where
// the driver does not), runs the response timer and the retries, collects and judges the answer,
// and reports every step to the UI side. It judges an answer as soon as its byte count says it is
// complete, or a damaged one once the line has been quiet for two character times.
#include "link/FrameFormat.h"
#include "platform/SerialPort.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace hart {

// Link states; the numbers travel in WM_HART_COMSTATE.
enum ComState : int {
    IDLE_COM_STATE = 0,
    SEND_COM_STATE = 1,
    RECEIVE_COM_STATE = 2,
    WAIT_COM_STATE = 3,
    RETRY_COM_STATE = 4,
    COMERROR_COM_STATE = 5,
    NORESPONSE_COM_STATE = 6,
};

inline constexpr int kResponseTimerId = 10;
inline constexpr int kResponseTimeoutMs = 1500;
inline constexpr int kRtsLeadMs = 10;
inline constexpr int kRtsTailMs = 10;

struct LinkJob {
    std::uint64_t serial = 0;
    std::vector<std::uint8_t> frame;
    JudgeContext judge;
};

// Called on the link thread; the UI side queues each call to its own thread.
class LinkEvents {
public:
    virtual ~LinkEvents() = default;
    virtual void OnState(std::uint64_t serial, int state, int attempt) = 0;
    virtual void OnJudged(std::uint64_t serial, std::vector<std::uint8_t> raw, const JudgedFrame& frame,
                          int attempt) = 0;
    // Attempts spent: NORESPONSE_COM_STATE or COMERROR_COM_STATE.
    virtual void OnExhausted(std::uint64_t serial, int state) = 0;
    virtual void OnPortLost(int error) = 0;
};

class LinkThread {
public:
    LinkThread(std::unique_ptr<vmc::SerialPort> port, LinkEvents* events, int baudRate);
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    bool Start();
    // Stops the thread and hands the port back (for the closing steps of a disconnect).
    std::unique_ptr<vmc::SerialPort> Stop();

    // Starts a transaction (abandoning any open one) and returns once the frame has been written:
    // true when the whole frame went to the port.
    bool Send(LinkJob job);
    // Abandons the open transaction: no more retries, nothing more reported for it.
    void Cancel();
    void SetRetryCount(int n) { m_retryCount.store(n); }
    bool IsLost() const { return m_lost.load(); }

private:
    using Clock = std::chrono::steady_clock;
    void Run();
    void Wake();
    void BeginJob(LinkJob job);
    void WriteFrame(bool firstAttempt);
    void ReadBytes();
    void Judge();
    void OnResponseTimer();
    void OnQuietLine();
    void Retry();
    void PortLost(int err);
    void SetState(int s);
    void ArmResponseTimer();

    std::unique_ptr<vmc::SerialPort> m_port;
    LinkEvents* m_events;
    std::chrono::microseconds m_charTime;
    std::thread m_thread;
    int m_wakePipe[2] = {-1, -1};

    // Mailbox from the UI thread.
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::optional<LinkJob> m_pendingJob;
    std::optional<bool> m_writeResult;
    bool m_stop = false;
    bool m_cancel = false;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_lost{false};
    std::atomic<int> m_retryCount{6};

    // Link-thread state.
    LinkJob m_job;
    bool m_haveJob = false;
    int m_state = IDLE_COM_STATE;
    int m_attempt = 1;
    bool m_retryTimer = false;
    std::uint8_t m_rx[kFrameBufferSize] = {};
    int m_rxSize = 0;
    int m_judgedSize = 0;
    std::optional<Clock::time_point> m_responseDeadline;
    std::optional<Clock::time_point> m_quietDeadline;
    std::optional<Clock::time_point> m_rtsOffDeadline;
    std::optional<Clock::time_point> m_drainUntil; // after an answer: swallow its tail
};

} // namespace hart
