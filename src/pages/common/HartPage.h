#pragma once
// A property page that talks to the current transmitter: the sheet machinery of CPropertyPage and
// the command queue of CHartClient, with the usual page habits as defaults: become the receiver
// when initialised and when activated, send what is queued on activation and on "&Apply", clear
// the frame's message pane when another page takes over.
#include "pages/common/HartClient.h"
#include "pages/common/PropertyPage.h"

#include <QDialog>

class CHartPage : public CPropertyPage, public CHartClient {
    Q_OBJECT
public:
    CHartPage(IPageHost& host, const QString& caption, QWidget* parent = nullptr)
        : CPropertyPage(caption, parent), CHartClient(host) {}

    bool IsLoaded() const { return m_bLoaded; }

    void OnInitDialog() override { BecomeReceiver(); }
    bool OnSetActive() override {
        BecomeReceiver();
        if (!m_CommandQueue.IsEmpty())
            SendWhenIdle();
        return true;
    }
    bool OnKillActive() override {
        if (!UpdateData(true))
            return false;
        Host().SetMessageText(QString());
        return true;
    }
    bool OnApply() override {
        SendWhenIdle();
        return true;
    }

protected:
    // Set once the page's first reads are answered; only then do edits queue writes.
    bool m_bLoaded = false;
};

// A dialog that talks to the current transmitter.
class CHartDialog : public QDialog, public CHartClient {
    Q_OBJECT
public:
    CHartDialog(IPageHost& host, QWidget* parent = nullptr) : QDialog(parent), CHartClient(host) {}
};
