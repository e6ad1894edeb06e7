#pragma once
// "LCD Display Mode" page (dialog 214): what the five-digit display shows (normal, engineering or
// flow display; basic mode or a fixed PV / % / mA display) and its decimal places. Reads the
// device on every activation; "Apply" writes.
#include "pages/misc/LcdPage.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

class CLCDDisplayMode : public CLcdPage {
    Q_OBJECT
public:
    enum : int {
        IDD = 214,
        IDC_CHOICE1 = 1029,
        IDC_CHOICE2 = 1030,
        IDC_CHOICE3 = 1034,
        IDC_NORMAL = 1033,
        IDC_ENGR = 1035,
        IDC_FLOW = 1037,
        IDC_CIPHER = 1045,
        IDC_BASIC = 1360,
        IDC_FIXED = 1361,
    };

    explicit CLCDDisplayMode(IPageHost& host, QWidget* parent = nullptr);

    void OnInitDialog() override;
    bool OnSetActive() override;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnSheetWrite() override;

private:
    bool HasCipher() const { return m_nDeviceRevision > 2; }
    void ShowMode(int byte, bool withDisplay);
    void SetFlowCaptions(bool flow);
    void SetChoicesEnabled(bool on);
    void CheckChoice(int choice); // 0 clears all three
    int CheckedChoice() const;
    int CheckedDisplay() const;
    void OnBasic();
    void OnFixed();
    void OnChoice();

    QRadioButton* m_normal = nullptr;
    QRadioButton* m_engr = nullptr;
    QRadioButton* m_flow = nullptr;
    QButtonGroup* m_displays = nullptr;
    QCheckBox* m_basic = nullptr;
    QCheckBox* m_fixed = nullptr;
    QRadioButton* m_choice[3] = {};
    QButtonGroup* m_choices = nullptr;
    QComboBox* m_cipher = nullptr;

    int m_nDeviceRevision = 0;
    bool m_bFlowCaptions = false;
    int m_nModeToWrite = 0;
    int m_nCipherToWrite = 0;
};
