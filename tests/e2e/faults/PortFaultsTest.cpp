// The port itself failing under the link: held by another program, pulled out mid-transaction,
// the program on the other side of the terminal killed. Each is reported, nothing hangs, and the
// link connects again once the port is back.
#include "FaultFixture.h"
#include "OtherProcess.h"

#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <iostream>
#include <fcntl.h>
#include <unistd.h>

using namespace testing_support;

namespace {

struct ToolRun {
    int exitCode;
    QString err;
};

// hartcli, another program that wants the same modem.
ToolRun Hartcli(const std::string& port) {
    QProcess p;
    p.setProcessEnvironment(FastEnv());
    p.start(HARTCLI_PATH, {"--port", QString::fromStdString(port), "--retries", "1", "raw", "1", "0"});
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

// A plain open, as any program does: 0 opened, 1 refused as busy, 2 other failure.
int PlainOpen(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return 0;
    }
    return errno == EBUSY ? 1 : 2;
}

// The settings the link opens its port with. (Children of the test use the port without the
// link: a forked child must not start threads or touch Qt.)
vmc::SerialSettings Settings(const std::string& path) {
    vmc::SerialSettings s;
    s.path = path;
    return s;
}

class PortFaultTest : public PtyLinkTest {};

} // namespace

TEST_F(PortFaultTest, OthersAreRefusedThePortWhileTheLinkHasIt) {
    loop.AddDevice("KP510", 1, 0x000F01);
    Connect();

    const ToolRun tool = Hartcli(pty->Path());
    EXPECT_EQ(tool.exitCode, 2);
    EXPECT_TRUE(tool.err.contains("the port is in use by another program")) << tool.err.toStdString();
    EXPECT_EQ(AsUnprivilegedUser([&] { return PlainOpen(pty->Path()); }), 1)
        << "a program that does not lock is refused by the terminal";
    EXPECT_EQ(Transact(1, 0).msg, vmc::WM_HART_RECEIVE) << "the link kept its port";

    // Let go, and both get it; so does the link again, also without administrator rights.
    comm.Disconnect();
    EXPECT_EQ(Hartcli(pty->Path()).exitCode, 0);
    EXPECT_EQ(AsUnprivilegedUser([&] { return PlainOpen(pty->Path()); }), 0);
    EXPECT_EQ(AsUnprivilegedUser([&] {
                  auto port = vmc::CreateTermiosPort();
                  const bool first = port->Open(Settings(pty->Path()), nullptr);
                  port->Close();
                  return first && port->Open(Settings(pty->Path()), nullptr) ? 0 : 1;
              }),
              0)
        << "the port opens again after it was closed";
}

TEST_F(PortFaultTest, APortAnotherProgramHoldsIsRefusedAtOnceWithTheReason) {
    loop.AddDevice("KP510", 1, 0x000F01);
    ASSERT_TRUE(pty->Plug());
    comm.SetPortPath(pty->Path());
    const std::string inUse = pty->Path() + ": the port is in use by another program";
    {
        PortHolder holder(pty->Path(), HoldMode::Lock);
        ASSERT_TRUE(holder.Holding());
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(comm.Connect(), 0);
        EXPECT_LT(t.elapsed(), 1000) << "refused, not waited for";
        EXPECT_EQ(comm.LastConnectError(), inUse);
        EXPECT_FALSE(comm.IsConnected());
    }
    {
        PortHolder holder(pty->Path(), HoldMode::Exclusive);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(AsUnprivilegedUser([&] {
                      std::string error;
                      const bool opened = vmc::CreateTermiosPort()->Open(Settings(pty->Path()), &error);
                      return !opened && error == inUse ? 0 : 1;
                  }),
                  0)
            << "a terminal in exclusive use";
    }
    ASSERT_EQ(comm.Connect(), 1) << comm.LastConnectError();
    EXPECT_EQ(Transact(1, 0).msg, vmc::WM_HART_RECEIVE);
}

