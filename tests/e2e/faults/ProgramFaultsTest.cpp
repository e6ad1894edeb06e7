// The program window on a pseudo-terminal to the simulated loop: what a service engineer sees
// when a device misbehaves during the search or under an open page, when the modem goes away in
// the middle of a transaction, and when another program has the port.
#include "OtherProcess.h"
#include "PtyLoop.h"
#include "shell/ShellFixture.h"

#include "pages/misc/LcdPropSheet.h"
#include "pages/transmitter/TransmitterSheets.h"
#include "platform/TimeScale.h"
#include "shell/SearchDialog.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

using namespace testing_support;
using namespace res;

namespace {

const QString kTitle = "Korvex VMC70 Ver 2.3.33";
const QString kChecksum = "Longitudinal Parity Error (Checksum Error)    ";
constexpr int kLcdExit = 2;
constexpr int kLcdRead = 207; // what the LCD sheet reads of a KP520

class ProgramOnPtyTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        pty = std::make_unique<PtyLoop>(loop, dir.path());
    }
    void TearDown() override {
        app.reset();
        pty.reset();
        ShellTest::TearDown();
    }
    // The program as a user starts it with --port on the terminal (plugged in first unless told).
    void StartOnPty(bool plugged = true) {
        if (plugged) {
            ASSERT_TRUE(pty->Plug());
        }
        app = MakeApp(ProgramVariant::User);
        RegisterProgramPages(app->Catalog());
        app->SetPortOverride(pty->Path());
        app->EnumerateComPorts();
        app->LoadCommSettings();
        frame = app->CreateMainFrame();
        frame->show();
        QCoreApplication::processEvents();
    }
    int Heard(int address, int command) {
        return loop.With([&](sim::SimLoop& l) {
            const auto& r = l.AtAddress(address)->received;
            const auto it = r.find(command);
            return it == r.end() ? 0 : it->second;
        });
    }
    template <class F> void OnDevice(int address, F f) {
        loop.With([&](sim::SimLoop& l) {
            f(*l.AtAddress(address));
            return 0;
        });
    }
    bool LinkSettled() {
        const int s = frame->Comm().GetComState();
        return !loop.Answering() &&
               (s == hart::IDLE_COM_STATE || s == hart::COMERROR_COM_STATE || s == hart::NORESPONSE_COM_STATE);
    }
    // Runs the command; once its dialog D is open and done() holds, closes it as the user does
    // (by default "Exit", which rejects). Returns whether done() held in time.
    template <class D>
    bool RunUntil(int command, std::function<bool()> done, std::function<void()> whileOpen = {},
                  std::function<void(D&)> close = [](D& d) { static_cast<QDialog&>(d).reject(); }) {
        bool held = false;
        WhenDialogOpens<D>([&, done, whileOpen, close](D& dialog) {
            auto* check = new QTimer(&dialog);
            auto started = std::make_shared<QElapsedTimer>();
            started->start();
            QObject::connect(check, &QTimer::timeout, &dialog, [&, check, started, done, whileOpen, close] {
                if (whileOpen)
                    whileOpen();
                held = done();
                if (!held && started->elapsed() < 10000)
                    return;
                check->stop();
                close(dialog);
            });
            check->start(5);
        });
        Command(command);
        return held;
    }
    bool RunLcdSheetUntil(std::function<bool()> done, std::function<void()> whileOpen = {}) {
        return RunUntil<CLCDPropSheet>(ID_LCD_DISPLAY_MODE, std::move(done), std::move(whileOpen),
                                       [](CLCDPropSheet& sheet) {
                                           sheet.findChild<QPushButton*>(QString::number(kLcdExit))->click();
                                       });
    }
    std::vector<QString> Captions() {
        std::vector<QString> out;
        for (const auto& b : Boxes().Boxes())
            out.push_back(b.caption);
        return out;
    }

    std::unique_ptr<PtyLoop> pty;
};

// One device of three misbehaves during the search.
struct SearchCase {
    const char* name;
    void (*set)(sim::SimFaults&);
    QStringList rows;
    int heardCommand0;
    std::vector<QString> boxes; // all with the caption "Communication Error"
};

class SearchFaultTest : public ProgramOnPtyTest, public ::testing::WithParamInterface<SearchCase> {};

