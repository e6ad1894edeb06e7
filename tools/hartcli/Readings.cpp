// read and monitor: command 3 (loop current and the dynamic variables) as the splitter cuts it.
#include "Cli.h"
#include "StopSignal.h"

#include "hart/CodeTables.h"
#include "platform/TimeScale.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace cli {
namespace {

struct Variable {
    int unitCode = 0;
    float value = 0.0f;
};

struct Reading {
    float current = 0.0f;
    std::vector<Variable> variables; // PV, then SV, TV, FV as far as the answer carries them
};

constexpr const char* kVariableKeys[] = {"pv", "sv", "tv", "fv"};
constexpr const char* kVariableNames[] = {"PV", "SV", "TV", "FV"};

// Fields of a command 3 answer: 0 current, then unit code and value per variable.
Reading FromFields(CHartComm& c) {
    Reading r;
    c.SetResponseOffset(0);
    r.current = c.GetFloat();
    for (int v = 0; v < 4 && 2 + 2 * v < c.ResponseItemCount(); ++v) {
        Variable var;
        c.SetResponseOffset(1 + 2 * v);
        var.unitCode = c.GetXInt8();
        c.SetResponseOffset(2 + 2 * v);
        var.value = c.GetFloat();
        r.variables.push_back(var);
    }
    return r;
}

// Command 3 (after command 0 when the address is new). An answer is a reading only when it
// carries data for command 3.
hart::Outcome Poll(hart::LinkSession& s, int address, Reading* reading) {
    const hart::Outcome out = s.Transact(address, 3);
    if (out.ok() && out.command == 3 && out.dataCount > 0)
        *reading = FromFields(s.Comm());
    return out;
}

bool IsReading(const hart::Outcome& out) { return out.ok() && out.command == 3 && out.dataCount > 0; }

Json ReadingJson(int address, const Reading& r, const QString& time = {}) {
    Json j;
    if (!time.isEmpty())
        j["time"] = time.toStdString();
    j["address"] = address;
    j["current_ma"] = FloatJson(r.current);
    for (std::size_t v = 0; v < r.variables.size(); ++v) {
        const QString unit = hart::GetCodeName(hart::UnitTable(), r.variables[v].unitCode);
        j[kVariableKeys[v]] = Json{{"unit_code", r.variables[v].unitCode},
                                   {"unit", unit.isEmpty() ? Json(nullptr) : Json(unit.toStdString())},
                                   {"value", FloatJson(r.variables[v].value)}};
    }
    return j;
}

QString UnitText(int code) {
    const QString name = hart::GetCodeName(hart::UnitTable(), code);
    return name.isEmpty() ? QStringLiteral("(unit %1)").arg(code) : name;
}

void PrintReadingText(int address, const Reading& r) {
    std::printf("%-9s%d\n", "address", address);
    std::printf("%-9s%.4f mA\n", "current", static_cast<double>(r.current));
    for (std::size_t v = 0; v < r.variables.size(); ++v)
        std::printf("%-9s%.4f %s\n", kVariableNames[v], static_cast<double>(r.variables[v].value),
                    UnitText(r.variables[v].unitCode).toUtf8().constData());
}

void PrintReadingLine(const QString& time, const Reading& r) {
    QString line = time + QStringLiteral("  current %1 mA").arg(static_cast<double>(r.current), 9, 'f', 4);
    for (std::size_t v = 0; v < r.variables.size(); ++v)
        line += QStringLiteral("  %1 %2 %3")
                    .arg(QLatin1String(kVariableNames[v]))
                    .arg(static_cast<double>(r.variables[v].value), 11, 'f', 4)
                    .arg(UnitText(r.variables[v].unitCode));
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

// Runs the event loop until the deadline (on clock) or a stop request.
void WaitUntil(const QElapsedTimer& clock, qint64 deadline, const StopSignal& stop) {
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!stop.Requested()) {
        const qint64 left = deadline - clock.elapsed();
        if (left <= 0)
            break;
        wake.start(static_cast<int>(left));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool ParseAddress(const QStringList& args, const char* command, int* address) {
    if (args.size() != 1 || !ParseInt(args[0], 0, 63, address)) {
        std::fprintf(stderr, "hartcli %s: needs one polling address 0..63\n", command);
        return false;
    }
    return true;
}

} // namespace

int RunRead(hart::LinkSession& s, const Options& o, const QStringList& args) {
    int address = 0;
    if (!ParseAddress(args, "read", &address))
        return kUsage;
    Reading r;
    const hart::Outcome out = Poll(s, address, &r);
    if (!IsReading(out))
        return ReportFailure(o, address, out.command >= 0 ? out.command : 3, out);
    if (o.json)
        PrintJson(ReadingJson(address, r));
    else
        PrintReadingText(address, r);
    return kOk;
}

int RunMonitor(hart::LinkSession& s, const Options& o, QStringList args, const StopSignal& stop) {
    int count = 0, period = 1000;
    if (!TakeIntOption(args, "--count", 0, 1000000000, &count, "monitor") ||
        !TakeIntOption(args, "--period", 0, 86400000, &period, "monitor"))
        return kUsage;
    int address = 0;
    if (!ParseAddress(args, "monitor", &address))
        return kUsage;
    QElapsedTimer clock;
    clock.start();
    qint64 next = 0;
    int rc = kOk;
    for (int polls = 0; !stop.Requested() && (count == 0 || polls < count); ++polls) {
        if (polls > 0 && period > 0) {
            const int step = vmc::ScaledMs(period);
            next += step;
            if (next + step < clock.elapsed())
                next = clock.elapsed(); // far behind (a slow answer): no burst to catch up
            WaitUntil(clock, next, stop);
            if (stop.Requested())
                break;
        }
        Reading r;
        const hart::Outcome out = Poll(s, address, &r);
        if (!IsReading(out)) {
            rc = ReportFailure(o, address, out.command >= 0 ? out.command : 3, out);
            if (out.kind == hart::Outcome::PortLost || out.kind == hart::Outcome::NotConnected)
                break;
            continue;
        }
        const QString time = Now();
        if (o.json)
            PrintJson(ReadingJson(address, r, time));
        else
            PrintReadingLine(time, r);
    }
    return rc;
}

} // namespace cli
