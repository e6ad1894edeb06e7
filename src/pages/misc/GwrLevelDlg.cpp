#include "pages/misc/GwrLevelDlg.h"

#include "hart/CodeTables.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kLevelAdjustMode = 64;
constexpr int kLevel = 0;

template <class W> W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

void AppBox(const QString& text) { vmc::ShowBox(QStringLiteral("VMC70"), text); }

} // namespace

CGWRLevelDlg::CGWRLevelDlg(IPageHost& host, QWidget* parent) : CQueueDialog(host, parent) {
    setWindowTitle(QStringLiteral("GWR Level"));
    m_pvIs = Named(new QComboBox(this), IDC_PV_IS);
    m_pvIs->addItems({QStringLiteral("Level"), QStringLiteral("Distance"), QStringLiteral("Volume")});
    m_sensitivity = Named(new QComboBox(this), IDC_SENSITIVITY);
    m_sensitivity->addItems({QStringLiteral("Low"), QStringLiteral("High")});
    m_pvIs->setCurrentIndex(-1);
    m_sensitivity->setCurrentIndex(-1);
    m_tankHeight = Named(new QLineEdit(this), IDC_TANK_HEIGHT);
    m_probeLength = Named(new QLineEdit(this), IDC_PROBE_LENGTH);
    m_probeAngle = Named(new QLineEdit(this), IDC_PROBE_ANGLE);
    m_units[0] = Named(new QLabel(this), IDC_HEIGHT_UNIT);
    m_units[1] = Named(new QLabel(this), IDC_LENGTH_UNIT);
    m_units[2] = Named(new QLabel(this), IDC_ANGLE_UNIT);
    m_adjust = Named(new QLineEdit(this), IDC_ADJUST_LEVEL);
    m_set = Named(new QPushButton(QStringLiteral("Set"), this), IDC_SET);
    m_result = Named(new QLabel(this), IDC_RESULT);
    m_result->setAlignment(Qt::AlignCenter);
    m_result->setFrameShape(QFrame::Box);
    m_result->setMinimumWidth(80);
    m_apply = Named(new QPushButton(QStringLiteral("Apply"), this), IDC_APPLY);
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), IDC_CANCEL);
    m_set->setAutoDefault(false);
    cancel->setAutoDefault(false);
    m_apply->setDefault(true);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("PV is :"), this), 0, 0);
    top->addWidget(m_pvIs, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("Sensitivity :"), this), 1, 0);
    top->addWidget(m_sensitivity, 1, 1);

    auto* paramBox = new QGroupBox(QStringLiteral(" Level Parameter "), this);
    auto* params = new QGridLayout(paramBox);
    const char* const captions[] = {"Tank Height :", "Probe Length :", "Probe Angle :"};
    QLineEdit* edits[] = {m_tankHeight, m_probeLength, m_probeAngle};
    for (int i = 0; i < 3; ++i) {
        params->addWidget(new QLabel(QString::fromLatin1(captions[i]), paramBox), i, 0);
        params->addWidget(edits[i], i, 1);
        params->addWidget(m_units[i], i, 2);
    }

    auto* adjustBox = new QGroupBox(QStringLiteral(" Level Adjustment "), this);
    auto* adjust = new QHBoxLayout(adjustBox);
    adjust->addWidget(m_adjust, 1);
    adjust->addWidget(m_set);
    adjust->addWidget(m_result);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(paramBox);
    layout->addWidget(adjustBox);
    layout->addLayout(buttons);

    Fields().Float(&m_fTankHeight, m_tankHeight);
    Fields().Float(&m_fProbeLength, m_probeLength);
    Fields().Float(&m_fProbeAngle, m_probeAngle);
    m_adjustField.Float(&m_fAdjustLevel, m_adjust);

    // Only the user's changes count: values the dialog shows from the device are not written back.
    connect(m_pvIs, &QComboBox::currentIndexChanged, this, [this] { Changed(m_bPvIsChanged); });
    connect(m_sensitivity, &QComboBox::currentIndexChanged, this, [this] { Changed(m_bSensitivityChanged); });
    for (QLineEdit* e : edits)
        connect(e, &QLineEdit::textChanged, this, [this] { Changed(m_bParametersChanged); });
    connect(m_apply, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(m_set, &QPushButton::clicked, this, [this] { OnSet(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CGWRLevelDlg::Changed(bool& flag) {
    if (IsShowing())
        return;
    flag = true;
    UpdateApply();
}

void CGWRLevelDlg::UpdateApply() { m_apply->setEnabled(m_bPvIsChanged || m_bParametersChanged || m_bSensitivityChanged); }

void CGWRLevelDlg::OnInitDialog() {
    ShowFields();
    m_adjustField.Update(false);
    BecomeReceiver();
    m_apply->setEnabled(false);
    for (int c : {140, 142, 148, 15})
        QueueCommand(c);
    SendNext();
}

void CGWRLevelDlg::OnApply() {
    if (m_bParametersChanged && !Fields().Update(true))
        return;
    if (m_bPvIsChanged)
        QueueCommand(141);
    if (m_bParametersChanged)
        QueueCommand(143);
    if (m_bSensitivityChanged)
        QueueCommand(149);
    SendWhenFree();
}

void CGWRLevelDlg::OnSet() {
    if (!m_adjustField.Update(true))
        return;
    m_result->clear();
    QueueCommand(145);
    SendWhenFree();
}

bool CGWRLevelDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    switch (command) {
    case 141:
        if (m_pvIs->currentIndex() < 0) {
            AppBox(QStringLiteral("Select 'PV is' Value"));
            DropCommand();
            return false;
        }
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_pvIs->currentIndex());
        byteCount = 1;
        return true;
    case 149:
        if (m_sensitivity->currentIndex() < 0) {
            AppBox(QStringLiteral("Select 'Sensitivity' Value"));
            DropCommand();
            return false;
        }
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_sensitivity->currentIndex());
        byteCount = 1;
        return true;
    case 143:
        if (!Fields().Update(true)) {
            DropCommand();
            return false;
        }
        Comm().SetRequestOffset(0);
        Comm().SetFloat(m_fTankHeight);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(m_fProbeLength);
        Comm().SetRequestOffset(2);
        Comm().SetFloat(m_fProbeAngle);
        byteCount = 12;
        return true;
    case 145:
        if (!m_adjustField.Update(true)) {
            DropCommand();
            return false;
        }
        m_fSentLevel = m_fAdjustLevel;
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(kLevelAdjustMode);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(m_fSentLevel);
        byteCount = 5;
        return true;
    default:
        return true;
    }
}

void CGWRLevelDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        // A refusal carries no fields: what the link still holds belongs to an earlier answer.
        ReportCommandError(4, QString::number(command));
        if (command == 145)
            m_result->setText(QStringLiteral("Failed"));
        SendNext();
        return;
    }
    auto byte0 = [this] {
        Comm().SetResponseOffset(0);
        return static_cast<int>(Comm().GetXInt8());
    };
    switch (command) {
    case 15: {
        Comm().SetResponseOffset(2);
        const QString text = QStringLiteral("(") + hart::GetCodeName(hart::UnitTable(), Comm().GetXInt8()) + QStringLiteral(")");
        for (QLabel* l : m_units)
            l->setText(text);
        break;
    }
    case 140:
    case 141: {
        const int code = byte0();
        Showing([&] { m_pvIs->setCurrentIndex(code < m_pvIs->count() ? code : -1); });
        m_set->setEnabled(code == kLevel);
        m_adjust->setEnabled(code == kLevel);
        m_bPvIsChanged = false;
        break;
    }
    case 142:
    case 143:
        Comm().SetResponseOffset(0);
        m_fTankHeight = Comm().GetFloat();
        Comm().SetResponseOffset(1);
        m_fProbeLength = Comm().GetFloat();
        Comm().SetResponseOffset(2);
        m_fProbeAngle = Comm().GetFloat();
        m_bParametersChanged = false;
        break;
    case 145:
        Comm().SetResponseOffset(1);
        if (Comm().GetFloat() == m_fSentLevel) {
            m_result->setText(QStringLiteral("Success"));
            QueueCommand(142);
        } else {
            m_result->setText(QStringLiteral("Failed"));
        }
        break;
    case 148:
    case 149: {
        const int code = byte0();
        Showing([&] { m_sensitivity->setCurrentIndex(code < m_sensitivity->count() ? code : -1); });
        m_bSensitivityChanged = false;
        break;
    }
    default:
        break;
    }
    if (command == 142 || command == 143)
        ShowFields();
    UpdateApply();
    SendNext();
}
