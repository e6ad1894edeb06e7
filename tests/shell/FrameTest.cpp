// The main frame's commands: connection, preconditions of the device commands, Data Trend mode,
// exclusive commands, commands without their pages, variants, exit and the lost port.
#include "ShellFixture.h"

#include "shell/DeviceCommands.h"
#include "shell/ExternalProgram.h"
#include "shell/LinkCommands.h"
#include "shell/ComSetupDialog.h"
#include "hart/widgets/RightCodeView.h"
#include "shell/SearchDialog.h"
#include "shell/AboutDialog.h"
#include "shell/PollingAddressDialog.h"
#include "monitor/ProgressBar.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <QMenuBar>
#include <QToolBar>

using namespace testing_support;
using namespace res;

namespace {

class FrameTest : public ShellTest {
protected:
    const vmc::BoxRecord& LastBox() { return Boxes().Boxes().back(); }
    void ExpectOnlyBox(const QString& caption, const QString& text, vmc::BoxIcon icon) {
        ASSERT_EQ(Boxes().Boxes().size(), 1u) << (Boxes().Boxes().empty() ? "" : Boxes().Boxes()[0].text.toStdString());
        EXPECT_EQ(Boxes().Boxes()[0].caption, caption);
        EXPECT_EQ(Boxes().Boxes()[0].text, text);
        EXPECT_EQ(Boxes().Boxes()[0].icon, icon);
    }
};

TEST_F(FrameTest, ConnectAtStartIsQuietAndAConnectCommandReportsAFailure) {
    line->SetOpenFails(true);
    StartProgram();
    EXPECT_TRUE(Boxes().Boxes().empty());
    EXPECT_FALSE(frame->Comm().IsConnected());
    EXPECT_EQ(RootText(), "Offline");
    EXPECT_EQ(MenuAction(ID_COM_CONNECT)->text(), "Com. Connect(&C)");
    EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
    EXPECT_FALSE(frame->Menus().TopLevel(3)->isEnabled());

    Command(ID_COM_CONNECT);
    ExpectOnlyBox("Korvex VMC70 Ver 2.3.33", "Can't connect this communication.", vmc::BoxIcon::Error);
    EXPECT_EQ(RootText(), "Offline");
    EXPECT_TRUE(frame->MessageText().contains("the port is in use by another program")) << frame->MessageText().toStdString();

    line->SetOpenFails(false);
    Boxes().Clear();
    Command(ID_COM_CONNECT);
    EXPECT_TRUE(Boxes().Boxes().empty());
    EXPECT_TRUE(frame->Comm().IsConnected());
    EXPECT_TRUE(SpinUntil([&] { return RootText() == "Online"; }));
    EXPECT_EQ(MenuAction(ID_COM_CONNECT)->text(), "Com. Disconnect(&d)");
    EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled()) << "greyed until a search finds devices";
}

TEST_F(FrameTest, DisconnectAsksFirst) {
    loop.AddDevice("KP510", 0, 1);
    StartProgram();
    ChooseAddresses({0});
    Search();
    ASSERT_EQ(TreeRows().size(), 1);

    Boxes().QueueAnswer(vmc::IDCANCEL);
    Command(ID_COM_CONNECT);
    ExpectOnlyBox("Korvex VMC70 Ver 2.3.33", "Do you stop this communication?", vmc::BoxIcon::Information);
    EXPECT_EQ(LastBox().buttons, vmc::MB_OKCANCEL);
    EXPECT_TRUE(frame->Comm().IsConnected());
    EXPECT_EQ(TreeRows().size(), 1) << "Cancel leaves the tree as it was";

    Boxes().Clear();
    Boxes().QueueAnswer(vmc::IDOK);
    Command(ID_COM_CONNECT);
    EXPECT_FALSE(frame->Comm().IsConnected());
    EXPECT_EQ(RootText(), "Offline");
    EXPECT_TRUE(TreeRows().isEmpty());
    EXPECT_TRUE(frame->SelectedDevices().IsEmpty());
    EXPECT_EQ(MenuAction(ID_COM_CONNECT)->text(), "Com. Connect(&C)");
    EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
}

