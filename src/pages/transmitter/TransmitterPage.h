#pragma once
// The habits the transmitter pages add to CHartPage: a command the page drops may let the queue go
// on (a read it no longer needs, a write refused before sending and replaced by a read-back), and
// an answer refreshes only the controls of the values it carried, so an edit not yet applied is
// never overwritten by a read.
#include "pages/common/HartPage.h"

class CTransmitterPage : public CHartPage {
    Q_OBJECT
public:
    using CHartPage::CHartPage;

    // Sends the head of the queue; commands dropped with ContinueAfterDrop() are skipped.
    bool SendQueued() {
        for (;;) {
            m_bContinueAfterDrop = false;
            if (SendNextCommand())
                return true;
            if (!m_bContinueAfterDrop || m_CommandQueue.IsEmpty())
                return false;
        }
    }
    bool OnSetActive() override {
        BecomeReceiver();
        if (!m_CommandQueue.IsEmpty() && LinkIdle())
            SendQueued();
        return true;
    }
    bool OnApply() override {
        if (LinkIdle())
            SendQueued();
        return true;
    }

protected:
    // Called from PrepareRequest before returning false: the queue goes on with the next command.
    void ContinueAfterDrop() { m_bContinueAfterDrop = true; }
    void OnForeignAnswer(int, int) override {
        if (LinkIdle())
            SendQueued();
    }

private:
    bool m_bContinueAfterDrop = false;
};
