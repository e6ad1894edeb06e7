#pragma once
// A link connected to a simulated loop over an in-process line, for tests of everything above
// the serial port.
#include "link/LinkSession.h"
#include "platform/MessageBox.h"
#include "platform/SimulatedLine.h"
#include "sim/SimLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <memory>

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
