#pragma once
// "Zero Adjustment": reads the transmitter's zero offset and writes the value its PV is to read
// now (236 / 246). A transmitter of device revision 4 or later also keeps a factory offset and
// takes a mode byte with both (144 / 145): 16 the user zero, 1 the factory zero, 48 clear.
#include "pages/trim/TrimDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CZeroAdjustmentDlg : public CTrimDialog {
    Q_OBJECT
public:
    explicit CZeroAdjustmentDlg(IPageHost& host, QWidget* parent = nullptr);
    ~CZeroAdjustmentDlg() override;

    bool IsFactoryMode() const { return m_bFactoryMode; }
    bool IsWaiting() const;

    enum Mode : int { kModeFactory = 1, kModeUser = 16, kModeClear = 48 };
    static constexpr int kWaitTimer = 2;
    static constexpr int kWaitMs = 3000;

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnTimer(int id) override;

private:
    void Send(int mode, int command);
    void ShowFields();
    bool TakeFields();

    bool m_bFactoryMode = false;
    int m_nMode = kModeUser;
    float m_fAdjustingPV = 0.0f;
    float m_fZeroOffset = 0.0f;
    float m_fMeasuredPV = 0.0f;
    float m_fFactoryAdj = 0.0f;
    float m_fFactoryOffset = 0.0f;

    QLineEdit* m_wndAdjustingPV;
    QLineEdit* m_wndZeroOffset;
    QLineEdit* m_wndMeasuredPV;
    QLineEdit* m_wndFactoryAdj;
    QLineEdit* m_wndFactoryOffset;
    QLabel* m_wndUnit1;
    QLabel* m_wndUnit2;
    QList<QWidget*> m_factoryControls;
    class CWaitNotice* m_pWait = nullptr;
};
