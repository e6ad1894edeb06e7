#pragma once
// "GWR Level" (dialog 285) for the KL710: what the PV represents, tank height, probe length and
// angle, sensitivity, and the adjustment of the level to a value the user gives.
#include "pages/misc/QueueDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CGWRLevelDlg : public CQueueDialog {
    Q_OBJECT
public:
    enum : int {
        IDD = 285,
        IDC_CANCEL = 2,
        IDC_APPLY = 1004,
        IDC_TANK_HEIGHT = 1044,
        IDC_PV_IS = 1045,
        IDC_PROBE_LENGTH = 1046,
        IDC_PROBE_ANGLE = 1047,
        IDC_ADJUST_LEVEL = 1165,
        IDC_SET = 1180,
        IDC_ANGLE_UNIT = 1467,
        IDC_LENGTH_UNIT = 1468,
        IDC_HEIGHT_UNIT = 1469,
        IDC_SENSITIVITY = 1479,
        IDC_RESULT = 1481,
    };

    explicit CGWRLevelDlg(IPageHost& host, QWidget* parent = nullptr);

    float m_fTankHeight = 0.0f;
    float m_fProbeLength = 0.0f;
    float m_fProbeAngle = 0.0f;
    float m_fAdjustLevel = 0.0f;
    bool m_bPvIsChanged = false;
    bool m_bParametersChanged = false;
    bool m_bSensitivityChanged = false;

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void OnApply();
    void OnSet();
    void Changed(bool& flag);
    void UpdateApply();

    QComboBox* m_pvIs = nullptr;
    QComboBox* m_sensitivity = nullptr;
    QLineEdit* m_tankHeight = nullptr;
    QLineEdit* m_probeLength = nullptr;
    QLineEdit* m_probeAngle = nullptr;
    QLabel* m_units[3] = {};
    QLineEdit* m_adjust = nullptr;
    QPushButton* m_set = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_apply = nullptr;
    FieldBinding m_adjustField;
    float m_fSentLevel = 0.0f;
};
