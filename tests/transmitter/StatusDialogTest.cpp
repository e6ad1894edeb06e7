// "Transmitter Status" against the simulated loop: the status fields, the maintenance actions with
// their completion poll, and the wait window that leaves the dialog working.
#include "TransmitterFixture.h"
#include "pages/transmitter/TransmitterIds.h"
#include "pages/transmitter/TransmitterStatus.h"
#include "pages/transmitter/WaitDialog.h"
#include "sim/cmd/TransmitterState.h"

#include <QElapsedTimer>

using namespace testing_support;
using namespace res;

namespace {

class StatusTest : public PageOnSimTest {
protected:
    void TearDown() override {
        dialog.reset();
        PageOnSimTest::TearDown();
    }
    void OpenAt(int address) {
        ConnectTo(address);
        dialog = std::make_unique<CTransmitterStatus>(*host);
        dialog->show();
        ASSERT_TRUE(WaitSent(1));
    }
    std::size_t CountOf(int command) {
        const auto all = SentCommands(*line);
        return static_cast<std::size_t>(std::count(all.begin(), all.end(), command));
    }
    // A copy of the device's maintenance state, taken under the loop's lock.
    sim::TransmitterState State(sim::SimDevice& d) {
        return loop.With([&](sim::SimLoop&) { return d.Ext<sim::TransmitterState>(); });
    }

    std::unique_ptr<CTransmitterStatus> dialog;
};

} // namespace

TEST_F(StatusTest, FieldsFilledAsFarAsTheAnswerReaches) {
    struct Case {
        const char* model;
        int filled; // fields 0 .. filled-1 have a text, the rest stay empty
    };
    for (const Case& c : {Case{"3051", 8}, Case{"KP510", 21}}) {
        dialog.reset();
        loop.Stop();
        loop.RemoveAll();
        sim::SimDevice& d = loop.AddDevice(c.model, 0, 1);
        d.fixedCurrent = 12.0f;
        OpenAt(0);
        EXPECT_EQ(SentCommands(*line), std::vector<int>{48});
        for (int i = 0; i < CTransmitterStatus::kStatusFields; ++i)
            EXPECT_EQ(dialog->FieldText(i).isEmpty(), i >= c.filled) << c.model << " field " << i;
        EXPECT_EQ(dialog->FieldText(0), "01") << "fixed current";
        if (c.filled == 21) {
            EXPECT_EQ(dialog->FieldText(8), "000000");
            EXPECT_EQ(dialog->FieldText(9), "000001") << "A/O fixed, six digits";
            EXPECT_EQ(dialog->FieldText(10), "0C") << "Stat 14, two capital digits";
        }
    }
    auto* list = Control<QComboBox>(dialog.get(), IDC_STATUS_EEPROM_LIST);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "Burn EEPROM(P)");
    for (int hidden : {IDC_STATUS_MCU_STATUS, IDC_STATUS_EXT_MEM_WRITE, IDC_STATUS_SELF_RECOVERY})
        EXPECT_FALSE(Control<QWidget>(dialog.get(), hidden)->isVisible()) << hidden;
}

TEST_F(StatusTest, BurnEepromSendsItsCodeAndAnnouncesCompletion) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_CONFIG_INIT));
    EXPECT_TRUE(dialog->WaitWindow().IsShown());
    EXPECT_EQ(dialog->WaitWindow().Message(), "Processing configuration data initializing... Please wait...");
    ASSERT_TRUE(WaitSent(4));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{48, 39, 1, 48}));
    EXPECT_EQ(SentFrames(*line)[1].data, hart::Bytes{0x55});
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Complete Configuration data initialize!"});
    EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
    EXPECT_FALSE(dialog->WaitWindow().IsShown());
    EXPECT_FALSE(dialog->m_bConfigInit);
}

