#include "pages/transmitter/LowCutModeDialog.h"

#include "pages/transmitter/Form.h"
#include "pages/transmitter/TransmitterIds.h"
#include "platform/MessageBox.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace res;

CLowCutModeDlg::CLowCutModeDlg(IPageHost& host, QWidget* parent) : CHartDialog(host, parent) {
    setObjectName(QString::number(IDD_LOW_CUT_MODE));
    setWindowTitle(QStringLiteral("Low Cut Mode"));
    auto* modeGroup = new QGroupBox(QStringLiteral("Cut Mode Set"), this);
    m_linear = form::Named(new QRadioButton(QStringLiteral("Linear"), modeGroup), IDC_LOWCUT_LINEAR);
    m_zero = form::Named(new QRadioButton(QStringLiteral("Zero"), modeGroup), IDC_LOWCUT_ZERO);
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_linear, 0);
    modes->addButton(m_zero, 1);
    auto* modeLayout = new QHBoxLayout(modeGroup);
    modeLayout->addWidget(m_linear);
    modeLayout->addWidget(m_zero);

    auto* rangeGroup = new QGroupBox(QStringLiteral("Low Cut Range Set"), this);
    m_range = form::Edit(rangeGroup, IDC_LOWCUT_RANGE);
    auto* rangeLayout = new QHBoxLayout(rangeGroup);
    rangeLayout->addWidget(m_range);
    rangeLayout->addWidget(new QLabel(QStringLiteral("(%)")));

    auto* read = form::Button(this, IDC_LOWCUT_READ, QStringLiteral("Read"));
    auto* write = form::Button(this, IDC_LOWCUT_WRITE, QStringLiteral("Write"));
    auto* exit = form::Button(this, 2, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {read, write, exit})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeGroup);
    layout->addWidget(rangeGroup);
    layout->addLayout(buttons);

    m_fields.Float(&m_fLowCutRange, m_range, 0.0f, 20.0f);
    m_fields.Update(false);
    connect(read, &QPushButton::clicked, this, &CLowCutModeDlg::OnRead);
    connect(write, &QPushButton::clicked, this, &CLowCutModeDlg::OnWrite);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    BecomeReceiver();
    Send(235);
}

void CLowCutModeDlg::Send(int command) {
    QueueCommand(command);
    SendWhenIdle(); // otherwise after the answer that is still on its way
}

void CLowCutModeDlg::OnRead() { Send(235); }

void CLowCutModeDlg::OnWrite() {
    if (!m_fields.Update(true))
        return;
    if (!m_linear->isChecked() && !m_zero->isChecked()) {
        // The device needs the mode byte; nothing half-filled goes out.
        vmc::PlainBox(QStringLiteral("Select a Cut Mode!"));
        m_linear->setFocus();
        return;
    }
    Send(245);
}

bool CLowCutModeDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command != 245)
        return true;
    CHartComm& comm = Comm();
    comm.SetRequestOffset(0);
    comm.SetXInt8(m_zero->isChecked() ? 1 : 0);
    comm.SetRequestOffset(1);
    comm.SetFloat(m_fLowCutRange);
    byteCount = 5;
    return true;
}

void CLowCutModeDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
    } else if (command == 235 || command == 245) {
        CHartComm& comm = Comm();
        comm.SetResponseOffset(0);
        const int mode = comm.GetXInt8();
        if (mode == 0)
            m_linear->setChecked(true);
        else if (mode == 1)
            m_zero->setChecked(true);
        comm.SetResponseOffset(1);
        m_fLowCutRange = comm.GetFloat();
        m_fields.Update(false);
    }
    SendWhenIdle();
}
