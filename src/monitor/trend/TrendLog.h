#pragma once
// The data log files of the trend sheet: which file a page logs to, the title block, device list
// and column header of a new file, the sample lines of each page, the rules between groups and
// passes, the closing footer, and the close-and-reopen of an auto-save. Every line goes to the
// disk as it is written (one write, then a data sync), so a crash or a power cut loses at most the
// line being written.
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class IPageHost;
class CTrendSettings;

// One multi-drop PV log line in the making: five cells per device, written once per pass.
class CMultiDropLogLine {
public:
    static constexpr int kCellsPerDevice = 5;

    void AddTail(const QString& cell) { m_cells.push_back(cell); }
    void AddDevice(const QString& address, const QString& pv, const QString& pvUnit, const QString& sv,
                   const QString& svUnit) {
        m_cells << address << pv << pvUnit << sv << svUnit;
    }
    int GetCount() const { return static_cast<int>(m_cells.size()); }
    bool IsEmpty() const { return m_cells.isEmpty(); }
    const QStringList& Cells() const { return m_cells; }
    void RemoveAll() { m_cells.clear(); }

private:
    QStringList m_cells;
};

// PV, SV, TV and FV of one DV line, each with its unit text.
struct DVLineValues {
    std::array<float, 4> value{};
    std::array<QString, 4> unit;
};

class CTrendLog {
public:
    enum { kPVPage = 0, kDVPage = 1 };
    enum class Result { Ok, NotOpen, Failed };

    CTrendLog(IPageHost& host, CTrendSettings& settings);
    ~CTrendLog();
    CTrendLog(const CTrendLog&) = delete;
    CTrendLog& operator=(const CTrendLog&) = delete;

    // The clock of the measurement times (tests pin it).
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The file name for a page (no folder) and the full path in the log folder.
    QString GetLogFileName(int page) const;
    QString LogFilePath(int page) const;

    // Opens (creating or appending) the file of the page; a new file gets the title block, the
    // device list and the column header. False when the file cannot be opened or written.
    bool Open(int page);
    // The close of a normal stop: equals rule, measurement term, equals rule.
    bool StopWithFooter();
    // The close of a page switch or of an always-on sheet: a dash rule.
    bool CloseWithDashRule();
    // Auto-save: an equals rule, then the same file closed and opened again for appending.
    bool Reopen();
    // Closes without writing anything.
    void Close();

    bool IsOpen() const { return m_file.isOpen(); }
    int LogPage() const { return m_nLogPage; }
    QString FilePath() const { return m_file.fileName(); }
    // Set once a write or an open failed; says which file and why.
    QString LastError() const { return m_strError; }

    // Sample lines; NotOpen when no file is open (nothing written), Failed when the write failed.
    Result WriteSinglePVLine(int address, const QString& unit, float pv, float current, float percent);
    CMultiDropLogLine* Collector() { return m_collector.get(); }
    Result WriteMultiDropPVLine();
    Result WriteDVLine(int address, const DVLineValues& v);
    Result WriteDVLineWithCurrent(int address, const DVLineValues& v, const QString& current);

    // Rules of the open file's page and mode (public for the tests' expectations).
    QString EqualsRule() const { return Rule(QLatin1Char('=')); }
    QString DashRule() const { return Rule(QLatin1Char('-')); }

private:
    bool MultiDrop() const;
    int DeviceCount() const;
    QString Rule(QChar c) const;
    QString Header(int page) const;
    QString Now() const;
    QString TimeOfDay() const;
    bool OpenFile(int page);
    bool Emit(const QString& text);
    Result EmitLine(const QString& line);
    Result EmitDVLine(int address, const DVLineValues& v, const QString& beforeTime);

    IPageHost& m_host;
    CTrendSettings& m_settings;
    std::function<QDateTime()> m_clock;
    QFile m_file;
    int m_nLogPage = -1;
    int m_nLinesSinceRule = 0;
    std::unique_ptr<CMultiDropLogLine> m_collector;
    QString m_strError;
};
