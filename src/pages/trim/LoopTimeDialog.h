#pragma once
// "Loop Time": holds the loop current at a fixed value for a number of minutes, shows the time
// left and the current the transmitter reports, and returns the loop to normal when the time is
// up, on "Stop" or when the dialog is closed.
#include "pages/trim/TrimDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CLoopTimeDialog : public CTrimDialog {
    Q_OBJECT
public:
    CLoopTimeDialog(IPageHost& host, int minutes, float current, QWidget* parent = nullptr);
    ~CLoopTimeDialog() override;

    enum class State { Entering, Holding, Leaving, Ended };
    State CurrentState() const { return m_state; }
    int RemainingSeconds() const { return m_nRemaining; }

    static constexpr int kTickTimer = 1;
    static constexpr int kReadTimer = 2;

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;
    void OnTimer(int id) override;

public:
    // Closing while the current is held returns the loop to normal first.
    void reject() override;

private:
    void Leave();
    void ShowRemaining();

    int m_nMinutes;
    float m_fCurrent;
    int m_nRemaining;
    State m_state = State::Entering;
    QLabel* m_wndRemaining = nullptr;
    QLabel* m_wndAO = nullptr;
    QLabel* m_wndStatus = nullptr;
    QProgressBar* m_wndProgress = nullptr;
    QPushButton* m_wndStop = nullptr;
};
