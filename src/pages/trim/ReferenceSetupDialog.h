#pragma once
// "Reference Setup": the converter's make code and hardware prescale (208 read, 198 write) and the
// maker of the sensor assembly (200 read, 199 write); "Ref. Zero Point" opens from it. "Ref. Zero
// Point": the two reference zero points (210 takes them from the present readings, 231 reads
// what the transmitter keeps, 241 writes).
#include "pages/trim/Controls.h"
#include "pages/trim/TrimDialog.h"

class QLineEdit;

class CReferenceSetupDlg : public CTrimDialog {
    Q_OBJECT
public:
    explicit CReferenceSetupDlg(IPageHost& host, QWidget* parent = nullptr);

    int SelectedPrescale() const; // 1, 2, 4, 8 or 0 for none
    int SelectedMaker() const;    // 1, 17, 33 or 0 for none

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;

private:
    void Read();
    void Apply();
    void OpenZeroPoint();

    QLineEdit* m_wndMakeCode;
    QLineEdit* m_wndPrescaleRead;
    trim::RadioGroup m_prescale;
    trim::RadioGroup m_maker;
    int m_nMakeCode = 0;
};

class CRefZeroPointDlg : public CTrimDialog {
    Q_OBJECT
public:
    explicit CRefZeroPointDlg(IPageHost& host, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void Send(int command);

    float m_fHigh = 0.0f;
    float m_fLow = 0.0f;
};
