#include "pages/common/PropertyPage.h"

#include "pages/common/PropertySheet.h"

CPropertyPage::CPropertyPage(const QString& caption, QWidget* parent) : QWidget(parent), m_caption(caption) {}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::SetModified(bool changed) {
    if (m_modified == changed)
        return;
    m_modified = changed;
    if (m_sheet)
        m_sheet->PageModified();
}

void CPropertyPage::EnsureInitialised() {
    if (m_initialised)
        return;
    m_initialised = true;
    UpdateData(false); // controls start from the members, as every dialog does
    OnInitDialog();
}
