#include "monitor/trend/TrendLog.h"

#include "monitor/trend/TrendFormat.h"
#include "monitor/trend/TrendSettings.h"
#include "shell/PageHost.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace {

// printf's "%Ns" and "%-Ns" on characters rather than bytes, so unit texts such as "(˚C)" keep
// their columns.
QString R(const QString& s, int width) { return s.rightJustified(width, QLatin1Char(' ')); }
QString L(const QString& s, int width) { return s.leftJustified(width, QLatin1Char(' ')); }
QString Address(int address) { return QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')); }
QString Value(float v) { return trend::Fixed(v, 4); }

const QString kTab = QStringLiteral("\t");

} // namespace

CTrendLog::CTrendLog(IPageHost& host, CTrendSettings& settings)
    : m_host(host), m_settings(settings), m_clock([] { return QDateTime::currentDateTime(); }) {}

CTrendLog::~CTrendLog() = default;

bool CTrendLog::MultiDrop() const { return m_host.Comm().GetPollingAddress() != 0; }

int CTrendLog::DeviceCount() const { return m_host.SelectedDevices().GetCount(); }

QString CTrendLog::Now() const { return m_clock().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")); }

QString CTrendLog::TimeOfDay() const { return m_clock().toString(QStringLiteral("HH:mm:ss")); }

QString CTrendLog::GetLogFileName(int page) const {
    using namespace trendkeys;
    const CProfileTextKey& key = page == kDVPage ? kDVLog : MultiDrop() ? kPVLogMultiDrop : kPVLogSingle;
    const QString standard = QString::fromLatin1(key.defaultValue);
    if (m_settings.GetInt(kUserDefinedFileName) == 0)
        return standard;
    // A name is a name: a stored path must not lead the file out of the log folder. A stored
    // name that leaves nothing (emptied by hand, or only a folder) would make a hidden ".txt".
    const QString name = QFileInfo(m_settings.GetText(key) + QStringLiteral(".txt")).fileName();
    return name == QLatin1String(".txt") ? standard : name;
}

QString CTrendLog::LogFilePath(int page) const {
    // Joined by hand: QDir::filePath takes a name such as ":x.txt" for an absolute (resource)
    // path and would leave the folder out.
    return QDir::cleanPath(m_settings.LogFolder() + QLatin1Char('/') + GetLogFileName(page));
}

QString CTrendLog::Rule(QChar c) const {
    int width = 0;
    if (m_nLogPage == kDVPage)
        width = c == QLatin1Char('=') ? 169 : 145;
    else if (MultiDrop())
        width = 72 * DeviceCount() + 9;
    else
        width = 80;
    return QString(width, c) + QLatin1Char('\n');
}

QString CTrendLog::Header(int page) const {
    QString out;
    if (page == kPVPage) {
        const QString stars = QString(4, QLatin1Char('\t')) + QString(23, QLatin1Char('*')) + QLatin1Char('\n');
        out += stars + QString(4, QLatin1Char('\t')) + QStringLiteral(" Korvex Trasmitter PV Trend\n") + stars;
    } else {
        const QString stars = QString(6, QLatin1Char('\t')) + QString(28, QLatin1Char('*')) + QLatin1Char('\n');
        out += stars + QString(6, QLatin1Char('\t')) + QStringLiteral(" Korvex Trasmitter DV Trend\n") + stars;
    }

    out += QLatin1Char('\n');
    const CHartComm& comm = m_host.Comm();
    for (int address : m_host.SelectedDevices().Values()) {
        out += QStringLiteral("Polling Addr %1: ").arg(Address(address)) + comm.GetManufacturerName(address) +
               QStringLiteral("  ") + comm.GetDeviceTypeName(address) + QStringLiteral("  ") +
               comm.GetTag(address) + QLatin1Char('\n');
        if (address == 0)
            break;
    }

    out += EqualsRule();
    if (page == kDVPage) {
        out += QStringLiteral("Polling\t  ") + R(QStringLiteral("PV"), 12) + kTab + L(QStringLiteral("Unit"), 15) + kTab;
        for (const char* name : {"SV", "TV", "FV"})
            out += R(QString::fromLatin1(name), 13) + kTab + L(QStringLiteral("Unit"), 15) + kTab;
        out += L(QStringLiteral("Current(mA)"), 15) + kTab + L(QStringLiteral("Measurement Time"), 15) +
               QStringLiteral("\t\n");
    } else if (MultiDrop()) {
        for (int i = 0; i < DeviceCount(); ++i)
            out += QStringLiteral("Polling\t  ") + R(QStringLiteral("PV"), 7) + QStringLiteral("\t ") +
                   R(QStringLiteral("Unit"), 5) + QStringLiteral("\t ") + R(QStringLiteral("SV"), 12) +
                   QStringLiteral("\t ") + R(QStringLiteral("Unit"), 12) + QStringLiteral("\t\t");
        out += QStringLiteral("Measurement Time\n");
    } else {
        out += QStringLiteral("Polling\t  ") + R(QStringLiteral("PV"), 10) + kTab + R(QStringLiteral("Unit"), 5) + kTab +
               R(QStringLiteral("AO(mA)"), 15) + kTab + R(QStringLiteral("Percent(%)"), 15) + kTab +
               R(QStringLiteral("Measurement Time"), 15) + QLatin1Char('\n');
    }
    out += EqualsRule();
    return out;
}

bool CTrendLog::OpenFile(int page) {
    Close();
    const QString folder = m_settings.LogFolder();
    if (!QDir().mkpath(folder)) {
        m_strError = QStringLiteral("%1: the folder cannot be created").arg(folder);
        return false;
    }
    m_file.setFileName(LogFilePath(page));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        m_strError = QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    m_nLogPage = page;
    if (page == kPVPage && MultiDrop() && !m_collector)
        m_collector = std::make_unique<CMultiDropLogLine>();
    m_nLinesSinceRule = 0;
    return true;
}

bool CTrendLog::Open(int page) {
    m_collector.reset(); // a new file starts its lines afresh
    if (!OpenFile(page))
        return false;
    if (m_file.size() > 0)
        return true; // headers go only into an empty file
    m_settings.WriteText(trendkeys::kStartLogTime, Now());
    if (Emit(Header(page)))
        return true;
    Close();
    return false;
}

bool CTrendLog::StopWithFooter() {
    if (!IsOpen())
        return true;
    const bool ok = Emit(EqualsRule() + QStringLiteral("Measurement Term: ") +
                         m_settings.GetText(trendkeys::kStartLogTime) + QStringLiteral(" ~ ") + Now() +
                         QLatin1Char('\n') + EqualsRule());
    Close();
    return ok;
}

bool CTrendLog::CloseWithDashRule() {
    if (!IsOpen())
        return true;
    const bool ok = Emit(DashRule());
    Close();
    return ok;
}

bool CTrendLog::Reopen() {
    if (!IsOpen())
        return true;
    const int page = m_nLogPage;
    const bool ok = Emit(EqualsRule());
    m_file.close();
    // The cells of a pass in progress stay: the pass ends in the reopened file.
    return OpenFile(page) && ok;
}

void CTrendLog::Close() {
    m_collector.reset();
    if (m_file.isOpen())
        m_file.close();
}

bool CTrendLog::Emit(const QString& text) {
    if (!m_file.isOpen())
        return false;
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray bytes = crlf.toUtf8();
    if (m_file.write(bytes) != bytes.size()) {
        m_strError = QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    if (::fdatasync(m_file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        m_strError = QStringLiteral("%1: the data could not be written to the disk").arg(m_file.fileName());
        return false;
    }
    return true;
}

CTrendLog::Result CTrendLog::EmitLine(const QString& line) {
    if (!IsOpen())
        return Result::NotOpen;
    return Emit(line) ? Result::Ok : Result::Failed;
}

CTrendLog::Result CTrendLog::WriteSinglePVLine(int address, const QString& unit, float pv, float current,
                                               float percent) {
    return EmitLine(QLatin1Char(' ') + Address(address) + kTab + R(Value(pv), 15) + kTab + L(unit, 15) + kTab +
                    R(Value(current), 5) + kTab + R(Value(percent), 12) + kTab + R(TimeOfDay(), 15) +
                    QLatin1Char('\n'));
}

CTrendLog::Result CTrendLog::WriteMultiDropPVLine() {
    if (!IsOpen())
        return Result::NotOpen;
    if (!m_collector || m_collector->IsEmpty())
        return Result::Ok;
    const QStringList& cells = m_collector->Cells();
    const int n = DeviceCount();
    if (cells.size() != CMultiDropLogLine::kCellsPerDevice * n) {
        // A pass that logging joined halfway: its cells would stand under other devices' columns.
        m_collector->RemoveAll();
        return Result::Ok;
    }
    QString line;
    for (int k = 0; k < cells.size(); k += CMultiDropLogLine::kCellsPerDevice)
        line += QStringLiteral("  ") + cells[k] + QStringLiteral("\t ") + R(cells[k + 1], 10) +
                QStringLiteral("\t ") + L(cells[k + 2], 10) + QStringLiteral("\t ") + L(cells[k + 3], 5) +
                QStringLiteral("\t ") + L(cells[k + 4], 10) + kTab;
    line += TimeOfDay() + QLatin1Char('\n');
    m_collector->RemoveAll();
    return EmitLine(line);
}

CTrendLog::Result CTrendLog::WriteDVLine(int address, const DVLineValues& v) { return EmitDVLine(address, v, {}); }

CTrendLog::Result CTrendLog::WriteDVLineWithCurrent(int address, const DVLineValues& v, const QString& current) {
    return EmitDVLine(address, v, R(current + QStringLiteral(" (mA)"), 15) + QStringLiteral("\t\t"));
}

CTrendLog::Result CTrendLog::EmitDVLine(int address, const DVLineValues& v, const QString& beforeTime) {
    QString line = QLatin1Char(' ') + Address(address) + kTab;
    for (std::size_t i = 0; i < v.value.size(); ++i)
        line += R(Value(v.value[i]), 15) + kTab + L(v.unit[i], 15) + kTab;
    const Result r = EmitLine(line + beforeTime + TimeOfDay() + QLatin1Char('\n'));
    if (r != Result::Ok)
        return r;
    // In a multi-drop loop a rule closes every group of one line per device.
    ++m_nLinesSinceRule;
    const int n = DeviceCount();
    if (!MultiDrop() || n <= 0 || m_nLinesSinceRule % n != 0)
        return r;
    m_nLinesSinceRule = 0;
    return EmitLine(QString(75, QLatin1Char('-')) + QString(70, QLatin1Char('-')) + QLatin1Char('\n'));
}