// The precondition sequence of a device command, each row from a fresh start.
TEST_F(FrameTest, DeviceCommandPreconditions) {
    struct Case {
        const char* name;
        bool connected;
        bool searchFirst;
        bool untickAll;
        int command;
        std::vector<int> answers;
        std::vector<QString> boxes;
        std::vector<Opened> opened;
    };
    const QString title = "Korvex VMC70 Ver 2.3.33";
    const std::vector<Case> cases = {
        {"not connected", false, false, false, ID_TRANSMITTER_INFO, {},
         {"This communication connection is not established!"}, {}},
        {"no devices, No", true, false, false, ID_TRANSMITTER_INFO, {vmc::IDNO}, {"Would you like to Search?  "}, {}},
        {"no devices, Yes", true, false, false, ID_TRANSMITTER_STATUS, {vmc::IDYES},
         {"Would you like to Search?  ", "Current selected Address is No. 5   "}, {{ID_TRANSMITTER_STATUS, 5}}},
        {"Command Test searches without announcing", true, false, false, ID_COMMAND_TEST, {vmc::IDYES},
         {"Would you like to Search?  "}, {{ID_COMMAND_TEST, 5}}},
        {"nothing ticked", true, true, true, ID_TRANSMITTER_SETUP, {}, {"Select a Device!"}, {}},
        {"ticked", true, true, false, ID_LCD_DISPLAY_MODE, {}, {}, {{ID_LCD_DISPLAY_MODE, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loop.RemoveAll();
        loop.AddDevice("KP510", 2, 0x0702);
        loop.AddDevice("KP520", 5, 0x0705);
        if (!c.connected)
            line->SetOpenFails(true);
        StartProgram();
        ChooseAddresses({2, 5});
        if (c.searchFirst)
            Search();
        if (c.untickAll)
            vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, 255, 0);
        Boxes().Clear();
        for (int a : c.answers)
            Boxes().QueueAnswer(a);
        opened.clear();
        Command(c.command);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(opened, c.opened);
        if (!Boxes().Boxes().empty()) {
            EXPECT_EQ(Boxes().Boxes()[0].caption, c.connected ? title : QString("VMC70"));
        }
        EXPECT_FALSE(frame->Relay().Receiver().IsValid());
        app.reset();
        loop.Stop();
        line = vmc::SimulatedLine::Create();
    }
}

TEST_F(FrameTest, AfterAPageTheReceiverIsResetAndTheStatusPanesCleared) {
    loop.AddDevice("KP510", 0, 1);
    StartProgram();
    ChooseAddresses({0});
    loop.AtAddress(0)->coldStart = true;
    Search();
    testing_support::Recorder page;
    int coldStartLamp = -1;
    onOpen = [&](IPageHost& host) {
        host.Relay().SetReceiver(page.Handle());
        host.SetMessageText("Reading...");
        loop.AtAddress(0)->coldStart = true;
        host.Comm().Request(1, 0);
        SpinUntil([&] { return !page.Of(vmc::WM_HART_RECEIVE).empty(); });
        coldStartLamp = frame->CodeView()->ImageOf(2, 1);
    };
    Command(ID_TRANSMITTER_INFO);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(page.Of(vmc::WM_HART_RECEIVE).size(), 1u);
    EXPECT_EQ(coldStartLamp, CRightCodeView::kSetImage) << "the page's answer reached the status-bit view";
    EXPECT_FALSE(frame->Relay().Receiver().IsValid());
    EXPECT_EQ(frame->MessageText(), "");
    EXPECT_EQ(frame->StatusPanes().Pane(0)->text(), "READY");
    EXPECT_EQ(frame->CodeView()->ImageOf(2, 1), CRightCodeView::kClearImage) << "cleared with the message pane";
}

TEST_F(FrameTest, DataTrendChoosesSingleOrMultiDropPages) {
    struct Case {
        std::vector<int> ticked;
        int current;
        int page;
        std::vector<std::int32_t> selectedAfter;
    };
    const Case cases[] = {
        {{0, 3}, 3, kPageTrendMulti, {3}},
        {{5}, 5, kPageTrendMulti, {5}},
        {{0}, 0, kPageTrendSingle, {0}},
    };
    for (int a : {0, 3, 5})
        loop.AddDevice("KP510", a, 0x0800 + static_cast<std::uint32_t>(a));
    StartProgram();
    ChooseAddresses({0, 3, 5});
    Search();
    for (const Case& c : cases) {
        vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, 255, 0);
        for (int a : c.ticked)
            vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, static_cast<vmc::WPARAM>(a), 1);
        opened.clear();
        Boxes().Clear();
        Command(ID_DATA_TREND);
        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_EQ(opened, (std::vector<Opened>{{c.page, c.current}}));
        EXPECT_EQ(frame->SelectedDevices(), c.selectedAfter);
    }
    // The multi-drop pages may move the polling address; it comes back afterwards.
    onOpen = [](IPageHost& host) { host.Comm().SetPollingAddress(3); };
    vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, 5, 1);
    Command(ID_DATA_TREND);
    EXPECT_EQ(frame->CurrentDevice(), 5);
}

