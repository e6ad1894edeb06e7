#include "shell/App.h"

#include "platform/Log.h"
#include "platform/SimulatedLine.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "shell/AboutDialog.h"
#include "shell/MainFrame.h"
#include "sim/SimConfig.h"
#include "sim/SimLoop.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>

struct CVMC70App::Simulation {
    std::shared_ptr<vmc::SimulatedLine> line = vmc::SimulatedLine::Create();
    sim::SimLoop loop;
    ~Simulation() { loop.Stop(); }
};

CVMC70App::CVMC70App(ProgramVariant variant, std::unique_ptr<CProfile> profile, std::unique_ptr<CComPortMap> ports)
    : m_variant(variant), m_profile(profile ? std::move(profile) : std::make_unique<CProfile>()),
      m_ports(ports ? std::move(ports) : std::make_unique<CComPortMap>()) {}

CVMC70App::~CVMC70App() {
    m_pMainWnd.reset(); // the link goes before the loop it talks to
    m_simulation.reset();
}

int CVMC70App::MenuResource() const {
    return m_variant == ProgramVariant::Admin ? res::IDR_MENU_ADMIN : res::IDR_MENU_USER;
}

QString CVMC70App::VariantText() const {
    return m_variant == ProgramVariant::Admin ? QStringLiteral("For Administrator") : QStringLiteral("For User");
}

QString CVMC70App::HelpText() {
    return QStringLiteral(
        "Options:\n"
        "  --simulate [FILE]  talk to simulated transmitters instead of a serial port: the\n"
        "                     default loop, or the devices described in FILE\n"
        "  --port PATH        use this serial device for this run instead of the configured\n"
        "                     COM port (for example /dev/ttyUSB0 or a hartsim terminal)\n"
        "  -h, --help         show this text\n");
}

bool CVMC70App::TakeInstanceLock() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(dir + QLatin1Char('/') + res::TitleText() + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // held for the life of the process; a crashed copy's lock is stale
    return m_lock->tryLock(0);
}

void CVMC70App::EnumerateComPorts() {
    // Explicit devices for COM numbers the rule does not cover ("Ports/COM21=/dev/ttyXR0").
    for (const auto& [number, path] : m_profile->PortPaths())
        m_ports->SetExplicit(number, path);
    m_ports->Scan();
    m_nComPortList = m_ports->Numbers();
}

void CVMC70App::LoadCommSettings() {
    m_nComPort = static_cast<std::uint8_t>(m_profile->GetInt(profile::kComPort));
    m_nRetryCount = static_cast<short>(m_profile->GetInt(profile::kRetryCount));
    m_nMasterType = static_cast<short>(m_profile->GetInt(profile::kMasterType));
}

void CVMC70App::StoreCommSettings() {
    m_profile->WriteInt(profile::kComPort, m_nComPort);
    m_profile->WriteInt(profile::kRetryCount, m_nRetryCount);
    m_profile->WriteInt(profile::kMasterType, m_nMasterType);
}

bool CVMC70App::StartSimulation(const QString& loopFile, QString* error) {
    auto s = std::make_unique<Simulation>();
    if (!loopFile.isEmpty()) {
        if (!sim::LoadLoopFile(s->loop, loopFile, error))
            return false;
    } else {
        sim::AddDefaultLoop(s->loop);
    }
    s->line->SetPacing(s->loop.Timing().baudRate);
    s->loop.Start(s->line->PeerFd());
    m_portFactory = [line = s->line] { return line->CreatePort(); };
    m_simulation = std::move(s);
    return true;
}

CMainFrame* CVMC70App::CreateMainFrame() {
    m_pMainWnd = std::make_unique<CMainFrame>(*this);
    m_pMainWnd->OnCreate();
    return m_pMainWnd.get();
}

void CVMC70App::OnAppAbout() {
    CAboutDlg dlg(VariantText(), m_pMainWnd.get());
    dlg.exec();
}

int CVMC70App::InitInstance(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(res::TitleText());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text."));
    const QCommandLineOption simulate(QStringLiteral("simulate"), QStringLiteral("Simulated transmitters."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serial device for this run."),
                                  QStringLiteral("path"));
    parser.addOptions({help, simulate, port});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Loop file for --simulate."), QStringLiteral("[FILE]"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "vmc70: %s\n%s", qPrintable(parser.errorText()), qPrintable(HelpText()));
        m_nExitCode = 2;
        return 0;
    }
    if (parser.isSet(help)) {
        std::printf("Usage: %s [--simulate [FILE] | --port PATH]\n\n%s", qPrintable(QFileInfo(arguments.value(0)).fileName()),
                    qPrintable(HelpText()));
        m_nExitCode = 0;
        return 0;
    }
    const QStringList rest = parser.positionalArguments();
    if (rest.size() > 1 || (!rest.isEmpty() && !parser.isSet(simulate))) {
        std::fprintf(stderr, "vmc70: unexpected argument \"%s\"\n%s", qPrintable(rest.back()), qPrintable(HelpText()));
        m_nExitCode = 2;
        return 0;
    }

    if (!TakeInstanceLock()) {
        m_nExitCode = 0; // a copy already runs: end quietly
        return 0;
    }
    EnumerateComPorts();
    LoadCommSettings();
    if (parser.isSet(port))
        SetPortOverride(parser.value(port).toStdString());
    if (parser.isSet(simulate)) {
        QString error;
        if (!StartSimulation(rest.value(0), &error)) {
            std::fprintf(stderr, "vmc70: %s\n", qPrintable(error));
            m_nExitCode = 2;
            return 0;
        }
    }

    CMainFrame* frame = CreateMainFrame();
    frame->show();
    frame->setWindowTitle(res::TitleText());
    if (QScreen* screen = frame->screen()) {
        const QRect area = screen->availableGeometry();
        frame->move(area.center() - frame->rect().center());
    }
    return 1;
}
