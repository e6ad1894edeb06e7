#include "pages/trim/TransmitterTrim.h"

#include "hart/CodeTables.h"
#include "pages/trim/Controls.h"
#include "pages/trim/DACTrimWizard.h"
#include "pages/trim/LinearizationDialogs.h"
#include "pages/trim/LoopTimeDialog.h"
#include "pages/trim/SensorFullTrimDialog.h"
#include "pages/trim/TrimIds.h"
#include "pages/trim/ZeroAdjustmentDialog.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace res;
using trim::Button;
using trim::Label;

namespace {

constexpr float kLowestFixedCurrent = 3.799999f;
constexpr float kHighestFixedCurrent = 23.0f;

const char* const kFixedCurrentRange =
    "\n  Please check the number entered \n\n(Possible input values is 3.8V ~ 23V)\n";

QString UnitLabel(int code) { return QStringLiteral("(") + hart::GetCodeName(hart::UnitTable(), code) + QStringLiteral(")"); }

} // namespace

CTransmitterTrim::CTransmitterTrim(IPageHost& host, QWidget* parent)
    : CHartPage(host, QStringLiteral("Transmitter Trim"), parent) {
    setObjectName(IdName(IDD_TRANSMITTER_TRIM));
    BuildControls();
    Fields().Float(&m_fFixedCurrent, m_wndFixedCurrent);
    Fields().Int(&m_nMinutes, m_wndMinutes, 0, 1440);
}

CTransmitterTrim::~CTransmitterTrim() { StopRefresh(); }

