#pragma once
// The per-user settings behind one typed wrapper: every key is declared once with its section,
// name and default, and read or written through it. The store is QSettings (organization
// "Norvane Works Co., Ltd.", application "vmc70"); another store can be handed in.
#include <QSettings>
#include <QString>
#include <limits>
#include <map>
#include <memory>

struct CProfileKey {
    const char* section;
    const char* name;
    int defaultValue;
    // The values the program can use. The store is a file the user may edit: anything else
    // found there reads as the default.
    int minValue = std::numeric_limits<int>::min();
    int maxValue = std::numeric_limits<int>::max();
};

namespace profile {
inline constexpr CProfileKey kComPort{"Communication", "ComPort", 1, 1, 255};
inline constexpr CProfileKey kRetryCount{"Communication", "RetryCount", 5, 1, 5};
inline constexpr CProfileKey kMasterType{"Communication", "MasterType", 1, 0, 1};
inline constexpr CProfileKey kDetectMode{"Misc", "DetectMode", 1, 1, 2};
} // namespace profile

class CProfile {
public:
    // The user's store.
    CProfile();
    // Any store (an INI file of a test or of a portable installation).
    explicit CProfile(std::unique_ptr<QSettings> store);

    // The stored value when it is a whole number within the key's range, else the default.
    int GetInt(const CProfileKey& key) const;
    void WriteInt(const CProfileKey& key, int value);

    // Free-form text keys of a section (explicit port paths).
    QString GetString(const QString& section, const QString& name) const;
    void WriteString(const QString& section, const QString& name, const QString& value);

    // Section "Ports": explicit devices for COM numbers 1..255 ("COM21=/dev/ttyXR0"); keys that
    // name no such number and empty values are left out.
    std::map<int, QString> PortPaths() const;

    QSettings& Store() { return *m_store; }

    static QString Organization() { return QStringLiteral("Norvane Works Co., Ltd."); }
    static QString Application() { return QStringLiteral("vmc70"); }

private:
    std::unique_ptr<QSettings> m_store;
};
