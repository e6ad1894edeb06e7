#pragma once
// The settings of the trend pages ("Misc") and of the data log files ("LogFile"), each key named
// once with its default. Reads and writes go straight to the user's profile, as every other
// setting does, so two sheets opened one after the other see each other's changes.
#include "shell/Profile.h"

#include <QString>

struct CProfileTextKey {
    const char* section;
    const char* name;
    const char* defaultValue;
};

namespace trendkeys {
inline constexpr CProfileKey kQueryTime{"Misc", "QueryTime", 1000};
inline constexpr CProfileTextKey kPVUpperRange{"Misc", "PVUpperRange", "100"};
inline constexpr CProfileTextKey kPVLowerRange{"Misc", "PVLowerRange", "-20"};

inline constexpr CProfileKey kAlwaysFileLogging{"LogFile", "Always_File_Logging", 0};
inline constexpr CProfileKey kUserDefinedFileName{"LogFile", "UserDefinedFileName", 0};
inline constexpr CProfileKey kAutoSave{"LogFile", "AutoSave", 60};
inline constexpr CProfileTextKey kPVLogSingle{"LogFile", "PV_Log_FileName_SingleMode", "Log_PV_Single.txt"};
inline constexpr CProfileTextKey kPVLogMultiDrop{"LogFile", "PV_Log_FileName_MultiDropMode", "Log_PV_MultiDrop.txt"};
inline constexpr CProfileTextKey kDVLog{"LogFile", "DV_Log_FileName", "Log_DV.txt"};
inline constexpr CProfileTextKey kStartLogTime{"LogFile", "StartLogTime", ""};
// Where the log files go; empty means the default folder below.
inline constexpr CProfileTextKey kLogFolder{"LogFile", "LogFolder", ""};
} // namespace trendkeys

class CTrendSettings {
public:
    // The query times the pages accept, in milliseconds.
    static constexpr int kMinQueryTime = 1000;
    static constexpr int kMaxQueryTime = 350000;
    static constexpr int kMaxAutoSave = 60;

    explicit CTrendSettings(CProfile& profile) : m_profile(profile) {}

    int GetInt(const CProfileKey& key) const { return m_profile.GetInt(key); }
    void WriteInt(const CProfileKey& key, int value) { m_profile.WriteInt(key, value); }
    QString GetText(const CProfileTextKey& key) const;
    void WriteText(const CProfileTextKey& key, const QString& value);

    // The stored poll period, kept within the accepted range: a period of 0 from a damaged store
    // would poll the loop without a pause.
    int QueryTime() const;
    // Minutes between two close-and-reopen passes of a log file; 0 turns them off.
    int AutoSaveMinutes() const;

    // The folder the log files are written to: the stored one when it is absolute, else the
    // default.
    QString LogFolder() const;
    // The user's documents folder (or the per-user data folder where there is none) with a folder
    // of the program's own in it.
    static QString DefaultLogFolder();

private:
    CProfile& m_profile;
};
