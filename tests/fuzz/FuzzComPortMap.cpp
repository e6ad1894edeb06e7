// Whatever names the tty class folder, udev's by-id links and the explicit port settings hold,
// the map offers each COM number once, in order, each with an absolute device path, and a name
// gets a number only when it is one the rule names.
// Input lines: "#<number>=<path>" an explicit port, "@<link>><target>" a by-id link, anything
// else a tty entry: first byte bit 0 "device" link, bit 1 a "type" file; then the name, then
// "|<type text>".
#include "shell/ComPortMap.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

const QString kDev = QStringLiteral("/dev");

// The rule written out name by name.
int ExpectedNumber(const QString& name) {
    for (int k = 0; k <= 9; ++k) {
        if (name == QStringLiteral("ttyS%1").arg(k))
            return 1 + k;
        if (k <= 4 && name == QStringLiteral("ttyUSB%1").arg(k))
            return 11 + k;
        if (k <= 4 && name == QStringLiteral("ttyACM%1").arg(k))
            return 16 + k;
    }
    return 0;
}

bool Absolute(const QString& path) { return path.startsWith(QLatin1Char('/')); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    CComPortMap map(QStringLiteral("/nonexistent/sys/class/tty"), kDev);
    std::vector<CTtyListing> ttys;
    std::vector<CByIdLink> links;
    std::map<int, QString> explicitPaths;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.startsWith('#')) {
            const int eq = line.indexOf('=');
            if (eq < 0)
                continue;
            const int number = line.mid(1, eq - 1).toInt();
            const QString path = QString::fromUtf8(line.mid(eq + 1));
            map.SetExplicit(number, path);
            const bool bare = !path.contains(QLatin1Char('/'));
            if (number >= 1 && number <= 255 && !path.isEmpty() && path != "." && path != ".." && (bare || Absolute(path)))
                explicitPaths[number] = bare ? kDev + QLatin1Char('/') + path : path;
        } else if (line.startsWith('@')) {
            const int arrow = line.indexOf('>');
            links.push_back({QString::fromUtf8(line.mid(1, arrow < 0 ? -1 : arrow - 1)),
                             arrow < 0 ? QString() : QString::fromUtf8(line.mid(arrow + 1))});
        } else if (!line.isEmpty()) {
            const int bar = line.indexOf('|');
            CTtyListing t;
            t.hasDevice = (line[0] & 1) != 0;
            t.hasType = (line[0] & 2) != 0;
            t.name = QString::fromUtf8(line.mid(1, bar < 0 ? -1 : bar - 1));
            t.type = bar < 0 ? QByteArray() : line.mid(bar + 1);
            Check(CComPortMap::NumberForDevice(t.name) == ExpectedNumber(t.name));
            ttys.push_back(std::move(t));
        }
    }
    map.Take(ttys, links);

    int last = 0;
    for (const CSerialPortEntry& e : map.Ports()) {
        Check(e.number > last && e.number <= 255);
        last = e.number;
        Check(Absolute(e.path));
        if (auto it = explicitPaths.find(e.number); it != explicitPaths.end()) {
            Check(e.path == it->second);
            continue;
        }
        // A scanned port: a name of the rule; of the built-in ports only the first.
        Check(e.path.startsWith(kDev + QLatin1Char('/')));
        const QString name = e.path.mid(kDev.size() + 1);
        Check(ExpectedNumber(name) == e.number && (e.number == 1 || e.number > 10));
        bool listed = false;
        for (const CTtyListing& t : ttys)
            listed = listed || (t.name == name && (t.hasDevice || t.hasType));
        Check(listed);
    }
    Check(explicitPaths.size() <= map.Ports().size());

    const std::vector<int> numbers = map.Numbers();
    Check(numbers.size() <= static_cast<std::size_t>(CComPortMap::kMaxListed));
    for (std::size_t i = 0; i < numbers.size(); ++i)
        Check(numbers[i] == map.Ports()[i].number);
    for (int n = -1; n <= 256; ++n) {
        const QString path = map.PathFor(n);
        Check(Absolute(path));
        if (auto it = explicitPaths.find(n); it != explicitPaths.end())
            Check(path == it->second);
    }
    return 0;
}