TEST_F(FrameTest, ExclusiveCommandsCheckTheModel) {
    loop.AddDevice("KP510F", 1, 0x0901); // type 96
    loop.AddDevice("KL710", 2, 0x0902);  // type 126
    loop.AddDevice("KT410", 3, 0x0903);  // temperature
    loop.AddDevice("3051", 4, 0x0904);   // another maker
    StartProgram();
    ChooseAddresses({1, 2, 3, 4});
    Search();
    struct Case {
        int command;
        int device;
        QString box;
        bool opens;
    };
    const QString kp510f = "This is an exclusive menu for KP-510F.   ";
    const QString kl710 = "This is an exclusive menu for KL-710.   ";
    const Case cases[] = {
        {ID_TOTALIZE, 1, "", true},
        {ID_TOTALIZE, 2, kp510f, false},
        {ID_GWR_LEVEL, 2, "", true},
        {ID_GWR_LEVEL, 1, kl710, false},
        {ID_GWR_LEVEL, 4, "This menu is Korvex Transmitter whole aspect menus.   ", false},
        {ID_FOR_DEBUG, 3, "", true},
        {ID_FOR_DEBUG, 2, "", true},
        {ID_FOR_DEBUG, 1, "Not for Temp. Transmitter", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " on " << c.device);
        vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, static_cast<vmc::WPARAM>(c.device), 1);
        Boxes().Clear();
        opened.clear();
        Command(c.command);
        EXPECT_EQ(BoxTexts(), c.box.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.box});
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
        if (!c.box.isEmpty() && c.command != ID_FOR_DEBUG) {
            EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
        }
    }
    vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, 255, 0);
    for (int command : {ID_TOTALIZE, ID_GWR_LEVEL}) {
        Boxes().Clear();
        Command(command);
        EXPECT_EQ(BoxTexts(), std::vector<QString>{"Select a Device!"});
    }
}

