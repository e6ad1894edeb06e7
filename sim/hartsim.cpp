// hartsim: a loop of simulated HART devices behind a pseudo-terminal, for running the program
// and the tools without hardware. Prints the terminal's path; point --port at it.
#include "platform/TimeScale.h"
#include "sim/SimConfig.h"
#include "sim/SimLoop.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hartsim"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulated HART loop on a pseudo-terminal.\n\n") + sim::DeviceTextHelp());
    p.addHelpOption();
    QCommandLineOption deviceOpt(QStringLiteral("device"), QStringLiteral("Add a device (keys above)."),
                                 QStringLiteral("keys"));
    QCommandLineOption configOpt(QStringLiteral("config"), QStringLiteral("Read devices from an INI file."),
                                 QStringLiteral("file"));
    QCommandLineOption paceOpt(QStringLiteral("pace"), QStringLiteral("Pace the line at 1200 baud, 11 bits a character."));
    QCommandLineOption baudOpt(QStringLiteral("baud"), QStringLiteral("Paced line speed (default 1200)."),
                               QStringLiteral("baud"), QStringLiteral("1200"));
    QCommandLineOption turnOpt(QStringLiteral("turnaround"), QStringLiteral("Device turnaround in ms when paced (default 20)."),
                               QStringLiteral("ms"), QStringLiteral("20"));
    QCommandLineOption linkOpt(QStringLiteral("link"), QStringLiteral("Also make a symbolic link to the terminal here."),
                               QStringLiteral("path"));
    p.addOptions({deviceOpt, configOpt, paceOpt, baudOpt, turnOpt, linkOpt});
    p.process(app);

    sim::SimLoop loop;
    QString error;
    if (p.isSet(configOpt) && !sim::LoadLoopFile(loop, p.value(configOpt), &error)) {
        std::fprintf(stderr, "hartsim: %s\n", qPrintable(error));
        return 2;
    }
    for (const QString& text : p.values(deviceOpt)) {
        if (!sim::AddDeviceFromText(loop, text, &error)) {
            std::fprintf(stderr, "hartsim: --device %s: %s\n", qPrintable(text), qPrintable(error));
            return 2;
        }
    }
    if (loop.With([](sim::SimLoop& l) { return l.Devices().empty(); }))
        sim::AddDefaultLoop(loop);
    sim::LineTiming timing = loop.Timing();
    if (p.isSet(paceOpt) || p.isSet(baudOpt)) {
        timing.baudRate = p.value(baudOpt).toInt();
        timing.turnaroundMs = p.value(turnOpt).toInt();
    }
    loop.SetTiming(timing);

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("hartsim: cannot create a pseudo-terminal");
        return 1;
    }
    const char* slaveName = ::ptsname(master);
    // Holding the terminal open ourselves keeps it alive between the program's connects, and raw
    // mode from the start means nothing is ever echoed back.
    const int keep = ::open(slaveName, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (keep >= 0 && ::tcgetattr(keep, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(keep, TCSANOW, &tio);
    }
    if (p.isSet(linkOpt)) {
        QFile::remove(p.value(linkOpt));
        if (!QFile::link(QString::fromLocal8Bit(slaveName), p.value(linkOpt)))
            std::fprintf(stderr, "hartsim: cannot link %s\n", qPrintable(p.value(linkOpt)));
    }
    std::printf("%s\n", slaveName);
    std::fflush(stdout);
    loop.With([](sim::SimLoop& l) {
        for (const auto& d : l.Devices())
            std::fprintf(stderr, "hartsim: %-7s address %2d id 0x%06X tag %s\n", qPrintable(d->model),
                         d->pollingAddress, d->deviceId, qPrintable(d->tag));
        return 0;
    });

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    loop.Start(master);
    while (!g_stop)
        ::pause();
    loop.Stop();
    if (p.isSet(linkOpt))
        QFile::remove(p.value(linkOpt));
    ::close(keep);
    ::close(master);
    return 0;
}
