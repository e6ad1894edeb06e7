#include "Cli.h"

#include "hart/Codecs.h"

#include <cmath>
#include <cstdio>
#include <iostream>

namespace cli {

bool ParseInt(const QString& text, int lo, int hi, int* value) {
    bool ok = false;
    const QString t = text.trimmed();
    const int v = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toInt(&ok, 16) : t.toInt(&ok, 10);
    if (!ok || v < lo || v > hi)
        return false;
    *value = v;
    return true;
}

bool TakeIntOption(QStringList& args, const char* name, int lo, int hi, int* value, const char* command) {
    const QString option = QString::fromLatin1(name);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] != option)
            continue;
        if (i + 1 >= args.size() || !ParseInt(args[i + 1], lo, hi, value)) {
            std::fprintf(stderr, "hartcli %s: %s needs a number %d..%d\n", command, name, lo, hi);
            return false;
        }
        args.remove(i, 2);
        --i;
    }
    return true;
}

int ExitCodeFor(const hart::Outcome& out) {
    switch (out.kind) {
    case hart::Outcome::Answer: return kOk;
    case hart::Outcome::NoResponse: return kNoResponse;
    case hart::Outcome::CommError: return kCommError;
    default: return kFailure;
    }
}

std::string FailureText(const hart::Outcome& out) {
    switch (out.kind) {
    case hart::Outcome::NoResponse: return "No Response!";
    case hart::Outcome::CommError: return "Communication Error!";
    case hart::Outcome::WriteFailed: return "the request could not be written to the port";
    case hart::Outcome::PortLost: return "the serial port went away";
    case hart::Outcome::NotConnected: return "not connected";
    case hart::Outcome::Answer:
        if (out.dataCount <= 0)
            return "refused with response code " + std::to_string(out.responseCode);
        break;
    }
    return {};
}

void PrintJson(const Json& j) { std::cout << j.dump() << std::endl; }

Json FailureJson(int address, int command, const hart::Outcome& out) {
    Json j;
    j["address"] = address;
    j["command"] = command;
    j["error"] = FailureText(out);
    if (out.ok())
        j["response_code"] = out.responseCode;
    return j;
}

int ReportFailure(const Options& o, int address, int command, const hart::Outcome& out) {
    if (o.json)
        PrintJson(FailureJson(address, command, out));
    else
        std::fprintf(stderr, "address %d command %d: %s\n", address, command, FailureText(out).c_str());
    return out.ok() ? kFailure : ExitCodeFor(out);
}

Json FloatJson(float value) {
    if (!std::isfinite(value))
        return nullptr;
    // Seven significant digits are what a float holds; printing them and reading them back as a
    // double gives 12.34 rather than 12.340000152587891.
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    return std::strtod(text, nullptr);
}

int PrintOutcome(const Options& o, const CHartComm& comm, int address, int command, const hart::Outcome& out) {
    if (!out.ok())
        return ReportFailure(o, address, command, out);
    const std::string hex = hart::HexText(out.data).trimmed().toStdString();
    // Fields exist only when this answer carried data; a bare status answer leaves the last
    // answer's fields in the link.
    std::vector<std::string> items;
    if (out.dataCount > 0)
        for (const auto& item : comm.ResponseItems())
            items.push_back(hart::HexText(item->m_Data).trimmed().toStdString());
    if (o.json) {
        Json j;
        j["address"] = address;
        j["command"] = out.command;
        j["response_code"] = out.responseCode;
        j["device_status"] = out.deviceStatus;
        j["data"] = hex;
        j["items"] = items;
        PrintJson(j);
    } else {
        // Counts formatted into buffers: gcc 12 at -O3 takes "(" + std::to_string(n) for an
        // overlapping copy and stops the release build.
        char dataKey[32];
        std::snprintf(dataKey, sizeof dataKey, "data (%d)", out.dataCount);
        std::printf("address        %d\ncommand        %d\nresponse code  %d\ndevice status  0x%02X\n%-15s%s\n",
                    address, out.command, out.responseCode, out.deviceStatus, dataKey, hex.c_str());
        for (std::size_t i = 0; i < items.size(); ++i) {
            char count[32];
            std::snprintf(count, sizeof count, "(%zu)", (items[i].size() + 1) / 3);
            std::printf("item %-3zu %-6s%s\n", i, count, items[i].c_str());
        }
    }
    return kOk;
}

int RunRaw(hart::LinkSession& s, const Options& o, const QStringList& args) {
    if (args.size() < 2) {
        std::fprintf(stderr, "hartcli raw: needs ADDR CMD [HEXBYTE ...]\n");
        return kUsage;
    }
    int address = 0, command = 0;
    if (!ParseInt(args[0], 0, 63, &address)) {
        std::fprintf(stderr, "hartcli raw: address must be 0..63, not \"%s\"\n", qPrintable(args[0]));
        return kUsage;
    }
    if (!ParseInt(args[1], 0, 255, &command)) {
        std::fprintf(stderr, "hartcli raw: command must be 0..255, not \"%s\"\n", qPrintable(args[1]));
        return kUsage;
    }
    hart::Bytes data;
    for (int i = 2; i < args.size(); ++i) {
        bool ok = false;
        QString t = args[i];
        if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            t = t.mid(2);
        const int v = t.toInt(&ok, 16);
        if (!ok || v < 0 || v > 255 || t.size() > 2) {
            std::fprintf(stderr, "hartcli raw: \"%s\" is not a hex byte\n", qPrintable(args[i]));
            return kUsage;
        }
        data.push_back(static_cast<std::uint8_t>(v));
    }
    if (command != 0 && !s.Comm().FindDevice(address)) {
        const hart::Outcome id = s.Transact(address, 0, {}, false);
        if (!id.ok())
            return PrintOutcome(o, s.Comm(), address, 0, id);
    }
    const hart::Outcome out = s.Transact(address, command, data, false);
    return PrintOutcome(o, s.Comm(), address, command, out);
}

} // namespace cli