TEST_F(FrameTest, CommandsWithoutTheirPagesStayInTheMenuDisabled) {
    pageKeys = {ID_TRANSMITTER_INFO};
    StartProgram(ProgramVariant::Admin);
    for (int id : {ID_LOGFILE_SETUP, ID_TRANSMITTER_SETUP, ID_DATA_TREND, ID_MODBUS, ID_REMOTE_CONTROL, ID_IMSI}) {
        QAction* a = MenuAction(id);
        ASSERT_NE(a, nullptr) << id;
        EXPECT_FALSE(a->isEnabled()) << id;
        for (QAction* each : frame->Menus().Actions(id))
            EXPECT_FALSE(each->isEnabled()) << id << " " << each->text().toStdString();
    }
    for (int id : {ID_TRANSMITTER_INFO, ID_SEARCH_DEVICE, ID_COM_SETUP, ID_FRAME_DEBUG, ID_POLLING_ADDRESS_SETTING})
        EXPECT_TRUE(MenuAction(id)->isEnabled()) << id;
    // A disabled command does nothing even when issued directly.
    Boxes().Clear();
    Command(ID_TRANSMITTER_SETUP);
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(FrameTest, TheVariantsDifferInTheirMenus) {
    auto topLevel = [&] {
        QStringList captions;
        for (QAction* a : frame->menuBar()->actions())
            captions << a->text();
        return captions;
    };
    StartProgram(ProgramVariant::User);
    EXPECT_EQ(topLevel(), (QStringList{"System(&S)", "Search(&E)", "Transmitter Setup(&X)", "Data Trend(&T)",
                                       "View(&V)", "Help(&H)"}));
    EXPECT_EQ(MenuAction(ID_MODBUS), nullptr);
    EXPECT_EQ(MenuAction(ID_TRANSMITTER_SETUP)->text(), "Transmitter Setup(&X)\tCtrl+E");
    EXPECT_EQ(MenuAction(ID_APP_ABOUT)->text(), "VMC70 Info(&A)...");
    QStringList tools;
    for (QAction* a : frame->Menus().ToolBar()->actions())
        tools << (a->isSeparator() ? QString("-") : a->toolTip());
    EXPECT_EQ(tools, (QStringList{"Exit", "-", "Hart Modem Connect", "Com.Setup", "Log File", "-", "Device Connect", "-",
                                  "Transmitter Information", "Transmitter Setup", "Transmitter Status",
                                  "LCD Display Mode", "-", "View Data", "-", "Program Information"}));
    app.reset();

    StartProgram(ProgramVariant::Admin);
    EXPECT_EQ(topLevel(), (QStringList{"System(&S)", "Search(&E)", "Transmitter Setup(&X)", "Data Trend(&T)",
                                       "Auto Calibration(&A)", "View(&V)", "Help(&H)"}));
    EXPECT_NE(MenuAction(ID_MODBUS), nullptr);
    EXPECT_EQ(MenuAction(ID_TRANSMITTER_SETUP)->text(), "Transmitter Setup(&E)\tCtrl+E");
}

TEST_F(FrameTest, ComSetupStoresAndReconnectsOnlyWhenNeeded) {
    loop.AddDevice("KP510", 0, 1);
    StartProgram();
    ChooseAddresses({0});
    Search();
    const int opens = portsOpened;
    auto runSetup = [&](int port, int retry, int master, bool ok) {
        WhenDialogOpens<CComSetupDlg>([=](CComSetupDlg& d) {
            d.findChild<QCheckBox*>("1353")->click(); // "COM %d" for every number
            auto* ports = d.findChild<QComboBox*>("1354");
            for (int i = 0; i < ports->count(); ++i)
                if (CComSetupDlg::PortNumberOf(ports->itemText(i)) == port)
                    ports->setCurrentIndex(i);
            d.findChild<QComboBox*>("1001")->setCurrentIndex(retry - 1);
            d.findChild<QRadioButton*>(master == 0 ? "1002" : "1003")->setChecked(true);
            d.findChild<QPushButton*>(ok ? "1" : "2")->click();
        });
        Command(ID_COM_SETUP);
    };
    QSettings stored(SettingsPath(), QSettings::IniFormat);

    runSetup(1, 3, 1, true); // only the attempts change
    EXPECT_EQ(portsOpened, opens) << "no reconnect";
    EXPECT_TRUE(frame->Comm().IsConnected());
    EXPECT_EQ(frame->Comm().GetRetryCount(), 3);
    EXPECT_TRUE(TreeRows().isEmpty()) << "the tree is cleared";
    EXPECT_TRUE(frame->SelectedDevices().IsEmpty());
    EXPECT_EQ(frame->Comm().GetDeviceCount(), 0);
    stored.sync();
    EXPECT_EQ(stored.value("Communication/RetryCount").toInt(), 3);
    EXPECT_EQ(stored.value("Communication/ComPort").toInt(), 1);

    runSetup(4, 3, 0, true); // another port
    EXPECT_EQ(portsOpened, opens + 1);
    EXPECT_TRUE(frame->Comm().IsConnected());
    EXPECT_EQ(frame->Comm().GetComPort(), 4);
    EXPECT_EQ(frame->Comm().GetMasterType(), 0);
    stored.sync();
    EXPECT_EQ(stored.value("Communication/ComPort").toInt(), 4);
    EXPECT_EQ(stored.value("Communication/MasterType").toInt(), 0);
    EXPECT_EQ(app->m_nComPort, 4);

    runSetup(9, 1, 1, false); // Cancel
    EXPECT_EQ(portsOpened, opens + 1);
    EXPECT_EQ(frame->Comm().GetComPort(), 4);
    stored.sync();
    EXPECT_EQ(stored.value("Communication/ComPort").toInt(), 4);
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(FrameTest, ALostPortIsReportedAndTheProgramCanReconnect) {
    loop.AddDevice("KP510", 0, 1);
    StartProgram();
    ChooseAddresses({0});
    Search();
    testing_support::Recorder page;
    frame->Relay().SetReceiver(page.Handle());
    loop.AtAddress(0)->faults.silent = -1;
    frame->Comm().SetPollingAddress(0);
    ASSERT_EQ(frame->Comm().Request(1, 0), 1); // a transaction is open when the adapter goes
    line->Unplug();
    ASSERT_TRUE(SpinUntil([&] { return !Boxes().Boxes().empty(); }));
    EXPECT_EQ(LastBox().caption, "Korvex VMC70 Ver 2.3.33");
    EXPECT_TRUE(LastBox().text.startsWith("The connection to the HART modem on the simulated loop was lost"))
        << LastBox().text.toStdString();
    EXPECT_FALSE(frame->Comm().IsConnected());
    EXPECT_EQ(RootText(), "Offline");
    EXPECT_EQ(MenuAction(ID_COM_CONNECT)->text(), "Com. Connect(&C)");
    EXPECT_EQ(page.Of(vmc::WM_HART_FAIL), (std::vector<Received>{{vmc::WM_HART_FAIL, 6, 0}}))
        << "the waiting page hears that no answer will come";

    Replug();
    loop.AtAddress(0)->faults.silent = 0;
    Boxes().Clear();
    Command(ID_COM_CONNECT);
    EXPECT_TRUE(frame->Comm().IsConnected());
    Search();
    EXPECT_EQ(TreeRows().size(), 1);
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(FrameTest, TheStatusBarFollowsEachTransaction) {
    loop.AddDevice("KP510", 0, 1);
    loop.AddDevice("KP510", 1, 2).faults.silent = -1;
    StartProgram();
    CHartComm& comm = frame->Comm();
    auto settle = [&] {
        return SpinUntil([&] {
            const int s = comm.GetComState();
            return s == hart::IDLE_COM_STATE || s == hart::NORESPONSE_COM_STATE;
        });
    };
    comm.SetPollingAddress(0);
    ASSERT_EQ(comm.Request(0, 0), 1);
    ASSERT_TRUE(settle());
    QCoreApplication::processEvents();
    CProgressBar* progress = frame->StatusPanes().Progress();
    ASSERT_TRUE(progress->IsShown());
    EXPECT_EQ(progress->Pos(), 50) << "an accepted answer fills the bar";
    EXPECT_EQ(progress->Upper(), 50);

    // A silent device: three sends, the pane counting the retries, then the failure.
    QStringList retryPane;
    comm.SetRetryCount(3);
    comm.SetPollingAddress(1);
    ASSERT_EQ(comm.Request(1, 0), 1);
    SpinUntil([&] {
        const QString t = frame->StatusPanes().Pane(3)->text();
        if (retryPane.isEmpty() || retryPane.back() != t)
            retryPane << t;
        return comm.GetComState() == hart::NORESPONSE_COM_STATE;
    });
    EXPECT_TRUE(retryPane.contains("Retry : 1"));
    EXPECT_TRUE(retryPane.contains("Retry : 2"));
    ASSERT_TRUE(settle());
    QCoreApplication::processEvents();
    EXPECT_FALSE(progress->IsShown()) << "a failed transaction removes the bar";
    EXPECT_EQ(frame->StatusPanes().Pane(2)->text(), " ");
    EXPECT_EQ(frame->StatusPanes().Pane(3)->text(), "Retry : 0");
}

TEST_F(FrameTest, PollingAddressSettingOwnsTheLoopWhileOpen) {
    loop.AddDevice("KP510", 0, 1);
    StartProgram(ProgramVariant::Admin);
    ChooseAddresses({0});
    Search();
    ASSERT_EQ(TreeRows().size(), 1);
    int retriesWhileOpen = -1;
    int devicesWhileOpen = -1;
    WhenDialogOpens<CPollingAddressDlg>([&](CPollingAddressDlg& d) {
        retriesWhileOpen = frame->Comm().GetRetryCount();
        devicesWhileOpen = frame->Comm().GetDeviceCount();
        EXPECT_TRUE(frame->IsSearching());
        EXPECT_EQ(frame->Relay().Receiver(), d.Handle());
        d.findChild<QPushButton*>("2")->click();
    });
    Command(ID_POLLING_ADDRESS_SETTING);
    EXPECT_EQ(retriesWhileOpen, 2);
    EXPECT_EQ(devicesWhileOpen, 0);
    EXPECT_TRUE(TreeRows().isEmpty());
    EXPECT_TRUE(frame->SelectedDevices().IsEmpty());
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5);
    EXPECT_FALSE(frame->IsSearching());
    EXPECT_FALSE(frame->Relay().Receiver().IsValid());

    Boxes().QueueAnswer(vmc::IDOK);
    Command(ID_COM_CONNECT); // disconnect
    Boxes().Clear();
    Command(ID_POLLING_ADDRESS_SETTING);
    ExpectOnlyBox("VMC70", "This communication connection is not established!", vmc::BoxIcon::Warning);
}

TEST_F(FrameTest, AboutNamesTheVariantAndTheVersion) {
    for (auto [variant, text] : {std::pair{ProgramVariant::User, "For User"},
                                 std::pair{ProgramVariant::Admin, "For Administrator"}}) {
        StartProgram(variant);
        QString shownVariant, shownVersion, caption;
        WhenDialogOpens<CAboutDlg>([&](CAboutDlg& d) {
            caption = d.windowTitle();
            shownVariant = d.findChild<QLabel*>("1356")->text();
            shownVersion = d.findChild<QLabel*>("1368")->text();
            d.findChild<QPushButton*>("1")->click();
        });
        Command(ID_APP_ABOUT);
        EXPECT_EQ(caption, "Korvex VMC70");
        EXPECT_EQ(shownVariant, text);
        EXPECT_EQ(shownVersion, "Ver 2.3.33");
        app.reset();
        loop.Stop();
    }
}

TEST_F(FrameTest, APortLostDuringASearchEndsTheSearch) {
    for (int a = 0; a < 4; ++a)
        loop.AddDevice("KP510", a, 0x0C00 + static_cast<std::uint32_t>(a));
    StartProgram();
    ChooseAddresses({0, 1, 2, 3});
    WhenDialogOpens<CSearchDialog>([this](CSearchDialog& d) {
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [this, &d, poll] {
            if (d.CurrentAddress() == 2) {
                line->Unplug();
                return;
            }
            QTimer::singleShot(1, *poll);
        };
        QTimer::singleShot(0, *poll);
    });
    Search(); // returns: the dialog does not wait for an answer that cannot come
    EXPECT_FALSE(frame->Comm().IsConnected());
    EXPECT_EQ(RootText(), "Offline");
    ASSERT_FALSE(Boxes().Boxes().empty());
    EXPECT_TRUE(LastBox().text.contains("was lost"));
    EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5);
}

TEST_F(FrameTest, AcceleratorsWorkWhileTheirMenuIsGreyed) {
    line->SetOpenFails(true);
    StartProgram();
    ASSERT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_I, Qt::ControlModifier);
    ExpectOnlyBox("VMC70", "This communication connection is not established!", vmc::BoxIcon::Warning);
}

