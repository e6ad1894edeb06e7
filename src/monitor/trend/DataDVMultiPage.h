#pragma once
// "Dynamic Variable" of a multi-drop loop: each pass asks every selected transmitter in turn for
// PV and SV (the maker's command 210; command 3 for a device of another maker) and lists them per
// device; with logging on, every answer becomes one line of the DV log.
#include "monitor/trend/TrendLog.h"
#include "monitor/trend/TrendPage.h"

class QTableWidget;

class CDataDVMultiPage : public CMultiDropTrendPage {
    Q_OBJECT
public:
    static constexpr int kPollTimer = 1;
    enum Column { kPolling, kType, kTag, kPV, kSV, kTV, kFV, kStatus, kColumns };

    explicit CDataDVMultiPage(IPageHost& host, QWidget* parent = nullptr);
    ~CDataDVMultiPage() override;

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnCancel() override;

    QTableWidget* List() const { return m_list; }
    // The command that reads a device's dynamic variables.
    int CommandFor(int address) const;

protected:
    void OnAnswer(int command, int dataCount) override;
    void OnLinkFailure(int state) override;
    void OnPageTimer(int id) override;
    void ResumePolling() override;
    void OnRetry(int command) override;

private:
    void QueueCurrent();
    void NextDevice();
    void OnFailed(const QString& status, bool moveOn);

    QTableWidget* m_list = nullptr;
};