void CTransmitterTrim::BuildControls() {
    auto* display = new QGroupBox(this);
    auto* dl = new QGridLayout(display);
    m_wndDisplayInfo = trim::Check(display, IDC_TRIM_DISPLAY_INFO, QStringLiteral("Display Information"));
    m_wndPV = Label(display, IDC_TRIM_PV, QString());
    m_wndSV = Label(display, IDC_TRIM_SV, QString());
    m_wndAO = Label(display, IDC_TRIM_AO, QString());
    m_wndPercent = Label(display, IDC_TRIM_PERCENT, QString());
    m_wndPVUnit = Label(display, IDC_TRIM_PV_UNIT, QString());
    m_wndSVUnit = Label(display, IDC_TRIM_SV_UNIT, QString());
    for (QLabel* v : {m_wndPV, m_wndSV, m_wndAO, m_wndPercent}) {
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v->setMinimumWidth(110);
        v->setFrameShape(QFrame::StyledPanel);
    }
    dl->addWidget(m_wndDisplayInfo, 0, 0, 1, 3);
    dl->addWidget(new QLabel(QStringLiteral("PV :"), display), 1, 0);
    dl->addWidget(m_wndPV, 1, 1);
    dl->addWidget(m_wndPVUnit, 1, 2);
    dl->addWidget(new QLabel(QStringLiteral("SV :"), display), 2, 0);
    dl->addWidget(m_wndSV, 2, 1);
    dl->addWidget(m_wndSVUnit, 2, 2);
    dl->addWidget(new QLabel(QStringLiteral("AO :"), display), 3, 0);
    dl->addWidget(m_wndAO, 3, 1);
    dl->addWidget(new QLabel(QStringLiteral("(mA)"), display), 3, 2);
    dl->addWidget(new QLabel(QStringLiteral("Percent :"), display), 4, 0);
    dl->addWidget(m_wndPercent, 4, 1);
    dl->addWidget(new QLabel(QStringLiteral("(%)"), display), 4, 2);

    auto* trims = new QGroupBox(this);
    auto* tl = new QGridLayout(trims);
    m_wndSpan = Button(trims, IDC_TRIM_SPAN, QStringLiteral("SPAN"));
    m_wndZero = Button(trims, IDC_TRIM_ZERO, QStringLiteral("ZERO"));
    m_wndSensorZero = Button(trims, IDC_TRIM_SENSOR_ZERO, QStringLiteral("Sensor Zero Trim"));
    m_wndSensorFull = Button(trims, IDC_TRIM_SENSOR_FULL, QStringLiteral("Sensor Full Trim"));
    m_wndZeroAdjust = Button(trims, IDC_TRIM_ZERO_ADJUST, QStringLiteral("Zero Adjustment"));
    m_wndCJLinearization = Button(trims, IDC_TRIM_CJ_LINEARIZATION, QStringLiteral("CJ Linearization"));
    tl->addWidget(m_wndSpan, 0, 0);
    tl->addWidget(m_wndZero, 0, 1);
    tl->addWidget(m_wndSensorZero, 1, 0);
    tl->addWidget(m_wndSensorFull, 1, 1);
    tl->addWidget(m_wndZeroAdjust, 2, 0);
    tl->addWidget(m_wndCJLinearization, 2, 1);

    auto* dac = new QGroupBox(QStringLiteral("PV Current DAC Trim"), this);
    auto* al = new QGridLayout(dac);
    m_wndFixedCurrent = trim::ValueEdit(dac, IDC_TRIM_FIXED_CURRENT);
    m_wndMinutes = trim::ValueEdit(dac, IDC_TRIM_MINUTES);
    m_wndMinutes->setToolTip(QStringLiteral("Minutes to hold the fixed current (0: until you press the button again)"));
    m_wndFixedMode = Button(dac, IDC_TRIM_FIXED_MODE, QStringLiteral("Enter Fixed Mode Current"));
    m_wndLoopTest = trim::Check(dac, IDC_TRIM_LOOP_TEST, QStringLiteral("Loop Test"));
    m_wndDacCurrent = Button(dac, IDC_TRIM_DAC_CURRENT, QStringLiteral("DAC Trim for Current"));
    m_wndDacVoltage = Button(dac, IDC_TRIM_DAC_VOLTAGE, QStringLiteral("DAC Trim for Voltage"));
    al->addWidget(m_wndLoopTest, 0, 0);
    al->addWidget(m_wndFixedCurrent, 0, 1);
    al->addWidget(new QLabel(QStringLiteral("(mA)"), dac), 0, 2);
    al->addWidget(m_wndMinutes, 1, 1);
    al->addWidget(new QLabel(QStringLiteral("(min)"), dac), 1, 2);
    al->addWidget(m_wndFixedMode, 2, 0, 1, 3);
    al->addWidget(m_wndDacCurrent, 3, 0, 1, 3);
    al->addWidget(m_wndDacVoltage, 4, 0, 1, 3);

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(display);
    left->addWidget(trims);
    left->addStretch(1);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(dac);
    right->addStretch(1);
    layout->addLayout(right);

    m_wndFixedCurrent->setEnabled(false);
    m_wndMinutes->setEnabled(false);
    m_wndFixedMode->setEnabled(false);
    m_wndCJLinearization->setEnabled(false);

    connect(m_wndDisplayInfo, &QCheckBox::clicked, this, &CTransmitterTrim::OnDisplayInformation);
    connect(m_wndSpan, &QPushButton::clicked, this, [this] { OnPriorityCommand(36); });
    connect(m_wndZero, &QPushButton::clicked, this, [this] { OnPriorityCommand(37); });
    connect(m_wndSensorZero, &QPushButton::clicked, this, [this] { OnPriorityCommand(43); });
    connect(m_wndLoopTest, &QCheckBox::clicked, this, &CTransmitterTrim::OnLoopTest);
    connect(m_wndFixedMode, &QPushButton::clicked, this, &CTransmitterTrim::OnFixedMode);
    connect(m_wndSensorFull, &QPushButton::clicked, this, &CTransmitterTrim::OnSensorFullTrim);
    connect(m_wndDacCurrent, &QPushButton::clicked, this, [this] { OnDacTrim(false); });
    connect(m_wndDacVoltage, &QPushButton::clicked, this, [this] { OnDacTrim(true); });
    connect(m_wndZeroAdjust, &QPushButton::clicked, this, &CTransmitterTrim::OnZeroAdjustment);
    connect(m_wndCJLinearization, &QPushButton::clicked, this, &CTransmitterTrim::OnCJLinearization);
}

bool CTransmitterTrim::IsTemperatureDevice() const { return m_nDeviceType >= 108 && m_nDeviceType <= 117; }

