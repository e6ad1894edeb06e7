#include "monitor/trend/TrendPage.h"

#include "monitor/trend/CheckPropSheet.h"
#include "pages/common/PropertySheet.h"

CTrendPage::CTrendPage(IPageHost& host, const QString& caption, QWidget* parent)
    : CHartPage(host, caption, parent), m_settings(host.Profile()) {}

CCheckPropSheet* CTrendPage::TrendSheet() const { return qobject_cast<CCheckPropSheet*>(Sheet()); }

bool CTrendPage::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    m_nOutstanding = command;
    return true;
}

int CMultiDropTrendPage::CurrentAddress() const { return Host().SelectedDevices().GetAt(m_nDeviceIndex); }

bool CMultiDropTrendPage::AdvanceDevice() {
    m_nDeviceIndex = m_nDeviceIndex + 1 < Host().SelectedDevices().GetCount() ? m_nDeviceIndex + 1 : 0;
    return m_nDeviceIndex != 0;
}

bool CMultiDropTrendPage::PrepareRequest(int command, int& byteCount) {
    const int address = CurrentAddress();
    if (address < 0)
        return false;
    Comm().SetPollingAddress(address);
    Host().UpdatePollingPane();
    return CTrendPage::PrepareRequest(command, byteCount);
}

bool CTrendPage::IsActivePage() const { return !Sheet() || Sheet()->ActivePage() == this; }

bool CTrendPage::SendNext() {
    if (SendNextCommand())
        return true;
    m_nOutstanding = -1; // dropped or refused by the link: nothing will answer
    return false;
}

void CTrendPage::OnReceive(int command, int dataCount) {
    // One request at a time: an answer the page is not waiting for must not be taken for its own.
    if (command != m_nOutstanding) {
        OnForeignAnswer(command, dataCount);
        return;
    }
    m_nOutstanding = -1;
    OnAnswer(command, dataCount);
}

void CTrendPage::OnForeignAnswer(int /*command*/, int /*dataCount*/) { OnForeignEnd(); }

void CTrendPage::OnForeignEnd() {
    // A transaction of another window (open when this page took the link over, or made during a
    // pause) held the link when the page wanted to poll; now that it is over the page goes on.
    // With a request of its own open, the answer to that one carries the polling on.
    if (m_nOutstanding < 0 && m_nRetryCommand < 0 && IsActivePage())
        ResumePolling();
}

void CTrendPage::OnFail(int state) {
    // The failure comes as a posted state change: when the link is busy again by the time it
    // arrives, it belonged to an earlier transaction (the last one of a search, say).
    if (m_nOutstanding < 0) {
        OnForeignEnd(); // another window's transaction failed; the box is that window's business
        return;
    }
    const int now = Comm().GetComState();
    if (now != hart::COMERROR_COM_STATE && now != hart::NORESPONSE_COM_STATE)
        return;
    m_nOutstanding = -1;
    OnLinkFailure(state);
}

void CTrendPage::OnTimer(int id) {
    if (id != kRetryTimer) {
        OnPageTimer(id);
        return;
    }
    KillTimer(kRetryTimer);
    const int command = m_nRetryCommand;
    m_nRetryCommand = -1;
    if (command >= 0)
        OnRetry(command);
}

void CTrendPage::RetryLater(int command) {
    m_nRetryCommand = command;
    SetTimer(kRetryTimer, kRetryDelayMs);
}

void CTrendPage::GiveUpOutstanding() {
    if (m_nOutstanding < 0)
        return;
    if (IsReceiver() && !LinkFree())
        Comm().KillResponseTimer();
    QueueCommandFirst(m_nOutstanding);
    m_nOutstanding = -1;
}

void CTrendPage::StopTimers(int pollTimer) {
    KillTimer(pollTimer);
    KillTimer(kRetryTimer);
    if (m_nRetryCommand >= 0)
        QueueCommandFirst(m_nRetryCommand);
    m_nRetryCommand = -1;
}
