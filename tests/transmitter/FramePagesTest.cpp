// The transmitter windows in the program window: every menu item, tool bar button, accelerator and
// tree pop-up item opens them; what they write moves and renames the tree rows; the status-bit view
// resets the configuration-changed flag when they close.
#include "TransmitterFixture.h"
#include "pages/transmitter/CommandTestDialog.h"
#include "pages/transmitter/SensorOutputInformation.h"
#include "pages/transmitter/TransmitterIds.h"
#include "pages/transmitter/TransmitterInformation.h"
#include "pages/transmitter/TransmitterPages.h"
#include "pages/transmitter/TransmitterStatus.h"
#include "shell/DeviceListView.h"

#include <QMenu>

using namespace testing_support;
using namespace res;

namespace {

class FramePagesTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // The recording openers stand in for the pages of other groups only.
        const std::vector<int> ours = {ID_TRANSMITTER_INFO, ID_TRANSMITTER_SETUP, ID_TRANSMITTER_STATUS,
                                       ID_COMMAND_TEST};
        std::erase_if(pageKeys, [&](int k) { return std::find(ours.begin(), ours.end(), k) != ours.end(); });
    }
    // The program window with the real transmitter pages, after a search of the given addresses.
    void StartWithPages(std::initializer_list<int> addresses, ProgramVariant variant = ProgramVariant::User) {
        loop.Start(line->PeerFd());
        app = MakeApp(variant);
        RegisterRecordingPages(app->Catalog());
        RegisterTransmitterPages(app->Catalog());
        app->SetPortFactory([this] { return line->CreatePort(); });
        app->EnumerateComPorts();
        app->LoadCommSettings();
        frame = app->CreateMainFrame();
        frame->show();
        QCoreApplication::processEvents();
        ChooseAddresses(addresses);
        Search();
        Boxes().Clear();
        line->ClearWrites();
    }
    // The program as primary master (the settings' default is secondary).
    void UsePrimaryMaster() {
        QSettings(SettingsPath(), QSettings::IniFormat).setValue("Communication/MasterType", 0);
    }
    std::vector<int> Commands() {
        std::vector<int> out;
        for (const auto& r : Requests())
            out.push_back(r.command);
        return out;
    }
    bool WaitAnswered(std::size_t n) {
        return SpinUntil([&] { return Requests().size() >= n && frame->Comm().GetComState() == 0; }) &&
               (QCoreApplication::processEvents(), true);
    }
    template <class F> auto OnDevice(std::uint32_t id, F f) {
        return loop.With([&](sim::SimLoop& l) { return f(*l.ById(id)); });
    }
};

// Opens with each action of a command and checks which window came up.
template <class W> int OpenWithEveryAction(CMainFrame* frame, int id, const QString& title) {
    int opened = 0;
    for (QAction* action : frame->Menus().Actions(id)) {
        EXPECT_TRUE(action->isEnabled()) << id;
        QString seen;
        WhenDialogOpens<W>([&](W& w) {
            seen = w.windowTitle();
            static_cast<QDialog&>(w).reject(); // "&Exit" or "Exit"
        });
        action->trigger();
        EXPECT_EQ(seen, title) << action->text().toStdString();
        opened += seen == title;
    }
    return opened;
}

} // namespace

TEST_F(FramePagesTest, EveryRouteOpensTheWindows) {
    loop.AddDevice("KP510", 3, 0x33);
    StartWithPages({3}, ProgramVariant::Admin);
    // Menu item, tool bar button, accelerator and pop-up item for the three sheets and dialog.
    EXPECT_EQ(
        OpenWithEveryAction<CTransmitterInfoPropSheet>(frame, ID_TRANSMITTER_INFO, "Transmitter Information"),
        4);
    EXPECT_EQ(OpenWithEveryAction<CTransmitterSetupPropSheet>(frame, ID_TRANSMITTER_SETUP, "Transmitter Setup"), 4);
    EXPECT_EQ(OpenWithEveryAction<CTransmitterStatus>(frame, ID_TRANSMITTER_STATUS, "Transmitter Status"), 4);
    EXPECT_EQ(OpenWithEveryAction<CCommandTestDlg>(frame, ID_COMMAND_TEST, "HART Command Test"), 1);
    EXPECT_FALSE(frame->Relay().Receiver().IsValid()) << "the frame took the receiver back";
    EXPECT_TRUE(opened.empty()) << "no stand-in opener was used";
}

