#pragma once
// "Searching HART Device...": polls the chosen addresses one by one with command 0 and, for each
// device that answers, command 13; every device found becomes a row of the tree. Ends by itself
// after the last address, or by Cancel; marks every row found when it closes.
#include "platform/MessageTarget.h"
#include "shell/AddressList.h"

#include <QDialog>
#include <array>

class IPageHost;
class CSearchIndicator;
class QLineEdit;
class QProgressBar;

class CSearchDialog : public QDialog, public vmc::MessageTarget {
public:
    CSearchDialog(IPageHost& host, const std::array<int, 16>& addresses, int count, QWidget* parent = nullptr);
    ~CSearchDialog() override;

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

    int CurrentAddress() const { return m_nCurrentAddress; }
    int LastFoundIndex() const { return m_nLastFoundIndex; }
    QProgressBar* Progress() const { return m_progress; }

    void done(int result) override;
    // Escape is the Cancel button.
    void reject() override { Cancel(); }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Start();
    void SendNextCommand();
    void OnReceive(int command, int count);
    void OnFail();
    void NextAddress();
    void ShowFields();
    void Cancel();

    static constexpr int kEndTimer = 1;
    static constexpr int kEndDelayMs = 500;
    // A device that answers with status bytes only is asked again at once, a few times, then
    // skipped like a silent one, so the search always comes to an end.
    static constexpr int kBareAnswerResends = 3;

    IPageHost& m_host;
    std::array<int, 16> m_nAddressList{};
    int m_nAddressCount = 15;
    int m_nIndex = 0;
    short m_nCurrentAddress = 0;
    short m_nLastFoundIndex = -1;
    CAddressList m_CommandQueue;
    int m_nBareAnswers = 0;
    bool m_bStarted = false;
    bool m_bEnded = false;

    CSearchIndicator* m_animation;
    QLineEdit* m_address;
    QProgressBar* m_progress;
};
