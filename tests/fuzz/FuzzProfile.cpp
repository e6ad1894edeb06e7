// Any text as the settings file: every key the program reads comes back through the profile's
// accessors within the range the program then uses, and start-up takes the port table and the
// communication settings from it without leaving those ranges.
#include "shell/App.h"
#include "shell/ComPortMap.h"
#include "shell/Profile.h"

#include <QDir>
#include <QTemporaryFile>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckKey(const CProfile& profile, const CProfileKey& key, int low, int high) {
    const int v = profile.GetInt(key);
    Check(v >= low && v <= high);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vmc70-fuzz-XXXXXX.ini"));
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    auto profile = std::make_unique<CProfile>(std::make_unique<QSettings>(file.fileName(), QSettings::IniFormat));

    CheckKey(*profile, profile::kComPort, 1, 255);
    CheckKey(*profile, profile::kRetryCount, 1, 5);
    CheckKey(*profile, profile::kMasterType, 0, 1);
    CheckKey(*profile, profile::kDetectMode, 1, 2);
    for (const auto& [number, path] : profile->PortPaths())
        Check(number >= 1 && number <= 255 && !path.isEmpty());

    CVMC70App app(ProgramVariant::User, std::move(profile),
                  std::make_unique<CComPortMap>(QStringLiteral("/nonexistent/sys/class/tty"), QStringLiteral("/dev")));
    app.EnumerateComPorts();
    app.LoadCommSettings();
    Check(app.m_nComPort >= 1);
    Check(app.m_nRetryCount >= 1 && app.m_nRetryCount <= 5);
    Check(app.m_nMasterType == 0 || app.m_nMasterType == 1);
    Check(app.m_nComPortList.size() <= static_cast<std::size_t>(CComPortMap::kMaxListed));
    for (int n : app.m_nComPortList)
        Check(n >= 1 && n <= 255 && app.PortMap().PathFor(n).startsWith(QLatin1Char('/')));
    return 0;
}
