#pragma once
// What the two pages of the "LCD Display Mode" sheet share: they are driven by the sheet's "Read"
// and "Apply" buttons (WM_SHEET_READ, WM_SHEET_WRITE), send their queue one command at a time
// with a 500 ms pause after every answer, and give up the rest of the queue when the link fails
// (the box says so; the user presses the button again).
#include "pages/common/HartPage.h"
#include "pages/common/ReadSetupSheet.h"

class CLcdPage : public CHartPage {
    Q_OBJECT
public:
    using CHartPage::CHartPage;

    bool OnSetActive() override;
    bool OnKillActive() override;

    static constexpr int kPauseTimer = 1;
    static constexpr int kPauseMs = 500;

protected:
    // Sends the next queued command now, unless a transaction is open or the pause is running
    // (then it goes out after them). Commands the page drops are passed over.
    void Kick();
    // After an answer: the next command follows the pause.
    void NextAfterPause() { SetTimer(kPauseTimer, kPauseMs); }
    // PrepareRequest calls this for a command it will not send.
    void DropCommand() { m_bDropped = true; }
    void EnableRead(bool on);

    void OnTimer(int id) override;
    void OnFail(int state) override;
    vmc::LRESULT OnOtherMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) override;
    virtual void OnSheetRead() {}
    virtual void OnSheetWrite() {}

private:
    void SendNext();
    bool m_bDropped = false;
};
