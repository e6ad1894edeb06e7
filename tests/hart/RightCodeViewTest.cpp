// The status-bit view: its rows, the images after each message, registration with the relay, and
// the reset of the configuration-changed flag with command 38.
#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "hart/LinkRelay.h"
#include "hart/widgets/RightCodeView.h"

#include <QHeaderView>

using namespace testing_support;

namespace {

constexpr int kSet = CRightCodeView::kSetImage;
constexpr int kClear = CRightCodeView::kClearImage;

// Lit cells as "column:row" texts, to compare against a short list.
std::vector<QString> Lit(const CRightCodeView& view) {
    std::vector<QString> lit;
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < CRightCodeView::kRowCount; ++row)
            if (view.ImageOf(row, column) == kSet)
                lit.push_back(QStringLiteral("%1:%2").arg(column).arg(row));
    return lit;
}

class RightCodeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        line = vmc::SimulatedLine::Create();
        comm.SetPortFactory([l = line] { return l->CreatePort(); });
        relay = std::make_unique<CLinkRelay>(comm);
        view = std::make_unique<CRightCodeView>(*relay);
    }
    void TearDown() override {
        view.reset();
        comm.Disconnect();
        loop.Stop();
    }
    void Connect() {
        loop.Start(line->PeerFd());
        ASSERT_EQ(comm.Connect(), 1);
    }
    bool Idle() {
        return SpinUntil([&] { return comm.GetComState() == hart::IDLE_COM_STATE; }) &&
               (QCoreApplication::processEvents(), true);
    }
    // A page asks the device something; its answer reaches the view through the relay.
    void PageReads(int command) {
        relay->SetReceiver(page.Handle());
        comm.SetPollingAddress(0);
        ASSERT_EQ(comm.Request(command, 0), 1);
        ASSERT_TRUE(Idle());
    }
    void Status(int code, int status) { vmc::SendMessage(view->Handle(), vmc::WM_HART_STATUSCODE, code, status); }
    void PageClosed() { vmc::SendMessage(view->Handle(), vmc::WM_HART_STATUSRESET); }
    int Received38(sim::SimDevice& d) {
        return loop.With([&](sim::SimLoop&) { return d.received[38]; });
    }

    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    CHartComm comm;
    std::unique_ptr<CLinkRelay> relay;
    std::unique_ptr<CRightCodeView> view;
    Recorder page;
};

} // namespace

TEST_F(RightCodeViewTest, TwoColumnsOfEightRows) {
    ASSERT_EQ(view->columnCount(), 2);
    EXPECT_EQ(view->headerItem()->text(0), "Communication Error");
    EXPECT_EQ(view->headerItem()->text(1), "Field Device Status");
    EXPECT_EQ(view->header()->sectionSize(0), 200);
    EXPECT_EQ(view->header()->sectionSize(1), 290);
    ASSERT_EQ(view->topLevelItemCount(), 8);
    EXPECT_EQ(view->topLevelItem(0)->text(0), "No Communication Error");
    EXPECT_EQ(view->topLevelItem(5)->text(0), "Reserved");
    EXPECT_EQ(view->topLevelItem(7)->text(0), "Undefined");
    EXPECT_EQ(view->topLevelItem(3)->text(1), "More Status Available");
    EXPECT_EQ(view->topLevelItem(5)->text(1), "Primary Variable Analog Output Saturated");
    EXPECT_TRUE(Lit(*view).empty());
    EXPECT_EQ(view->topLevelItem(2)->icon(1).cacheKey(), view->ImageIcon(CRightCodeView::kClearImage).cacheKey());
    EXPECT_EQ(view->iconSize(), QSize(32, 32));
}

