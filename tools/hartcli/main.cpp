// hartcli: a command-line HART master on the program's own link, for scripts and for checking a
// loop without the window.
#include "Cli.h"
#include "StopSignal.h"
#include "platform/SimulatedLine.h"
#include "sim/SimConfig.h"
#include "sim/SimLoop.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>

namespace {

const char* kUsage =
    "usage: hartcli (--port PATH | --simulate) [--master primary|secondary] [--retries N] [--json]\n"
    "               COMMAND ARGS...\n"
    "commands:\n"
    "  search [--from A] [--to B]   command 0 then 13 at each polling address A..B (default 0..15);\n"
    "                               one line per device found (2 attempts per request unless --retries)\n"
    "  identify ADDR                command 0 and 13 for one polling address\n"
    "  read ADDR                    command 3: loop current and the dynamic variables\n"
    "  monitor ADDR [--count N] [--period MS]\n"
    "                               command 3 every MS milliseconds (default 1000; 0: back to back),\n"
    "                               N readings (default: until Ctrl+C)\n"
    "  raw ADDR CMD [HEXBYTE ...]   send command CMD with the given data bytes to polling address ADDR\n"
    "                               and print the answer with its fields\n"
    "exit status: 0 answer, 1 refused or other failure, 2 bad arguments or port, 3 no response\n"
    "             (search: no device found), 4 communication error\n";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    cli::Options o;
    QString port;
    bool simulate = false;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        auto value = [&](const char* name) -> QString {
            if (args.isEmpty()) {
                std::fprintf(stderr, "hartcli: %s needs a value\n", name);
                std::exit(cli::kUsage);
            }
            return args.takeFirst();
        };
        if (opt == QLatin1String("--port")) {
            port = value("--port");
        } else if (opt == QLatin1String("--simulate")) {
            simulate = true;
        } else if (opt == QLatin1String("--json")) {
            o.json = true;
        } else if (opt == QLatin1String("--master")) {
            const QString m = value("--master");
            if (m == QLatin1String("primary"))
                o.master = 0;
            else if (m == QLatin1String("secondary"))
                o.master = 1;
            else {
                std::fprintf(stderr, "hartcli: --master is primary or secondary, not \"%s\"\n", qPrintable(m));
                return cli::kUsage;
            }
        } else if (opt == QLatin1String("--retries")) {
            if (!cli::ParseInt(value("--retries"), 0, 100, &o.retries)) {
                std::fprintf(stderr, "hartcli: --retries needs a number 0..100\n");
                return cli::kUsage;
            }
        } else if (opt == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return cli::kOk;
        } else {
            std::fprintf(stderr, "hartcli: unknown option %s\n%s", qPrintable(opt), kUsage);
            return cli::kUsage;
        }
    }
    if (args.isEmpty() || (port.isEmpty() && !simulate)) {
        std::fputs(kUsage, stderr);
        return cli::kUsage;
    }
    const QString command = args.takeFirst();

    hart::LinkSession session;
    CHartComm& comm = session.Comm();
    comm.SetMasterType(o.master);
    if (o.retries >= 0)
        comm.SetRetryCount(o.retries);
    std::shared_ptr<vmc::SimulatedLine> line;
    std::unique_ptr<sim::SimLoop> loop;
    if (simulate) {
        line = vmc::SimulatedLine::Create();
        loop = std::make_unique<sim::SimLoop>();
        sim::AddDefaultLoop(*loop);
        loop->Start(line->PeerFd());
        comm.SetPortFactory([line] { return line->CreatePort(); });
    } else {
        comm.SetPortPath(port.toStdString());
    }
    if (!comm.Connect()) {
        std::fprintf(stderr, "hartcli: cannot open %s: %s\n", simulate ? "the simulated loop" : qPrintable(port),
                     comm.LastConnectError().c_str());
        return cli::kUsage;
    }
    int rc = cli::kUsage;
    if (command == QLatin1String("raw")) {
        rc = cli::RunRaw(session, o, args);
    } else if (command == QLatin1String("search")) {
        rc = cli::RunSearch(session, o, args);
    } else if (command == QLatin1String("identify")) {
        rc = cli::RunIdentify(session, o, args);
    } else if (command == QLatin1String("read")) {
        rc = cli::RunRead(session, o, args);
    } else if (command == QLatin1String("monitor")) {
        const cli::StopSignal stop; // only monitor runs until told to stop
        rc = cli::RunMonitor(session, o, args, stop);
    } else {
        std::fprintf(stderr, "hartcli: unknown command \"%s\"\n%s", qPrintable(command), kUsage);
    }
    comm.Disconnect();
    if (loop)
        loop->Stop();
    return rc;
}
