#include "pages/trim/ZeroAdjustmentDialog.h"

#include "hart/CodeTables.h"
#include "pages/trim/Controls.h"
#include "pages/trim/TrimIds.h"
#include "pages/trim/WaitNotice.h"

#include <QGridLayout>
#include <QHBoxLayout>

using namespace res;

CZeroAdjustmentDlg::CZeroAdjustmentDlg(IPageHost& host, QWidget* parent) : CTrimDialog(host, parent) {
    setWindowTitle(QStringLiteral("Zero Adjustment"));
    setObjectName(IdName(IDD_ZERO_ADJUSTMENT));
    auto* grid = new QGridLayout;
    m_wndAdjustingPV = trim::ValueEdit(this, IDC_ZA_ADJUSTING_PV);
    m_wndZeroOffset = trim::ValueEdit(this, IDC_ZA_ZERO_OFFSET, true);
    m_wndMeasuredPV = trim::ValueEdit(this, IDC_ZA_MEASURED_PV, true);
    m_wndFactoryAdj = trim::ValueEdit(this, IDC_ZA_FACTORY_ADJ);
    m_wndFactoryOffset = trim::ValueEdit(this, IDC_ZA_FACTORY_OFFSET, true);
    m_wndUnit1 = trim::Label(this, IDC_ZA_UNIT1, QString());
    m_wndUnit2 = trim::Label(this, IDC_ZA_UNIT2, QString());
    auto* factoryAdjLabel = new QLabel(QStringLiteral("Factory Adj. :"), this);
    auto* factoryOffsetLabel = new QLabel(QStringLiteral("Factory Offset :"), this);
    grid->addWidget(new QLabel(QStringLiteral("Adjusting PV :"), this), 0, 0);
    grid->addWidget(m_wndAdjustingPV, 0, 1);
    grid->addWidget(m_wndUnit1, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Zero Offset :"), this), 1, 0);
    grid->addWidget(m_wndZeroOffset, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Measured PV :"), this), 2, 0);
    grid->addWidget(m_wndMeasuredPV, 2, 1);
    grid->addWidget(m_wndUnit2, 2, 2);
    grid->addWidget(factoryAdjLabel, 3, 0);
    grid->addWidget(m_wndFactoryAdj, 3, 1);
    grid->addWidget(factoryOffsetLabel, 4, 0);
    grid->addWidget(m_wndFactoryOffset, 4, 1);

    auto* read = trim::Button(this, IDC_ZA_READ, QStringLiteral("Read"));
    auto* write = trim::Button(this, IDC_ZA_WRITE, QStringLiteral("Write"));
    auto* factory = trim::Button(this, IDC_ZA_FACTORY_ZERO, QStringLiteral("Factory Zero Adjustment"));
    auto* clear = trim::Button(this, IDC_ZA_CLEAR, QStringLiteral("Clear"));
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {read, write, factory, clear, exit})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    m_factoryControls = {factoryAdjLabel, m_wndFactoryAdj, factoryOffsetLabel, m_wndFactoryOffset, factory, clear};
    for (QWidget* w : m_factoryControls)
        w->setVisible(false);

    Fields().Float(&m_fAdjustingPV, m_wndAdjustingPV);
    Fields().Float(&m_fFactoryAdj, m_wndFactoryAdj);

    connect(read, &QPushButton::clicked, this, [this] { Send(kModeUser, 236); });
    connect(write, &QPushButton::clicked, this, [this] {
        if (TakeFields())
            Send(kModeUser, 246);
    });
    connect(factory, &QPushButton::clicked, this, [this] {
        if (TakeFields())
            Send(kModeFactory, 246);
    });
    connect(clear, &QPushButton::clicked, this, [this] { Send(kModeClear, 246); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    m_pWait = new CWaitNotice(this);
}

CZeroAdjustmentDlg::~CZeroAdjustmentDlg() { KillTimer(kWaitTimer); }

bool CZeroAdjustmentDlg::IsWaiting() const { return m_pWait->isVisible(); }

void CZeroAdjustmentDlg::OnInitDialog() {
    BecomeReceiver();
    m_bFactoryMode = DeviceRevision() > 3;
    for (QWidget* w : m_factoryControls)
        w->setVisible(m_bFactoryMode);
    UpdateData(false);
    Send(kModeUser, 236);
}

bool CZeroAdjustmentDlg::TakeFields() { return UpdateData(true); }

void CZeroAdjustmentDlg::Send(int mode, int command) {
    m_nMode = mode;
    // A factory-calibrated transmitter takes the mode with its own pair of commands.
    if (m_bFactoryMode)
        command = command == 236 ? 144 : 145;
    QueueCommand(command);
    SendWhenIdle();
}

bool CZeroAdjustmentDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    switch (command) {
    case 144:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nMode);
        byteCount = 1;
        break;
    case 145: {
        const float value = m_nMode == kModeFactory ? m_fFactoryAdj : m_nMode == kModeUser ? m_fAdjustingPV : 0.0f;
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nMode);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(value);
        byteCount = 5;
        break;
    }
    case 246:
        Comm().SetRequestOffset(0);
        Comm().SetFloat(m_fAdjustingPV);
        byteCount = 4;
        break;
    default:
        break;
    }
    return true;
}

void CZeroAdjustmentDlg::ShowFields() {
    // Only what the transmitter told; the values being entered stay as typed.
    m_wndZeroOffset->setText(FieldBinding::FormatFloat(m_fZeroOffset));
    m_wndMeasuredPV->setText(FieldBinding::FormatFloat(m_fMeasuredPV));
    m_wndFactoryOffset->setText(FieldBinding::FormatFloat(m_fFactoryOffset));
}

void CZeroAdjustmentDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        SendNextCommand();
        return;
    }
    switch (command) {
    case 236:
    case 246:
        Comm().SetResponseOffset(0);
        m_fZeroOffset = Comm().GetFloat();
        if (command == 246) {
            // The transmitter settles on its new zero before its PV is worth reading.
            m_pWait->Show(QStringLiteral("Processing Zero Adjustment... Please wait..."));
            SetTimer(kWaitTimer, kWaitMs);
        } else {
            QueueCommand(3);
        }
        break;
    case 144:
    case 145: {
        Comm().SetResponseOffset(0);
        const int mode = Comm().GetXInt8();
        Comm().SetResponseOffset(1);
        const float value = Comm().GetFloat();
        if (mode == kModeFactory)
            m_fFactoryOffset = value;
        else if (mode == kModeUser || mode == kModeClear)
            m_fZeroOffset = value;
        if (mode == kModeUser) {
            m_nMode = kModeFactory; // read the factory offset too
            QueueCommand(144);
        } else {
            QueueCommand(3);
        }
        break;
    }
    case 3: {
        Comm().SetResponseOffset(1);
        const QString unit = QStringLiteral("(") + hart::GetCodeName(hart::UnitTable(), Comm().GetXInt8()) + QStringLiteral(")");
        m_wndUnit1->setText(unit);
        m_wndUnit2->setText(unit);
        Comm().SetResponseOffset(2);
        m_fMeasuredPV = Comm().GetFloat();
        break;
    }
    default:
        break;
    }
    ShowFields();
    SendNextCommand();
}

void CZeroAdjustmentDlg::OnTimer(int id) {
    if (id != kWaitTimer)
        return;
    KillTimer(kWaitTimer);
    m_pWait->Hide();
    QueueCommand(3);
    SendWhenIdle();
}
