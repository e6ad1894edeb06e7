#pragma once
// "PollingAddress Setting": gives a row of transmitters, switched onto the loop one at a time,
// new polling addresses 1..N in order (writing each a new device identification number first),
// or sets them all back to 0. Automatic operation walks the row with the operator raising and
// lowering switches between steps; manual operation does one transmitter per "Polling n" button.
#include "platform/MessageTarget.h"
#include "shell/AddressList.h"

#include <QDialog>
#include <array>

class IPageHost;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CPollingAddressDlg : public QDialog, public vmc::MessageTarget {
public:
    explicit CPollingAddressDlg(IPageHost& host, QWidget* parent = nullptr);
    ~CPollingAddressDlg() override;

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

    void done(int result) override;
    // Escape and the window's close button close like "닫 기".
    void reject() override { Close(); }

    int StepCount() const { return m_nStep; }
    const CAddressList& CommandQueue() const { return m_CommandQueue; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    enum Way { kInOrder = 0, kAllToZero = 1 };
    enum Operation { kAutomatic = 0, kManual = 1 };

    void Start();
    void ReadFields();
    void ShowFields();
    void RefreshTexts();
    void OnRun();
    void NextStep();
    void OnPollingButton(int n);
    void SendNextCommand();
    void OnReceive(int command, int count);
    void OnFail(int state);
    void ShowStepMessage();
    void Close();

    IPageHost& m_host;
    int m_nCount = 1;
    int m_nWay = kInOrder;
    int m_nOperation = kAutomatic;
    int m_nProductId = 0;
    int m_nStep = 0;
    int m_nTalkAddress = 0;
    int m_nNewAddress = 0;
    bool m_bIdentityWritten = false;
    bool m_bRetried = false;
    bool m_bStarted = false;
    bool m_bClosed = false;
    CAddressList m_CommandQueue;

    QSpinBox* m_count;
    QRadioButton* m_inOrder;
    QRadioButton* m_allToZero;
    QRadioButton* m_automatic;
    QRadioButton* m_manual;
    std::array<QPushButton*, 15> m_polling{};
    QPushButton* m_run;
    QLabel* m_line1;
    QLabel* m_line2;
    QLabel* m_line3;
    QSpinBox* m_productId;
};