void CTransmitterTrim::OnInitDialog() {
    CHartPage::OnInitDialog();
    m_nDeviceType = Comm().GetDeviceTypeCode(Host().CurrentDevice());
    if (hart::IsTemperatureOrLevelDevice(m_nDeviceType) && m_nDeviceType != 126)
        m_wndSensorFull->setText(QStringLiteral("Variable Linearization"));
    // Only a thermocouple transmitter has a cold junction to correct.
    m_wndCJLinearization->setEnabled(IsTemperatureDevice());
    m_wndDisplayInfo->setChecked(true);
    m_wndLoopTest->setChecked(false);
    QueueReads();
    if (Host().CurrentDevice() > 0) {
        // In multidrop the loop current is parked: no loop test, no DAC trims.
        m_wndDacCurrent->setEnabled(false);
        m_wndDacVoltage->setEnabled(false);
        m_wndLoopTest->setEnabled(false);
    }
    SendNextCommand();
}

bool CTransmitterTrim::OnSetActive() {
    BecomeReceiver();
    SetFixedMode(1);
    if (LinkFree()) {
        QueueReads();
        SendNextCommand();
    }
    if (m_wndDisplayInfo->isChecked())
        StartRefresh();
    return true;
}

bool CTransmitterTrim::OnKillActive() {
    if (!CHartPage::OnKillActive())
        return false;
    StopRefresh();
    LeaveFixedModeNow();
    return true;
}

void CTransmitterTrim::OnCancel() {
    StopRefresh();
    LeaveFixedModeNow();
}

void CTransmitterTrim::LeaveFixedModeNow() {
    if (!InFixedMode())
        return;
    SetFixedMode(1);
    m_CommandQueue.RemoveAll();
    QueueCommand(40);
    SendNextCommand(); // at once: the page may be gone before the link is idle again
}

void CTransmitterTrim::QueueReads() {
    QueueCommand(3);
    QueueCommand(2);
}

void CTransmitterTrim::SetFixedMode(int flag) {
    m_nFixedMode = flag;
    m_wndFixedMode->setText(flag == 1 ? QStringLiteral("Enter Fixed Mode Current")
                                      : QStringLiteral("Exit Fixed Mode Current"));
}

void CTransmitterTrim::OnTimer(int id) {
    if (id != kRefreshTimer)
        return;
    if (LinkFree() && m_CommandQueue.IsEmpty()) {
        QueueReads();
        SendNextCommand();
    }
}

void CTransmitterTrim::OnDisplayInformation(bool on) {
    if (on)
        StartRefresh();
    else
        StopRefresh();
}

void CTransmitterTrim::OnPriorityCommand(int command) {
    QueueCommandFirst(command);
    SendWhenIdle();
}

void CTransmitterTrim::OnLoopTest(bool on) {
    m_CommandQueue.RemoveAll();
    if (on)
        StopRefresh();
    else if (m_wndDisplayInfo->isChecked())
        StartRefresh();
    m_wndFixedMode->setEnabled(on);
    m_wndFixedCurrent->setEnabled(on);
    m_wndMinutes->setEnabled(on);
    // Ending the loop test ends the fixed current with it.
    if (!on && InFixedMode()) {
        SetFixedMode(1);
        QueueCommandFirst(40);
        SendWhenIdle();
    }
}

void CTransmitterTrim::OnFixedMode() {
    if (InFixedMode()) {
        // Leaving needs no value: a bad entry in the field must not keep the loop fixed.
        SetFixedMode(1);
        QueueCommandFirst(40);
        SendWhenIdle();
        return;
    }
    if (!UpdateData(true))
        return;
    if (m_fFixedCurrent < kLowestFixedCurrent || m_fFixedCurrent > kHighestFixedCurrent) {
        vmc::ShowBox(QString(), QString::fromLatin1(kFixedCurrentRange));
        return;
    }
    if (m_nMinutes >= 1) {
        const int minutes = m_nMinutes;
        const float current = m_fFixedCurrent;
        RunDialog([&] {
            CLoopTimeDialog dlg(Host(), minutes, current, this);
            dlg.DoModal();
        });
        return;
    }
    SetFixedMode(0);
    QueueCommandFirst(40);
    SendWhenIdle();
}

