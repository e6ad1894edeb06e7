#include "pages/trim/WaitNotice.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

CWaitNotice::CWaitNotice(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Please wait for a while..."));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_wndText = new QLabel(this);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0); // moves while the transmitter works
    busy->setTextVisible(false);
    layout->addWidget(m_wndText);
    layout->addWidget(busy);
}

void CWaitNotice::Show(const QString& message) {
    m_wndText->setText(message);
    show();
}

QString CWaitNotice::Message() const { return m_wndText->text(); }
