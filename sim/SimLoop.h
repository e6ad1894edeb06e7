#pragma once
// A multidrop loop of simulated devices behind one serial line. It serves any descriptor: the far
// end of an in-process line, or the master side of a pseudo-terminal (hartsim). Requests are
// answered by the addressed device with the faults it has been given; with pacing on, every
// character takes its 11 bits at the line's baud rate and the device turns around like a real one.
#include "sim/SimDevice.h"
#include "sim/SlaveFraming.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sim {

struct LineTiming {
    int baudRate = 0;     // 0: no pacing, answers go out at once
    int bitsPerChar = 11;
    int turnaroundMs = 20; // used when paced
};

class SimLoop {
public:
    SimLoop();
    ~SimLoop();
    SimLoop(const SimLoop&) = delete;
    SimLoop& operator=(const SimLoop&) = delete;

    // Adds a device of a model at a polling address; ids must be unique on a loop.
    SimDevice& AddDevice(const QString& model, int pollingAddress, std::uint32_t deviceId);
    void RemoveAll();
    void SetTiming(const LineTiming& t);
    LineTiming Timing() const;

    // Serves the descriptor on a thread of its own until Stop(). The loop does not own the fd.
    void Start(int fd);
    void Stop();

    // Access to the devices from other threads: runs f under the loop's lock.
    template <class F> auto With(F&& f) {
        std::lock_guard lock(m_mutex);
        return f(*this);
    }
    std::vector<std::unique_ptr<SimDevice>>& Devices() { return m_devices; }
    SimDevice* AtAddress(int pollingAddress);
    SimDevice* ById(std::uint32_t deviceId);

    // The answer to one request frame, faults applied (empty: silence). Caller holds no lock.
    struct Answer {
        std::vector<std::uint8_t> bytes;
        int extraDelayMs = 0;
    };
    std::optional<Answer> Respond(const ParsedRequest& request);
    int RequestCount() const { return m_requests.load(); }
    // True while a device is turning around or sending an answer.
    bool Answering() const { return m_answering.load(); }

private:
    void Run(int fd);
    void Send(int fd, const Answer& a, std::chrono::steady_clock::time_point requestEnd);
    // A device busy with an answer does not hear the line: what the master sent meanwhile (its
    // retries, when the device is slower than the response timer) is lost, as on a real loop.
    static void DropUnheard(int fd);
    SimDevice* Addressed(const ParsedRequest& r);

    mutable std::mutex m_mutex;
    std::vector<std::unique_ptr<SimDevice>> m_devices;
    LineTiming m_timing;
    std::thread m_thread;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::atomic<bool> m_answering{false};
};

} // namespace sim
