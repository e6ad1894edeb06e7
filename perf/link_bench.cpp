// Link timing on a paced 1200-baud simulated line: each transaction's wall time beside the time
// the line itself needs (request and answer characters at 11 bits, plus the device's turnaround).
// A ratio near 1.00 means the link adds nothing the line does not impose.
#include "link/LinkSession.h"
#include "platform/SimulatedLine.h"
#include "platform/TimeScale.h"
#include "shell/SearchDialog.h"
#include "shell/StandalonePageHost.h"
#include "sim/SimLoop.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

constexpr int kBaud = 1200;
constexpr int kBitsPerChar = 11;

struct Result {
    const char* name;
    double measuredMs;
    double lineMs;
};

double LineMs(std::size_t requestBytes, int responseBytes, int turnaroundMs) {
    return (static_cast<double>(requestBytes) + responseBytes) * kBitsPerChar * 1000.0 / kBaud + turnaroundMs;
}

// The device search of the window over addresses 0..15 with devices at 0, 3 and 7: every found
// device costs its command 0 and 13 transactions, every empty address two attempts of a
// 10-character request and the 1500 ms response timer, and the dialog waits 500 ms at the end.
Result SearchScenario(int turnaround) {
    auto line = vmc::SimulatedLine::Create();
    line->SetPacing(kBaud, kBitsPerChar);
    sim::SimLoop loop;
    for (int a : {0, 3, 7})
        loop.AddDevice("KP510", a, 0x00A100 + static_cast<std::uint32_t>(a));
    loop.SetTiming({kBaud, kBitsPerChar, turnaround});
    loop.Start(line->PeerFd());
    CStandalonePageHost host;
    host.Comm().SetPortFactory([line] { return line->CreatePort(); });
    host.Comm().Connect();
    host.Comm().SetRetryCount(2);
    std::array<int, 16> addresses{};
    for (int i = 0; i < 16; ++i)
        addresses[static_cast<std::size_t>(i)] = i;
    CSearchDialog dialog(host, addresses, 16);
    const auto t0 = std::chrono::steady_clock::now();
    dialog.open();
    while (dialog.isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const auto t1 = std::chrono::steady_clock::now();
    loop.Stop();
    
    double expected = 500.0;
    const double request0 = 10.0 * kBitsPerChar * 1000.0 / kBaud;
    expected += 13 * 2 * (request0 + 1500.0);
    // Found devices: command 0 (10 + 24 characters) and command 13 (14 + 37 characters).
    expected += 3 * (LineMs(10, 24, turnaround) + LineMs(14, 37, turnaround));
    return {"search 0..15", std::chrono::duration<double, std::milli>(t1 - t0).count(), expected};
}

// The multi-drop trend's pass: command 3 to each of four transmitters at addresses 1..4 in turn,
// one transaction at a time, as the trend page polls them with no pause between passes.
Result MultiDropScenario(int turnaround, int passes) {
    auto line = vmc::SimulatedLine::Create();
    line->SetPacing(kBaud, kBitsPerChar);
    sim::SimLoop loop;
    for (int a = 1; a <= 4; ++a)
        loop.AddDevice("KP510", a, 0x00A200 + static_cast<std::uint32_t>(a));
    loop.SetTiming({kBaud, kBitsPerChar, turnaround});
    loop.Start(line->PeerFd());
    hart::LinkSession session;
    session.Comm().SetPortFactory([line] { return line->CreatePort(); });
    if (!session.Comm().Connect()) {
        std::fprintf(stderr, "cannot connect the simulated line\n");
        std::exit(1);
    }
    for (int a = 1; a <= 4; ++a)
        session.Transact(a, 0, {}, false); // the long addresses the trend's frames carry
    double measured = 0.0, physical = 0.0;
    for (int p = 0; p < passes; ++p) {
        for (int a = 1; a <= 4; ++a) {
            line->ClearWrites();
            const auto t0 = std::chrono::steady_clock::now();
            const hart::Outcome out = session.Transact(a, 3, {}, false);
            const auto t1 = std::chrono::steady_clock::now();
            if (!out.ok()) {
                std::fprintf(stderr, "command 3 to address %d failed\n", a);
                std::exit(1);
            }
            measured += std::chrono::duration<double, std::milli>(t1 - t0).count();
            physical += LineMs(line->Writes().back().size(), session.Comm().ReadDataSize(), turnaround);
        }
    }
    session.Comm().Disconnect();
    loop.Stop();
    // Per pass of four devices.
    return {"multi-drop x4", measured / passes, physical / passes};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vmc::SetTimeScale(1.0);
    int rounds = 10;
    int turnaround = 20;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rounds")
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--turnaround")
            turnaround = std::max(0, std::atoi(argv[++i]));
    }

    auto line = vmc::SimulatedLine::Create();
    line->SetPacing(kBaud, kBitsPerChar);
    sim::SimLoop loop;
    loop.AddDevice("KP510", 0, 0x00A101);
    loop.SetTiming({kBaud, kBitsPerChar, turnaround});
    loop.Start(line->PeerFd());
    hart::LinkSession session;
    session.Comm().SetPortFactory([line] { return line->CreatePort(); });
    if (!session.Comm().Connect()) {
        std::fprintf(stderr, "cannot connect the simulated line\n");
        return 1;
    }

    std::vector<Result> results;
    for (int cmd : {0, 3, 13}) {
        std::vector<double> measured, physical;
        for (int r = 0; r < rounds; ++r) {
            line->ClearWrites();
            const auto t0 = std::chrono::steady_clock::now();
            const hart::Outcome out = session.Transact(0, cmd, {}, cmd != 0);
            const auto t1 = std::chrono::steady_clock::now();
            if (!out.ok()) {
                std::fprintf(stderr, "command %d failed\n", cmd);
                return 1;
            }
            const auto writes = line->Writes();
            measured.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            physical.push_back(LineMs(writes.back().size(), session.Comm().ReadDataSize(), turnaround));
        }
        std::sort(measured.begin(), measured.end());
        const double median = measured[measured.size() / 2];
        const double line_ms = std::accumulate(physical.begin(), physical.end(), 0.0) / physical.size();
        results.push_back({cmd == 0 ? "command 0" : cmd == 3 ? "command 3" : "command 13", median, line_ms});
    }
    session.Comm().Disconnect();
    loop.Stop();
    results.push_back(SearchScenario(turnaround));
    results.push_back(MultiDropScenario(turnaround, rounds));
    std::printf("%-14s %12s %12s %8s\n", "transaction", "measured ms", "line ms", "ratio");
    for (const auto& r : results)
        std::printf("%-14s %12.1f %12.1f %8.3f\n", r.name, r.measuredMs, r.lineMs, r.measuredMs / r.lineMs);
    return 0;
}
