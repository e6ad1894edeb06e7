// The owner side of the link: what reaches the receiver, the status-bit view and the tree.
#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "hart/LinkRelay.h"

using namespace testing_support;

namespace {

class LinkRelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        line = vmc::SimulatedLine::Create();
        comm.SetPortFactory([l = line] { return l->CreatePort(); });
        relay = std::make_unique<CLinkRelay>(comm);
        relay->SetCodeView(codeView.Handle());
        relay->SetDeviceTree(tree.Handle());
    }
    void TearDown() override {
        comm.Disconnect();
        loop.Stop();
    }
    void Connect() {
        loop.Start(line->PeerFd());
        ASSERT_EQ(comm.Connect(), 1);
    }
    // Sends and waits until the receiver got its answer or failure.
    void Run(int address, int command) {
        receiver.log.clear();
        comm.SetPollingAddress(address);
        ASSERT_EQ(comm.Request(command, 0), 1);
        ASSERT_TRUE(SpinUntil([&] {
            const int s = comm.GetComState();
            return s == hart::IDLE_COM_STATE || s == hart::COMERROR_COM_STATE || s == hart::NORESPONSE_COM_STATE;
        }));
        QCoreApplication::processEvents();
    }

    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    CHartComm comm;
    std::unique_ptr<CLinkRelay> relay;
    Recorder receiver, codeView, tree;
};

} // namespace

TEST_F(LinkRelayTest, AnswersGoToTheReceiverAndTheStatusView) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(SpinUntil([&] { return !tree.Of(vmc::WM_HART_CONNECT).empty(); }));
    EXPECT_EQ(tree.Of(vmc::WM_HART_CONNECT).front(), (Received{vmc::WM_HART_CONNECT, 1, 0}));
    relay->SetReceiver(receiver.Handle());
    Run(0, 0);
    EXPECT_EQ(receiver.Of(vmc::WM_HART_RECEIVE), (std::vector<Received>{{vmc::WM_HART_RECEIVE, 0, 12}}));
    ASSERT_FALSE(codeView.Of(vmc::WM_HART_STATUSCODE).empty());
    EXPECT_EQ(codeView.Of(vmc::WM_HART_STATUSCODE).back(), (Received{vmc::WM_HART_STATUSCODE, 0, 0x20}))
        << "the first answer after power-up reports a cold start";
    EXPECT_EQ(relay->LastResponseText(), "HART Cmd 000: No Cmd-Specific Errors                       Cold Start");
}

TEST_F(LinkRelayTest, WithoutAReceiverNothingIsRelayed) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    Run(0, 0);
    EXPECT_TRUE(codeView.Of(vmc::WM_HART_STATUSCODE).empty());
    EXPECT_EQ(relay->LastResponseCode(), 0);
}

TEST_F(LinkRelayTest, SpentAttemptsReachTheReceiverAsAFailure) {
    loop.AddDevice("KP510", 0, 1).faults.silent = -1;
    Connect();
    relay->SetReceiver(receiver.Handle());
    comm.SetRetryCount(2);
    Run(0, 0);
    EXPECT_EQ(receiver.Of(vmc::WM_HART_FAIL), (std::vector<Received>{{vmc::WM_HART_FAIL, 6, 0}}));
}

TEST_F(LinkRelayTest, FaultyAnswersEndInTheCommunicationErrorBoxWithTheDeviceBits) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    relay->SetReceiver(receiver.Handle());
    Run(0, 0);
    loop.With([&](sim::SimLoop&) {
        d.faults.commError = -1;
        return d.faults.commErrorCode = 0x10;
    });
    comm.SetRetryCount(2);
    codeView.log.clear();
    Run(0, 1);
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Communication Error");
    EXPECT_EQ(Boxes().Boxes()[0].text, "Framing Error     ");
    EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::Warning);
    EXPECT_EQ(codeView.Of(vmc::WM_HART_STATUSCODE),
              (std::vector<Received>{{vmc::WM_HART_STATUSCODE, 0x90, 0x20}, {vmc::WM_HART_STATUSCODE, 0, 0}}));
    EXPECT_EQ(receiver.Of(vmc::WM_HART_FAIL), (std::vector<Received>{{vmc::WM_HART_FAIL, 5, 0}}));
}

TEST_F(LinkRelayTest, ComStateHookSeesEveryState) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    std::vector<int> states;
    relay->SetComStateHook([&](int s, int) { states.push_back(s); });
    relay->SetReceiver(receiver.Handle());
    Run(0, 0);
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states.front(), hart::SEND_COM_STATE);
    EXPECT_EQ(states.back(), hart::IDLE_COM_STATE);
}

TEST(LinkFailureBoxes, TextsByState) {
    Boxes().Clear();
    ShowLinkFailure(6);
    ShowLinkFailure(5);
    ShowLinkFailure(0);
    ASSERT_EQ(Boxes().Texts(), (std::vector<QString>{"No Response!", "Communication Error!"}));
    EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::Error);
}
