#include "monitor/trend/DataDV.h"

#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/TrendFormat.h"
#include "monitor/trend/TrendWidgets.h"
#include "pages/common/FieldBinding.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kNotUsed = QStringLiteral("(Not Used)");

struct VariableRow {
    const char* caption;
    int editId;
    int unitId;
};
constexpr VariableRow kRows[] = {{"PV :", 1237, 1255}, {"SV :", 1238, 1242}, {"TV :", 1239, 1243}, {"FV :", 1240, 1244}};

} // namespace

CDynamicVariablesPage::CDynamicVariablesPage(IPageHost& host, Layout layout, QWidget* parent)
    : CTrendPage(host, QStringLiteral("Dynamic Variable"), parent) {
    BuildForm(layout);
    m_strUnit.fill(kNotUsed);
    m_strUnit[0].clear();
    ShowValues();
}

void CDynamicVariablesPage::BuildForm(Layout layout) {
    auto* variables = new QGroupBox(QStringLiteral(" Dynamic Variables "), this);
    auto* grid = new QGridLayout(variables);
    for (std::size_t i = 0; i < m_editValue.size(); ++i) {
        const VariableRow& row = kRows[i];
        m_editValue[i] = trend::MakeEdit(row.editId, true, variables);
        m_editValue[i]->setFixedWidth(130);
        m_labelUnit[i] = new QLabel(variables);
        m_labelUnit[i]->setObjectName(QString::number(row.unitId));
        m_labelUnit[i]->setMinimumWidth(90);
        const int r = static_cast<int>(i);
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), variables), r, 0);
        grid->addWidget(m_editValue[i], r, 1);
        grid->addWidget(m_labelUnit[i], r, 2);
    }
    grid->setColumnStretch(3, 1);

    auto* output = new QGroupBox(QStringLiteral(" Output "), this);
    auto* out = new QGridLayout(output);
    m_editCurrent = trend::MakeEdit(1235, true, output);
    m_editPercent = trend::MakeEdit(1236, true, output);
    m_editCurrent->setFixedWidth(130);
    m_editPercent->setFixedWidth(130);
    out->setColumnStretch(3, 1);
    out->addWidget(new QLabel(QStringLiteral("Analog Output :"), output), 0, 0);
    out->addWidget(m_editCurrent, 0, 1);
    out->addWidget(new QLabel(QStringLiteral("(mA)"), output), 0, 2);
    out->addWidget(new QLabel(QStringLiteral("Percent :"), output), 1, 0);
    out->addWidget(m_editPercent, 1, 1);
    out->addWidget(new QLabel(QStringLiteral("(%)"), output), 1, 2);

    if (layout == Layout::Trend) {
        auto* column = new QVBoxLayout(this);
        column->addWidget(variables);
        column->addWidget(output);
        column->addStretch(1);
    } else {
        auto* row = new QHBoxLayout(this);
        row->addWidget(variables, 1);
        row->addWidget(output, 1, Qt::AlignTop);
    }
}

bool CDynamicVariablesPage::OnSetActive() {
    BecomeReceiver();
    if (CCheckPropSheet* sheet = TrendSheet())
        sheet->CheckPageSwitch();
    StartCycle();
    SetModified(false);
    return true;
}

bool CDynamicVariablesPage::OnKillActive() {
    StopTimers(kPollTimer);
    GiveUpOutstanding();
    return true;
}

void CDynamicVariablesPage::OnCancel() {
    StopTimers(kPollTimer);
    m_CommandQueue.RemoveAll();
}

void CDynamicVariablesPage::StartCycle() {
    CHartComm& comm = Comm();
    Send(comm.GetManufacturerName(comm.GetPollingAddress()) == trend::MakerName() ? 210 : 3);
}

void CDynamicVariablesPage::Send(int command) {
    KillTimer(kPollTimer);
    m_CommandQueue.RemoveAll();
    QueueCommand(command);
    SendNext();
}

void CDynamicVariablesPage::OnPageTimer(int id) {
    if (id == kPollTimer)
        StartCycle();
}

void CDynamicVariablesPage::ResumePolling() {
    if (!IsTimerActive(kPollTimer))
        StartCycle();
}

void CDynamicVariablesPage::OnRetry(int command) { Send(command); }

void CDynamicVariablesPage::OnAnswer(int command, int dataCount) {
    CHartComm& comm = Comm();
    const bool polled = command == 210 || command == 2 || command == 3;
    if (polled && dataCount < 1) {
        RetryLater(command); // asked again after a short wait, without a message
        return;
    }
    if (command == 210) {
        comm.SetResponseOffset(0);
        m_strCurrent = comm.GetPollingAddress() != 0 ? QStringLiteral("Fixed Value") : trend::Fixed(comm.GetFloat(), 4);
        ReadVariables(dataCount);
        LogSample();
        Send(2);
        return;
    }
    if (command == 2) {
        comm.SetResponseOffset(1);
        m_fPercent = trend::RoundPrinted(comm.GetFloat(), 3);
    } else if (command == 3) {
        comm.SetResponseOffset(0);
        const float current = comm.GetFloat();
        m_strCurrent = trend::Fixed(current, 4);
        m_fPercent = (current - 4.0f) * 6.25f;
        ReadVariables(dataCount);
        LogSample();
    }
    SetTimer(kPollTimer, Settings().QueryTime());
    ShowValues();
}

void CDynamicVariablesPage::ReadVariables(int dataCount) {
    CHartComm& comm = Comm();
    comm.SetResponseOffset(1);
    m_strUnit[0] = trend::UnitText(comm.GetXInt8());
    comm.SetResponseOffset(2);
    m_fValue[0] = trend::RoundPrinted(comm.GetFloat(), 4);
    m_bSVUsed = dataCount >= 10;
    if (m_bSVUsed) {
        comm.SetResponseOffset(3);
        m_strUnit[1] = trend::UnitText(comm.GetXInt8());
        comm.SetResponseOffset(4);
        m_fValue[1] = comm.GetFloat();
    } else {
        m_strUnit[1] = kNotUsed;
        m_fValue[1] = 0.0f;
    }
    for (std::size_t i = 2; i < m_fValue.size(); ++i) {
        m_strUnit[i] = kNotUsed;
        m_fValue[i] = 0.0f;
    }
}

void CDynamicVariablesPage::LogSample() {
    CCheckPropSheet* sheet = TrendSheet();
    if (!sheet || !sheet->IsLogging())
        return;
    DVLineValues line;
    line.value = m_fValue;
    line.unit = m_strUnit;
    sheet->WriteDVLineWithCurrent(Comm().GetPollingAddress(), line, m_strCurrent);
}

void CDynamicVariablesPage::ShowValues() {
    for (std::size_t i = 0; i < m_editValue.size(); ++i) {
        m_editValue[i]->setText(FieldBinding::FormatFloat(m_fValue[i]));
        m_labelUnit[i]->setText(m_strUnit[i]);
    }
    m_editValue[1]->setEnabled(m_bSVUsed);
    m_labelUnit[1]->setEnabled(m_bSVUsed);
    m_editCurrent->setText(m_strCurrent);
    m_editPercent->setText(FieldBinding::FormatFloat(m_fPercent));
}

void CDynamicVariablesPage::OnLinkFailure(int state) {
    ShowLinkFailure(state);
    StartCycle();
}
