#include "pages/trim/SensorFullTrimDialog.h"

#include "hart/CodeTables.h"
#include "pages/trim/Controls.h"
#include "pages/trim/TrimIds.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

using namespace res;

CSensorFullTrimDlg::CSensorFullTrimDlg(IPageHost& host, QWidget* parent) : CTrimDialog(host, parent) {
    setWindowTitle(QStringLiteral("Sensor Full Trim"));
    setObjectName(IdName(IDD_SENSOR_FULL_TRIM));
    m_wndLower = trim::Check(this, IDC_SFT_LOWER, QStringLiteral("Sensor Lower Trim"));
    m_wndUpper = trim::Check(this, IDC_SFT_UPPER, QStringLiteral("Sensor Upper Trim"));
    m_wndLowerCurrentLabel = trim::Label(this, IDC_SFT_LOWER_CURRENT_LABEL, QStringLiteral("Current Value :"));
    m_wndLowerCurrent = trim::ValueEdit(this, IDC_SFT_LOWER_CURRENT);
    m_wndLowerModifyLabel = trim::Label(this, IDC_SFT_LOWER_MODIFY_LABEL, QStringLiteral("Modify Value :"));
    m_wndLowerModify = trim::ValueEdit(this, IDC_SFT_LOWER_MODIFY);
    m_wndUpperCurrentLabel = trim::Label(this, IDC_SFT_UPPER_CURRENT_LABEL, QStringLiteral("Current Value :"));
    m_wndUpperCurrent = trim::ValueEdit(this, IDC_SFT_UPPER_CURRENT);
    m_wndUpperModifyLabel = trim::Label(this, IDC_SFT_UPPER_MODIFY_LABEL, QStringLiteral("Modify Value :"));
    m_wndUpperModify = trim::ValueEdit(this, IDC_SFT_UPPER_MODIFY);
    m_wndLowerPoint = trim::ValueEdit(this, IDC_SFT_LOWER_POINT, true);
    m_wndUpperPoint = trim::ValueEdit(this, IDC_SFT_UPPER_POINT, true);
    m_wndLowerUnit = trim::Label(this, IDC_SFT_LOWER_UNIT, QStringLiteral("(Unit)"));
    m_wndUpperUnit = trim::Label(this, IDC_SFT_UPPER_UNIT, QStringLiteral("(Unit)"));
    m_wndPointUnit = trim::Label(this, IDC_SFT_POINT_UNIT, QStringLiteral("(Unit)"));
    m_wndStatus = trim::Label(this, IDC_SFT_STATUS, QString());
    auto* reqLower = trim::Button(this, IDC_SFT_REQ_LOWER, QStringLiteral("Req."));
    auto* reqUpper = trim::Button(this, IDC_SFT_REQ_UPPER, QStringLiteral("Req."));

    auto* points = new QGridLayout;
    points->addWidget(m_wndLower, 0, 0, 1, 4);
    points->addWidget(m_wndLowerCurrentLabel, 1, 0);
    points->addWidget(m_wndLowerCurrent, 1, 1);
    points->addWidget(reqLower, 1, 2);
    points->addWidget(m_wndLowerModifyLabel, 2, 0);
    points->addWidget(m_wndLowerModify, 2, 1);
    points->addWidget(m_wndLowerUnit, 2, 2);
    points->addWidget(m_wndUpper, 3, 0, 1, 4);
    points->addWidget(m_wndUpperCurrentLabel, 4, 0);
    points->addWidget(m_wndUpperCurrent, 4, 1);
    points->addWidget(reqUpper, 4, 2);
    points->addWidget(m_wndUpperModifyLabel, 5, 0);
    points->addWidget(m_wndUpperModify, 5, 1);
    points->addWidget(m_wndUpperUnit, 5, 2);

    auto* stored = new QGroupBox(QStringLiteral("Sensor Trim Point"), this);
    auto* sl = new QGridLayout(stored);
    sl->addWidget(new QLabel(QStringLiteral("Lower Trim Point :"), stored), 0, 0);
    sl->addWidget(m_wndLowerPoint, 0, 1);
    sl->addWidget(new QLabel(QStringLiteral("Upper Trim Point :"), stored), 1, 0);
    sl->addWidget(m_wndUpperPoint, 1, 1);
    sl->addWidget(m_wndPointUnit, 1, 2);

    // Factory tools: present, not offered here.
    auto* factoryFull = trim::Button(this, IDC_SFT_FACTORY_FULL, QStringLiteral("Factory Full Trim"));
    auto* autoLabel = trim::Label(this, IDC_SFT_AUTO_ADDED_LABEL, QStringLiteral("Auto Added Values :"));
    auto* autoValue = trim::ValueEdit(this, IDC_SFT_AUTO_ADDED);
    for (QWidget* w : std::initializer_list<QWidget*>{factoryFull, autoLabel, autoValue, m_wndStatus})
        w->setVisible(false);

    auto* read = trim::Button(this, IDC_SFT_READ, QStringLiteral("Read"));
    auto* setup = trim::Button(this, IDC_SFT_SETUP, QStringLiteral("Setup"));
    auto* recall = trim::Button(this, IDC_SFT_FACTORY_RECALL, QStringLiteral("Factory Recall"));
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {read, setup, recall, exit})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(points);
    layout->addWidget(stored);
    layout->addWidget(m_wndStatus);
    layout->addLayout(buttons);

    Fields().Float(&m_fLowerCurrent, m_wndLowerCurrent);
    Fields().Float(&m_fLowerModify, m_wndLowerModify);
    Fields().Float(&m_fUpperCurrent, m_wndUpperCurrent);
    Fields().Float(&m_fUpperModify, m_wndUpperModify);

    connect(m_wndLower, &QCheckBox::clicked, this, [this] { SelectPoint(true); });
    connect(m_wndUpper, &QCheckBox::clicked, this, [this] { SelectPoint(false); });
    connect(read, &QPushButton::clicked, this, [this] { Send(232); });
    connect(reqLower, &QPushButton::clicked, this, [this] { Send(3); });
    connect(reqUpper, &QPushButton::clicked, this, [this] { Send(3); });
    connect(setup, &QPushButton::clicked, this, &CSensorFullTrimDlg::OnSetup);
    connect(recall, &QPushButton::clicked, this, &CSensorFullTrimDlg::OnFactoryRecall);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

