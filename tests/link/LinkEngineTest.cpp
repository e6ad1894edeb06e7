// The transaction engine on an in-process line: states and their messages, retries, outcomes.
#include "common/SimFixture.h"
#include "sim/SlaveFraming.h"

#include <mutex>
#include <thread>

using namespace testing_support;
using hart::Outcome;

namespace {

using StatePair = std::pair<int, int>;

std::vector<StatePair> States(const hart::LinkSession& s) {
    std::vector<StatePair> out;
    for (const auto& m : s.Messages())
        if (m.msg == vmc::WM_HART_COMSTATE && m.wParam != hart::RECEIVE_COM_STATE)
            out.emplace_back(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
    return out;
}

std::vector<std::uint8_t> AnswerFrame(int cmd, std::vector<std::uint8_t> data, std::uint8_t rc = 0) {
    sim::ResponseFrame f;
    f.command = cmd;
    f.responseCode = rc;
    f.data = std::move(data);
    f.longAddress = {0x86, 0x6B, 0, 0, 1};
    return sim::BuildResponse(f);
}

bool HasFrame(const hart::LinkSession& s) {
    const auto& log = s.Messages();
    return std::any_of(log.begin(), log.end(), [](const auto& m) { return m.msg == vmc::WM_HART_FRAME; });
}

class LinkEngineTest : public LinkOnSimTest {};

} // namespace

TEST_F(LinkEngineTest, SilentDeviceGetsTheFrameSixTimesThenNoResponse) {
    loop.AddDevice("KP510", 0, 1).faults.silent = -1;
    Connect();
    const Outcome out = session->Transact(0, 0, {}, false);
    EXPECT_EQ(out.kind, Outcome::NoResponse);
    const auto writes = line->Writes();
    ASSERT_EQ(writes.size(), 6u);
    for (const auto& w : writes)
        EXPECT_EQ(w, writes.front());
    const std::vector<StatePair> expected = {{1, 0}, {3, 0}, {4, 1}, {1, 1}, {3, 1}, {4, 2}, {1, 2}, {3, 2}, {4, 3},
                                             {1, 3}, {3, 3}, {4, 4}, {1, 4}, {3, 4}, {4, 5}, {1, 5}, {3, 5}, {6, 0}};
    EXPECT_EQ(States(*session), expected);
    EXPECT_EQ(comm().GetComState(), hart::NORESPONSE_COM_STATE);
    EXPECT_EQ(comm().GetDeviceCount(), 0) << "an unanswered command 0 forgets the address";
}

TEST_F(LinkEngineTest, UnansweredLongFrameKeepsTheRecord) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(session->Transact(0, 0).ok());
    loop.With([&](sim::SimLoop&) { return d.faults.silent = -1; });
    EXPECT_EQ(session->Transact(0, 3).kind, Outcome::NoResponse);
    EXPECT_EQ(comm().GetDeviceCount(), 1);
    EXPECT_EQ(comm().GetManufacturerCode(0), 134);
}

TEST_F(LinkEngineTest, AnswerOnTheThirdAttempt) {
    loop.AddDevice("KP510", 0, 1).faults.silent = 2;
    Connect();
    const Outcome out = session->Transact(0, 0, {}, false);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(line->Writes().size(), 3u);
    ASSERT_FALSE(States(*session).empty());
    EXPECT_EQ(States(*session).back(), StatePair(0, 2));
    EXPECT_EQ(comm().GetCurrentRetryCount(), 1);
    // Received bytes each announce the receiving state.
    const auto& log = session->Messages();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const auto& m) {
        return m.msg == vmc::WM_HART_COMSTATE && m.wParam == hart::RECEIVE_COM_STATE && m.lParam == 2;
    }));
}

TEST_F(LinkEngineTest, AttemptsPerTransactionFollowTheRetryCount) {
    struct Case {
        int retries;
        std::size_t sends;
    } cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}};
    loop.AddDevice("KP510", 0, 1).faults.silent = -1;
    Connect();
    for (const auto& c : cases) {
        line->ClearWrites();
        comm().SetRetryCount(c.retries);
        EXPECT_EQ(session->Transact(0, 0, {}, false).kind, Outcome::NoResponse);
        EXPECT_EQ(line->Writes().size(), c.sends) << "retry count " << c.retries;
    }
}

TEST_F(LinkEngineTest, BadCheckByteEveryTimeEndsInCommunicationError) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(session->Transact(0, 0).ok());
    loop.With([&](sim::SimLoop&) { return d.faults.badCheck = -1; });
    session->ClearMessages();
    line->ClearWrites();
    const Outcome out = session->Transact(0, 3);
    EXPECT_EQ(out.kind, Outcome::CommError);
    EXPECT_EQ(line->Writes().size(), 6u);
    EXPECT_EQ(session->CommErrorBoxes(), 1);
    EXPECT_EQ(session->CommErrorByte(), 0) << "no device-reported byte: the box has no text";
    EXPECT_EQ(States(*session).back(), StatePair(5, 0));
}

