#pragma once
// "Sensor Full Trim": trims the sensor at a lower and an upper point. The applied value at the
// point comes from the transmitter's PV (command 3), the value it is to read is entered; the
// transmitter keeps both trim points (232 read, 242 write; 48 recalls the factory trim).
#include "pages/trim/TrimDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;

class CSensorFullTrimDlg : public CTrimDialog {
    Q_OBJECT
public:
    explicit CSensorFullTrimDlg(IPageHost& host, QWidget* parent = nullptr);

    bool LowerSelected() const;

    enum Point : int { kUpper = 16, kLower = 32, kFactoryRecall = 48 };

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;

private:
    void SelectPoint(bool lower);
    void ShowSelection();
    void Send(int command);
    void OnSetup();
    void OnFactoryRecall();
    static void Show(QLineEdit* edit, float value);

    int m_nDeviceRevision = 0;
    bool m_bFirstRead = false;
    bool m_bWritePending = false;
    bool m_bFactoryRecall = false;
    float m_fLowerCurrent = 0.0f;
    float m_fLowerModify = 0.0f;
    float m_fUpperCurrent = 0.0f;
    float m_fUpperModify = 0.0f;
    float m_fLowerPoint = 0.0f;
    float m_fUpperPoint = 0.0f;

    QCheckBox* m_wndLower;
    QCheckBox* m_wndUpper;
    QLabel* m_wndLowerCurrentLabel;
    QLineEdit* m_wndLowerCurrent;
    QLabel* m_wndLowerModifyLabel;
    QLineEdit* m_wndLowerModify;
    QLabel* m_wndUpperCurrentLabel;
    QLineEdit* m_wndUpperCurrent;
    QLabel* m_wndUpperModifyLabel;
    QLineEdit* m_wndUpperModify;
    QLineEdit* m_wndLowerPoint;
    QLineEdit* m_wndUpperPoint;
    QLabel* m_wndLowerUnit;
    QLabel* m_wndUpperUnit;
    QLabel* m_wndPointUnit;
    QLabel* m_wndStatus;
};
