#pragma once
// A dialog of the trim group that talks to the current transmitter: it is set up once, the first
// time it is shown (modal from a page or the frame, or plainly shown), like a dialog's
// initialisation in a resource-based framework.
#include "pages/common/FieldBinding.h"
#include "pages/common/HartPage.h"

#include <QShowEvent>

class CTrimDialog : public CHartDialog {
    Q_OBJECT
public:
    CTrimDialog(IPageHost& host, QWidget* parent) : CHartDialog(host, parent) {}

    int DoModal() { return exec(); }

    // Members to and from their controls, every limit checked when taken.
    bool UpdateData(bool saveAndValidate = true) { return m_fields.Update(saveAndValidate); }
    FieldBinding& Fields() { return m_fields; }

protected:
    virtual void OnInitDialog() {}
    void showEvent(QShowEvent* e) override {
        CHartDialog::showEvent(e);
        if (m_bInitialised)
            return;
        m_bInitialised = true;
        OnInitDialog();
    }
    int CurrentDevice() const { return Host().CurrentDevice(); }
    int DeviceRevision() const {
        int universal = 0, device = 0, hardware = 0, software = 0;
        Comm().GetRevisions(CurrentDevice(), universal, device, hardware, software);
        return device;
    }

private:
    bool m_bInitialised = false;
    FieldBinding m_fields;
};