const QStringList kWithout2 = {"01: KP51-01", "03: KT41-03"};
const QStringList kAll = {"01: KP51-01", "02: KP52-02", "03: KT41-03"};

} // namespace

TEST_P(SearchFaultTest, TheSearchEndsAndListsWhatAnswered) {
    const SearchCase& c = GetParam();
    loop.AddDevice("KP510", 1, 0x000E01);
    c.set(loop.AddDevice("KP520", 2, 0x000E02).faults);
    loop.AddDevice("KT410", 3, 0x000E03);
    StartOnPty();
    ASSERT_TRUE(frame->Comm().IsConnected()) << frame->Comm().LastConnectError();
    ChooseAddresses({1, 2, 3});
    Boxes().Clear();
    Search(); // returns when the search dialog has ended

    QStringList rows = TreeRows();
    for (QString& r : rows)
        r = r.trimmed();
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(Heard(2, 0), c.heardCommand0);
    EXPECT_EQ(BoxTexts(), c.boxes);
    for (const auto& caption : Captions())
        EXPECT_EQ(caption, "Communication Error");
    EXPECT_FALSE(frame->IsSearching());
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5) << "the configured attempts are back";
    EXPECT_EQ(frame->CurrentDevice(), 3);
    EXPECT_TRUE(frame->Menus().TopLevel(2)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SearchFaultTest,
    ::testing::Values(
        // The search tries each address twice.
        SearchCase{"silence", [](sim::SimFaults& f) { f.silent = -1; }, kWithout2, 2, {}},
        SearchCase{"bad check byte", [](sim::SimFaults& f) { f.badCheck = -1; }, kWithout2, 2, {""}},
        SearchCase{"reported communication error", [](sim::SimFaults& f) { f.commError = -1; }, kWithout2, 2,
                   {kChecksum}},
        // A busy answer carries no identity: asked again three times, then passed over.
        SearchCase{"busy", [](sim::SimFaults& f) { f.busy = -1; }, kWithout2, 4, {}},
        SearchCase{"busy twice", [](sim::SimFaults& f) { f.busy = 2; }, kAll, 3, {}},
        SearchCase{"refused", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 16; }, kWithout2, 4, {}},
        SearchCase{"noise before the preambles", [](sim::SimFaults& f) { f.noise = -1; }, kAll, 1, {}},
        SearchCase{"slow", [](sim::SimFaults& f) { f.slowMs = 700; }, kAll, 1, {}},
        SearchCase{"slower than the timer", [](sim::SimFaults& f) { f.slowMs = 2200; }, kAll, 1, {}}),
    [](const auto& p) {
        std::string n = p.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

namespace {

// The device under an open page misbehaves.
struct PageCase {
    const char* name;
    void (*set)(sim::SimFaults&);
    int sends;
    std::vector<std::pair<QString, QString>> boxes; // caption, text
};

class PageFaultTest : public ProgramOnPtyTest, public ::testing::WithParamInterface<PageCase> {};

const std::pair<QString, QString> kRefused = {"Error", "[Cmd#207] Because occur an error, fail a command!"};

} // namespace

TEST_P(PageFaultTest, ThePageSaysWhatHappenedAndCloses) {
    const PageCase& c = GetParam();
    loop.AddDevice("KP520", 3, 0x000E03);
    StartOnPty();
    ChooseAddresses({3});
    Search();
    ASSERT_EQ(TreeRows().size(), 1);
    OnDevice(3, [&](sim::SimDevice& d) {
        c.set(d.faults);
        d.received.clear();
    });
    Boxes().Clear();

    const bool settled = RunLcdSheetUntil([&] {
        return Boxes().Boxes().size() >= c.boxes.size() && Heard(3, kLcdRead) >= 1 && LinkSettled();
    });
    EXPECT_TRUE(settled);
    std::vector<std::pair<QString, QString>> shown;
    for (const auto& b : Boxes().Boxes())
        shown.emplace_back(b.caption, b.text);
    EXPECT_EQ(shown, c.boxes);
    EXPECT_EQ(Heard(3, kLcdRead), c.sends) << "the frame goes out as often as the attempts allow";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the sheet closed";
    EXPECT_FALSE(frame->Relay().Receiver().IsValid());
    EXPECT_TRUE(frame->Comm().IsConnected());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PageFaultTest,
    ::testing::Values(
        PageCase{"silence", [](sim::SimFaults& f) { f.silent = -1; }, 5, {{kTitle, "No Response!"}}},
        PageCase{"bad check byte", [](sim::SimFaults& f) { f.badCheck = -1; }, 5,
                 {{"Communication Error", ""}, {kTitle, "Communication Error!"}}},
        PageCase{"reported communication error", [](sim::SimFaults& f) { f.commError = -1; }, 5,
                 {{"Communication Error", kChecksum}, {kTitle, "Communication Error!"}}},
        PageCase{"busy", [](sim::SimFaults& f) { f.busy = -1; }, 1, {kRefused}},
        PageCase{"refused 2", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 2; }, 1, {kRefused}},
        PageCase{"refused 7", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 7; }, 1, {kRefused}},
        PageCase{"refused 16", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 16; }, 1, {kRefused}},
        PageCase{"noise before the preambles", [](sim::SimFaults& f) { f.noise = -1; }, 1, {}},
        PageCase{"slow", [](sim::SimFaults& f) { f.slowMs = 700; }, 1, {}},
        PageCase{"silent once", [](sim::SimFaults& f) { f.silent = 1; }, 2, {}}),
    [](const auto& p) {
        std::string n = p.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

namespace {

class ModemGoneTest : public ProgramOnPtyTest {
protected:
    // After the loss: the window is offline and still answers; the adapter comes back under the
    // same name and the engineer connects, searches and opens the page again.
    void ExpectOfflineThenReconnect(int devices) {
        EXPECT_FALSE(frame->Comm().IsConnected());
        EXPECT_EQ(RootText(), "Offline");
        EXPECT_EQ(MenuAction(ID_COM_CONNECT)->text(), "Com. Connect(&C)");
        EXPECT_FALSE(frame->Menus().TopLevel(2)->isEnabled());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

        Boxes().Clear();
        Command(ID_LCD_DISPLAY_MODE);
        EXPECT_EQ(BoxTexts(), std::vector<QString>{"This communication connection is not established!"});
        Boxes().Clear();
        Command(ID_COM_CONNECT);
        EXPECT_EQ(BoxTexts(), std::vector<QString>{"Can't connect this communication."});
        EXPECT_EQ(frame->MessageText(), QString::fromStdString(pty->Path() + ": no such device"));

        OnDevice(3, [](sim::SimDevice& d) { d.faults = {}; });
        ASSERT_TRUE(pty->Plug());
        Boxes().Clear();
        Command(ID_COM_CONNECT);
        EXPECT_TRUE(frame->Comm().IsConnected());
        EXPECT_TRUE(SpinUntil([&] { return RootText() == "Online"; }));
        Search();
        EXPECT_EQ(TreeRows().size(), devices);
        OnDevice(3, [](sim::SimDevice& d) { d.received.clear(); });
        EXPECT_TRUE(RunLcdSheetUntil([&] { return Heard(3, kLcdRead) == 1 && LinkSettled(); }));
        EXPECT_TRUE(Boxes().Boxes().empty()) << BoxTexts()[0].toStdString();
    }
    QString LostText() const {
        return QString::fromStdString("The connection to the HART modem on " + pty->Path() +
                                      " was lost (Input/output error).\n\nCheck the adapter and its cable, then "
                                      "connect again with System > Com. Connect.");
    }
};

} // namespace

// A USB adapter pulled out while a page waits for its answer.
TEST_F(ModemGoneTest, UnpluggedUnderAnOpenPage) {
    loop.AddDevice("KP520", 3, 0x000E03);
    StartOnPty();
    ChooseAddresses({3});
    Search();
    ASSERT_EQ(TreeRows().size(), 1);
    OnDevice(3, [](sim::SimDevice& d) { d.faults.silent = -1; }); // keeps the transaction open
    Boxes().Clear();
    bool pulled = false;
    const bool told = RunLcdSheetUntil([&] { return Boxes().Boxes().size() >= 2; },
                                       [&] {
                                           if (!pulled && Heard(3, kLcdRead) >= 1 &&
                                               frame->Comm().GetComState() == hart::WAIT_COM_STATE) {
                                               pulled = true;
                                               // Without the right to hang up, the terminal closes.
                                               pty->Unplug(PtyLoop::Pull::HangUp);
                                           }
                                       });
    EXPECT_TRUE(pulled);
    EXPECT_TRUE(told);
    EXPECT_EQ(BoxTexts(), (std::vector<QString>{"No Response!", LostText()}));
    EXPECT_EQ(Captions(), (std::vector<QString>{kTitle, kTitle}));
    ExpectOfflineThenReconnect(1);
}

// The terminal closes under a search (hartsim ended).
TEST_F(ModemGoneTest, UnpluggedDuringASearch) {
    loop.AddDevice("KP510", 1, 0x000E01);
    loop.AddDevice("KP520", 3, 0x000E03);
    StartOnPty();
    ChooseAddresses({1, 2, 3});
    Boxes().Clear();
    WhenDialogOpens<CSearchDialog>([this](CSearchDialog& d) {
        auto* check = new QTimer(&d);
        QObject::connect(check, &QTimer::timeout, &d, [this, &d, check] {
            if (d.CurrentAddress() == 2 && frame->Comm().GetComState() == hart::WAIT_COM_STATE) {
                check->stop();
                pty->Unplug();
            }
        });
        check->start(1);
    });
    Search(); // returns: the search does not wait for answers that cannot come
    EXPECT_EQ(BoxTexts(), std::vector<QString>{LostText()});
    EXPECT_TRUE(TreeRows().isEmpty());
    EXPECT_FALSE(frame->IsSearching());
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5);
    ExpectOfflineThenReconnect(2);
}