TEST_F(LinkEngineTest, DeviceReportedCommunicationErrorIsKeptForTheBox) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(session->Transact(0, 0).ok());
    loop.With([&](sim::SimLoop&) {
        d.faults.commError = -1;
        return d.faults.commErrorCode = 0x08;
    });
    int byteWhenBoxShown = -1;
    session->SetCommErrorHook([&] { byteWhenBoxShown = session->CommErrorByte(); });
    EXPECT_EQ(session->Transact(0, 1).kind, Outcome::CommError);
    EXPECT_EQ(byteWhenBoxShown, 0x88);
    EXPECT_EQ(comm().GetComState(), hart::COMERROR_COM_STATE);
}

TEST_F(LinkEngineTest, StatusOnlyAnswerLeavesThePreviousFields) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    const Outcome first = session->Transact(0, 1);
    ASSERT_TRUE(first.ok());
    ASSERT_EQ(comm().ResponseItemCount(), 2);
    loop.With([&](sim::SimLoop&) { return d.faults.refuse = 1; });
    const Outcome refused = session->Transact(0, 1);
    ASSERT_TRUE(refused.ok());
    EXPECT_EQ(refused.dataCount, 0);
    EXPECT_EQ(refused.responseCode, 6);
    EXPECT_EQ(comm().ResponseItemCount(), 2);
    comm().SetResponseOffset(0);
    EXPECT_EQ(comm().GetXInt8(), 12) << "the unit of the earlier answer is still readable";
}

TEST_F(LinkEngineTest, AnswerIsDeliveredUnderTheCommandItCarries) {
    Connect(); // no devices: the test speaks for the device
    comm().SetPollingAddress(0);
    comm().Request(3, 0);
    line->FeedReceived(AnswerFrame(13, std::vector<std::uint8_t>(21, 0)));
    // The state turns idle before the queued answer message reaches the owner: wait for that.
    ASSERT_TRUE(SpinUntil([&] { return HasFrame(*session); }));
    const auto& log = session->Messages();
    auto frame = std::find_if(log.begin(), log.end(), [](const auto& m) { return m.msg == vmc::WM_HART_FRAME; });
    ASSERT_NE(frame, log.end());
    EXPECT_EQ(frame->wParam, 13u);
    EXPECT_EQ(frame->lParam, 21);
}

