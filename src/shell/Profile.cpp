#include "shell/Profile.h"

#include <QRegularExpression>

namespace {
QString Path(const CProfileKey& key) {
    return QString::fromLatin1(key.section) + QLatin1Char('/') + QString::fromLatin1(key.name);
}
} // namespace

CProfile::CProfile() : m_store(std::make_unique<QSettings>(Organization(), Application())) {}

CProfile::CProfile(std::unique_ptr<QSettings> store) : m_store(std::move(store)) {}

int CProfile::GetInt(const CProfileKey& key) const {
    bool ok = false;
    const int v = m_store->value(Path(key), key.defaultValue).toInt(&ok);
    return ok && v >= key.minValue && v <= key.maxValue ? v : key.defaultValue;
}

void CProfile::WriteInt(const CProfileKey& key, int value) {
    m_store->setValue(Path(key), value);
    m_store->sync(); // settings are written the moment they change
}

QString CProfile::GetString(const QString& section, const QString& name) const {
    return m_store->value(section + QLatin1Char('/') + name).toString();
}

void CProfile::WriteString(const QString& section, const QString& name, const QString& value) {
    m_store->setValue(section + QLatin1Char('/') + name, value);
    m_store->sync();
}

std::map<int, QString> CProfile::PortPaths() const {
    static const QRegularExpression comKey(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    std::map<int, QString> out;
    m_store->beginGroup(QStringLiteral("Ports"));
    const QStringList keys = m_store->childKeys();
    for (const QString& key : keys) {
        const auto m = comKey.match(key);
        const int number = m.hasMatch() ? m.captured(1).toInt() : 0;
        const QString path = m_store->value(key).toString();
        if (number >= 1 && number <= 255 && !path.isEmpty())
            out[number] = path;
    }
    m_store->endGroup();
    return out;
}
