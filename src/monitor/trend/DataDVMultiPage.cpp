#include "monitor/trend/DataDVMultiPage.h"

#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/TrendFormat.h"
#include "monitor/trend/TrendWidgets.h"

#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kNotUsed = QStringLiteral("(Not Used)");

// The unit part of a value text: from the "(" on.
QString UnitPart(const QString& text) {
    const int at = text.indexOf(QLatin1Char('('));
    return at < 0 ? QString() : text.mid(at);
}

} // namespace

CDataDVMultiPage::CDataDVMultiPage(IPageHost& host, QWidget* parent)
    : CMultiDropTrendPage(host, QStringLiteral("Dynamic Variable"), parent) {
    const Qt::Alignment centre = Qt::AlignCenter;
    m_list = trend::MakeDeviceList(1011,
                                   {{"Polling", 50, centre},
                                    {"Type", 70, centre},
                                    {"TAG", 85, centre},
                                    {"PV", 95, centre},
                                    {"SV", 95, centre},
                                    {"TV", 95, centre},
                                    {"FV", 95, centre},
                                    {"Status", 65, centre}},
                                   this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
}

CDataDVMultiPage::~CDataDVMultiPage() = default;

void CDataDVMultiPage::OnInitDialog() {
    CTrendPage::OnInitDialog();
    if (Host().SelectedDevices().Contains(0))
        vmc::SendMessage(Host().DeviceTree(), vmc::WM_TREE_CHECK, 0, 0);
    const CHartComm& comm = Comm();
    for (int address : Host().SelectedDevices().Values()) {
        const int row = trend::AddDeviceRow(m_list, address, kPolling);
        trend::SetCellText(m_list, row, kType, comm.GetDeviceTypeName(address));
        trend::SetCellText(m_list, row, kTag, comm.GetTag(address).trimmed());
    }
}

int CDataDVMultiPage::CommandFor(int address) const {
    // 210 is the maker's own; another maker's device would refuse it on every pass.
    return Comm().GetManufacturerName(address) == trend::MakerName() ? 210 : 3;
}

void CDataDVMultiPage::QueueCurrent() { QueueCommand(CommandFor(CurrentAddress())); }

bool CDataDVMultiPage::OnSetActive() {
    BecomeReceiver();
    RestartPass();
    if (CCheckPropSheet* sheet = TrendSheet())
        sheet->CheckPageSwitch();
    m_CommandQueue.RemoveAll();
    QueueCurrent();
    SendWhenQuiet();
    return true;
}

bool CDataDVMultiPage::OnKillActive() {
    StopTimers(kPollTimer);
    GiveUpOutstanding();
    return true;
}

void CDataDVMultiPage::OnCancel() {
    StopTimers(kPollTimer);
    m_CommandQueue.RemoveAll();
}

void CDataDVMultiPage::OnPageTimer(int id) {
    if (id != kPollTimer)
        return;
    KillTimer(kPollTimer);
    QueueCurrent();
    SendNext();
}

void CDataDVMultiPage::ResumePolling() {
    if (IsTimerActive(kPollTimer))
        return;
    if (m_CommandQueue.IsEmpty())
        QueueCurrent();
    SendWhenQuiet();
}

void CDataDVMultiPage::OnRetry(int command) {
    if (m_CommandQueue.IsEmpty())
        QueueCommand(command);
    SendNext();
}

void CDataDVMultiPage::NextDevice() {
    if (AdvanceDevice()) {
        QueueCurrent();
        SendNext();
    } else {
        SetTimer(kPollTimer, Settings().QueryTime());
    }
}

void CDataDVMultiPage::OnAnswer(int command, int dataCount) {
    if (dataCount <= 0) {
        if (trend::IsBusyCode(Host().Relay().LastResponseCode()))
            RetryLater(command);
        else
            OnFailed(QStringLiteral("Refused"), true);
        return;
    }
    if (command != 210 && command != 3) {
        QueueCurrent();
        SendNext();
        return;
    }
    CHartComm& comm = Comm();
    std::array<QString, 4> text;
    DVLineValues values;
    comm.SetResponseOffset(2);
    values.value[0] = comm.GetFloat();
    comm.SetResponseOffset(1);
    text[0] = trend::Fixed(values.value[0], 4) + QLatin1Char(' ') + trend::UnitText(comm.GetXInt8());
    if (dataCount >= 10) {
        comm.SetResponseOffset(4);
        values.value[1] = comm.GetFloat();
        comm.SetResponseOffset(3);
        text[1] = trend::Fixed(values.value[1], 4) + QLatin1Char(' ') + trend::UnitText(comm.GetXInt8());
    } else {
        text[1] = kNotUsed;
    }
    text[2] = text[3] = kNotUsed;
    for (std::size_t i = 0; i < text.size(); ++i)
        values.unit[i] = UnitPart(text[i]);

    const int address = comm.GetPollingAddress();
    if (const int row = trend::RowOfAddress(m_list, address); row >= 0) {
        for (int c = kPV; c <= kFV; ++c)
            trend::SetCellText(m_list, row, c, text[static_cast<std::size_t>(c - kPV)]);
        trend::SetCellText(m_list, row, kStatus, QStringLiteral(" "));
    }
    if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging())
        sheet->WriteDVLine(address, values);
    NextDevice();
}

void CDataDVMultiPage::OnFailed(const QString& status, bool moveOn) {
    const int address = CurrentAddress();
    if (const int row = trend::RowOfAddress(m_list, address); row >= 0) {
        trend::SetCellText(m_list, row, kStatus, status);
        m_list->selectRow(row);
    }
    if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging()) {
        DVLineValues values;
        values.unit.fill(QStringLiteral("(Fail)"));
        sheet->WriteDVLine(address, values);
    }
    if (moveOn) {
        // Past the last device the next pass starts at once.
        AdvanceDevice();
    }
    QueueCurrent();
    SendNext();
}

void CDataDVMultiPage::OnLinkFailure(int state) {
    // No answer: on to the next device; a garbled one: the same device again.
    if (state == hart::COMERROR_COM_STATE)
        OnFailed(QStringLiteral("Com Err."), false);
    else
        OnFailed(QStringLiteral("No Res."), true);
}
