#pragma once
// The link of the program on a pseudo-terminal to a simulated loop: the real termios port, the
// real relay, and a stand-in for the page that waits for the answer.
#include "PtyLoop.h"
#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "hart/LinkRelay.h"

#include <QProcess>
#include <QTemporaryDir>

namespace testing_support {

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Test names from case names.
inline std::string CaseName(const char* name) {
    std::string n = name;
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return n;
}

// Environment of the programs a test starts: the test's time scale.
inline QProcessEnvironment FastEnv() {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("VMC70_TIME_SCALE", "0.05");
    return env;
}

// hartsim with these devices, its terminal also reachable at linkPath; running once it printed
// the terminal's name.
inline std::unique_ptr<QProcess> StartHartsim(const QString& linkPath, const QStringList& devices) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(FastEnv());
    QStringList args = {"--link", linkPath};
    for (const QString& d : devices)
        args << "--device" << d;
    p->start(HARTSIM_PATH, args);
    EXPECT_TRUE(p->waitForStarted(5000) && p->waitForReadyRead(5000)) << p->readAllStandardError().toStdString();
    return p;
}

class PtyLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        Boxes().SetDefaultAnswer(-1);
        ASSERT_TRUE(dir.isValid());
        pty = std::make_unique<PtyLoop>(loop, dir.path());
        relay.SetReceiver(page.Handle());
        relay.SetComStateHook([this](int state, int retry) {
            if (state != hart::RECEIVE_COM_STATE)
                states.emplace_back(state, retry);
        });
        relay.SetPortLostHook([this](int error) { portLost.push_back(error); });
    }
    void TearDown() override {
        comm.Disconnect();
        pty.reset();
    }
    // Plugs the loop in (devices added before) and opens it through the termios port.
    void Connect() {
        ASSERT_TRUE(pty->Plug());
        comm.SetPortPath(pty->Path());
        ASSERT_EQ(comm.Connect(), 1) << comm.LastConnectError();
    }
    // One request to an address; returns what the page heard (WM_HART_RECEIVE or WM_HART_FAIL),
    // or a zero message when nothing came.
    Received Transact(int address, int command) {
        page.log.clear();
        states.clear();
        comm.SetPollingAddress(address);
        comm.DeleteRequestItems();
        if (comm.Request(command, 0) != 1)
            return {};
        SpinUntil([&] { return Outcome().msg != 0; }, 15000);
        return Outcome();
    }
    Received Outcome() const {
        for (const Received& r : page.log)
            if (r.msg == vmc::WM_HART_RECEIVE || r.msg == vmc::WM_HART_FAIL)
                return r;
        return {};
    }
    // Sends of the frame, as the link announced them (first send and every retry).
    int Sends() const {
        return static_cast<int>(std::count_if(states.begin(), states.end(),
                                              [](const auto& s) { return s.first == hart::SEND_COM_STATE; }));
    }
    // How often the device heard a command.
    int Heard(const sim::SimDevice& d, int command) {
        return loop.With([&](sim::SimLoop&) {
            const auto it = d.received.find(command);
            return it == d.received.end() ? 0 : it->second;
        });
    }
    template <class F> void OnDevice(sim::SimDevice& d, F f) {
        loop.With([&](sim::SimLoop&) {
            f(d);
            return 0;
        });
    }

    QTemporaryDir dir;
    sim::SimLoop loop;
    std::unique_ptr<PtyLoop> pty;
    CHartComm comm;
    CLinkRelay relay{comm};
    Recorder page;
    std::vector<std::pair<int, int>> states;
    std::vector<int> portLost;
};

} // namespace testing_support
