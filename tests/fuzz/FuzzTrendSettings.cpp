// Any text as the settings file, read the way the trend sheet and the data log files read it:
// the poll period, the auto-save period and the chart range come back within what the pages
// use, and the log files are plain names inside an absolute log folder.
#include "monitor/trend/TrendFormat.h"
#include "monitor/trend/TrendLog.h"
#include "monitor/trend/TrendSettings.h"
#include "shell/StandalonePageHost.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckLogName(const QString& name) {
    Check(name.endsWith(QLatin1String(".txt")) && name.size() > 4);
    Check(!name.contains(QLatin1Char('/')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vmc70-fuzz-XXXXXX.ini"));
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    CStandalonePageHost host;
    host.SetProfile(std::make_unique<CProfile>(std::make_unique<QSettings>(file.fileName(), QSettings::IniFormat)));
    CTrendSettings settings(host.Profile());

    const int queryTime = settings.QueryTime();
    Check(queryTime >= CTrendSettings::kMinQueryTime && queryTime <= CTrendSettings::kMaxQueryTime);
    const int autoSave = settings.AutoSaveMinutes();
    Check(autoSave >= 0 && autoSave <= CTrendSettings::kMaxAutoSave);
    for (const CProfileTextKey* key : {&trendkeys::kPVUpperRange, &trendkeys::kPVLowerRange})
        Check(std::isfinite(trend::LeadingFloatValue(settings.GetText(*key))));

    const QString folder = settings.LogFolder();
    Check(folder.startsWith(QLatin1Char('/')) && QDir::cleanPath(folder) == folder);
    CTrendLog log(host, settings);
    for (int polling : {0, 5}) {
        host.Comm().SetPollingAddress(polling);
        for (int page : {CTrendLog::kPVPage, CTrendLog::kDVPage}) {
            const QString name = log.GetLogFileName(page);
            CheckLogName(name);
            Check(QFileInfo(log.LogFilePath(page)).path() == folder);
        }
    }
    return 0;
}
