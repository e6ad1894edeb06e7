// The three commands through the program window: the real openers in the program's catalog, the
// exclusive-model checks in front of them, and the dialogs they open talking to the ticked device.
#include "shell/ShellFixture.h"

#include "hart/Codecs.h"
#include "pages/misc/GwrLevelDlg.h"
#include "pages/misc/LcdPropSheet.h"
#include "pages/misc/TotalizeDlg.h"
#include "shell/PageCatalog.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

using namespace testing_support;
using namespace res;

namespace {

class UserMenuFrameTest : public ShellTest {
protected:
    // The program as it starts for a user: the real catalog, then the window.
    void StartRealProgram() {
        loop.Start(line->PeerFd());
        app = MakeApp(ProgramVariant::User);
        RegisterProgramPages(app->Catalog());
        app->SetPortFactory([this] { return line->CreatePort(); });
        app->EnumerateComPorts();
        app->LoadCommSettings();
        frame = app->CreateMainFrame();
        frame->show();
        QCoreApplication::processEvents();
    }
    void Tick(int address) {
        vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, static_cast<vmc::WPARAM>(address), 1);
    }
    // Commands of long frames addressed to the device with this id.
    std::vector<int> CommandsTo(std::uint32_t deviceId) {
        std::vector<int> out;
        for (const auto& r : Requests())
            if (!r.shortFrame && hart::GetU24(&r.longAddress[2]) == deviceId)
                out.push_back(r.command);
        return out;
    }
    // Runs the command; when a dialog of type D opens, waits in its own event loop until the link
    // has sent these commands and gone idle, then closes it with its exit button.
    template <class D> bool OpenAndClose(int command, std::vector<int> reads, int exitId) {
        bool seen = false;
        line->ClearWrites();
        WhenDialogOpens<D>([&, reads, exitId](D& d) {
            auto* check = new QTimer(&d);
            auto started = std::make_shared<QElapsedTimer>();
            started->start();
            QObject::connect(check, &QTimer::timeout, &d, [&, check, started, reads, exitId] {
                std::vector<int> cmds;
                for (const auto& r : Requests())
                    cmds.push_back(r.command);
                seen = cmds == reads && frame->Comm().GetComState() == 0;
                if (!seen && started->elapsed() < 5000)
                    return;
                check->stop();
                d.template findChild<QPushButton*>(QString::number(exitId))->click();
            });
            check->start(5);
        });
        Command(command);
        return seen;
    }
};

TEST_F(UserMenuFrameTest, TheProgramHasTheThreeCommands) {
    StartRealProgram();
    for (int id : {ID_LCD_DISPLAY_MODE, ID_TOTALIZE, ID_GWR_LEVEL}) {
        ASSERT_NE(MenuAction(id), nullptr) << id;
        for (QAction* a : frame->Menus().Actions(id))
            EXPECT_TRUE(a->isEnabled()) << id << " " << a->text().toStdString();
    }
}

TEST_F(UserMenuFrameTest, ExclusiveCommandsOpenTheirDialogOnlyForTheirModel) {
    loop.AddDevice("KP510F", 1, 0x0901);
    loop.AddDevice("KL710", 2, 0x0902);
    loop.AddDevice("3051", 4, 0x0904);
    StartRealProgram();
    ChooseAddresses({1, 2, 4});
    Search();
    const QString kp510f = "This is an exclusive menu for KP-510F.   ";
    const QString kl710 = "This is an exclusive menu for KL-710.   ";
    struct Refusal {
        int command;
        int device;
        QString box;
    };
    const Refusal refusals[] = {
        {ID_TOTALIZE, 2, kp510f},
        {ID_TOTALIZE, 4, kp510f},
        {ID_GWR_LEVEL, 1, kl710},
        {ID_GWR_LEVEL, 4, "This menu is Korvex Transmitter whole aspect menus.   "},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(testing::Message() << r.command << " on " << r.device);
        Tick(r.device);
        Boxes().Clear();
        line->ClearWrites();
        Command(r.command);
        QTest::qWait(50);
        EXPECT_EQ(BoxTexts(), std::vector<QString>{r.box});
        EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
        EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
        EXPECT_TRUE(Requests().empty()) << "no dialog talked to the device";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    Boxes().Clear();
    Tick(1);
    EXPECT_TRUE(OpenAndClose<CTotalizeDlg>(ID_TOTALIZE, {189, 188, 237}, CTotalizeDlg::IDC_EXIT));
    EXPECT_EQ(CommandsTo(0x0901), (std::vector<int>{189, 188, 237}));
    Tick(2);
    EXPECT_TRUE(OpenAndClose<CGWRLevelDlg>(ID_GWR_LEVEL, {140, 142, 148, 15}, CGWRLevelDlg::IDC_CANCEL));
    EXPECT_EQ(CommandsTo(0x0902), (std::vector<int>{140, 142, 148, 15}));
    EXPECT_TRUE(Boxes().Boxes().empty()) << BoxTexts()[0].toStdString();
    EXPECT_FALSE(frame->Relay().Receiver().IsValid()) << "the receiver is reset after the dialog";

    // Nothing ticked.
    vmc::SendMessage(frame->DeviceTreeView()->Handle(), vmc::WM_TREE_CHECK, 255, 0);
    for (int command : {ID_TOTALIZE, ID_GWR_LEVEL}) {
        Boxes().Clear();
        Command(command);
        EXPECT_EQ(BoxTexts(), std::vector<QString>{"Select a Device!"});
    }
}

TEST_F(UserMenuFrameTest, LcdDisplayModeOpensOnTheTickedDevice) {
    loop.AddDevice("KP520", 3, 0x0903); // device revision 2: no decimal places
    StartRealProgram();
    ChooseAddresses({3});
    Search();
    Boxes().Clear();
    EXPECT_TRUE(OpenAndClose<CLCDPropSheet>(ID_LCD_DISPLAY_MODE, {207}, 2));
    EXPECT_EQ(CommandsTo(0x0903), std::vector<int>{207});
    EXPECT_TRUE(Boxes().Boxes().empty());
}

} // namespace
