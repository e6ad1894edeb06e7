#include "Cli.h"

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
    case hart::Outcome::Answer: break;
    }
    return {};
}

void PrintJson(const Json& j) {
    std::cout << j.dump() << std::endl;
}

Json FailureJson(int address, int command, const hart::Outcome& out) {
    Json j;
    j["address"] = address;
    j["command"] = command;
    j["error"] = FailureText(out);
    return j;
}

int PrintOutcome(const Options& o, int address, int command, const hart::Outcome& out) {
    if (!out.ok()) {
        if (o.json)
            PrintJson(FailureJson(address, command, out));
        else
            std::fprintf(stderr, "address %d command %d: %s\n", address, command, FailureText(out).c_str());
        return ExitCodeFor(out);
    }
    const std::string hex = hart::HexText(out.data).trimmed().toStdString();
    if (o.json) {
        Json j;
        j["address"] = address;
        j["command"] = out.command;
        j["response_code"] = out.responseCode;
        j["device_status"] = out.deviceStatus;
        j["data"] = hex;
        PrintJson(j);
    } else {
        std::printf("address        %d\ncommand        %d\nresponse code  %d\ndevice status  0x%02X\ndata (%d)      %s\n",
                    address, out.command, out.responseCode, out.deviceStatus, out.dataCount, hex.c_str());
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
            return PrintOutcome(o, address, 0, id);
    }
    const hart::Outcome out = s.Transact(address, command, data, false);
    return PrintOutcome(o, address, command, out);
}

} // namespace cli
