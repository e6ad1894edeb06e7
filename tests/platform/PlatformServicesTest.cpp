#include "common/SimFixture.h"
#include "platform/RemoteEndpoint.h"
#include "platform/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

using namespace testing_support;

TEST(SimulatedLine, RecordsWritesAndDeliversFedBytes) {
    auto line = vmc::SimulatedLine::Create();
    auto port = line->CreatePort();
    std::string error;
    ASSERT_TRUE(port->Open({}, &error));
    const std::uint8_t frame[] = {0xFF, 0x02, 0x80, 0x00, 0x00, 0x82};
    EXPECT_EQ(port->Write(frame, sizeof frame), 6);
    ASSERT_EQ(line->Writes().size(), 1u);
    line->FeedReceived({1, 2, 3});
    pollfd p{port->PollFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    std::uint8_t buf[8];
    EXPECT_EQ(port->Read(buf, sizeof buf), 3);
    EXPECT_EQ(port->Read(buf, sizeof buf), 0) << "nothing waiting";
    // A second opener finds the line busy, like a COM port held by another program.
    auto second = line->CreatePort();
    EXPECT_FALSE(second->Open({}, &error));
    EXPECT_NE(error.find("in use"), std::string::npos);
}

TEST(SimulatedLine, UnpluggedLineHangsUpAndFailsWrites) {
    auto line = vmc::SimulatedLine::Create();
    auto port = line->CreatePort();
    std::string error;
    ASSERT_TRUE(port->Open({}, &error));
    line->Unplug();
    pollfd p{port->PollFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    std::uint8_t buf[4];
    EXPECT_EQ(port->Read(buf, sizeof buf), -1);
    const std::uint8_t b = 0xFF;
    EXPECT_EQ(port->Write(&b, 1), -1);
}

TEST(TermiosPort, OpensAPseudoTerminalExclusivelyWithoutModemLines) {
    int master = -1, slave = -1;
    char name[128];
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    auto port = vmc::CreateTermiosPort();
    std::string error;
    vmc::SerialSettings s;
    s.path = name;
    ASSERT_TRUE(port->Open(s, &error)) << error;
    EXPECT_FALSE(port->NeedsManualRts()) << "a pty has no modem lines";
    auto other = vmc::CreateTermiosPort();
    EXPECT_FALSE(other->Open(s, &error));
    EXPECT_NE(error.find(name), std::string::npos) << error;
    const std::uint8_t data[] = {0xFF, 0xFF, 0x82};
    EXPECT_EQ(port->Write(data, 3), 3);
    EXPECT_TRUE(port->Drain());
    std::uint8_t got[8];
    pollfd p{master, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    EXPECT_EQ(::read(master, got, sizeof got), 3);
    port->Close();
    ::close(slave);
    ::close(master);
}

TEST(TermiosPort, ReasonsNameThePort) {
    auto port = vmc::CreateTermiosPort();
    std::string error;
    vmc::SerialSettings s;
    s.path = "/dev/null";
    EXPECT_FALSE(port->Open(s, &error));
    EXPECT_NE(error.find("/dev/null"), std::string::npos);
    s.path = "/dev/ttyNOPE9";
    EXPECT_FALSE(port->Open(s, &error));
    EXPECT_NE(error.find("no such device"), std::string::npos);
}

TEST(RemoteEndpoint, MessagesReachTheProgramListeningUnderTheTitle) {
    const QString title = QStringLiteral("EndpointTest-%1").arg(::getpid());
    vmc::RemoteWindow window(title);
    EXPECT_FALSE(window.Find()) << "nobody listens yet";
    vmc::EndpointServer server;
    std::vector<vmc::RemoteMessage> got;
    server.SetHandler([&](const vmc::RemoteMessage& m) { got.push_back(m); });
    ASSERT_TRUE(server.Listen(title));
    vmc::EndpointServer second;
    QString error;
    EXPECT_FALSE(second.Listen(title, &error)) << "one program per title";
    ASSERT_TRUE(window.Send({{1045, 7, 3}, {1047, 7, -1}}));
    ASSERT_TRUE(SpinUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got[0].msg, 1045u);
    EXPECT_EQ(got[1].lParam, -1);
}
