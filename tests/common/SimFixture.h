#pragma once
// A link connected to a simulated loop over an in-process line, for tests of everything above
// the serial port.
#include "link/LinkSession.h"
#include "platform/MessageBox.h"
#include "platform/SimulatedLine.h"
#include "sim/SimLoop.h"
#include "sim/SlaveFraming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace testing_support {

// The scripted responder installed by the test main.
inline vmc::ScriptedMessageBoxes& Boxes() { return static_cast<vmc::ScriptedMessageBoxes&>(vmc::MessageBoxes()); }

// Runs the event loop until pred() holds or the (unscaled) limit passes; returns pred().
template <class Pred> bool SpinUntil(Pred pred, int limitMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

// Every request frame written on the line, in order; noise and partial frames are skipped.
inline std::vector<sim::ParsedRequest> ParsedRequests(const vmc::SimulatedLine& line) {
    std::vector<sim::ParsedRequest> out;
    for (const auto& w : line.Writes()) {
        std::size_t at = 0;
        while (at < w.size()) {
            sim::ParsedRequest r;
            std::size_t used = 0;
            const auto status = sim::ParseRequest(w.data() + at, w.size() - at, r, &used);
            if (status == sim::ParseStatus::NeedMore || used == 0)
                break;
            if (status == sim::ParseStatus::Frame)
                out.push_back(std::move(r));
            at += used;
        }
    }
    return out;
}

class LinkOnSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        line = vmc::SimulatedLine::Create();
        session = std::make_unique<hart::LinkSession>();
        session->Comm().SetPortFactory([l = line] { return l->CreatePort(); });
    }
    void TearDown() override {
        session.reset();
        loop.Stop();
    }
    // Starts the loop (after devices were added) and connects the link.
    void Connect() {
        loop.Start(line->PeerFd());
        ASSERT_EQ(session->Comm().Connect(), 1) << session->Comm().LastConnectError();
    }
    CHartComm& comm() { return session->Comm(); }

    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    std::unique_ptr<hart::LinkSession> session;
};

} // namespace testing_support
