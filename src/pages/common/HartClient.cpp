#include "pages/common/HartClient.h"

#include "hart/LinkRelay.h"

#include <utility>

CHartClient::~CHartClient() {
    // Answers must not reach a window that is gone.
    if (IsReceiver())
        m_host.Relay().SetReceiver({});
}

void CHartClient::BecomeReceiver() {
    if (!IsReceiver()) {
        const int state = Comm().GetComState();
        const CHartDevice* rec = Comm().FindDevice(Comm().GetPollingAddress());
        m_nForeign = state >= hart::SEND_COM_STATE && state <= hart::RETRY_COM_STATE && rec ? rec->m_nLastCommand : -1;
    }
    m_host.Relay().SetReceiver(Handle());
}

bool CHartClient::SendNextCommand() {
    const int command = m_CommandQueue.RemoveHead();
    if (command < 0)
        return false;
    if (!Comm().IsConnected() || Comm().IsPortLost()) {
        // The port went away under the open window and the frame has said so; a box for every
        // queued command and every refresh would only repeat it until the window is closed.
        m_CommandQueue.RemoveAll();
        return false;
    }
    // Fields left from a request that was never written must not ride along with this one.
    Comm().DeleteRequestItems();
    int byteCount = 0;
    if (!PrepareRequest(command, byteCount))
        return false;
    BecomeReceiver();
    if (!Comm().Request(command, byteCount)) {
        m_nAwaited = -1;
        m_bUnsent = true;
        ReportRequestFailure(Comm(), command);
        return false;
    }
    m_nAwaited = command;
    m_nForeign = -1; // the link gave up the other window's transaction for this one
    m_bUnsent = false;
    return true;
}

void CHartClient::OnFail(int state) { ShowLinkFailure(state); }

vmc::LRESULT CHartClient::OnMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) {
    switch (msg) {
    case vmc::WM_HART_RECEIVE: {
        const int awaited = std::exchange(m_nAwaited, -1);
        const int foreign = std::exchange(m_nForeign, -1);
        const int command = static_cast<int>(w);
        if ((foreign >= 0 && foreign == command) || (awaited >= 0 && awaited != command))
            OnForeignAnswer(static_cast<int>(w), static_cast<int>(l));
        else
            OnReceive(static_cast<int>(w), static_cast<int>(l));
        return 0;
    }
    case vmc::WM_HART_FAIL:
        m_nAwaited = -1;
        m_nForeign = -1;
        // A request that never went out has no answer to miss: when its port has gone, the frame
        // ends the transaction it still reads as open, and has told the user why.
        if (std::exchange(m_bUnsent, false))
            return 0;
        OnFail(static_cast<int>(w));
        return 0;
    case vmc::WM_TIMER:
        OnTimer(static_cast<int>(w));
        return 0;
    default:
        return OnOtherMessage(msg, w, l);
    }
}