TEST_F(RightCodeViewTest, StatusBytesLightTheirRows) {
    struct Step {
        int code, status;
        std::vector<QString> lit;
    } steps[] = {
        {0, 0x41, {"1:1", "1:7"}},
        {0, 0x20, {"1:2"}},
        {0, 0xFF, {"1:0", "1:1", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7"}},
        // A communication error shows in the first column and leaves the second as it was.
        {0x82, 0x00, {"0:6", "1:0", "1:1", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7"}},
        {0xFF, 0x00, {"0:1", "0:2", "0:3", "0:4", "0:5", "0:6", "0:7", "1:0", "1:1", "1:2", "1:3", "1:4", "1:5", "1:6",
                      "1:7"}},
        // Bit 7 clear: everything is redrawn from the status byte.
        {0x10, 0x08, {"1:4"}},
        {0, 0, {}},
    };
    for (const auto& s : steps) {
        Status(s.code, s.status);
        EXPECT_EQ(Lit(*view), s.lit) << s.code << "/" << s.status;
    }
    Status(0, 0x20);
    EXPECT_EQ(view->topLevelItem(2)->icon(1).cacheKey(), view->ImageIcon(CRightCodeView::kSetImage).cacheKey());
}

TEST_F(RightCodeViewTest, ConfigurationChangedFollowsTheLastStatusWithoutCommError) {
    Status(0, 0x40);
    EXPECT_TRUE(view->IsConfigChanged());
    Status(0x88, 0x00);
    EXPECT_TRUE(view->IsConfigChanged()) << "a communication error carries no device status";
    Status(0, 0x01);
    EXPECT_FALSE(view->IsConfigChanged());
}

TEST_F(RightCodeViewTest, RegistersWhenFirstShownAndUnregistersWhenGone) {
    EXPECT_FALSE(relay->CodeView());
    view->show();
    EXPECT_EQ(relay->CodeView(), view->Handle());
    relay->SetCodeView({});
    view->hide();
    view->show();
    EXPECT_FALSE(relay->CodeView()) << "only the first showing registers";
    relay->SetCodeView(view->Handle());
    view.reset();
    EXPECT_FALSE(relay->CodeView());

    // A view that outlives the relay does not touch it.
    view = std::make_unique<CRightCodeView>(*relay);
    relay.reset();
    view->show();
    PageClosed();
    view.reset();
}

TEST_F(RightCodeViewTest, PrimaryMasterResetsTheFlagOnceAPageHasClosed) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    loop.With([&](sim::SimLoop&) { return d.configChanged = true; });
    Connect();
    view->show();
    PageReads(0);
    EXPECT_EQ(Lit(*view), (std::vector<QString>{"1:1", "1:2"})) << "configuration changed, cold start";

    PageClosed();
    EXPECT_EQ(Lit(*view), (std::vector<QString>{"1:1"})) << "all but Configuration Changed are cleared";
    EXPECT_EQ(relay->Receiver(), view->Handle());
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Received38(d), 1);
    EXPECT_TRUE(Lit(*view).empty()) << "the answer to 38 clears Configuration Changed";
    EXPECT_FALSE(loop.With([&](sim::SimLoop&) { return d.configChanged; }));
    EXPECT_FALSE(view->IsConfigChanged()) << "the answer's status bytes no longer carry the flag";

    PageClosed();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Received38(d), 1) << "nothing more to reset";
    EXPECT_EQ(page.Of(vmc::WM_HART_RECEIVE).size(), 1u) << "the answer to 38 went to the view, not the page";
}

TEST_F(RightCodeViewTest, SecondaryMasterLeavesTheFlagToThePrimary) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    loop.With([&](sim::SimLoop&) { return d.configChanged = true; });
    Connect();
    comm.SetMasterType(1);
    view->show();
    PageReads(0);
    PageReads(1);
    PageClosed();
    EXPECT_EQ(Lit(*view), (std::vector<QString>{"1:1"}));
    EXPECT_EQ(relay->Receiver(), page.Handle());
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Received38(d), 0);
}

TEST_F(RightCodeViewTest, NothingIsSentWhenTheFlagIsClear) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Connect();
    view->show();
    PageReads(0);
    EXPECT_EQ(Lit(*view), (std::vector<QString>{"1:2"}));
    PageClosed();
    EXPECT_TRUE(Lit(*view).empty());
    EXPECT_EQ(relay->Receiver(), page.Handle());
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Received38(d), 0);
}

TEST_F(RightCodeViewTest, FailuresOfTheResetAreReported) {
    // The link is not connected: the request cannot be written.
    Status(0, 0x40);
    PageClosed();
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Error");
    EXPECT_TRUE(Boxes().Boxes()[0].text.startsWith("[Cmd#38] "));

    // The device stops answering: the view shows the failure box of a receiver.
    Boxes().Clear();
    vmc::SendMessage(view->Handle(), vmc::WM_HART_FAIL, 6, 0);
    vmc::SendMessage(view->Handle(), vmc::WM_HART_FAIL, 5, 0);
    EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{"No Response!", "Communication Error!"}));

    // Answers to other commands change nothing.
    Status(0, 0x40);
    vmc::SendMessage(view->Handle(), vmc::WM_HART_RECEIVE, 1, 5);
    EXPECT_EQ(view->ImageOf(1, 1), kSet);
    vmc::SendMessage(view->Handle(), vmc::WM_HART_RECEIVE, 38, 0);
    EXPECT_EQ(view->ImageOf(1, 1), kClear);
    EXPECT_TRUE(view->IsConfigChanged()) << "the flag changes only with the next status";
}