// The adapter goes between two refreshes of a page that reads the device on its own timer.
TEST_F(ModemGoneTest, APageThatRefreshesSaysNothingMoreOnceTheModemIsGone) {
    loop.AddDevice("KP520", 3, 0x000E03);
    StartOnPty();
    ChooseAddresses({3});
    Search();
    Boxes().Clear();
    bool pulled = false;
    QElapsedTimer sincePulled;
    const int refreshMs = vmc::ScaledMs(5000);
    RunUntil<CTransmitterSetupPropSheet>(
        ID_TRANSMITTER_SETUP, [&] { return pulled && sincePulled.elapsed() > 3 * refreshMs; },
        [&] {
            // Pulled once the first refresh was answered.
            if (!pulled && Heard(3, 15) >= 1 && Heard(3, 3) >= 2 && LinkSettled()) {
                pulled = true;
                sincePulled.start();
                pty->Unplug(PtyLoop::Pull::HangUp);
            }
        });
    EXPECT_TRUE(pulled);
    EXPECT_EQ(BoxTexts(), std::vector<QString>{LostText()}) << "told once, not at every refresh";
    ExpectOfflineThenReconnect(1);
}

TEST_F(ProgramOnPtyTest, APortInUseIsRefusedAtConnectWithTheReason) {
    loop.AddDevice("KP520", 3, 0x000E03);
    ASSERT_TRUE(pty->Plug());
    auto holder = std::make_unique<PortHolder>(pty->Path(), HoldMode::Lock);
    ASSERT_TRUE(holder->Holding());
    StartOnPty(/*plugged=*/false);
    EXPECT_TRUE(Boxes().Boxes().empty()) << "quiet at start-up";
    EXPECT_FALSE(frame->Comm().IsConnected());
    EXPECT_EQ(RootText(), "Offline");

    Command(ID_COM_CONNECT);
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].caption, kTitle);
    EXPECT_EQ(Boxes().Boxes()[0].text, "Can't connect this communication.");
    EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::Error);
    EXPECT_EQ(frame->MessageText(),
              QString::fromStdString(pty->Path() + ": the port is in use by another program"));
    EXPECT_EQ(RootText(), "Offline");

    holder.reset(); // the other program ends
    Boxes().Clear();
    Command(ID_COM_CONNECT);
    EXPECT_TRUE(Boxes().Boxes().empty());
    EXPECT_TRUE(frame->Comm().IsConnected());
    EXPECT_TRUE(SpinUntil([&] { return RootText() == "Online"; }));
    ChooseAddresses({3});
    Search();
    EXPECT_EQ(TreeRows().size(), 1);
}
