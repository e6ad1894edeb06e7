// The command queue and receiver habits every page shares.
#include "common/PageFixture.h"
#include "pages/common/HartPage.h"
#include "pages/common/PropertySheet.h"
#include "hart/widgets/RightCodeView.h"

#include <cerrno>

using namespace testing_support;

namespace {

// Reads tag, message and final assembly number; writes the message with one packed field.
class ProbePage : public CHartPage {
public:
    explicit ProbePage(IPageHost& host) : CHartPage(host, "Probe") {}
    void OnInitDialog() override {
        CHartPage::OnInitDialog();
        for (int c : {13, 12, 16})
            QueueCommand(c);
    }
    bool PrepareRequest(int command, int& count) override {
        if (command == 17) {
            Comm().SetRequestOffset(0);
            Comm().SetXStringLength(32);
            Comm().SetXString(message);
            count = 24;
            return true;
        }
        if (command == 19 && dropWrites)
            return false;
        return CHartPage::PrepareRequest(command, count);
    }
    void OnReceive(int command, int count) override {
        answers.emplace_back(command, count);
        if (count <= 0)
            ReportCommandError(4, QString::number(command));
        SendNextCommand();
    }
    std::vector<std::pair<int, int>> answers;
    QString message;
    bool dropWrites = false;
};

class HartClientTest : public PageOnSimTest {};

} // namespace

TEST_F(HartClientTest, QueueDrainsOneCommandPerAnswerInOrder) {
    loop.AddDevice("KP510", 3, 0x33);
    ConnectTo(3);
    CPropertySheet sheet("Sheet");
    auto* page = new ProbePage(*host);
    sheet.AddPage(page);
    sheet.Open();
    ASSERT_TRUE(WaitSent(3));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{13, 12, 16}));
    EXPECT_EQ(page->answers, (std::vector<std::pair<int, int>>{{13, 21}, {12, 24}, {16, 3}}));
    EXPECT_TRUE(page->IsReceiver());
}

TEST_F(HartClientTest, QueueOrderDuplicatesAndPriority) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    ProbePage page(*host);
    page.QueueCommand(12);
    page.QueueCommand(16);
    page.QueueCommand(12);
    page.QueueCommandFirst(1);
    EXPECT_EQ(page.m_CommandQueue, (std::vector<std::int32_t>{1, 12, 16}));
    page.SendNextCommand();
    ASSERT_TRUE(WaitSent(3));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{1, 12, 16}));
}

TEST_F(HartClientTest, RequestFieldsGoOutAndDroppedCommandsDoNot) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    ProbePage page(*host);
    page.message = "HELLO LOOP";
    page.dropWrites = true;
    page.QueueCommand(19);
    EXPECT_FALSE(page.SendNextCommand()) << "a dropped command sends nothing";
    page.QueueCommand(17);
    ASSERT_TRUE(page.SendNextCommand());
    ASSERT_TRUE(WaitSent(1));
    ASSERT_EQ(SentFrames(*line).size(), 1u);
    EXPECT_EQ(SentFrames(*line)[0].data, hart::PackAscii("HELLO LOOP", 32));
    EXPECT_EQ(loop.With([&](sim::SimLoop&) { return d.message.trimmed(); }), "HELLO LOOP");
}

TEST_F(HartClientTest, RefusedRequestAndRefusedCommandAreReported) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    ProbePage page(*host);
    loop.With([&](sim::SimLoop&) { return d.faults.refuse = 1; });
    page.QueueCommand(12);
    page.SendNextCommand();
    ASSERT_TRUE(WaitSent(1));
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"[Cmd#12] Because occur an error, fail a command!"});
    Boxes().Clear();
    line->SetWriteFails(true);
    page.QueueCommand(16);
    EXPECT_FALSE(page.SendNextCommand());
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_TRUE(Boxes().Boxes()[0].text.startsWith("[Cmd#16] "));
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Error");
}

// The adapter goes as a page writes its request, before the program has heard: the program's one
// announcement of the lost port is all the user is told.
TEST_F(HartClientTest, RequestsOntoAPulledAdapterAddNoBoxes) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    ProbePage page(*host);
    line->ClearWrites();
    line->SetWriteFails(true, EIO); // what a pulled adapter's driver answers a write with
    page.QueueCommand(3);
    page.QueueCommand(2);
    EXPECT_FALSE(page.SendNextCommand());
    EXPECT_TRUE(host->Comm().IsPortLost());
    EXPECT_FALSE(page.SendNextCommand()) << "the rest of the queue is dropped";
    // The frame ends the transaction the link still reads as open once it hears of the lost port.
    vmc::SendMessage(page.Handle(), vmc::WM_HART_FAIL, hart::NORESPONSE_COM_STATE, 0);
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{});
    EXPECT_EQ(line->Writes().size(), 0u);
}

TEST_F(HartClientTest, FailureShowsTheStandardBoxAndAGonePageStopsBeingTheReceiver) {
    loop.AddDevice("KP510", 0, 1).faults.silent = -1;
    host->Comm().SetRetryCount(1);
    ConnectTo(4); // nobody at 4: identification fails quietly
    {
        ProbePage page(*host);
        host->Comm().SetPollingAddress(0);
        page.QueueCommand(12);
        page.SendNextCommand();
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"No Response!"});
        EXPECT_TRUE(page.IsReceiver());
    }
    EXPECT_FALSE(host->Relay().Receiver().IsValid());
}

TEST_F(HartClientTest, AnAnswerToAnotherWindowsRequestIsNotTakenForTheDevicesRefusal) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    d.configChanged = true;
    ConnectTo(0);
    CRightCodeView view(host->Relay());
    host->Relay().SetCodeView(view.Handle());
    ProbePage page(*host);
    page.QueueCommand(12);
    page.SendNextCommand();
    ASSERT_TRUE(WaitSent(1));
    ASSERT_TRUE(view.IsConfigChanged());

    // Another page takes over: the message pane is cleared, the view resets the flag with command
    // 38 (an answer without data), and the new page becomes the receiver while 38 is on its way.
    page.QueueCommand(16);
    host->SetMessageText(QString());
    page.BecomeReceiver();
    page.SendWhenIdle(); // the link is busy with 38: 16 waits
    ASSERT_TRUE(WaitSent(3));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{12, 38, 16}));
    EXPECT_EQ(page.answers, (std::vector<std::pair<int, int>>{{12, 24}, {16, 3}}));
    EXPECT_TRUE(Boxes().Texts().empty()) << "no \"[Cmd#38]\" box for the view's own command";
}

TEST_F(HartClientTest, AfterAFailedTransactionTheQueueSendsAgain) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    host->Comm().SetRetryCount(1);
    ConnectTo(0);
    ProbePage page(*host);
    loop.With([&](sim::SimLoop&) { return d.faults.silent = 1; });
    page.QueueCommand(12);
    page.SendWhenIdle();
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(host->Comm().GetComState(), 6);
    page.QueueCommand(16);
    page.SendWhenIdle(); // the link is not busy: the failed transaction is over
    ASSERT_TRUE(WaitSent(2));
    EXPECT_EQ(page.answers, (std::vector<std::pair<int, int>>{{16, 3}}));
}
