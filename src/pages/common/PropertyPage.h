#pragma once
// One page of a property sheet. A page is created with its sheet but initialised only when it is
// first shown (OnInitDialog), is told when it becomes active or stops being active, and marks
// itself changed to enable "&Apply".
#include "pages/common/FieldBinding.h"

#include <QString>
#include <QWidget>

class CPropertySheet;

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyPage(const QString& caption, QWidget* parent = nullptr);
    ~CPropertyPage() override;

    const QString& Caption() const { return m_caption; }
    CPropertySheet* Sheet() const { return m_sheet; }
    bool IsInitialised() const { return m_initialised; }

    // Marks the page changed (enables "&Apply") or unchanged.
    void SetModified(bool changed = true);
    bool IsModified() const { return m_modified; }

    // Moves values between members and controls: true takes them from the controls with every
    // limit checked (a box names the first bad field and it gets the focus), false shows them.
    bool UpdateData(bool saveAndValidate = true) { return m_fields.Update(saveAndValidate); }
    FieldBinding& Fields() { return m_fields; }

    // Hooks, in the order a sheet calls them.
    virtual void OnInitDialog() {}
    virtual bool OnSetActive() { return true; }
    // Leaving the page: validates the fields; false keeps the page active.
    virtual bool OnKillActive() { return UpdateData(true); }
    virtual bool OnApply() { return true; }
    virtual void OnCancel() {}
    // Wizard mode.
    virtual bool OnWizardNext() { return true; }
    virtual bool OnWizardBack() { return true; }
    virtual bool OnWizardFinish() { return true; }

private:
    friend class CPropertySheet;
    void Attach(CPropertySheet* sheet) { m_sheet = sheet; }
    void EnsureInitialised();

    QString m_caption;
    CPropertySheet* m_sheet = nullptr;
    bool m_initialised = false;
    bool m_modified = false;
    FieldBinding m_fields;
};
