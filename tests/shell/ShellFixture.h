#pragma once
// The program window on the offscreen platform against an in-process simulated loop: settings in
// a scratch INI file, no serial ports, a page catalog whose openers record what they were asked
// to open. The adapter can be pulled out and put back (a fresh line on the same loop).
#include "common/ModalDialogs.h"
#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "resources/CommandIds.h"
#include "shell/App.h"
#include "shell/DeviceTree.h"
#include "shell/FrameMenus.h"
#include "shell/MainFrame.h"
#include "shell/SearchOption.h"
#include "shell/StatusPanes.h"
#include "sim/SlaveFraming.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        Boxes().SetDefaultAnswer(-1);
        Boxes().SetObserver(nullptr);
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        line = vmc::SimulatedLine::Create();
    }
    void TearDown() override {
        Boxes().SetObserver(nullptr);
        app.reset();
        loop.Stop();
    }

    QString SettingsPath() const { return dir.filePath(QStringLiteral("vmc70.ini")); }
    std::unique_ptr<CProfile> Profile() const {
        return std::make_unique<CProfile>(std::make_unique<QSettings>(SettingsPath(), QSettings::IniFormat));
    }
    // An application object on the scratch settings and a machine without serial ports.
    std::unique_ptr<CVMC70App> MakeApp(ProgramVariant variant = ProgramVariant::User) {
        QDir(dir.path()).mkpath(QStringLiteral("sys"));
        return std::make_unique<CVMC70App>(variant, Profile(),
                                           std::make_unique<CComPortMap>(dir.filePath(QStringLiteral("sys")),
                                                                         dir.filePath(QStringLiteral("dev"))));
    }

    // Starts the loop (devices added before) and the program window on it.
    void StartProgram(ProgramVariant variant = ProgramVariant::User, bool loopRunning = true) {
        if (loopRunning)
            loop.Start(line->PeerFd());
        app = MakeApp(variant);
        RegisterRecordingPages(app->Catalog());
        app->SetPortFactory([this] {
            ++portsOpened;
            return line->CreatePort();
        });
        app->EnumerateComPorts();
        app->LoadCommSettings();
        frame = app->CreateMainFrame();
        frame->show();
        QCoreApplication::processEvents();
    }
    // The adapter comes back: a new line to the same loop.
    void Replug() {
        loop.Stop();
        line = vmc::SimulatedLine::Create();
        loop.Start(line->PeerFd());
    }

    // Openers that record the key and the current device, then "close" at once.
    void RegisterRecordingPages(CPageCatalog& catalog) {
        for (int key : pageKeys)
            catalog.Register(key, [this, key](IPageHost& host) {
                opened.push_back({key, host.CurrentDevice()});
                if (onOpen)
                    onOpen(host);
            });
    }

    void Command(int id) {
        frame->OnCommand(id);
        QCoreApplication::processEvents();
    }
    // Unticks "Auto Searching" and ticks these address boxes.
    void ChooseAddresses(std::initializer_list<int> addresses) {
        CSearchOption* form = frame->SearchOptionView();
        form->AutoSearching()->click();
        for (int a : addresses)
            form->AddressBox(a)->click();
    }
    // Runs the search over the option form's addresses and waits for its dialog to end.
    void Search() { Command(res::ID_SEARCH_DEVICE); }
    QAction* MenuAction(int id) { return frame->Menus().MenuAction(id); }
    QStringList TreeRows() {
        QStringList rows;
        QTreeWidgetItem* root = frame->DeviceTreeView()->Root();
        for (int i = 0; root && i < root->childCount(); ++i)
            rows << root->child(i)->text(0);
        return rows;
    }
    QString RootText() { return frame->DeviceTreeView()->Root()->text(0); }
    // Every request the link wrote on the line, in order.
    std::vector<sim::ParsedRequest> Requests() const { return ParsedRequests(*line); }
    std::vector<QString> BoxTexts() { return Boxes().Texts(); }

    struct Opened {
        int key;
        int device;
        bool operator==(const Opened& o) const { return key == o.key && device == o.device; }
    };

    QTemporaryDir dir;
    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    std::unique_ptr<CVMC70App> app;
    CMainFrame* frame = nullptr;
    int portsOpened = 0;
    std::vector<int> pageKeys = {res::ID_TRANSMITTER_INFO, res::ID_TRANSMITTER_SETUP, res::ID_TRANSMITTER_STATUS,
                                 res::ID_LCD_DISPLAY_MODE, res::ID_COMMAND_TEST,     res::ID_TOTALIZE,
                                 res::ID_GWR_LEVEL,        res::ID_FOR_DEBUG,        kPageTrendSingle,
                                 kPageTrendMulti};
    std::vector<Opened> opened;
    std::function<void(IPageHost&)> onOpen;
};

} // namespace testing_support
