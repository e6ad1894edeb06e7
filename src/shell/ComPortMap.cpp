#include "shell/ComPortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

CComPortMap::CComPortMap(QString sysClassTty, QString devDir) : m_sys(std::move(sysClassTty)), m_dev(std::move(devDir)) {}

int CComPortMap::NumberForDevice(const QString& name) {
    // One ASCII digit: every number the rule maps has one, and "ttyUSB01" is not ttyUSB1.
    static const QRegularExpression re(QStringLiteral("^tty(S|USB|ACM)([0-9])$"));
    const auto m = re.match(name);
    if (!m.hasMatch())
        return 0;
    const int k = m.captured(2).at(0).unicode() - '0';
    const QString kind = m.captured(1);
    if (kind == QLatin1String("S"))
        return 1 + k;
    if (k > 4)
        return 0;
    return kind == QLatin1String("USB") ? 11 + k : 16 + k;
}

void CComPortMap::Add(CSerialPortEntry e) {
    auto it = std::find_if(m_ports.begin(), m_ports.end(), [&](const auto& p) { return p.number == e.number; });
    if (it != m_ports.end())
        *it = std::move(e);
    else
        m_ports.push_back(std::move(e));
}

void CComPortMap::Sort() {
    std::sort(m_ports.begin(), m_ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
}

void CComPortMap::Scan() {
    std::vector<CByIdLink> byId;
    const QDir idDir(m_dev + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link : idDir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        byId.push_back({link.fileName(), link.symLinkTarget()});
    std::vector<CTtyListing> ttys;
    const QDir ttyDir(m_sys);
    for (const QString& name : ttyDir.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (NumberForDevice(name) == 0)
            continue; // the class lists hundreds of virtual terminals: read only what may be taken
        CTtyListing t{name, QFileInfo::exists(m_sys + QLatin1Char('/') + name + QStringLiteral("/device")), false, {}};
        QFile type(m_sys + QLatin1Char('/') + name + QStringLiteral("/type"));
        if (type.open(QIODevice::ReadOnly)) {
            t.hasType = true;
            t.type = type.read(64);
        }
        ttys.push_back(std::move(t));
    }
    Take(ttys, byId);
}

void CComPortMap::Take(const std::vector<CTtyListing>& ttys, const std::vector<CByIdLink>& byId) {
    m_ports.clear();
    // udev's stable names, by the device they point at.
    std::map<QString, QString> idOf;
    for (const CByIdLink& link : byId)
        if (!link.target.isEmpty())
            idOf[QFileInfo(link.target).fileName()] = link.name;
    for (const CTtyListing& t : ttys) {
        const int number = NumberForDevice(t.name);
        if (number == 0)
            continue;
        if (t.name.startsWith(QLatin1String("ttyS"))) {
            // Of the built-in ports only the first is offered. The kernel lists every legacy
            // UART slot; a slot without hardware reports type 0.
            const bool real = t.hasType ? t.type.trimmed().toInt() != 0 : t.hasDevice;
            if (number != 1 || !real)
                continue;
        } else if (!t.hasDevice) {
            continue;
        }
        auto id = idOf.find(t.name);
        Add(CSerialPortEntry{number, m_dev + QLatin1Char('/') + t.name, id != idOf.end() ? id->second : QString()});
    }
    for (const auto& [number, path] : m_explicit)
        Add(CSerialPortEntry{number, path, {}});
    Sort();
}

void CComPortMap::SetExplicit(int number, const QString& path) {
    if (number < 1 || number > 255 || path.isEmpty())
        return;
    QString device = path;
    if (!path.contains(QLatin1Char('/'))) {
        if (path == QLatin1String(".") || path == QLatin1String(".."))
            return;
        device = m_dev + QLatin1Char('/') + path;
    } else if (!path.startsWith(QLatin1Char('/'))) {
        // Relative to whatever folder the program was started in, or (":...") a Qt resource
        // that Qt calls absolute: not a device we can name.
        return;
    }
    m_explicit[number] = device;
    Add(CSerialPortEntry{number, device, {}});
    Sort();
}

std::vector<int> CComPortMap::Numbers() const {
    std::vector<int> out;
    for (const auto& p : m_ports) {
        if (static_cast<int>(out.size()) == kMaxListed)
            break;
        out.push_back(p.number);
    }
    return out;
}

const CSerialPortEntry* CComPortMap::Find(int number) const {
    for (const auto& p : m_ports)
        if (p.number == number)
            return &p;
    return nullptr;
}

QString CComPortMap::PathFor(int number) const {
    if (auto it = m_explicit.find(number); it != m_explicit.end())
        return it->second;
    if (const CSerialPortEntry* e = Find(number))
        return e->path;
    if (number >= 11 && number <= 15)
        return m_dev + QStringLiteral("/ttyUSB%1").arg(number - 11);
    if (number >= 16 && number <= 20)
        return m_dev + QStringLiteral("/ttyACM%1").arg(number - 16);
    return m_dev + QStringLiteral("/ttyS%1").arg(std::max(0, number - 1));
}
