#include "shell/ComPortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

CComPortMap::CComPortMap(QString sysClassTty, QString devDir) : m_sys(std::move(sysClassTty)), m_dev(std::move(devDir)) {}

int CComPortMap::NumberForDevice(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^tty(S|USB|ACM)(\\d+)$"));
    const auto m = re.match(name);
    if (!m.hasMatch())
        return 0;
    const int k = m.captured(2).toInt();
    const QString kind = m.captured(1);
    if (kind == QLatin1String("S"))
        return k <= 9 ? 1 + k : 0;
    if (k > 4)
        return 0;
    return kind == QLatin1String("USB") ? 11 + k : 16 + k;
}

bool CComPortMap::IsRealBuiltInPort(const QString& name) const {
    // The kernel lists every legacy UART slot; a slot without hardware reports type 0.
    QFile type(m_sys + QLatin1Char('/') + name + QStringLiteral("/type"));
    if (type.open(QIODevice::ReadOnly))
        return type.readAll().trimmed().toInt() != 0;
    return QFileInfo::exists(m_sys + QLatin1Char('/') + name + QStringLiteral("/device"));
}

void CComPortMap::Add(CSerialPortEntry e) {
    auto it = std::find_if(m_ports.begin(), m_ports.end(), [&](const auto& p) { return p.number == e.number; });
    if (it != m_ports.end())
        *it = std::move(e);
    else
        m_ports.push_back(std::move(e));
}

void CComPortMap::Scan() {
    m_ports.clear();
    // udev's stable names, by the device they point at.
    std::map<QString, QString> byId;
    const QDir idDir(m_dev + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link : idDir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = link.symLinkTarget();
        if (!target.isEmpty())
            byId[QFileInfo(target).fileName()] = link.fileName();
    }
    const QDir ttyDir(m_sys);
    for (const QString& name : ttyDir.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const int number = NumberForDevice(name);
        if (number == 0)
            continue;
        if (name.startsWith(QLatin1String("ttyS")) && (number != 1 || !IsRealBuiltInPort(name)))
            continue; // of the built-in ports only the first is offered
        if (!name.startsWith(QLatin1String("ttyS")) &&
            !QFileInfo::exists(m_sys + QLatin1Char('/') + name + QStringLiteral("/device")))
            continue;
        auto id = byId.find(name);
        Add(CSerialPortEntry{number, m_dev + QLatin1Char('/') + name, id != byId.end() ? id->second : QString()});
    }
    for (const auto& [number, path] : m_explicit)
        Add(CSerialPortEntry{number, path, {}});
    std::sort(m_ports.begin(), m_ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
}

void CComPortMap::SetExplicit(int number, const QString& path) {
    if (number < 1 || number > 255 || path.isEmpty())
        return;
    m_explicit[number] = path;
    Add(CSerialPortEntry{number, path, {}});
    std::sort(m_ports.begin(), m_ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
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
