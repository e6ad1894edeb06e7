// search and identify: command 0 and then command 13 at each address, as the device search does,
// and the device record the link filled from the answers.
#include "Cli.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace cli {
namespace {

struct Found {
    int address = 0;
    bool tagRead = false; // command 13 answered with data
};

// Command 0, and command 13 when the device answered. Returns the outcome of command 0; a
// command 0 answer without data counts as a failure (no identity).
hart::Outcome Identify(hart::LinkSession& s, int address, bool* tagRead) {
    *tagRead = false;
    const hart::Outcome id = s.Transact(address, 0, {}, false);
    if (!id.ok() || id.dataCount <= 0)
        return id;
    const hart::Outcome tag = s.Transact(address, 13, {}, false);
    *tagRead = tag.ok() && tag.command == 13 && tag.dataCount > 0;
    return id;
}

QString HexId(std::int32_t id) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(id, 6, 16, QLatin1Char('0')).toUpper();
}

bool Identified(const hart::Outcome& out) { return out.ok() && out.dataCount > 0; }

QString DateText(const CHartComm& c, int address, bool tagRead) {
    if (!tagRead || c.GetDateYear(address) < 0)
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(c.GetDateYear(address), 4, 10, QLatin1Char('0'))
        .arg(c.GetDateMonth(address), 2, 10, QLatin1Char('0'))
        .arg(c.GetDateDay(address), 2, 10, QLatin1Char('0'));
}

Json DeviceJson(const CHartComm& c, const Found& f) {
    const int a = f.address;
    int universal = 0, device = 0, hardware = 0, software = 0;
    c.GetRevisions(a, universal, device, hardware, software);
    const QString date = DateText(c, a, f.tagRead);
    Json j;
    j["address"] = a;
    j["manufacturer"] = c.GetManufacturerCode(a);
    j["manufacturer_name"] = c.GetManufacturerName(a).toStdString();
    j["device_type"] = c.GetDeviceTypeCode(a);
    j["model"] = c.GetDeviceTypeName(a).toStdString();
    j["device_id"] = c.GetDeviceId(a);
    j["unique_id"] = c.GetUniqueIdText(a).trimmed().toStdString();
    j["tag"] = f.tagRead ? Json(c.GetTag(a).toStdString()) : Json(nullptr);
    j["descriptor"] = f.tagRead ? Json(c.GetDescriptor(a).toStdString()) : Json(nullptr);
    j["date"] = date.isEmpty() ? Json(nullptr) : Json(date.toStdString());
    j["revisions"] = Json{{"universal", universal}, {"device", device}, {"software", software}, {"hardware", hardware}};
    j["request_preambles"] = c.GetRequestPreambles(a);
    return j;
}

void PrintTable(const std::vector<QStringList>& rows) {
    std::vector<int> widths;
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i) {
            if (static_cast<int>(widths.size()) <= i)
                widths.push_back(0);
            widths[static_cast<std::size_t>(i)] = std::max(widths[static_cast<std::size_t>(i)], static_cast<int>(row[i].size()));
        }
    for (const QStringList& row : rows) {
        QString line;
        for (int i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[static_cast<std::size_t>(i)] + 2) : row[i];
        std::printf("%s\n", line.toUtf8().constData());
    }
}

QStringList DeviceRow(const CHartComm& c, const Found& f) {
    const int a = f.address;
    return {QString::number(a),
            QStringLiteral("%1 %2").arg(c.GetManufacturerCode(a)).arg(c.GetManufacturerName(a)).trimmed(),
            c.GetDeviceTypeName(a),
            HexId(c.GetDeviceId(a)),
            c.GetUniqueIdText(a).trimmed(),
            f.tagRead ? QLatin1Char('"') + c.GetTag(a) + QLatin1Char('"') : QStringLiteral("-"),
            f.tagRead && !DateText(c, a, true).isEmpty() ? DateText(c, a, true) : QStringLiteral("-")};
}

