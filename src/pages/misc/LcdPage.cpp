#include "pages/misc/LcdPage.h"

#include "hart/LinkRelay.h"

#include <QPushButton>

bool CLcdPage::OnSetActive() {
    BecomeReceiver();
    Kick();
    return true;
}

bool CLcdPage::OnKillActive() {
    // What is still queued goes out when the page is active again.
    KillTimer(kPauseTimer);
    return CHartPage::OnKillActive();
}

void CLcdPage::Kick() {
    if (!IsTimerActive(kPauseTimer) && LinkFree())
        SendNext();
}

void CLcdPage::SendNext() {
    while (!m_CommandQueue.IsEmpty()) {
        m_bDropped = false;
        if (SendNextCommand() || !m_bDropped)
            return;
    }
}

void CLcdPage::EnableRead(bool on) {
    if (CReadSetupSheet* sheet = CReadSetupSheet::Of(this))
        sheet->ReadButton()->setEnabled(on);
}

void CLcdPage::OnTimer(int id) {
    if (id != kPauseTimer)
        return;
    KillTimer(kPauseTimer);
    // Another page may have taken the link over meanwhile; then this one waits for its turn.
    if (IsReceiver() && LinkFree())
        SendNext();
}

void CLcdPage::OnFail(int state) {
    KillTimer(kPauseTimer);
    m_CommandQueue.RemoveAll();
    ShowLinkFailure(state);
}

vmc::LRESULT CLcdPage::OnOtherMessage(unsigned msg, vmc::WPARAM, vmc::LPARAM) {
    if (msg == vmc::WM_SHEET_READ)
        OnSheetRead();
    else if (msg == vmc::WM_SHEET_WRITE)
        OnSheetWrite();
    return 0;
}