bool CSensorFullTrimDlg::LowerSelected() const { return m_wndLower->isChecked(); }

void CSensorFullTrimDlg::Show(QLineEdit* edit, float value) { edit->setText(FieldBinding::FormatFloat(value)); }

void CSensorFullTrimDlg::OnInitDialog() {
    BecomeReceiver();
    m_nDeviceRevision = DeviceRevision();
    UpdateData(false);
    Show(m_wndLowerPoint, m_fLowerPoint);
    Show(m_wndUpperPoint, m_fUpperPoint);
    m_wndLower->setChecked(true);
    ShowSelection();
    m_bFirstRead = true;
    Send(3);
}

// The selected point takes entries (its applied value only on a transmitter that is not
// factory calibrated); the other point's fields only show.
void CSensorFullTrimDlg::ShowSelection() {
    const bool lower = m_wndLower->isChecked();
    m_wndUpper->setChecked(!lower);
    const bool applied = m_nDeviceRevision < 4;
    m_wndLowerCurrentLabel->setEnabled(lower && applied);
    m_wndLowerCurrent->setEnabled(lower && applied);
    m_wndLowerModifyLabel->setEnabled(lower);
    m_wndLowerModify->setReadOnly(!lower);
    m_wndLowerUnit->setEnabled(lower);
    m_wndUpperCurrentLabel->setEnabled(!lower && applied);
    m_wndUpperCurrent->setEnabled(!lower && applied);
    m_wndUpperModifyLabel->setEnabled(!lower);
    m_wndUpperModify->setReadOnly(lower);
    m_wndUpperUnit->setEnabled(!lower);
}

void CSensorFullTrimDlg::SelectPoint(bool lower) {
    m_wndLower->setChecked(lower);
    ShowSelection();
    Send(3);
}

void CSensorFullTrimDlg::Send(int command) {
    QueueCommand(command);
    SendWhenIdle();
}

void CSensorFullTrimDlg::OnSetup() {
    if (!UpdateData(true))
        return;
    m_bWritePending = true;
    Send(242);
}

void CSensorFullTrimDlg::OnFactoryRecall() {
    if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Do you set up data that initializd?"), vmc::BoxIcon::None,
                     vmc::MB_OKCANCEL) != vmc::IDOK)
        return;
    m_bFactoryRecall = true;
    Send(242);
}