TEST_F(LinkEngineTest, AFrameArrivingWhileIdleIsNotTakenForTheNextAnswer) {
    Connect();
    comm().SetPollingAddress(0);
    comm().Request(1, 0);
    line->FeedReceived(AnswerFrame(1, {12, 0x3F, 0x80, 0, 0}));
    ASSERT_TRUE(SpinUntil([&] { return HasFrame(*session); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // past the tail of that answer
    // A late frame arrives while nothing is open (an answer that came after its attempts were
    // spent): the next request must not take it for its own answer.
    line->FeedReceived(AnswerFrame(2, {0x41, 0x40, 0, 0, 0x42, 0x48, 0, 0}));
    session->ClearMessages();
    comm().Request(3, 0);
    line->FeedReceived(AnswerFrame(3, {0x41, 0x40, 0, 0, 12, 0x3F, 0x80, 0, 0}));
    ASSERT_TRUE(SpinUntil([&] { return HasFrame(*session); }));
    const auto& log = session->Messages();
    auto frame = std::find_if(log.begin(), log.end(), [](const auto& m) { return m.msg == vmc::WM_HART_FRAME; });
    ASSERT_NE(frame, log.end());
    EXPECT_EQ(frame->wParam, 3u);
}

TEST_F(LinkEngineTest, RunAwayStreamIsDroppedNotStored) {
    Connect();
    comm().SetRetryCount(2);
    comm().SetPollingAddress(0);
    comm().Request(3, 0);
    std::vector<std::uint8_t> stream(2000, 0xFF);
    line->FeedReceived(stream);
    ASSERT_TRUE(SpinUntil([&] {
        const int s = comm().GetComState();
        return s == hart::COMERROR_COM_STATE || s == hart::NORESPONSE_COM_STATE;
    }));
    EXPECT_LE(comm().ReadDataSize(), hart::kFrameBufferSize);
}

TEST_F(LinkEngineTest, FailedWriteReturnsZeroAndKeepsTheRequestFields) {
    Connect();
    line->SetWriteFails(true);
    comm().SetPollingAddress(0);
    comm().SetRequestOffset(0);
    comm().SetXInt8(7);
    EXPECT_EQ(comm().Request(6, 1), 0);
    EXPECT_EQ(comm().GetComState(), hart::SEND_COM_STATE);
    EXPECT_EQ(comm().RequestItems().size(), 1u);
}

TEST_F(LinkEngineTest, ARetryThatCannotBeWrittenCountsAsAnUnansweredAttempt) {
    Connect();
    comm().SetRetryCount(3);
    comm().SetPollingAddress(0);
    ASSERT_EQ(comm().Request(1, 0), 1); // nobody answers on this line
    line->SetWriteFails(true);
    ASSERT_TRUE(SpinUntil([&] { return comm().GetComState() == hart::NORESPONSE_COM_STATE; }))
        << "the link hung in state " << comm().GetComState();
    EXPECT_EQ(line->Writes().size(), 1u);
}

TEST_F(LinkEngineTest, ARequestOntoAPulledAdapterReadsAsALostPortAtOnce) {
    Connect();
    line->Unplug();
    comm().SetPollingAddress(0);
    EXPECT_EQ(comm().Request(1, 0), 0);
    EXPECT_TRUE(comm().IsPortLost()) << "known when the request fails, before the owner hears of it";
    EXPECT_TRUE(SpinUntil([&] {
        for (const auto& m : session->Messages())
            if (m.msg == vmc::WM_HART_CONNECT && m.wParam == vmc::HART_PORT_LOST)
                return true;
        return false;
    }));
}

TEST(LinkSettings, SettersIgnoreOutOfRangeValues) {
    CHartComm comm;
    comm.SetComPort(3);
    comm.SetComPort(0);
    EXPECT_EQ(comm.GetComPort(), 3);
    comm.SetRetryCount(4);
    comm.SetRetryCount(-1);
    EXPECT_EQ(comm.GetRetryCount(), 4);
    EXPECT_EQ(comm.Disconnect(), 1);
    EXPECT_FALSE(comm.IsConnected());
}

TEST(LinkSettings, ConnectFailureKeepsTheReason) {
    CHartComm comm;
    comm.SetPortPath("/dev/does-not-exist-vmc70");
    EXPECT_EQ(comm.Connect(), 0);
    EXPECT_FALSE(comm.IsConnected());
    EXPECT_NE(comm.LastConnectError().find("/dev/does-not-exist-vmc70"), std::string::npos);
}

namespace {

// Line operations in order; written by the link thread, read by the test.
struct OpLog {
    void Add(std::string op) {
        std::lock_guard lock(mutex);
        ops.push_back(std::move(op));
    }
    std::vector<std::string> Get() {
        std::lock_guard lock(mutex);
        return ops;
    }
    std::mutex mutex;
    std::vector<std::string> ops;
};

// Wraps a port of the in-process line and records the order of line operations, as a driver
// without automatic RTS would see them.
class RtsRecordingPort final : public vmc::SerialPort {
public:
    RtsRecordingPort(std::unique_ptr<vmc::SerialPort> inner, OpLog* log) : m_inner(std::move(inner)), m_log(log) {}
    bool Open(const vmc::SerialSettings& s, std::string* e) override { return m_inner->Open(s, e); }
    void Close() override { m_inner->Close(); }
    bool IsOpen() const override { return m_inner->IsOpen(); }
    int PollFd() const override { return m_inner->PollFd(); }
    long Read(std::uint8_t* b, std::size_t n) override { return m_inner->Read(b, n); }
    long Write(const std::uint8_t* d, std::size_t n) override {
        m_log->Add("write");
        return m_inner->Write(d, n);
    }
    bool Drain() override {
        m_log->Add("drain");
        return m_inner->Drain();
    }
    bool NeedsManualRts() const override { return true; }
    bool SetRts(bool on) override {
        m_log->Add(on ? "rts on" : "rts off");
        return true;
    }
    bool SetDtr(bool on) override {
        m_log->Add(on ? "dtr on" : "dtr off");
        return true;
    }
    void Purge() override { m_inner->Purge(); }
    std::string Name() const override { return "recording"; }

private:
    std::unique_ptr<vmc::SerialPort> m_inner;
    OpLog* m_log;
};

} // namespace

TEST_F(LinkEngineTest, WithoutAutomaticRtsTheLinkKeysTheModemAroundEachFrame) {
    OpLog ops;
    comm().SetPortFactory([&, l = line] { return std::make_unique<RtsRecordingPort>(l->CreatePort(), &ops); });
    loop.AddDevice("KP510", 0, 1).faults.silent = 1;
    Connect();
    ASSERT_TRUE(session->Transact(0, 0, {}, false).ok());
    const std::vector<std::string> expected = {"rts on", "write", "drain", "rts off",
                                               "rts on", "write", "drain", "rts off"};
    ASSERT_TRUE(SpinUntil([&] { return ops.Get().size() >= expected.size(); }));
    EXPECT_EQ(ops.Get(), expected) << "one silent attempt and the answered retry";
    comm().Disconnect();
    EXPECT_EQ(ops.Get().back(), "dtr off");
}

TEST(CommandErrorBox, KindsThreeAndFour) {
    Boxes().Clear();
    ReportCommandError(3, "38");
    ReportCommandError(4, "130");
    ReportCommandError(5, "1");
    ASSERT_EQ(Boxes().Boxes().size(), 2u);
    EXPECT_TRUE(Boxes().Boxes()[0].text.startsWith("[Cmd#38] "));
    EXPECT_EQ(Boxes().Boxes()[1].text, "[Cmd#130] Because occur an error, fail a command!");
    EXPECT_EQ(Boxes().Boxes()[1].caption, "Error");
    EXPECT_EQ(Boxes().Boxes()[1].icon, vmc::BoxIcon::Error);
}
