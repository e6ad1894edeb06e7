#include "shell/Profile.h"

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
    return ok ? v : key.defaultValue;
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