bool CSensorFullTrimDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    const bool lower = LowerSelected();
    if (command == 232) {
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(lower ? kLower : kUpper);
        byteCount = 1;
    } else if (command == 242) {
        const int address = CurrentDevice();
        int point = lower ? kLower : kUpper;
        float current = lower ? m_fLowerCurrent : m_fUpperCurrent;
        float modify = lower ? m_fLowerModify : m_fUpperModify;
        if (m_bFactoryRecall) {
            point = kFactoryRecall;
            current = modify = 0.0f;
            m_wndStatus->setText(QStringLiteral("%1번 트랜스미터를 초기화합니다.").arg(address));
        } else if (lower) {
            m_wndStatus->setText(QStringLiteral("%1번 트랜스미터의 Lower를 변경합니다.").arg(address));
        } else {
            m_wndStatus->setText(QStringLiteral("%1번 트랜스미터의 Upper를 변경합니다.").arg(address));
        }
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(point);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(current);
        Comm().SetRequestOffset(2);
        Comm().SetFloat(modify);
        byteCount = 9;
    }
    return true;
}

void CSensorFullTrimDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        // A refused read or write is not tried again by the next PV reading.
        if (command == 232)
            m_bFirstRead = false;
        if (command == 242)
            m_bWritePending = m_bFactoryRecall = false;
        SendNextCommand();
        return;
    }
    const bool lower = LowerSelected();
    switch (command) {
    case 3: {
        Comm().SetResponseOffset(1);
        const QString unit = QStringLiteral("(") + hart::GetCodeName(hart::UnitTable(), Comm().GetXInt8()) + QStringLiteral(")");
        for (QLabel* l : {m_wndLowerUnit, m_wndUpperUnit, m_wndPointUnit})
            l->setText(unit);
        Comm().SetResponseOffset(2);
        const float pv = Comm().GetFloat();
        (lower ? m_fLowerCurrent : m_fUpperCurrent) = pv;
        Show(lower ? m_wndLowerCurrent : m_wndUpperCurrent, pv);
        if (m_bFirstRead)
            QueueCommand(232);
        if (m_bWritePending)
            QueueCommand(242);
        break;
    }
    case 232: {
        Comm().SetResponseOffset(0);
        const int point = Comm().GetXInt8();
        Comm().SetResponseOffset(2);
        const float value = Comm().GetFloat();
        // The entries start from what the transmitter holds.
        if (point == kLower) {
            m_fLowerModify = value;
            Show(m_wndLowerModify, value);
        } else if (point == kUpper) {
            m_fUpperModify = value;
            Show(m_wndUpperModify, value);
        }
        if (m_bFirstRead) {
            if (point == kLower) {
                m_fLowerPoint = value;
                Show(m_wndLowerPoint, value);
                m_wndLower->setChecked(false);
                ShowSelection();
                QueueCommand(232);
            } else if (point == kUpper) {
                m_fUpperPoint = value;
                Show(m_wndUpperPoint, value);
                m_bFirstRead = false;
                m_wndLower->setChecked(true);
                ShowSelection();
                QueueCommand(3);
            } else {
                m_bFirstRead = false;
            }
        } else {
            QueueCommand(3);
        }
        break;
    }
    case 242: {
        Comm().SetResponseOffset(0);
        const int point = Comm().GetXInt8();
        Comm().SetResponseOffset(1);
        const float f1 = Comm().GetFloat();
        Comm().SetResponseOffset(2);
        const float f2 = Comm().GetFloat();
        if (point == kUpper) {
            m_fUpperCurrent = f1;
            m_fUpperPoint = m_fUpperModify = f2;
        } else if (point == kLower) {
            m_fLowerCurrent = f1;
            m_fLowerPoint = m_fLowerModify = f2;
        } else if (point == kFactoryRecall) {
            m_fLowerPoint = f1;
            m_fUpperPoint = f2;
        }
        m_bWritePending = m_bFactoryRecall = false;
        UpdateData(false);
        Show(m_wndLowerPoint, m_fLowerPoint);
        Show(m_wndUpperPoint, m_fUpperPoint);
        break;
    }
    default:
        break;
    }
    SendNextCommand();
}

void CSensorFullTrimDlg::OnFail(int state) {
    CTrimDialog::OnFail(state);
    m_bFirstRead = m_bWritePending = m_bFactoryRecall = false;
    SendNextCommand();
}
