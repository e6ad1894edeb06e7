#include "pages/common/PropertySheet.h"

#include "pages/common/PropertyPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent) : QDialog(parent), m_caption(caption) {
    setWindowTitle(caption);
    m_tabs = new QTabBar(this);
    m_stack = new QStackedWidget(this);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_back = new QPushButton(QStringLiteral("< &Back"), this);
    m_next = new QPushButton(QStringLiteral("&Next >"), this);
    m_finish = new QPushButton(QStringLiteral("Finish"), this);
    m_ok->setObjectName(QStringLiteral("1"));
    m_cancel->setObjectName(QStringLiteral("2"));
    m_apply->setObjectName(QStringLiteral("12321"));
    m_back->setObjectName(QStringLiteral("12323"));
    m_next->setObjectName(QStringLiteral("12324"));
    m_finish->setObjectName(QStringLiteral("12325"));
    for (QPushButton* b : {m_ok, m_cancel, m_apply, m_back, m_next, m_finish})
        b->setAutoDefault(false);
    m_apply->setEnabled(false);

    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch(1);
    for (QPushButton* b : {m_back, m_next, m_finish, m_ok, m_cancel, m_apply})
        m_buttonRow->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    layout->addLayout(m_buttonRow);

    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index != m_active)
            SetActivePage(index);
    });
    connect(m_ok, &QPushButton::clicked, this, &CPropertySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CPropertySheet::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { OnApplyButton(); });
    connect(m_back, &QPushButton::clicked, this, &CPropertySheet::OnBack);
    connect(m_next, &QPushButton::clicked, this, &CPropertySheet::OnNext);
    connect(m_finish, &QPushButton::clicked, this, &CPropertySheet::OnFinish);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->Attach(this);
    m_pages.push_back(page);
    m_stack->addWidget(page);
    m_tabs->addTab(page->Caption());
}

CPropertyPage* CPropertySheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

CPropertyPage* CPropertySheet::ActivePage() const { return Page(m_active); }

void CPropertySheet::Build() {
    if (m_built)
        return;
    m_built = true;
    m_tabs->setVisible(!m_wizard);
    m_ok->setVisible(!m_wizard && m_showOk);
    m_apply->setVisible(!m_wizard && m_showApply);
    m_back->setVisible(m_wizard);
    m_next->setVisible(m_wizard);
    m_finish->setVisible(m_wizard);
    if (m_wizard) {
        m_ok->setVisible(false);
        m_finish->setVisible(false);
        m_next->setDefault(true);
    }
    if (!m_pages.empty())
        Activate(0);
}

void CPropertySheet::Activate(int index) {
    m_active = index;
    CPropertyPage* p = m_pages[static_cast<std::size_t>(index)];
    m_stack->setCurrentWidget(p);
    m_tabs->setCurrentIndex(index);
    if (m_wizard)
        SetWizardButtons(index == 0 ? PSWIZB_NEXT : PSWIZB_BACK | PSWIZB_NEXT);
    p->EnsureInitialised();
    p->OnSetActive();
}

bool CPropertySheet::SetActivePage(int index) {
    if (!Page(index))
        return false;
    if (!m_built) {
        Build();
    }
    if (index == m_active)
        return true;
    if (CPropertyPage* current = ActivePage(); current && !current->OnKillActive()) {
        m_tabs->setCurrentIndex(m_active);
        return false;
    }
    Activate(index);
    return true;
}

void CPropertySheet::SetWizardButtons(int flags) {
    m_back->setEnabled(flags & PSWIZB_BACK);
    const bool finish = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    m_next->setVisible(!finish);
    m_next->setEnabled(flags & PSWIZB_NEXT);
    m_finish->setVisible(finish);
    m_finish->setEnabled(flags & PSWIZB_FINISH);
    (finish ? m_finish : m_next)->setDefault(true);
}

void CPropertySheet::SetFinishText(const QString& text) {
    m_finish->setText(text);
    SetWizardButtons(PSWIZB_FINISH | (m_back->isEnabled() ? PSWIZB_BACK : 0));
}

void CPropertySheet::PageModified() {
    bool any = false;
    for (CPropertyPage* p : m_pages)
        any = any || p->IsModified();
    m_apply->setEnabled(any);
}

bool CPropertySheet::Apply() {
    CPropertyPage* current = ActivePage();
    if (current && !current->UpdateData(true))
        return false;
    bool ok = true;
    for (CPropertyPage* p : m_pages) {
        if (!p->IsInitialised() || !p->IsModified())
            continue;
        if (p->OnApply())
            p->SetModified(false);
        else
            ok = false;
    }
    return ok;
}

void CPropertySheet::OnBack() {
    CPropertyPage* p = ActivePage();
    if (!p || m_active == 0 || !p->OnWizardBack())
        return;
    Activate(m_active - 1);
}

void CPropertySheet::OnNext() {
    CPropertyPage* p = ActivePage();
    if (!p || !p->OnKillActive() || !p->OnWizardNext())
        return;
    if (m_active + 1 < PageCount())
        Activate(m_active + 1);
}

void CPropertySheet::OnFinish() {
    CPropertyPage* p = ActivePage();
    if (!p || !p->OnKillActive() || !p->OnWizardFinish())
        return;
    QDialog::accept();
}

void CPropertySheet::Open() {
    Build();
    show();
}

int CPropertySheet::DoModal() {
    Build();
    return exec();
}

void CPropertySheet::showEvent(QShowEvent* e) {
    Build();
    QDialog::showEvent(e);
}

void CPropertySheet::reject() {
    for (CPropertyPage* p : m_pages)
        if (p->IsInitialised())
            p->OnCancel();
    QDialog::reject();
}

void CPropertySheet::accept() {
    CPropertyPage* p = ActivePage();
    if (p && !p->OnKillActive())
        return;
    if (!Apply())
        return;
    QDialog::accept();
}