TEST_F(FrameTest, ExitAsksAndTheCloseBoxDoesNot) {
    StartProgram();
    Boxes().QueueAnswer(vmc::IDCANCEL);
    Command(ID_APP_EXIT);
    ExpectOnlyBox("Korvex VMC70 Ver 2.3.33", "Do you exit Korvex VMC70 Ver 2.3.33?", vmc::BoxIcon::Question);
    EXPECT_TRUE(frame->isVisible());
    Boxes().QueueAnswer(vmc::IDOK);
    Command(ID_APP_EXIT);
    EXPECT_FALSE(frame->isVisible());

    app.reset();
    StartProgram();
    Boxes().Clear();
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(FrameTest, OpenHandsTheChosenTextFileToTheDesktop) {
    StartProgram();
    std::vector<QUrl> handed;
    QString chosen = "/tmp/log file.txt";
    frame->SetFileChooser([&](QWidget*) { return chosen; });
    frame->SetUrlOpener([&](const QUrl& url) {
        handed.push_back(url);
        return true;
    });
    Command(ID_FILE_OPEN_TEXT);
    EXPECT_EQ(handed, (std::vector<QUrl>{QUrl::fromLocalFile("/tmp/log file.txt")}));
    chosen.clear(); // the dialog was cancelled
    Command(ID_FILE_OPEN_TEXT);
    EXPECT_EQ(handed.size(), 1u);
}

TEST_F(FrameTest, FrameDebugStartsAndClosesTheMonitorProgram) {
    qputenv("PATH", QByteArray(FRAMEDEBUG_DIR) + ":" + qgetenv("PATH"));
    StartProgram(ProgramVariant::Admin);
    CExternalProgram probe("framedebug", "FrameDebug");
    ASSERT_FALSE(probe.IsRunning());
    Command(ID_FRAME_DEBUG);
    EXPECT_TRUE(frame->FrameDebugOn());
    EXPECT_TRUE(MenuAction(ID_FRAME_DEBUG)->isChecked());
    ASSERT_TRUE(SpinUntil([&] { return probe.IsRunning(); }, 10000));
    Command(ID_FRAME_DEBUG);
    EXPECT_FALSE(MenuAction(ID_FRAME_DEBUG)->isChecked());
    EXPECT_TRUE(SpinUntil([&] { return !probe.IsRunning(); }, 10000));

    // Started again and the window closed with the close box: the monitor goes too.
    Command(ID_FRAME_DEBUG);
    ASSERT_TRUE(SpinUntil([&] { return probe.IsRunning(); }, 10000));
    frame->close();
    EXPECT_TRUE(SpinUntil([&] { return !probe.IsRunning(); }, 10000));
    EXPECT_TRUE(Boxes().Boxes().empty());
}

} // namespace