TEST_F(FramePagesTest, ANewTagIsWrittenOnApplyAndRenamesTheTreeRow) {
    sim::SimDevice& d = loop.AddDevice("KP510", 3, 0x33);
    d.tag = "PT-3";
    d.descriptor = "FEED PUMP";
    d.day = 4;
    d.month = 7;
    d.year = 2020;
    UsePrimaryMaster();
    StartWithPages({3});
    ASSERT_EQ(TreeRows(), QStringList{"03: PT-3    "});
    bool ran = false;
    WhenDialogOpens<CTransmitterInfoPropSheet>([&](CTransmitterInfoPropSheet& sheet) {
        ran = true;
        CTransmitterInformation* info = sheet.InformationPage();
        ASSERT_TRUE(SpinUntil([&] { return info->IsLoaded(); }));
        ASSERT_TRUE(WaitAnswered(4));
        EXPECT_EQ(Commands(), (std::vector<int>{13, 12, 16, 15}));
        Retype(Control<QLineEdit>(info, IDC_INFO_TAG), "ft-605");
        QTest::qWait(vmc::ScaledMs(500));
        EXPECT_EQ(Requests().size(), 4u) << "typing sends nothing";
        Click(sheet.ApplyButton());
        ASSERT_TRUE(WaitAnswered(5));
        const sim::ParsedRequest write = Requests()[4];
        EXPECT_EQ(write.command, 18);
        hart::Bytes expected = hart::PackAscii("FT-605", 8);
        hart::AppendAscii(expected, "FEED PUMP", 16);
        for (unsigned b : {4u, 7u, 120u})
            expected.push_back(static_cast<std::uint8_t>(b));
        EXPECT_EQ(write.data, expected) << "tag, descriptor and date";
        EXPECT_TRUE(SpinUntil([&] { return TreeRows() == QStringList{"03: FT-605  "}; }));

        // The device now reports a changed configuration; the status-bit view resets it when the
        // page is left. Its answer is not mistaken for a refusal by the next page.
        ASSERT_TRUE(sheet.SetActivePage(1));
        ASSERT_TRUE(SpinUntil([&] { return sheet.SensorPage()->IsLoaded(); }));
        EXPECT_TRUE(WaitAnswered(9));
        EXPECT_EQ(From(Commands(), 5), (std::vector<int>{38, 14, 15, 162}));
        EXPECT_TRUE(BoxTexts().empty());
        Click(sheet.CancelButton()); // "&Exit"
    });
    Command(ID_TRANSMITTER_INFO);
    ASSERT_TRUE(ran);
    EXPECT_EQ(OnDevice(0x33, [](sim::SimDevice& dev) { return dev.tag.trimmed(); }), "FT-605");
    EXPECT_EQ(frame->MessageText(), "");
    EXPECT_FALSE(OnDevice(0x33, [](sim::SimDevice& dev) { return dev.configChanged; })) << "reset by the view";
}

TEST_F(FramePagesTest, AChangedPollingAddressMovesTheTreeAndListRows) {
    loop.AddDevice("KP510", 3, 0x33).tag = "PT-3";
    loop.AddDevice("KP510", 4, 0x44).tag = "PT-4";
    StartWithPages({3, 4});
    frame->DeviceTreeView()->setCurrentItem(frame->DeviceTreeView()->RowOf(3));
    ASSERT_EQ(frame->CurrentDevice(), 3);
    WhenDialogOpens<CTransmitterInfoPropSheet>([&](CTransmitterInfoPropSheet& sheet) {
        CTransmitterInformation* info = sheet.InformationPage();
        ASSERT_TRUE(SpinUntil([&] { return info->IsLoaded(); }));
        ASSERT_TRUE(WaitAnswered(4));
        auto* polling = Control<QLineEdit>(info, IDC_INFO_POLLING);

        // Address 4 belongs to the other transmitter.
        Retype(polling, "4");
        Click(sheet.ApplyButton());
        QTest::qWait(vmc::ScaledMs(300));
        EXPECT_EQ(BoxTexts(), std::vector<QString>{"Polling address 4 is used by another device."});
        EXPECT_EQ(Requests().size(), 4u);

        Boxes().Clear();
        Retype(polling, "5");
        Click(sheet.ApplyButton());
        ASSERT_TRUE(WaitAnswered(5));
        EXPECT_EQ(Requests()[4].command, 6);
        EXPECT_EQ(Requests()[4].data, hart::Bytes{5});
        EXPECT_TRUE(SpinUntil([&] { return TreeRows() == QStringList{"05: PT-3    ", "04: PT-4    "}; }))
            << TreeRows().join('|').toStdString();
        Click(sheet.CancelButton()); // "&Exit"
    });
    Command(ID_TRANSMITTER_INFO);
    EXPECT_EQ(OnDevice(0x33, [](sim::SimDevice& d) { return d.pollingAddress; }), 5);
    EXPECT_EQ(frame->CurrentDevice(), 5);
    EXPECT_EQ(frame->SelectedDevices().Values(), (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(frame->StatusPanes().Pane(1)->text(), "Polling: 5");
    bool listed = false;
    for (int row = 0; row < frame->DeviceListView()->rowCount(); ++row)
        listed = listed || frame->DeviceListView()->item(row, 0)->text() == "05";
    EXPECT_TRUE(listed);
    EXPECT_TRUE(BoxTexts().empty());

    // The moved transmitter answers at its new address.
    line->ClearWrites();
    WhenDialogOpens<CTransmitterStatus>([&](CTransmitterStatus& dlg) {
        EXPECT_TRUE(WaitAnswered(1));
        EXPECT_FALSE(dlg.FieldText(0).isEmpty());
        dlg.reject();
    });
    Command(ID_TRANSMITTER_STATUS);
    EXPECT_EQ(OnDevice(0x33, [](sim::SimDevice& d) { return d.received[48]; }), 1);
}