TEST_F(StatusTest, MasterResetIsPolledEveryThreeSecondsUntilTheDeviceIsReady) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Boxes().QueueAnswer(vmc::IDOK);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_MASTER_RESET));
    ASSERT_FALSE(Boxes().Boxes().empty());
    EXPECT_EQ(Boxes().Boxes()[0].text, "Do you run Master Reset?");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
    EXPECT_EQ(Boxes().Boxes()[0].buttons, vmc::MB_OKCANCEL);
    EXPECT_EQ(dialog->WaitWindow().Message(), "Processing Master Reset. Please wait...");

    // The three polls, timed as they go out; meanwhile the dialog stays usable.
    std::vector<qint64> pollTimes;
    QElapsedTimer clock;
    clock.start();
    for (std::size_t n = 1; n <= 3; ++n) {
        ASSERT_TRUE(SpinUntil([&] { return CountOf(1) >= n; })) << "poll " << n;
        pollTimes.push_back(clock.elapsed());
        if (n < 3) {
            EXPECT_TRUE(dialog->WaitWindow().IsShown());
            EXPECT_FALSE(dialog->WaitWindow().isModal());
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "nothing blocks the dialog";
        }
    }
    ASSERT_TRUE(WaitSent(6));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{48, 42, 1, 1, 1, 48}));
    for (std::size_t i = 1; i < pollTimes.size(); ++i)
        EXPECT_GE(pollTimes[i] - pollTimes[i - 1], vmc::ScaledMs(3000) * 9 / 10) << "poll " << i;
    EXPECT_EQ(Boxes().Texts().back(), "Complete Master Reset!");
    EXPECT_FALSE(dialog->WaitWindow().IsShown());
    EXPECT_FALSE(dialog->m_bMasterReset);
    EXPECT_EQ(State(d).masterResets, 1);
}

TEST_F(StatusTest, CancelledSelfTestSendsNothing) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Boxes().QueueAnswer(vmc::IDCANCEL);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_SELF_TEST));
    QTest::qWait(vmc::ScaledMs(500));
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Do you run Self Test?"});
    EXPECT_EQ(SentCommands(*line), std::vector<int>{48});
    EXPECT_FALSE(dialog->WaitWindow().IsShown());

    Boxes().Clear();
    Boxes().QueueAnswer(vmc::IDOK);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_SELF_TEST));
    ASSERT_TRUE(SpinUntil([&] { return Boxes().Texts().size() == 2; }, 10000));
    EXPECT_EQ(Boxes().Texts()[1], "Complete Self Test!");
    EXPECT_EQ(State(d).selfTests, 1);
}

TEST_F(StatusTest, SilenceDuringAnActionAbandonsIt) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    host->Comm().SetRetryCount(1);
    OpenAt(0);
    Boxes().QueueAnswer(vmc::IDOK);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_MASTER_RESET));
    ASSERT_TRUE(SpinUntil([&] { return CountOf(1) >= 1; }));
    ASSERT_TRUE(WaitIdle());
    loop.With([&](sim::SimLoop&) { return d.faults.silent = -1; });
    ASSERT_TRUE(SpinUntil([&] { return Boxes().Texts().size() == 2; }, 10000));
    EXPECT_EQ(Boxes().Texts()[1], "No Response!");
    EXPECT_FALSE(dialog->WaitWindow().IsShown());
    EXPECT_FALSE(dialog->m_bMasterReset);
    const std::size_t polls = CountOf(1);
    QTest::qWait(vmc::ScaledMs(7000));
    EXPECT_EQ(CountOf(1), polls) << "no more polls";
}

TEST_F(StatusTest, AnEepromWriteErrorKeepsTheActionPending) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    d.Ext<sim::TransmitterState>().busyAfterAction = 1;
    OpenAt(0);
    Boxes().QueueAnswer(vmc::IDOK);
    Click(Control<QPushButton>(dialog.get(), IDC_STATUS_SELF_TEST));
    ASSERT_TRUE(SpinUntil([&] { return CountOf(1) >= 1; }));
    ASSERT_TRUE(WaitIdle());
    loop.With([&](sim::SimLoop&) {
        d.faults.refuseCode = 1;
        return d.faults.refuse = 1;
    });
    ASSERT_TRUE(SpinUntil([&] { return Boxes().Texts().size() == 2; }, 10000));
    EXPECT_EQ(Boxes().Boxes()[1].text, "Analog EEPROM Write Error!!");
    EXPECT_EQ(Boxes().Boxes()[1].icon, vmc::BoxIcon::None);
    EXPECT_TRUE(dialog->WaitWindow().IsShown());
    EXPECT_TRUE(dialog->m_bSelfTest);

    // Closing the dialog ends the wait.
    Click(Control<QPushButton>(dialog.get(), 1));
    EXPECT_FALSE(dialog->WaitWindow().IsShown());
    EXPECT_FALSE(dialog->isVisible());
}
