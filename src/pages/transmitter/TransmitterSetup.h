#pragma once
// "Transmitter Setup" (dialog 187): live values of the current device every 5 seconds (commands 3
// and 2) and its output configuration. Edits set flags; "&Apply" writes the flagged values (34
// damping, 35 range, 152 sensor, 44 unit, 47 transfer function) and reads them back.
#include "pages/transmitter/TransmitterPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CTransmitterSetup : public CTransmitterPage {
    Q_OBJECT
public:
    enum Timer { kRefreshTimer = 1, kSettleTimer = 2 };
    static constexpr int kRefreshMs = 5000;
    static constexpr int kSettleMs = 500; // a written value settles before it is read back

    explicit CTransmitterSetup(IPageHost& host, QWidget* parent = nullptr);

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;

    // "Range Reset": the sensor limits become the range (written with the next "&Apply").
    void OnRangeReset();
    // "Low Cut Mode".
    void OnLowCutMode();

    float m_fDamping = 0.0f;
    float m_fUpperRange = 0.0f;
    float m_fLowerRange = 0.0f;

    int m_nDeviceType = 0;
    int m_nUnitCode = -1;
    bool m_bWritePending = false;
    bool m_bApplying = false;
    bool m_bDampingChanged = false;
    bool m_bRangeChanged = false;
    bool m_bUnitChanged = false;
    bool m_bTransferChanged = false;
    bool m_bSensorChanged = false;
    bool m_bMSSensorList = false;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;
    void OnTimer(int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build();
    void Edited(bool& flag);
    void ShowSensor(int sensorCode);
    void SelectUnit(int unitCode);
    int SelectedUnitCode() const;
    void SetRangeUnitLabels(const QString& text);
    void WriteAnswered(bool withOutput);
    void SendOrFinish();
    QLineEdit* RangeEdit(bool upper) const { return upper ? m_upper : m_lower; }

    QLabel* m_pv = nullptr;
    QLabel* m_pvUnit = nullptr;
    QLabel* m_sv = nullptr;
    QLabel* m_svUnit = nullptr;
    QLabel* m_ao = nullptr;
    QLabel* m_percent = nullptr;
    QComboBox* m_variable = nullptr;
    QComboBox* m_sensor = nullptr;
    QPushButton* m_sensorList = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_damping = nullptr;
    QComboBox* m_transfer = nullptr;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QLabel* m_upperUnit = nullptr;
    QLabel* m_lowerUnit = nullptr;

    bool m_bSettling = false;      // a write was answered; the read-back waits for the settle timer
    bool m_bSettleReadsOutput = false;
    int m_nUnitRepeats = 0;        // command 44 sent again because the device kept another unit
    int m_nBusyRepeats = 0;        // command 3 sent again because the device was busy
};
