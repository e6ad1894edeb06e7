#pragma once
// "ENGR Mode" page (dialog 232): the scale of the engineering display (transfer function, upper
// and lower range, unit; unit 249 with a text of up to six characters of the user's own).
#include "pages/misc/LcdPage.h"

#include <QByteArray>

class QComboBox;
class QLabel;
class QLineEdit;

class CLCDENGRMode : public CLcdPage {
    Q_OBJECT
public:
    enum : int {
        IDD = 232,
        IDC_ENGR_TRFC = 1001,
        IDC_ENGR_LOWER = 1008,
        IDC_ENGR_UNIT = 1013,
        IDC_USER_UNIT = 1044,
        IDC_ENGR_UPPER = 1466,
    };
    static constexpr int kUserUnitChars = 6;

    explicit CLCDENGRMode(IPageHost& host, QWidget* parent = nullptr);

    void OnInitDialog() override;
    bool OnSetActive() override;

    float m_fUpper = 0.0f;
    float m_fLower = 0.0f;
    QString m_strUserUnit;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnSheetRead() override;
    void OnSheetWrite() override;

private:
    int SelectedUnit() const;
    void ShowUserUnit(bool on);
    void ShowRange();

    QComboBox* m_trfc = nullptr;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_userUnit = nullptr;
    QLabel* m_userUnitLabel = nullptr;
    QLabel* m_userUnitNote = nullptr;

    // What "Apply" took: the rows chosen and the six characters of the user unit.
    int m_nTrfcToWrite = -1;
    int m_nUnitToWrite = -1;
    QByteArray m_userUnitToWrite;
};
