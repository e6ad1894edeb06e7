#pragma once
// "Transmitter Trim": the live values of the current transmitter every 5 seconds, and the trims:
// span and zero by applied process (36, 37), sensor zero (43), a fixed loop current for a loop
// test (40), the DAC trim wizards, the zero adjustment, and the sensor trim and linearization
// dialogs. The page's buttons jump the poll queue; one transaction follows the other.
#include "pages/common/HartPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CTransmitterTrim : public CHartPage {
    Q_OBJECT
public:
    explicit CTransmitterTrim(IPageHost& host, QWidget* parent = nullptr);
    ~CTransmitterTrim() override;

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnCancel() override;

    // True while the page holds the loop current fixed.
    bool InFixedMode() const { return m_nFixedMode == 0; }

    static constexpr int kRefreshTimer = 1;
    static constexpr int kRefreshMs = 5000;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;
    void OnTimer(int id) override;

private:
    void BuildControls();
    void ShowValues();
    void StartRefresh() { SetTimer(kRefreshTimer, kRefreshMs); }
    void StopRefresh() { KillTimer(kRefreshTimer); }
    void QueueReads();
    void OnDisplayInformation(bool on);
    void OnPriorityCommand(int command);
    void OnLoopTest(bool on);
    void OnFixedMode();
    void SetFixedMode(int flag);
    void OnSensorFullTrim();
    void OnDacTrim(bool voltage);
    void OnZeroAdjustment();
    void OnCJLinearization();
    // Stops the refresh, runs a modal dialog, then takes the answers back and polls again.
    template <class Run> void RunDialog(Run run);
    // A loop must not stay fixed once the page is left: returns it to normal at once.
    void LeaveFixedModeNow();
    bool IsTemperatureDevice() const;

    int m_nDeviceType = 0;
    // 1: the loop current follows the process; 0: fixed at m_fFixedCurrent.
    int m_nFixedMode = 1;
    float m_fFixedCurrent = 4.0f;
    int m_nMinutes = 0;

    QLabel* m_wndPV = nullptr;
    QLabel* m_wndSV = nullptr;
    QLabel* m_wndAO = nullptr;
    QLabel* m_wndPercent = nullptr;
    QLabel* m_wndPVUnit = nullptr;
    QLabel* m_wndSVUnit = nullptr;
    QCheckBox* m_wndDisplayInfo = nullptr;
    QPushButton* m_wndSpan = nullptr;
    QPushButton* m_wndZero = nullptr;
    QPushButton* m_wndSensorZero = nullptr;
    QPushButton* m_wndSensorFull = nullptr;
    QLineEdit* m_wndFixedCurrent = nullptr;
    QLineEdit* m_wndMinutes = nullptr;
    QPushButton* m_wndFixedMode = nullptr;
    QPushButton* m_wndDacCurrent = nullptr;
    QPushButton* m_wndDacVoltage = nullptr;
    QCheckBox* m_wndLoopTest = nullptr;
    QPushButton* m_wndZeroAdjust = nullptr;
    QPushButton* m_wndCJLinearization = nullptr;
};
