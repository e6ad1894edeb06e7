// A long multi-drop trend: 16 transmitters on hartsim (a separate process on a pseudo-terminal, so
// the figures are the program's own), the trend sheet open on its multi-drop page at the fastest
// query time, logging on. The program's clock runs on a shortened time scale; every checkpoint
// prints the CPU time the program spent per sample (all its threads, and the UI thread alone) and
// its resident memory, which must stay flat however long the trend runs.
#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/DataDVMultiPage.h"
#include "monitor/trend/DataGraphMulti.h"
#include "monitor/trend/TrendSettings.h"
#include "platform/MessageBox.h"
#include "platform/TimeScale.h"
#include "shell/StandalonePageHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kDevices = 16;
const char* const kModels[] = {"KP510", "KT410", "KP520", "KF610", "KP550", "KP570N", "KT420", "KP510F"};

double ProcessCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

long ResidentKiB() {
    long size = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

template <class Pred> bool Spin(Pred pred, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vmc::SetMessageBoxService(std::make_shared<vmc::ConsoleMessageBoxes>());
    long passes = 4000;
    double scale = 0.02;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--passes")
            passes = std::max(10L, std::atol(argv[++i]));
        else if (std::string(argv[i]) == "--scale")
            scale = std::atof(argv[++i]);
    }
    vmc::SetTimeScale(scale);

    QTemporaryDir dir;
    QStringList simArgs;
    for (int a = 1; a <= kDevices; ++a)
        simArgs << QStringLiteral("--device")
                << QStringLiteral("%1,address=%2,tag=TX-%2").arg(QLatin1String(kModels[a % 8])).arg(a);
    QProcess sim;
    sim.start(QStringLiteral(HARTSIM_PATH), simArgs);
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "hartsim did not start\n");
        return 1;
    }
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();

    CStandalonePageHost host;
    host.SetProfile(std::make_unique<CProfile>(
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("vmc70.ini")), QSettings::IniFormat)));
    CTrendSettings settings(host.Profile());
    settings.WriteText(trendkeys::kLogFolder, dir.filePath(QStringLiteral("logs")));
    settings.WriteInt(trendkeys::kQueryTime, CTrendSettings::kMinQueryTime);
    CHartComm& comm = host.Comm();
    comm.SetPortPath(pty.toStdString());
    comm.SetRetryCount(3);
    if (!comm.Connect()) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(pty), comm.LastConnectError().c_str());
        return 1;
    }
    // Identify every transmitter as the search does.
    for (int a = 1; a <= kDevices; ++a) {
        for (int cmd : {0, 13}) {
            comm.SetPollingAddress(a);
            comm.Request(cmd, 0);
            Spin([&] { return comm.GetComState() == 0; }, 5000);
            QCoreApplication::processEvents();
        }
        host.SelectedDevices().AddSorted(a);
    }

    // The program's own event loop runs between checkpoints (a polling wait would burn CPU of its
    // own); every transaction that ends is a sample.
    long samples = 0, failures = 0, target = 0;
    int lastState = 0;
    QEventLoop running;
    host.Relay().SetComStateHook([&](int state, int) {
        if (state == 0 && lastState != 0 && ++samples >= target)
            running.quit();
        if (state == 5 || state == 6)
            ++failures;
        lastState = state;
    });

    CCheckPropSheet sheet(host);
    sheet.AddPage(new CDataGraphMulti(host));
    sheet.AddPage(new CDataDVMultiPage(host));
    sheet.resize(1000, 700);
    sheet.Open();
    sheet.LoggingBox()->click();

    std::printf("trend of %d multi-drop transmitters, query time %d ms on time scale %.3f, logging on\n", kDevices,
                CTrendSettings::kMinQueryTime, scale);
    std::printf("%10s %10s %12s %14s %14s %10s %8s\n", "passes", "samples", "trend min", "CPU us/sample",
                "UI us/sample", "RSS KiB", "failed");
    const long checkpoints = 10;
    const long warmUp = passes / checkpoints;
    long rssAfterWarmUp = 0;
    double cpu0 = ProcessCpuSeconds(), ui0 = ThreadCpuSeconds();
    long samples0 = samples;
    QElapsedTimer wall;
    wall.start();
    for (long k = 1; k <= checkpoints; ++k) {
        target = warmUp * k * kDevices;
        QTimer stall;
        stall.setSingleShot(true);
        QObject::connect(&stall, &QTimer::timeout, &running, [&] { running.exit(1); });
        stall.start(600000);
        if (samples < target && running.exec() != 0) {
            std::fprintf(stderr, "stalled at %ld samples\n", samples);
            return 1;
        }
        const double cpu1 = ProcessCpuSeconds(), ui1 = ThreadCpuSeconds();
        const long n = samples - samples0;
        const long rss = ResidentKiB();
        if (k == 1)
            rssAfterWarmUp = rss;
        // Minutes of trend as the program saw them: its timers run on the shortened scale.
        const double trendMinutes = static_cast<double>(wall.elapsed()) / scale / 60000.0;
        std::printf("%10ld %10ld %12.1f %14.1f %14.1f %10ld %8ld\n", samples / kDevices, samples, trendMinutes,
                    (cpu1 - cpu0) * 1e6 / n, (ui1 - ui0) * 1e6 / n, rss, failures);
        std::fflush(stdout);
        cpu0 = cpu1;
        ui0 = ui1;
        samples0 = samples;
    }
    const long rssEnd = ResidentKiB();
    sheet.LoggingBox()->click();
    // The last sample counted when the link went idle; its answer, and the pass's log line, come
    // a moment later.
    running.processEvents(QEventLoop::AllEvents, 100);
    // Every pass must have left one line in the log: a bench that lost lines measured too little.
    QFile log(dir.filePath(QStringLiteral("logs/Log_PV_MultiDrop.txt")));
    long dataLines = 0;
    if (log.open(QIODevice::ReadOnly)) {
        while (!log.atEnd())
            dataLines += log.readLine().startsWith("  01\t") ? 1 : 0;
    }
    std::printf("resident memory after the first tenth %ld KiB, at the end %ld KiB (%+ld KiB); log file %lld bytes, "
                "%ld data lines for %ld passes; %.1f s wall\n",
                rssAfterWarmUp, rssEnd, rssEnd - rssAfterWarmUp, static_cast<long long>(log.size()), dataLines,
                samples / kDevices, static_cast<double>(wall.elapsed()) / 1000.0);
    sheet.done(0);
    comm.Disconnect();
    sim.terminate();
    sim.waitForFinished(3000);
    vmc::SetMessageBoxService(nullptr);
    return 0;
}
