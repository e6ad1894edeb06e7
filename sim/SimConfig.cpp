#include "sim/SimConfig.h"

#include "sim/SimModels.h"

#include <QFileInfo>
#include <QSettings>
#include <map>

namespace sim {
namespace {

bool ParseInt(const QString& text, long long* value) {
    bool ok = false;
    const QString t = text.trimmed();
    const long long v = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toLongLong(&ok, 16)
                                                                                 : t.toLongLong(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

using KeyValues = QList<QPair<QString, QString>>;

const QStringList kNumberKeys = {"silent",     "badcheck", "commerror", "commerrorcode", "busy",    "refuse",
                                 "refusecode", "noise",    "slow",      "preambles",     "revision"};
const QStringList kTextKeys = {"tag", "descriptor", "message"};

// Checks every key first, so a bad device text adds nothing to the loop.
bool Apply(SimLoop& loop, const KeyValues& kv, QString* error) {
    QString model = QStringLiteral("KP510");
    long long address = 0;
    long long id = -1;
    std::map<QString, long long> numbers;
    std::map<QString, QString> texts;
    for (const auto& [k, v] : kv) {
        if (k == QLatin1String("model")) {
            model = v.trimmed();
        } else if (k == QLatin1String("address")) {
            if (!ParseInt(v, &address) || address < 0 || address > 63) {
                *error = QStringLiteral("address must be 0..63, not \"%1\"").arg(v);
                return false;
            }
        } else if (k == QLatin1String("id")) {
            if (!ParseInt(v, &id) || id < 0 || id > 0xFFFFFF) {
                *error = QStringLiteral("id must be 0..0xFFFFFF, not \"%1\"").arg(v);
                return false;
            }
        } else if (kTextKeys.contains(k)) {
            texts[k] = v.toUpper();
        } else if (kNumberKeys.contains(k)) {
            long long n = 0;
            if (!ParseInt(v, &n) || n < -1 || n > 100000) {
                *error = QStringLiteral("%1 needs a number, not \"%2\"").arg(k, v);
                return false;
            }
            numbers[k] = n;
        } else {
            *error = QStringLiteral("unknown key \"%1\"").arg(k);
            return false;
        }
    }
    if (!ModelNames().contains(model, Qt::CaseInsensitive)) {
        *error = QStringLiteral("unknown model \"%1\" (known: %2)").arg(model, ModelNames().join(QLatin1String(", ")));
        return false;
    }
    const bool clash = loop.With([&](SimLoop& l) {
        return l.AtAddress(static_cast<int>(address)) != nullptr || (id >= 0 && l.ById(static_cast<std::uint32_t>(id)));
    });
    if (clash) {
        *error = QStringLiteral("two devices share address %1 or id %2").arg(address).arg(id);
        return false;
    }
    if (id < 0)
        id = 0x010000 + address;
    SimDevice& d = loop.AddDevice(model, static_cast<int>(address), static_cast<std::uint32_t>(id));
    loop.With([&](SimLoop&) {
        for (const auto& [k, v] : texts) {
            if (k == QLatin1String("tag"))
                d.tag = v;
            else if (k == QLatin1String("descriptor"))
                d.descriptor = v;
            else
                d.message = v;
        }
        for (const auto& [k, n] : numbers) {
            const int i = static_cast<int>(n);
            if (k == QLatin1String("silent"))
                d.faults.silent = i;
            else if (k == QLatin1String("badcheck"))
                d.faults.badCheck = i;
            else if (k == QLatin1String("commerror"))
                d.faults.commError = i;
            else if (k == QLatin1String("commerrorcode"))
                d.faults.commErrorCode = static_cast<std::uint8_t>(i & 0x7F); // bit 7 is the error flag itself
            else if (k == QLatin1String("busy"))
                d.faults.busy = i;
            else if (k == QLatin1String("refuse"))
                d.faults.refuse = i;
            else if (k == QLatin1String("refusecode"))
                d.faults.refuseCode = static_cast<std::uint8_t>(i);
            else if (k == QLatin1String("noise"))
                d.faults.noise = i;
            else if (k == QLatin1String("slow"))
                d.faults.slowMs = i;
            else if (k == QLatin1String("preambles"))
                d.responsePreambles = static_cast<std::uint8_t>(std::clamp(i, 2, 20));
            else if (k == QLatin1String("revision"))
                d.deviceRevision = static_cast<std::uint8_t>(i);
        }
        return 0;
    });
    return true;
}

} // namespace

bool AddDeviceFromText(SimLoop& loop, const QString& text, QString* error) {
    KeyValues kv;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            // A bare word is a model name.
            kv.append({QStringLiteral("model"), part.trimmed()});
            continue;
        }
        kv.append({part.left(eq).trimmed().toLower(), part.mid(eq + 1).trimmed()});
    }
    return Apply(loop, kv, error);
}

bool LoadLoopFile(SimLoop& loop, const QString& path, QString* error) {
    if (!QFileInfo(path).isReadable()) {
        *error = QStringLiteral("%1: cannot read the file").arg(path);
        return false;
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        *error = QStringLiteral("%1: not a valid loop file").arg(path);
        return false;
    }
    const QStringList groups = ini.childGroups();
    for (const QString& g : groups) {
        ini.beginGroup(g);
        if (g.compare(QLatin1String("line"), Qt::CaseInsensitive) == 0) {
            LineTiming t = loop.Timing();
            t.baudRate = ini.value(QStringLiteral("baud"), t.baudRate).toInt();
            t.turnaroundMs = ini.value(QStringLiteral("turnaround"), t.turnaroundMs).toInt();
            loop.SetTiming(t);
        } else if (g.startsWith(QLatin1String("device"), Qt::CaseInsensitive)) {
            KeyValues kv;
            for (const QString& k : ini.childKeys())
                kv.append({k.toLower(), ini.value(k).toString()});
            QString why;
            if (!Apply(loop, kv, &why)) {
                *error = QStringLiteral("%1 [%2]: %3").arg(path, g, why);
                return false;
            }
        }
        ini.endGroup();
    }
    return true;
}

void AddDefaultLoop(SimLoop& loop) {
    struct Row {
        const char* model;
        int address;
        std::uint32_t id;
        const char* tag;
        int year, month, day; // last calibration
    };
    const Row rows[] = {
        {"KP510", 0, 0x00A101, "PT-101", 2024, 3, 14},  {"KT410", 1, 0x00B201, "TT-201", 2023, 11, 2},
        {"KP520", 2, 0x00A302, "PT-302", 2024, 1, 22},  {"KF610", 3, 0x00C401, "FT-401", 2022, 9, 30},
        {"KL710", 4, 0x00D501, "LT-501", 2024, 5, 7},   {"KP510F", 5, 0x00A605, "FT-605", 2023, 6, 19},
        {"3051", 6, 0x3051A7, "PT-FRGN", 2019, 4, 11},
    };
    for (const auto& r : rows) {
        SimDevice& d = loop.AddDevice(QLatin1String(r.model), r.address, r.id);
        loop.With([&](SimLoop&) {
            d.tag = QLatin1String(r.tag);
            d.year = r.year;
            d.month = r.month;
            return d.day = r.day;
        });
    }
}

QString DeviceTextHelp() {
    return QStringLiteral(
        "Device: comma-separated key=value pairs\n"
        "  model=NAME      %1\n"
        "  address=N       polling address 0..63 (default 0)\n"
        "  id=N            device id, 24 bits (decimal or 0x...)\n"
        "  tag=TEXT descriptor=TEXT message=TEXT\n"
        "  preambles=N revision=N\n"
        "Faults (N answers, -1 = always): silent=N badcheck=N commerror=N busy=N\n"
        "  refuse=N refusecode=C noise=N slow=MS\n"
        "  commerrorcode=C  the error bits the device reports (default 0x08, checksum)\n")
        .arg(ModelNames().join(QLatin1String(" ")));
}

} // namespace sim
