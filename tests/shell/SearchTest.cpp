// The device search: which addresses it polls, what the tree and the list show, the marks and the
// current device it leaves, Cancel, and answers without data.
#include "ShellFixture.h"

#include "hart/Codecs.h"
#include "shell/DeviceListView.h"
#include "shell/SearchDialog.h"
#include "shell/SearchOption.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>

using namespace testing_support;

namespace {

class SearchTest : public ShellTest {
protected:
    // Polling addresses of the command-0 frames the link wrote, in order (one per attempt).
    std::vector<int> PolledAddresses() {
        std::vector<int> out;
        for (const auto& r : Requests())
            if (r.shortFrame && r.command == 0 && (out.empty() || out.back() != r.shortAddress))
                out.push_back(r.shortAddress);
        return out;
    }
    int progressMax = -1;
    int progressValue = -1;
    void WatchProgress() {
        WhenDialogOpens<CSearchDialog>([this](CSearchDialog& d) {
            QObject::connect(d.Progress(), &QProgressBar::valueChanged, &d, [this, &d](int v) {
                progressMax = d.Progress()->maximum();
                progressValue = v;
            });
        });
    }
};

TEST_F(SearchTest, DevicesAt2And5AreListedMarkedAnd5IsCurrent) {
    loop.AddDevice("KT410", 2, 0x00B202).tag = "TT-2";
    loop.AddDevice("KP510F", 5, 0x00A605).tag = "FT-5";
    StartProgram();
    line->ClearWrites();
    WatchProgress();
    Search();

    EXPECT_EQ(PolledAddresses(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(progressMax, 16);
    EXPECT_EQ(progressValue, 16);
    EXPECT_EQ(TreeRows(), (QStringList{"02: TT-2    ", "05: FT-5    "}));
    CLeftView* tree = frame->DeviceTreeView();
    EXPECT_TRUE(CLeftView::IsMarked(tree->RowOf(2)));
    EXPECT_TRUE(CLeftView::IsMarked(tree->RowOf(5)));
    EXPECT_EQ(frame->SelectedDevices(), (std::vector<std::int32_t>{2, 5}));
    EXPECT_EQ(frame->CurrentDevice(), 5);
    EXPECT_EQ(frame->StatusPanes().Pane(1)->text(), "Polling: 5");
    EXPECT_TRUE(frame->Menus().TopLevel(2)->isEnabled()) << "devices found: Transmitter Setup menu on";
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5) << "the configured attempts are back after the search";
    EXPECT_FALSE(frame->IsSearching());
    EXPECT_FALSE(frame->Relay().Receiver().IsValid());

    CVMC70View* list = frame->DeviceListView();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 0)->text(), "02");
    EXPECT_EQ(list->item(1, 0)->text(), "05");
    EXPECT_EQ(list->item(1, 1)->text(), frame->Comm().GetManufacturerName(5));
    EXPECT_FALSE(list->item(1, 1)->text().isEmpty());
    EXPECT_EQ(list->item(1, 2)->text(), frame->Comm().GetDeviceTypeName(5));
    EXPECT_EQ(list->item(1, 3)->text(), "2024 / 01 / 01");
}

TEST_F(SearchTest, ChosenAddressesArePolledInOrder) {
    loop.AddDevice("KP510", 7, 0x000107);
    StartProgram();
    ChooseAddresses({7, 3});
    line->ClearWrites();
    WatchProgress();
    Search();
    EXPECT_EQ(PolledAddresses(), (std::vector<int>{3, 7}));
    EXPECT_EQ(progressMax, 2);
    EXPECT_EQ(TreeRows().size(), 1);
}

TEST_F(SearchTest, NoAddressChosenStillPollsAddress0Once) {
    loop.AddDevice("KP510", 0, 0x000100);
    StartProgram();
    ChooseAddresses({});
    EXPECT_EQ(frame->SearchOptionView()->AddressCount(), 0);
    line->ClearWrites();
    Search();
    EXPECT_EQ(PolledAddresses(), (std::vector<int>{0}));
    EXPECT_EQ(TreeRows().size(), 1);
}

TEST_F(SearchTest, NothingFoundLeavesTheRootAndTheDeviceMenusOff) {
    StartProgram();
    Search();
    EXPECT_TRUE(TreeRows().isEmpty());
    EXPECT_EQ(RootText(), "Online");
    EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
    EXPECT_TRUE(BoxTexts().empty()) << "silent addresses are skipped without a message";
}

TEST_F(SearchTest, CancelWhileIdentifyingAddress4KeepsEarlierDevicesAndStopsTheLink) {
    for (int a = 0; a <= 3; ++a)
        loop.AddDevice("KP510", a, 0x000200 + static_cast<std::uint32_t>(a));
    loop.AddDevice("KT410", 4, 0x000204).faults.silent = -1; // answers nothing: identification hangs
    StartProgram();
    WhenDialogOpens<CSearchDialog>([this](CSearchDialog& d) {
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [this, &d, poll] {
            if (d.CurrentAddress() == 4 && frame->Comm().FindDevice(4)) {
                d.findChild<QPushButton*>("2")->click();
                return;
            }
            QTimer::singleShot(1, *poll);
        };
        QTimer::singleShot(0, *poll);
    });
    Search();
    EXPECT_EQ(TreeRows().size(), 4);
    EXPECT_EQ(frame->Comm().GetDeviceCount(), 4);
    EXPECT_EQ(frame->Comm().FindDevice(4), nullptr) << "the record of the device being identified is dropped";
    EXPECT_EQ(frame->SelectedDevices(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(frame->CurrentDevice(), 3);
    // No retry of the abandoned command goes out afterwards.
    const std::size_t written = line->Writes().size();
    SpinUntil([] { return false; }, 300);
    EXPECT_EQ(line->Writes().size(), written);
}

TEST_F(SearchTest, ADeviceThatAnswersWithoutDataDoesNotHoldTheSearchForever) {
    loop.AddDevice("KP510", 1, 0x000301);
    loop.AddDevice("KP510", 2, 0x000302).faults.refuse = -1; // status bytes only, every time
    loop.AddDevice("KP510", 3, 0x000303);
    StartProgram();
    ChooseAddresses({1, 2, 3});
    Search();
    EXPECT_EQ(TreeRows().size(), 2);
    EXPECT_EQ(frame->SelectedDevices(), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(frame->Comm().FindDevice(2), nullptr);
}

TEST_F(SearchTest, InvalidDateShowsAnEmptyDateColumn) {
    loop.AddDevice("KP510", 0, 0x000400).month = 13;
    StartProgram();
    Search();
    ASSERT_EQ(frame->DeviceListView()->rowCount(), 1);
    EXPECT_EQ(frame->DeviceListView()->item(0, 3)->text(), "");
}

TEST_F(SearchTest, SearchWhileDisconnectedIsRefused) {
    StartProgram(ProgramVariant::User, /*loopRunning=*/true);
    line->SetOpenFails(true);
    frame->Comm().Disconnect();
    Search();
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "Can not connect to COM port!");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
}

TEST_F(SearchTest, SearchNowButtonAndCtrlSRunTheSearch) {
    loop.AddDevice("KP510", 0, 0x000500);
    StartProgram();
    ChooseAddresses({0});
    QTest::mouseClick(frame->SearchOptionView()->findChild<QPushButton*>("1396"), Qt::LeftButton);
    EXPECT_EQ(TreeRows().size(), 1);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(TreeRows().size(), 1) << "a new search replaces the rows";
    EXPECT_GE(loop.AtAddress(0)->received[13], 2);
}

} // namespace
