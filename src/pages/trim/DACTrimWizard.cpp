#include "pages/trim/DACTrimWizard.h"

#include "pages/trim/Controls.h"
#include "pages/trim/TrimIds.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace res;

namespace {

constexpr float kLowMilliamperes = 4.0f;
constexpr float kHighMilliamperes = 20.0f;

} // namespace

CDACTrimPropSheet::CDACTrimPropSheet(IPageHost& host, Kind kind, QWidget* parent)
    : CPropertySheet(kind == Kind::Current ? QStringLiteral("DAC Trim for Current") : QStringLiteral("DAC Trim for Voltage"),
                     parent),
      m_host(host), m_kind(kind) {
    SetWizardMode();
    if (kind == Kind::Voltage) {
        AddPage(new CDACTrimVoltageWizard0(*this));
        AddPage(new CDACTrimWizard1(*this));
        AddPage(new CDACTrimWizard2(*this));
        AddPage(new CDACTrimVoltageWizard3(*this));
        AddPage(new CDACTrimWizard4(*this));
        AddPage(new CDACTrimVoltageWizard5(*this));
    } else {
        AddPage(new CDACTrimWizard1(*this));
        AddPage(new CDACTrimWizard2(*this));
        AddPage(new CDACTrimCurrentWizard3(*this));
        AddPage(new CDACTrimWizard4(*this));
        AddPage(new CDACTrimCurrentWizard5(*this));
    }
}

void CDACTrimPropSheet::ReleaseLoop() {
    if (!m_bFixedByWizard)
        return;
    m_bFixedByWizard = false;
    CHartComm& comm = m_host.Comm();
    comm.DeleteRequestItems();
    comm.SetRequestOffset(0);
    comm.SetFloat(0.0f);
    if (!comm.Request(40, 4))
        ReportRequestFailure(comm, 40);
}

void CDACTrimPropSheet::reject() {
    ReleaseLoop();
    CPropertySheet::reject();
}

CDACTrimPage::CDACTrimPage(CDACTrimPropSheet& sheet, int resourceId, const QString& text)
    : CHartPage(sheet.Host(), QStringLiteral("DAC Trim")), m_wizard(sheet) {
    setObjectName(IdName(resourceId));
    m_body = new QVBoxLayout(this);
    auto* prompt = new QLabel(text, this);
    QFont f = prompt->font();
    f.setBold(true);
    prompt->setFont(f);
    m_body->addWidget(prompt);
    m_body->addSpacing(12);
}

bool CDACTrimPage::OnSetActive() {
    CHartPage::OnSetActive();
    Wizard().SetWizardButtons(WizardButtons());
    return true;
}

void CDACTrimPage::SendFloat(int command, float value) {
    m_values[command] = value;
    QueueCommand(command);
    SendWhenIdle();
}

bool CDACTrimPage::PrepareRequest(int command, int& byteCount) {
    auto it = m_values.find(command);
    if (it == m_values.end())
        return false;
    Comm().SetRequestOffset(0);
    Comm().SetFloat(it->second);
    byteCount = 4;
    return true;
}

void CDACTrimPage::OnReceive(int command, int dataCount) {
    if (dataCount <= 0)
        ReportCommandError(4, QString::number(command));
    else if (m_values.count(command))
        OnAnswer(command);
    SendNextCommand();
}

void CDACTrimPage::OnFail(int state) {
    CHartPage::OnFail(state);
    SendNextCommand();
}

CDACTrimVoltageWizard0::CDACTrimVoltageWizard0(CDACTrimPropSheet& sheet)
    : CDACTrimPage(sheet, IDD_DACTRIM_VOLTAGE0, QStringLiteral("Input a resistance.")),
      m_fResistance(sheet.m_fDACTrimResistance) {
    auto* row = new QHBoxLayout;
    m_wndValue = trim::ValueEdit(this, IDC_DACTRIM_VALUE);
    row->addWidget(m_wndValue);
    row->addWidget(new QLabel(QStringLiteral("(Ohm)"), this));
    row->addStretch(1);
    Body()->addLayout(row);
    Body()->addStretch(1);
    Fields().Float(&m_fResistance, m_wndValue, 1.0f, 100000.0f);
}

bool CDACTrimVoltageWizard0::OnWizardNext() {
    Wizard().m_fDACTrimResistance = m_fResistance;
    return true;
}

CDACTrimWizard1::CDACTrimWizard1(CDACTrimPropSheet& sheet)
    : CDACTrimPage(sheet, IDD_DACTRIM_WIZARD1, QStringLiteral("Connect reference meter.")) {
    Body()->addStretch(1);
}

