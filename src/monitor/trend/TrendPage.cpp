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

bool CTrendPage::IsActivePage() const { return !Sheet() || Sheet()->ActivePage() == this; }

bool CTrendPage::LinkFree() const {
    const int state = Comm().GetComState();
    return state == hart::IDLE_COM_STATE || state == hart::COMERROR_COM_STATE || state == hart::NORESPONSE_COM_STATE;
}

bool CTrendPage::SendNext() {
    if (SendNextCommand())
        return true;
    m_nOutstanding = -1; // dropped or refused by the link: nothing will answer
    return false;
}

void CTrendPage::OnReceive(int command, int dataCount) {
    // One request at a time: an answer the page is not waiting for (a request another page gave
    // up) must not move its polling on.
    if (command != m_nOutstanding)
        return;
    m_nOutstanding = -1;
    OnAnswer(command, dataCount);
}

void CTrendPage::OnFail(int state) {
    // The failure comes as a posted state change: when the link is busy again by the time it
    // arrives, it belonged to an earlier transaction (the last one of a search, say).
    const int now = Comm().GetComState();
    if (m_nOutstanding < 0 || (now != hart::COMERROR_COM_STATE && now != hart::NORESPONSE_COM_STATE))
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