template <class Run> void CTransmitterTrim::RunDialog(Run run) {
    StopRefresh();
    run();
    BecomeReceiver();
    if (m_wndDisplayInfo->isChecked() && !m_wndLoopTest->isChecked())
        StartRefresh();
}

void CTransmitterTrim::OnSensorFullTrim() {
    RunDialog([&] {
        if (IsTemperatureDevice()) {
            CVariableLinearizationDlg dlg(Host(), this);
            dlg.DoModal();
        } else {
            CSensorFullTrimDlg dlg(Host(), this);
            dlg.DoModal();
        }
    });
}

void CTransmitterTrim::OnDacTrim(bool voltage) {
    RunDialog([&] {
        CDACTrimPropSheet sheet(Host(), voltage ? CDACTrimPropSheet::Kind::Voltage : CDACTrimPropSheet::Kind::Current,
                                this);
        sheet.DoModal();
    });
}

void CTransmitterTrim::OnZeroAdjustment() {
    RunDialog([&] {
        CZeroAdjustmentDlg dlg(Host(), this);
        dlg.DoModal();
    });
}

void CTransmitterTrim::OnCJLinearization() {
    RunDialog([&] {
        CCJLinearizationDlg dlg(Host(), this);
        dlg.DoModal();
    });
}

bool CTransmitterTrim::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command == 40) {
        Comm().SetRequestOffset(0);
        Comm().SetFloat(m_nFixedMode == 1 ? 0.0f : m_fFixedCurrent);
        byteCount = 4;
    }
    return true;
}

void CTransmitterTrim::OnReceive(int command, int dataCount) {
    const bool multidrop = Host().CurrentDevice() != 0;
    switch (command) {
    case 3:
        if (dataCount <= 0) {
            ReportCommandError(4, QStringLiteral("3"));
            break;
        }
        Comm().SetResponseOffset(1);
        m_wndPVUnit->setText(UnitLabel(Comm().GetXInt8()));
        Comm().SetResponseOffset(2);
        m_wndPV->setText(trim::Fixed4(Comm().GetFloat()));
        if (dataCount < 10) {
            m_wndSV->setText(QStringLiteral("(Not Used)"));
            m_wndSVUnit->clear();
        } else {
            Comm().SetResponseOffset(3);
            m_wndSVUnit->setText(UnitLabel(Comm().GetXInt8()));
            Comm().SetResponseOffset(4);
            m_wndSV->setText(trim::Fixed4(Comm().GetFloat()));
        }
        break;
    case 2:
        if (dataCount <= 0) {
            ReportCommandError(4, QStringLiteral("2"));
            break;
        }
        Comm().SetResponseOffset(0);
        m_wndAO->setText(multidrop ? QStringLiteral("Fixed Value") : trim::Fixed4(Comm().GetFloat()));
        Comm().SetResponseOffset(1);
        m_wndPercent->setText(multidrop ? QStringLiteral("Fixed Value") : trim::Fixed4(Comm().GetFloat()));
        break;
    case 40:
        if (dataCount <= 0) {
            // Refused: the loop is where it was, so is the button.
            SetFixedMode(m_nFixedMode == 0 ? 1 : 0);
            ReportCommandError(4, QStringLiteral("40"));
            break;
        }
        Comm().SetResponseOffset(0);
        m_fFixedCurrent = Comm().GetFloat();
        if (m_fFixedCurrent == 0.0f)
            m_fFixedCurrent = 4.0f;
        if (m_nFixedMode == 0)
            StartRefresh();
        QueueReads();
        break;
    case 36:
    case 37:
    case 43:
        // Span and zero refusals are told by the response text box; the sensor zero has none.
        if (command == 43 && Host().Relay().LastResponseCode() != 0)
            ReportCommandError(4, QStringLiteral("43"));
        QueueReads(); // show what the trim changed
        break;
    default:
        break;
    }
    ShowValues();
    SendNextCommand();
}

void CTransmitterTrim::ShowValues() { UpdateData(false); }

void CTransmitterTrim::OnFail(int state) {
    CHartPage::OnFail(state);
    SendNextCommand();
}