CDACTrimOutputPage::CDACTrimOutputPage(CDACTrimPropSheet& sheet, int resourceId, float milliamperes)
    : CDACTrimPage(sheet, resourceId, QStringLiteral("Setting field device output to %1mA.").arg(milliamperes)),
      m_fOutput(milliamperes) {
    Body()->addStretch(1);
}

bool CDACTrimOutputPage::OnWizardNext() {
    Wizard().m_bFixedByWizard = true;
    SendFloat(40, m_fOutput);
    return true;
}

CDACTrimWizard2::CDACTrimWizard2(CDACTrimPropSheet& sheet)
    : CDACTrimOutputPage(sheet, IDD_DACTRIM_WIZARD2, kLowMilliamperes) {}

CDACTrimWizard4::CDACTrimWizard4(CDACTrimPropSheet& sheet)
    : CDACTrimOutputPage(sheet, IDD_DACTRIM_WIZARD4, kHighMilliamperes) {}

CDACTrimMeterPage::CDACTrimMeterPage(CDACTrimPropSheet& sheet, int resourceId, int command, bool volts, bool last)
    : CDACTrimPage(sheet, resourceId, last && !volts ? QStringLiteral("Enter meter Value.") : QStringLiteral("Enter meter value.")),
      m_nCommand(command), m_bVolts(volts), m_bLast(last) {
    m_fValue = command == 45 ? kLowMilliamperes : kHighMilliamperes;
    auto* row = new QHBoxLayout;
    m_wndValue = trim::ValueEdit(this, IDC_DACTRIM_VALUE);
    auto* setup = trim::Button(this, IDC_DACTRIM_SETUP, QStringLiteral("Setup"));
    row->addWidget(m_wndValue);
    row->addWidget(new QLabel(volts ? QStringLiteral("(V)") : QStringLiteral("(mA)"), this));
    row->addWidget(setup);
    row->addStretch(1);
    Body()->addLayout(row);
    Body()->addStretch(1);
    Fields().Float(&m_fValue, m_wndValue, 0.0f, volts ? 1000.0f : 30.0f);
    connect(setup, &QPushButton::clicked, this, &CDACTrimMeterPage::OnSetup);
}

float CDACTrimMeterPage::ToMilliamperes(float meter) const {
    return m_bVolts ? meter / Wizard().m_fDACTrimResistance * 1000.0f : meter;
}

float CDACTrimMeterPage::FromMilliamperes(float ma) const {
    return m_bVolts ? ma * Wizard().m_fDACTrimResistance / 1000.0f : ma;
}

bool CDACTrimMeterPage::OnSetActive() {
    if (m_bVolts) {
        // What the meter should read across this resistor.
        m_fValue = FromMilliamperes(m_nCommand == 45 ? kLowMilliamperes : kHighMilliamperes);
        UpdateData(false);
    }
    CDACTrimPage::OnSetActive();
    if (m_bLast)
        Wizard().SetFinishText(QStringLiteral("Exit"));
    return true;
}

int CDACTrimMeterPage::WizardButtons() const {
    return m_bLast ? CPropertySheet::PSWIZB_BACK | CPropertySheet::PSWIZB_FINISH
                   : CPropertySheet::PSWIZB_BACK | CPropertySheet::PSWIZB_NEXT;
}

void CDACTrimMeterPage::OnSetup() {
    if (!UpdateData(true))
        return;
    SendFloat(m_nCommand, ToMilliamperes(m_fValue));
}

void CDACTrimMeterPage::OnAnswer(int command) {
    if (command != m_nCommand)
        return;
    // The value the transmitter applied, shown in the unit the user reads.
    Comm().SetResponseOffset(0);
    m_fValue = FromMilliamperes(Comm().GetFloat());
    UpdateData(false);
}

bool CDACTrimMeterPage::OnWizardFinish() {
    Wizard().ReleaseLoop();
    return true;
}

CDACTrimCurrentWizard3::CDACTrimCurrentWizard3(CDACTrimPropSheet& sheet)
    : CDACTrimMeterPage(sheet, IDD_DACTRIM_CURRENT3, 45, false, false) {}

CDACTrimVoltageWizard3::CDACTrimVoltageWizard3(CDACTrimPropSheet& sheet)
    : CDACTrimMeterPage(sheet, IDD_DACTRIM_VOLTAGE3, 45, true, false) {}

CDACTrimCurrentWizard5::CDACTrimCurrentWizard5(CDACTrimPropSheet& sheet)
    : CDACTrimMeterPage(sheet, IDD_DACTRIM_CURRENT5, 46, false, true) {}

CDACTrimVoltageWizard5::CDACTrimVoltageWizard5(CDACTrimPropSheet& sheet)
    : CDACTrimMeterPage(sheet, IDD_DACTRIM_VOLTAGE5, 46, true, true) {}
