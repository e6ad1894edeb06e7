#pragma once
// The per-user settings behind one typed wrapper: every key is declared once with its section,
// name and default, and read or written through it. The store is QSettings (organization
// "Norvane Works Co., Ltd.", application "vmc70"); another store can be handed in.
#include <QSettings>
#include <QString>
#include <memory>

struct CProfileKey {
    const char* section;
    const char* name;
    int defaultValue;
};

namespace profile {
inline constexpr CProfileKey kComPort{"Communication", "ComPort", 1};
inline constexpr CProfileKey kRetryCount{"Communication", "RetryCount", 5};
inline constexpr CProfileKey kMasterType{"Communication", "MasterType", 1};
inline constexpr CProfileKey kDetectMode{"Misc", "DetectMode", 1};
} // namespace profile

class CProfile {
public:
    // The user's store.
    CProfile();
    // Any store (an INI file of a test or of a portable installation).
    explicit CProfile(std::unique_ptr<QSettings> store);

    int GetInt(const CProfileKey& key) const;
    void WriteInt(const CProfileKey& key, int value);

    // Free-form text keys of a section (explicit port paths).
    QString GetString(const QString& section, const QString& name) const;
    void WriteString(const QString& section, const QString& name, const QString& value);

    QSettings& Store() { return *m_store; }

    static QString Organization() { return QStringLiteral("Norvane Works Co., Ltd."); }
    static QString Application() { return QStringLiteral("vmc70"); }

private:
    std::unique_ptr<QSettings> m_store;
};
