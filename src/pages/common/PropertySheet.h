#pragma once
// A property sheet of our own: pages in tabs with "&Apply" and a close button ("&Exit" where the
// caller says so), or, in wizard mode, one page at a time with Back / Next / Finish. Pages hear of
// activation and deactivation; "&Apply" is enabled while any page is marked changed.
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <vector>

class CPropertyPage;
class QHBoxLayout;
class QPushButton;
class QStackedWidget;
class QTabBar;

class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    enum WizardButton { PSWIZB_BACK = 1, PSWIZB_NEXT = 2, PSWIZB_FINISH = 4, PSWIZB_DISABLEDFINISH = 8 };

    explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr);
    ~CPropertySheet() override;

    // The sheet takes ownership. Pages keep the order in which they are added.
    void AddPage(CPropertyPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* Page(int index) const;
    CPropertyPage* ActivePage() const;
    int ActiveIndex() const { return m_active; }
    // Switches pages like a click on the tab (the current page may refuse to be left).
    bool SetActivePage(int index);

    // The common shape of our sheets: no OK button, the cancel button captioned "&Exit".
    void UseExitButton() {
        m_showOk = false;
        m_cancel->setText(QStringLiteral("&Exit"));
    }
    void SetOkVisible(bool on) { m_showOk = on; }
    void SetApplyVisible(bool on) { m_showApply = on; }

    void SetWizardMode(bool on = true) { m_wizard = on; }
    bool IsWizardMode() const { return m_wizard; }
    void SetWizardButtons(int flags);
    void SetFinishText(const QString& text);

    // Buttons, by the framework's ids: IDOK 1, IDCANCEL 2, apply 0x3021, back 0x3023, next 0x3024,
    // finish 0x3025.
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* BackButton() const { return m_back; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* FinishButton() const { return m_finish; }

    // Called by pages when their changed mark moves.
    void PageModified();
    // "&Apply": takes the fields of the active page, then lets every changed page apply.
    bool Apply();

    // Builds and shows the sheet modelessly; DoModal() is QDialog::exec() after the same setup.
    void Open();
    int DoModal();

protected:
    // What "&Apply" does; sheets whose pages write on their own send them a message instead.
    virtual void OnApplyButton() { Apply(); }
    // The row of the sheet's buttons (a stretch, then the buttons), for sheets that add their own.
    QHBoxLayout* ButtonRow() const { return m_buttonRow; }

    void showEvent(QShowEvent* e) override;
    void reject() override;
    void accept() override;

private:
    void Build();
    void Activate(int index);
    void OnBack();
    void OnNext();
    void OnFinish();

    QString m_caption;
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    bool m_wizard = false;
    bool m_built = false;
    bool m_showOk = true;
    bool m_showApply = true;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
};
