#pragma once
// What the "Totalize" and "GWR Level" dialogs share: they open by queueing their reads, send the
// queue one transaction at a time (the next after each answer or failure), pass over a command
// they cannot build (a box said why) instead of stalling the rest, and tell the values they show
// from the user's own changes, so that only the user's changes are written back.
#include "pages/common/FieldBinding.h"
#include "pages/common/HartPage.h"

class CQueueDialog : public CHartDialog {
    Q_OBJECT
public:
    using CHartDialog::CHartDialog;

protected:
    // Runs once, when the dialog is first shown.
    virtual void OnInitDialog() {}

    // Sends queued commands until one goes out; commands PrepareRequest dropped are passed over.
    void SendNext();
    // From PrepareRequest, for a command that will not go out.
    void DropCommand() { m_bDropped = true; }
    // User actions: send now unless a transaction is open (its answer sends the queue on).
    void SendWhenFree() {
        if (LinkFree())
            SendNext();
    }

    FieldBinding& Fields() { return m_fields; }
    // Members into controls; the changes this makes are not the user's.
    void ShowFields() {
        Showing([this] { m_fields.Update(false); });
    }
    template <class F> void Showing(F f) {
        ++m_nShowing;
        f();
        --m_nShowing;
    }
    bool IsShowing() const { return m_nShowing > 0; }

    // The standard box, then the queue goes on.
    void OnFail(int state) override;
    void showEvent(QShowEvent* e) override;
    // Closing drops what is still queued; an answer on its way finds nothing more to send.
    void done(int result) override;

private:
    FieldBinding m_fields;
    int m_nShowing = 0;
    bool m_bDropped = false;
    bool m_bInitialised = false;
};
