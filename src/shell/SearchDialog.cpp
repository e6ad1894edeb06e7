#include "shell/SearchDialog.h"

#include "resources/ControlIds.h"
#include "shell/PageHost.h"
#include "shell/SearchIndicator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CSearchDialog::CSearchDialog(IPageHost& host, const std::array<int, 16>& addresses, int count, QWidget* parent)
    : QDialog(parent), m_host(host), m_nAddressList(addresses), m_nAddressCount(count) {
    setObjectName(res::IdName(res::IDD_SEARCH));
    setWindowTitle(QStringLiteral("Searching HART Device..."));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    m_animation = new CSearchIndicator(this);
    m_animation->setObjectName(res::IdName(res::IDC_SEARCH_ANIMATION));
    layout->addWidget(m_animation);
    auto* form = new QFormLayout;
    m_address = new QLineEdit(this);
    m_address->setObjectName(res::IdName(res::IDC_SEARCH_ADDRESS));
    m_address->setReadOnly(true);
    m_address->setMaximumWidth(60);
    form->addRow(QStringLiteral("Polling Address "), m_address);
    layout->addLayout(form);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(res::IdName(res::IDC_SEARCH_PROGRESS));
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);
    auto* buttons = new QHBoxLayout;
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(res::IdName(res::IDCANCEL_BUTTON));
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });
}

CSearchDialog::~CSearchDialog() = default;

void CSearchDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_bStarted) {
        m_bStarted = true;
        Start();
    }
}

void CSearchDialog::Start() {
    m_animation->Play();
    CHartComm& comm = m_host.Comm();
    comm.RemoveAllDevices();
    m_host.Relay().SetReceiver(Handle());
    m_nIndex = 0;
    m_progress->setRange(0, m_nAddressCount);
    m_progress->setValue(0);
    m_nCurrentAddress = static_cast<short>(m_nAddressList[0]);
    m_nLastFoundIndex = -1;
    m_CommandQueue.RemoveAll();
    m_CommandQueue.AddTail(0);
    ShowFields();
    SendNextCommand();
}

void CSearchDialog::ShowFields() { m_address->setText(QString::number(m_nCurrentAddress)); }

void CSearchDialog::SendNextCommand() {
    if (m_bEnded || m_CommandQueue.IsEmpty())
        return;
    CHartComm& comm = m_host.Comm();
    if (!comm.IsConnected()) {
        done(QDialog::Rejected); // the port went away under the search
        return;
    }
    const int command = m_CommandQueue.RemoveHead();
    if (command == 0)
        m_progress->setValue(m_nIndex);
    m_nCurrentAddress = static_cast<short>(m_nAddressList[static_cast<std::size_t>(std::min(m_nIndex, 15))]);
    comm.SetPollingAddress(m_nCurrentAddress);
    m_host.UpdatePollingPane();
    comm.DeleteRequestItems();
    if (!comm.Request(command, 0))
        ReportRequestFailure(comm, command);
    ShowFields();
}

void CSearchDialog::NextAddress() {
    ++m_nIndex;
    m_nBareAnswers = 0;
    m_progress->setValue(m_nIndex);
    if (m_nIndex >= m_nAddressCount) {
        SetTimer(kEndTimer, kEndDelayMs);
        return;
    }
    m_CommandQueue.AddTail(0);
    ShowFields();
    SendNextCommand();
}

void CSearchDialog::OnReceive(int command, int count) {
    if (count < 1) {
        if (++m_nBareAnswers > kBareAnswerResends) {
            m_host.Comm().DeleteDevice(m_nCurrentAddress);
            NextAddress();
            return;
        }
        m_CommandQueue.AddTail(command);
    } else if (command == 0) {
        m_CommandQueue.AddTail(13);
    } else if (command == 13) {
        vmc::SendMessage(m_host.DeviceTree(), vmc::WM_TREE_DEVICE, 0, m_nCurrentAddress);
        m_nLastFoundIndex = static_cast<short>(m_nIndex);
        NextAddress();
        return;
    }
    ShowFields();
    SendNextCommand();
}

void CSearchDialog::OnFail() { NextAddress(); }

void CSearchDialog::Cancel() {
    CHartComm& comm = m_host.Comm();
    comm.DeleteDevice(m_nCurrentAddress);
    m_CommandQueue.RemoveAll();
    comm.KillResponseTimer();
    done(QDialog::Rejected);
}

void CSearchDialog::done(int result) {
    if (m_bEnded)
        return;
    m_bEnded = true;
    KillTimer(kEndTimer);
    m_animation->Stop();
    QDialog::done(result);
    if (m_nLastFoundIndex >= 0 && m_nLastFoundIndex <= 15)
        vmc::SendMessage(m_host.DeviceTree(), vmc::WM_TREE_CHECK, 255, 1);
}

vmc::LRESULT CSearchDialog::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    if (m_bEnded)
        return 0;
    switch (msg) {
    case vmc::WM_HART_RECEIVE: OnReceive(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case vmc::WM_HART_FAIL: OnFail(); return 0;
    case vmc::WM_TIMER:
        if (static_cast<int>(wParam) == kEndTimer) {
            KillTimer(kEndTimer);
            done(QDialog::Accepted);
        }
        return 0;
    default: return 0;
    }
}
