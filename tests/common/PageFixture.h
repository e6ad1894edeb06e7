#pragma once
// Pages and dialogs driven against a simulated loop without the main window: a standalone page
// host whose link runs over an in-process line to a SimLoop. The line keeps every frame written,
// so tests assert the commands (and their data) in the order they went out.
#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "hart/Codecs.h"
#include "shell/StandalonePageHost.h"

#include <QTest>

namespace testing_support {

struct SentFrame {
    int command;
    hart::Bytes data;
};

// Command and data bytes of every request frame written to the line, in order.
inline std::vector<SentFrame> SentFrames(const vmc::SimulatedLine& line) {
    std::vector<SentFrame> out;
    for (const auto& w : line.Writes()) {
        std::size_t i = 0;
        while (i < w.size() && w[i] == 0xFF)
            ++i;
        if (i >= w.size())
            continue;
        const std::size_t cmdAt = i + ((w[i] & 0x80) ? 6 : 2);
        if (cmdAt + 1 >= w.size())
            continue;
        const std::size_t count = w[cmdAt + 1];
        const auto from = w.begin() + static_cast<long>(cmdAt + 2);
        const auto to = w.begin() + static_cast<long>(std::min(w.size() - 1, cmdAt + 2 + count));
        out.push_back({w[cmdAt], hart::Bytes(from, to)});
    }
    return out;
}

inline std::vector<int> SentCommands(const vmc::SimulatedLine& line) {
    std::vector<int> out;
    for (const auto& f : SentFrames(line))
        out.push_back(f.command);
    return out;
}

class PageOnSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        line = vmc::SimulatedLine::Create();
        host = std::make_unique<CStandalonePageHost>();
        host->Comm().SetPortFactory([l = line] { return l->CreatePort(); });
    }
    void TearDown() override {
        host.reset();
        loop.Stop();
    }
    // Starts the loop, connects, and identifies the device at the address as the search does
    // (commands 0 and 13), so the record is filled and the address is current.
    void ConnectTo(int address) {
        loop.Start(line->PeerFd());
        ASSERT_EQ(host->Comm().Connect(), 1) << host->Comm().LastConnectError();
        Identify(address);
        line->ClearWrites();
    }
    void Identify(int address) {
        Recorder r;
        host->Relay().SetReceiver(r.Handle());
        for (int cmd : {0, 13}) {
            host->Comm().SetPollingAddress(address);
            ASSERT_EQ(host->Comm().Request(cmd, 0), 1);
            ASSERT_TRUE(WaitIdle());
        }
        host->Relay().SetReceiver({});
    }
    // Until the link has nothing open (answered or failed) and posted messages are handled.
    bool WaitIdle(int limitMs = 5000) {
        const bool ok = SpinUntil(
            [&] {
                const int s = host->Comm().GetComState();
                return s == 0 || s == 5 || s == 6;
            },
            limitMs);
        QCoreApplication::processEvents();
        return ok;
    }
    // Until n request frames went out and the last transaction ended.
    bool WaitSent(std::size_t n, int limitMs = 5000) {
        return SpinUntil([&] { return SentCommands(*line).size() >= n; }, limitMs) && WaitIdle(limitMs);
    }
    sim::SimDevice& Device(int address) {
        return *loop.With([&](sim::SimLoop& l) { return l.AtAddress(address); });
    }

    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    std::unique_ptr<CStandalonePageHost> host;
};

} // namespace testing_support
