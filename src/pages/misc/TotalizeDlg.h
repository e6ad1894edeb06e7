#pragma once
// "Totalize" (dialog 263) for the KP510F: flow range (unit, upper and lower range), pulse scale
// and pulse width of the pulse output, and the reset of the total. "Apply" writes what the user
// changed; the dialog stays open.
#include "pages/misc/QueueDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class CTotalizeDlg : public CQueueDialog {
    Q_OBJECT
public:
    enum : int {
        IDD = 263,
        IDC_APPLY = 1,
        IDC_EXIT = 2,
        IDC_UPPER = 1044,
        IDC_UNIT = 1045,
        IDC_SCALE = 1046,
        IDC_WIDTH = 1047,
        IDC_LOWER = 1048,
        IDC_TOTAL_RESET = 1180,
    };

    explicit CTotalizeDlg(IPageHost& host, QWidget* parent = nullptr);

    // Row of the scale list whose band holds a value read back; -1 when none does.
    static int ScaleRowOf(float value);

    float m_fUpper = 0.0f;
    float m_fLower = 0.0f;
    bool m_bRangeChanged = false;
    bool m_bScaleChanged = false;
    bool m_bWidthChanged = false;

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void OnApply();
    void OnTotalReset();
    void Refused(int command, QWidget* focus);

    QComboBox* m_unit = nullptr;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QComboBox* m_scale = nullptr;
    QComboBox* m_width = nullptr;
};