// The adapter is pulled out while the link waits for an answer, or while it is idle; the
// terminal closes under the link, or the driver hangs the line up as a USB adapter's does.
TEST_F(PortFaultTest, AnUnpluggedAdapterIsReportedAndTheLinkConnectsAgainOnceItIsBack) {
    struct Case {
        const char* name;
        bool midTransaction;
        PtyLoop::Pull how;
    } cases[] = {
        {"closed while waiting", true, PtyLoop::Pull::CloseTerminal},
        {"closed while idle", false, PtyLoop::Pull::CloseTerminal},
        {"hung up while waiting", true, PtyLoop::Pull::HangUp},
        {"hung up while idle", false, PtyLoop::Pull::HangUp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loop.RemoveAll();
        sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x000F01);
        Connect();
        ASSERT_EQ(Transact(1, 0).msg, vmc::WM_HART_RECEIVE);
        portLost.clear();
        page.log.clear();
        if (c.midTransaction) {
            OnDevice(d, [](sim::SimDevice& dev) { dev.faults.silent = -1; });
            comm.SetPollingAddress(1);
            ASSERT_EQ(comm.Request(1, 0), 1);
            ASSERT_TRUE(SpinUntil([&] { return comm.GetComState() == hart::WAIT_COM_STATE; }));
        }
        if (!pty->Unplug(c.how)) {
            comm.Disconnect();
            std::cout << "[ SKIPPED  ] " << c.name << ": no right to hang a terminal up\n";
            continue;
        }
        ASSERT_TRUE(SpinUntil([&] { return !portLost.empty(); }));
        EXPECT_EQ(portLost, std::vector<int>{EIO});
        EXPECT_EQ(comm.Request(1, 0), 0) << "nothing more goes out on a lost port";
        SpinUntil([] { return false; }, 200);
        EXPECT_TRUE(page.Of(vmc::WM_HART_RECEIVE).empty());
        EXPECT_EQ(portLost.size(), 1u) << "reported once";

        EXPECT_EQ(comm.Disconnect(), 1);
        EXPECT_EQ(comm.Connect(), 0);
        EXPECT_EQ(comm.LastConnectError(), pty->Path() + ": no such device");
        OnDevice(d, [](sim::SimDevice& dev) { dev.faults = {}; });
        Connect(); // the adapter is back under the same name
        EXPECT_EQ(Transact(1, 0).msg, vmc::WM_HART_RECEIVE);
        comm.Disconnect();
    }
}

// hartsim is killed while the link waits for its answer; a new one takes the same name.
TEST_F(PortFaultTest, TheProgramBehindTheTerminalDiesAndAnotherTakesItsPlace) {
    const QString path = dir.filePath("hartsim-link");
    auto sim1 = StartHartsim(path, {"KP510,address=2,silent=-1"});
    comm.SetPortPath(path.toStdString());
    ASSERT_EQ(comm.Connect(), 1) << comm.LastConnectError();
    comm.SetPollingAddress(2);
    ASSERT_EQ(comm.Request(0, 0), 1);
    ASSERT_TRUE(SpinUntil([&] { return comm.GetComState() == hart::WAIT_COM_STATE; }));
    ::kill(static_cast<pid_t>(sim1->processId()), SIGKILL);
    sim1->waitForFinished(5000);
    ASSERT_TRUE(SpinUntil([&] { return !portLost.empty(); }));
    EXPECT_EQ(portLost, std::vector<int>{EIO});
    comm.Disconnect();
    EXPECT_EQ(comm.Connect(), 0) << "the terminal died with its program";

    auto sim2 = StartHartsim(path, {"KP510,address=2"});
    ASSERT_EQ(comm.Connect(), 1) << comm.LastConnectError();
    const Received id = Transact(2, 0);
    EXPECT_EQ(id.msg, vmc::WM_HART_RECEIVE);
    EXPECT_EQ(id.wParam, 0u);
    comm.Disconnect();
    sim2->terminate();
    sim2->waitForFinished(5000);
}
