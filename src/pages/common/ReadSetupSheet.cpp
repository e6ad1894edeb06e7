#include "pages/common/ReadSetupSheet.h"

#include "pages/common/PropertyPage.h"
#include "platform/MessageTarget.h"

#include <QHBoxLayout>
#include <QPushButton>

CReadSetupSheet::CReadSetupSheet(const QString& caption, Writer writer, QWidget* parent)
    : CPropertySheet(caption, parent), m_writer(writer) {
    SetOkVisible(false);
    CancelButton()->setText(QStringLiteral("Exit"));
    m_read = new QPushButton(QStringLiteral("Read"), this);
    m_read->setObjectName(QString::number(kReadButtonId));
    m_read->setAutoDefault(false);
    ButtonRow()->insertWidget(0, m_read);
    if (writer == Writer::Apply) {
        ApplyButton()->setText(QStringLiteral("Apply"));
        ApplyButton()->setEnabled(true);
    } else {
        SetApplyVisible(false);
        m_setup = new QPushButton(QStringLiteral("Setup"), this);
        m_setup->setObjectName(QString::number(kSetupButtonId));
        m_setup->setAutoDefault(false);
        m_setup->setEnabled(false);
        ButtonRow()->insertSpacing(1, 5);
        ButtonRow()->insertWidget(2, m_setup);
        connect(m_setup, &QPushButton::clicked, this, [this] { SendToActivePage(vmc::WM_SHEET_WRITE); });
    }
    connect(m_read, &QPushButton::clicked, this, [this] { SendToActivePage(vmc::WM_SHEET_READ); });
}

CReadSetupSheet* CReadSetupSheet::Of(const CPropertyPage* page) {
    return page ? dynamic_cast<CReadSetupSheet*>(page->Sheet()) : nullptr;
}

vmc::LRESULT CReadSetupSheet::SendToActivePage(unsigned msg) {
    auto* target = dynamic_cast<vmc::MessageTarget*>(ActivePage());
    return target ? vmc::SendMessage(target->Handle(), msg) : 0;
}

void CReadSetupSheet::OnApplyButton() { SendToActivePage(vmc::WM_SHEET_WRITE); }

void CReadSetupSheet::showEvent(QShowEvent* e) {
    // As wide as the OK button would be, hidden or not.
    const int width = OkButton()->sizeHint().width();
    m_read->setFixedWidth(width);
    if (m_setup)
        m_setup->setFixedWidth(width);
    CPropertySheet::showEvent(e);
}
