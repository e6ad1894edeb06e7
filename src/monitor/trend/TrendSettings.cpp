#include "monitor/trend/TrendSettings.h"

#include <QDir>
#include <QStandardPaths>
#include <algorithm>

namespace {
QString Section(const CProfileTextKey& key) { return QString::fromLatin1(key.section); }
QString Name(const CProfileTextKey& key) { return QString::fromLatin1(key.name); }
} // namespace

QString CTrendSettings::GetText(const CProfileTextKey& key) const {
    const QString path = Section(key) + QLatin1Char('/') + Name(key);
    return m_profile.Store().value(path, QString::fromUtf8(key.defaultValue)).toString();
}

void CTrendSettings::WriteText(const CProfileTextKey& key, const QString& value) {
    m_profile.WriteString(Section(key), Name(key), value);
}

int CTrendSettings::QueryTime() const {
    return std::clamp(GetInt(trendkeys::kQueryTime), kMinQueryTime, kMaxQueryTime);
}

int CTrendSettings::AutoSaveMinutes() const {
    return std::clamp(GetInt(trendkeys::kAutoSave), 0, kMaxAutoSave);
}

QString CTrendSettings::LogFolder() const {
    const QString stored = GetText(trendkeys::kLogFolder).trimmed();
    // The setup dialog stores an absolute folder; a relative one (edited by hand) would put the
    // logs wherever the program happened to be started.
    return stored.startsWith(QLatin1Char('/')) ? QDir::cleanPath(stored) : DefaultLogFolder();
}

QString CTrendSettings::DefaultLogFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("VMC70 Logs"));
}
