// Takes the manual's screenshots from the real program: the user variant on its built-in
// simulated loop, searched, with each window of the user menu opened as a user would open it.
// Run under a display (scripts/screenshots.sh uses Xvfb); writes PNG files into the folder given.
// usage: vmc70-screenshots OUTPUT_FOLDER
#include "pages/common/PropertySheet.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "shell/App.h"
#include "shell/DesktopMessageBoxes.h"
#include "shell/DeviceTree.h"
#include "shell/MainFrame.h"
#include "shell/PageCatalog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidgetItem>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kKeep = -2;
constexpr int kAll = -1;

struct Shot {
    const char* file;
    int command;
    int address;    // the current device while the window is open
    int tab = -1;   // a tab of the sheet to show, or the first
    int settleMs = 2500; // long enough for the window's reads at 1200 baud
    int ticked = kKeep;  // the transmitters ticked in the tree: kKeep, kAll, or this address alone
};

// The windows of the user menu, each on a transmitter it is meant for.
const Shot kShots[] = {
    {"transmitter-information.png", res::ID_TRANSMITTER_INFO, 0},
    {"transmitter-information-sensor.png", res::ID_TRANSMITTER_INFO, 1, 1},
    {"transmitter-setup.png", res::ID_TRANSMITTER_SETUP, 0, -1, 4000},
    {"transmitter-trim.png", res::ID_TRANSMITTER_SETUP, 0, 1, 4000},
    {"transmitter-status.png", res::ID_TRANSMITTER_STATUS, 0},
    {"command-test.png", res::ID_COMMAND_TEST, 0, -1, 500},
    {"lcd-display-mode.png", res::ID_LCD_DISPLAY_MODE, 0},
    {"totalize.png", res::ID_TOTALIZE, 5},
    {"gwr-level.png", res::ID_GWR_LEVEL, 4},
    // Data Trend trends the current transmitter alone, or every ticked one on a multi-drop loop.
    {"data-trend.png", res::ID_DATA_TREND, 0, -1, 8000, 0},
    {"data-trend-multidrop.png", res::ID_DATA_TREND, 1, -1, 12000, kAll},
};

// Ticks the rows as the shot wants them; the last ticked row becomes the current device.
void Tick(CLeftView& tree, int ticked, int current) {
    if (ticked == kKeep)
        return;
    for (int a = 0; a < 16; ++a)
        if (tree.RowOf(a))
            tree.CheckDevice(a, ticked == kAll || a == ticked);
    tree.CheckDevice(current, true);
}

// Keeps the event loop turning for a while (the link's answers arrive as events).
void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget* w, const QString& path) {
    const bool ok = w->grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// Calls f with the next modal window once it is shown; the window is closed afterwards.
void OnNextModal(std::function<void(QWidget&)> f) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, f]() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        f(*w);
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    });
    timer->start();
}

int Run(CMainFrame& frame, const QDir& out) {
    int failures = 0;
    frame.resize(880, 700);
    Pump(500);

    // The search, caught while it runs, then the frame with the loop found.
    OnNextModal([&](QWidget& w) {
        Pump(1500);
        failures += !Save(&w, out.filePath(QStringLiteral("search.png")));
        // Let the search finish: the dialog closes itself.
        QDeadlineTimer deadline(60000);
        while (w.isVisible() && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    });
    frame.OnCommand(res::ID_SEARCH_DEVICE);
    CLeftView* tree = frame.DeviceTreeView();
    if (QTreeWidgetItem* row = tree->RowOf(0))
        tree->setCurrentItem(row);
    Pump(2500);
    failures += !Save(&frame, out.filePath(QStringLiteral("vmc70-main.png")));

    for (const Shot& s : kShots) {
        QTreeWidgetItem* row = tree->RowOf(s.address);
        if (!row) {
            std::fprintf(stderr, "no device at address %d for %s\n", s.address, s.file);
            ++failures;
            continue;
        }
        Tick(*tree, s.ticked, s.address);
        tree->setCurrentItem(row);
        Pump(300);
        if (!frame.IsCommandAvailable(s.command)) {
            std::fprintf(stderr, "command %d is not available for %s\n", s.command, s.file);
            ++failures;
            continue;
        }
        OnNextModal([&](QWidget& w) {
            if (auto* sheet = dynamic_cast<CPropertySheet*>(&w); sheet && s.tab >= 0)
                sheet->SetActivePage(s.tab);
            Pump(s.settleMs);
            failures += !Save(&w, out.filePath(QString::fromLatin1(s.file)));
        });
        frame.OnCommand(s.command);
        Pump(300);
    }
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 2;
    }
    QApplication::setOrganizationName(CProfile::Organization());
    QApplication::setApplicationName(CProfile::Application());
    QApplication::setApplicationDisplayName(res::LoadString(res::IDS_APP_TITLE));
    vmc::SetMessageBoxService(std::make_shared<CDesktopMessageBoxes>());
    int failures = 0;
    {
        CVMC70App theApp(ProgramVariant::User);
        RegisterProgramPages(theApp.Catalog());
        if (!theApp.InitInstance({QStringLiteral("vmc70"), QStringLiteral("--simulate")})) {
            std::fprintf(stderr, "the program did not start\n");
            return 1;
        }
        CMainFrame* frame = theApp.MainFrame();
        QTimer::singleShot(0, [&] {
            failures = Run(*frame, out);
            QApplication::quit();
        });
        QApplication::exec();
    }
    vmc::SetMessageBoxService(nullptr);
    return failures == 0 ? 0 : 1;
}
