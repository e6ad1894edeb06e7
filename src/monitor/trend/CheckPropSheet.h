#pragma once
// The trend sheet "PV and DV Trend": page 0 shows PV (one device or a multi-drop loop), page 1 the
// dynamic variables. Its "Data Logging" box turns the data log on and off; the pages hand it every
// sample and it decides whether a line is written and to which file. While a file is open it is
// closed and opened again every "AutoSave" minutes, and a page switch moves logging to the file
// of the new page.
#include "monitor/trend/TrendLog.h"
#include "monitor/trend/TrendSettings.h"
#include "pages/common/PropertySheet.h"

#include <QTimer>

class IPageHost;
class QCheckBox;

class CCheckPropSheet : public CPropertySheet {
    Q_OBJECT
public:
    static constexpr int kLoggingBoxId = 8192;

    explicit CCheckPropSheet(IPageHost& host, QWidget* parent = nullptr);
    ~CCheckPropSheet() override;

    // For the pages.
    bool IsLogging() const { return m_bLogging; }
    // Called by every page when it becomes active: logging follows the page to its own file.
    void CheckPageSwitch();
    void WriteSinglePVLine(int address, const QString& unit, float pv, float current, float percent);
    // The cells of the pass in progress; null unless a multi-drop PV log is open.
    CMultiDropLogLine* Collector();
    void WriteMultiDropPVLine();
    void WriteDVLine(int address, const DVLineValues& values);
    void WriteDVLineWithCurrent(int address, const DVLineValues& values, const QString& current);

    // What the sheet presses after the box changed: every page shown so far applies.
    void PressApply();

    QCheckBox* LoggingBox() const { return m_logging; }
    CTrendLog& Log() { return m_log; }
    CTrendSettings& Settings() { return m_settings; }
    bool IsAutoSaveArmed() const { return m_autoSave.isActive(); }
    int AutoSaveIntervalMs() const { return m_autoSave.interval(); }

    // Closing the sheet ends the log: with the footer, or with a dash rule when logging is always on.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void OnInitDialog();
    void OnLoggingBox();
    void StartLogging();
    void StopLogging();
    void OnAutoSave();
    void CloseAtExit();
    bool Writing() const;
    void Check(CTrendLog::Result result);
    void Failed(const QString& text);

    CTrendSettings m_settings;
    CTrendLog m_log;
    QCheckBox* m_logging = nullptr;
    QTimer m_autoSave;
    bool m_bLogging = false;
    bool m_bInitialised = false;
};
