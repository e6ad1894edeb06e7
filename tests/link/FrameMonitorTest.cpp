// The link's copies of every request and judged answer to the frame monitor.
#include "common/SimFixture.h"
#include "platform/RemoteEndpoint.h"

#include <unistd.h>

using namespace testing_support;

namespace {

class FrameMonitorTest : public LinkOnSimTest {
protected:
    void SetUp() override {
        LinkOnSimTest::SetUp();
        title = QStringLiteral("FrameDebugTest-%1").arg(::getpid());
        ASSERT_TRUE(server.Listen(title));
        server.SetHandler([this](const vmc::RemoteMessage& m) { records.push_back(m); });
        comm().SetFrameMonitorTitle(title);
    }
    // Records of one kind, in order.
    std::vector<qint64> Values(quint32 msg) const {
        std::vector<qint64> out;
        for (const auto& r : records)
            if (r.msg == msg)
                out.push_back(r.lParam);
        return out;
    }
    QString title;
    vmc::EndpointServer server;
    std::vector<vmc::RemoteMessage> records;
};

} // namespace

TEST_F(FrameMonitorTest, RequestAndAnswerAreCopiedWithEndMarks) {
    loop.AddDevice("KP510", 3, 1);
    Connect();
    ASSERT_TRUE(session->Transact(3, 0, {}, false).ok());
    ASSERT_TRUE(SpinUntil([&] { return !Values(vmc::WM_FRAMEDEBUG_RSP_BYTE).empty() &&
                                       Values(vmc::WM_FRAMEDEBUG_RSP_BYTE).back() == vmc::kFrameDebugEndMark; }));
    EXPECT_EQ(Values(vmc::WM_FRAMEDEBUG_REQ_COMMAND), std::vector<qint64>({0}));
    EXPECT_EQ(Values(vmc::WM_FRAMEDEBUG_REQ_SIZE), std::vector<qint64>({10}));
    EXPECT_EQ(Values(vmc::WM_FRAMEDEBUG_REQ_BYTE),
              std::vector<qint64>({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x83, 0x00, 0x00, 0x81, 9999}));
    const auto rsp = Values(vmc::WM_FRAMEDEBUG_RSP_BYTE);
    ASSERT_EQ(Values(vmc::WM_FRAMEDEBUG_RSP_SIZE).size(), 1u);
    EXPECT_EQ(static_cast<qint64>(rsp.size()) - 1, Values(vmc::WM_FRAMEDEBUG_RSP_SIZE).front());
    EXPECT_EQ(records.front().wParam, ::getpid());
}

TEST_F(FrameMonitorTest, RejectedAnswersAreCopiedRetriesAreNot) {
    loop.AddDevice("KP510", 0, 1).faults.badCheck = 2;
    Connect();
    ASSERT_TRUE(session->Transact(0, 0, {}, false).ok());
    ASSERT_TRUE(SpinUntil([&] { return Values(vmc::WM_FRAMEDEBUG_RSP_SIZE).size() == 3u; }));
    const auto marks = Values(vmc::WM_FRAMEDEBUG_RSP_BYTE);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), 9999), 3) << "two rejected answers and the accepted one";
    EXPECT_EQ(Values(vmc::WM_FRAMEDEBUG_REQ_SIZE).size(), 1u) << "the two resends are not copied";
}

TEST_F(LinkOnSimTest, WithoutAMonitorNothingIsSentAndNothingWaits) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    comm().SetFrameMonitorTitle(QStringLiteral("NoSuchMonitor-%1").arg(::getpid()));
    EXPECT_TRUE(session->Transact(0, 0, {}, false).ok());
}
