#include "pages/misc/QueueDialog.h"

#include "hart/LinkRelay.h"

void CQueueDialog::SendNext() {
    while (!m_CommandQueue.IsEmpty()) {
        m_bDropped = false;
        if (SendNextCommand() || !m_bDropped)
            return;
    }
}

void CQueueDialog::OnFail(int state) {
    ShowLinkFailure(state);
    SendNext();
}

void CQueueDialog::showEvent(QShowEvent* e) {
    CHartDialog::showEvent(e);
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    OnInitDialog();
}

void CQueueDialog::done(int result) {
    m_CommandQueue.RemoveAll();
    CHartDialog::done(result);
}
