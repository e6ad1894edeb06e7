#include "pages/common/HartClient.h"

#include "hart/LinkRelay.h"

CHartClient::~CHartClient() {
    // Answers must not reach a window that is gone.
    if (IsReceiver())
        m_host.Relay().SetReceiver({});
}

bool CHartClient::SendNextCommand() {
    const int command = m_CommandQueue.RemoveHead();
    if (command < 0)
        return false;
    // Fields left from a request that was never written must not ride along with this one.
    Comm().DeleteRequestItems();
    int byteCount = 0;
    if (!PrepareRequest(command, byteCount))
        return false;
    BecomeReceiver();
    if (!Comm().Request(command, byteCount)) {
        ReportCommandError(3, QString::number(command));
        return false;
    }
    return true;
}

void CHartClient::OnFail(int state) { ShowLinkFailure(state); }

vmc::LRESULT CHartClient::OnMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) {
    switch (msg) {
    case vmc::WM_HART_RECEIVE:
        OnReceive(static_cast<int>(w), static_cast<int>(l));
        return 0;
    case vmc::WM_HART_FAIL:
        OnFail(static_cast<int>(w));
        return 0;
    case vmc::WM_TIMER:
        OnTimer(static_cast<int>(w));
        return 0;
    default:
        return OnOtherMessage(msg, w, l);
    }
}