void PrintDeviceText(const CHartComm& c, const Found& f) {
    const int a = f.address;
    int universal = 0, device = 0, hardware = 0, software = 0;
    c.GetRevisions(a, universal, device, hardware, software);
    const QString date = DateText(c, a, f.tagRead);
    const QString notRead = QStringLiteral("(not read)");
    const std::pair<const char*, QString> lines[] = {
        {"address", QString::number(a)},
        {"manufacturer", QStringLiteral("%1 (%2)").arg(c.GetManufacturerCode(a)).arg(c.GetManufacturerName(a))},
        {"device type", QStringLiteral("%1 (%2)").arg(c.GetDeviceTypeCode(a)).arg(c.GetDeviceTypeName(a))},
        {"device id", QStringLiteral("%1 (%2)").arg(c.GetDeviceId(a)).arg(HexId(c.GetDeviceId(a)))},
        {"unique id", c.GetUniqueIdText(a).trimmed()},
        {"tag", f.tagRead ? QLatin1Char('"') + c.GetTag(a) + QLatin1Char('"') : notRead},
        {"descriptor", f.tagRead ? QLatin1Char('"') + c.GetDescriptor(a) + QLatin1Char('"') : notRead},
        {"date", date.isEmpty() ? (f.tagRead ? QStringLiteral("(invalid)") : notRead) : date},
        {"revisions", QStringLiteral("universal %1, device %2, software %3, hardware %4")
                          .arg(universal).arg(device).arg(software).arg(hardware)},
        {"request preambles", QString::number(c.GetRequestPreambles(a))},
    };
    for (const auto& [key, value] : lines)
        std::printf("%-19s%s\n", key, value.toUtf8().constData());
}

} // namespace

int RunSearch(hart::LinkSession& s, const Options& o, QStringList args) {
    int from = 0, to = 15;
    if (!TakeIntOption(args, "--from", 0, 63, &from, "search") || !TakeIntOption(args, "--to", 0, 63, &to, "search"))
        return kUsage;
    if (!args.isEmpty() || from > to) {
        std::fprintf(stderr, "hartcli search: usage: search [--from A] [--to B] with A <= B\n");
        return kUsage;
    }
    CHartComm& comm = s.Comm();
    // As the device search: two attempts per request unless told otherwise.
    if (o.retries < 0)
        comm.SetRetryCount(2);
    comm.RemoveAllDevices();
    std::vector<Found> found;
    for (int address = from; address <= to; ++address) {
        Found f{address, false};
        const hart::Outcome id = Identify(s, address, &f.tagRead);
        if (id.kind == hart::Outcome::PortLost || id.kind == hart::Outcome::WriteFailed ||
            id.kind == hart::Outcome::NotConnected)
            return ReportFailure(o, address, 0, id);
        if (id.ok() && id.dataCount <= 0)
            std::fprintf(stderr, "hartcli search: address %d %s\n", address, FailureText(id).c_str());
        if (!Identified(id))
            continue;
        found.push_back(f);
        if (o.json)
            PrintJson(DeviceJson(comm, f));
    }
    if (!o.json && !found.empty()) {
        std::vector<QStringList> rows{{QStringLiteral("ADDR"), QStringLiteral("MANUFACTURER"), QStringLiteral("MODEL"),
                                       QStringLiteral("DEVICE ID"), QStringLiteral("UNIQUE ID"), QStringLiteral("TAG"),
                                       QStringLiteral("DATE")}};
        for (const Found& f : found)
            rows.push_back(DeviceRow(comm, f));
        PrintTable(rows);
    }
    if (found.empty()) {
        std::fprintf(stderr, "hartcli search: no device answered at addresses %d to %d\n", from, to);
        return kNoResponse;
    }
    return kOk;
}

int RunIdentify(hart::LinkSession& s, const Options& o, const QStringList& args) {
    int address = 0;
    if (args.size() != 1 || !ParseInt(args[0], 0, 63, &address)) {
        std::fprintf(stderr, "hartcli identify: needs one polling address 0..63\n");
        return kUsage;
    }
    Found f{address, false};
    const hart::Outcome id = Identify(s, address, &f.tagRead);
    if (!Identified(id))
        return ReportFailure(o, address, 0, id);
    if (o.json)
        PrintJson(DeviceJson(s.Comm(), f));
    else
        PrintDeviceText(s.Comm(), f);
    return kOk;
}

} // namespace cli
