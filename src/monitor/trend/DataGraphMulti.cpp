#include "monitor/trend/DataGraphMulti.h"

#include "monitor/LineChartCtrl.h"
#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/TrendFormat.h"
#include "monitor/trend/TrendWidgets.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace trend {

QColor PaletteColour(int index) {
    static constexpr std::array<QRgb, 16> kPalette = {
        qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 255, 255), qRgb(255, 157, 11),  qRgb(160, 96, 255),  qRgb(0, 0, 255),
        qRgb(255, 160, 255), qRgb(160, 255, 160), qRgb(0, 160, 160),   qRgb(192, 192, 255),
        qRgb(255, 0, 255),   qRgb(160, 0, 160),   qRgb(176, 253, 17),  qRgb(128, 128, 128),
    };
    const auto n = static_cast<int>(kPalette.size());
    return QColor(kPalette[static_cast<std::size_t>(((index % n) + n) % n)]);
}

} // namespace trend

namespace {
const QString kNotUsed = QStringLiteral("(Not Used)");
} // namespace

CDataGraphMulti::CDataGraphMulti(IPageHost& host, QWidget* parent)
    : CMultiDropTrendPage(host, QStringLiteral("Data Trend"), parent) {
    BuildForm();
}

CDataGraphMulti::~CDataGraphMulti() = default;

void CDataGraphMulti::BuildForm() {
    m_wndChart = new CLineChartCtrl(this);
    m_wndChart->setObjectName(QStringLiteral("1039"));
    m_wndChart->setMinimumSize(240, 150);

    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    m_list = trend::MakeDeviceList(1011,
                                   {{"Leg.", 40, centre},
                                    {"Polling", 50, centre},
                                    {"Type", 70, centre},
                                    {"TAG", 105, centre},
                                    {"PV", 115, left},
                                    {"SV", 100, left},
                                    {"Status", 65, left}},
                                   this);
    m_list->setMinimumHeight(90);

    m_editMaximum = trend::MakeEdit(1262, false, this);
    m_editMinimum = trend::MakeEdit(1091, false, this);
    m_spinMaximum = new CSpinButton(1263, m_editMaximum, this);
    m_spinMinimum = new CSpinButton(1014, m_editMinimum, this);
    m_editQueryTime = trend::MakeEdit(1264, false, this);

    auto* range = new QGroupBox(QStringLiteral(" PV Range "), this);
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Maximum :"), range), 0, 0);
    rangeGrid->addWidget(m_editMaximum, 0, 1);
    rangeGrid->addWidget(m_spinMaximum, 0, 2);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Minimum :"), range), 1, 0);
    rangeGrid->addWidget(m_editMinimum, 1, 1);
    rangeGrid->addWidget(m_spinMinimum, 1, 2);

    auto* query = new QGroupBox(QStringLiteral(" Query Time "), this);
    auto* queryRow = new QHBoxLayout(query);
    queryRow->addWidget(m_editQueryTime);
    queryRow->addWidget(new QLabel(QStringLiteral("( m.Sec )"), query));

    auto* settings = new QVBoxLayout;
    settings->addWidget(range);
    settings->addWidget(query);
    settings->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_list, 1);
    bottom->addLayout(settings);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_wndChart, 3);
    layout->addLayout(bottom, 2);

    for (QLineEdit* e : {m_editMaximum, m_editMinimum})
        connect(e, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    for (CSpinButton* s : {m_spinMaximum, m_spinMinimum})
        connect(s, &CSpinButton::stepped, this, [this] { SetModified(true); });
    connect(m_editQueryTime, &QLineEdit::textEdited, this, [this] {
        m_bQueryTimeChanged = true;
        SetModified(true);
    });
}

void CDataGraphMulti::OnInitDialog() {
    CTrendPage::OnInitDialog();
    m_wndChart->SetBackColor(QColor(0, 0, 64));
    m_wndChart->SetTextColor(QColor(192, 192, 255));
    m_wndChart->SetAxisColor(QColor(192, 192, 255));
    m_wndChart->SetGridColor(QColor(0, 0, 0));
    m_wndChart->SetScrollStep(4);

    // Address 0 drives its loop current and has no place in a multi-drop trend: it gets no series
    // and the tree unticks it.
    const std::vector<int> selected = Host().SelectedDevices().Values();
    int next = 0;
    for (int address : selected) {
        if (address > 0)
            m_seriesOf[address] = m_wndChart->AddSeries(trend::PaletteColour(next++), 100.0f, -20.0f);
        else
            vmc::SendMessage(Host().DeviceTree(), vmc::WM_TREE_CHECK, 0, 0);
    }
    BuildRows();

    m_editQueryTime->setText(QString::number(Settings().QueryTime()));
    const float upper = trend::LeadingFloatValue(Settings().GetText(trendkeys::kPVUpperRange));
    const float lower = trend::LeadingFloatValue(Settings().GetText(trendkeys::kPVLowerRange));
    m_editMaximum->setText(trend::FormatTrimmedFloat(upper));
    m_editMinimum->setText(trend::FormatTrimmedFloat(lower));
    m_spinMaximum->SetRange(-100, 100);
    m_spinMinimum->SetRange(-100, 100);
    m_spinMaximum->SetPos(0);
    m_spinMinimum->SetPos(0);

    m_bQueryTimeChanged = false;
    m_bJustApplied = false;
    SetModified(false);
    m_CommandQueue.RemoveAll();
    QueueCommand(3);
}

void CDataGraphMulti::BuildRows() {
    const CHartComm& comm = Comm();
    m_list->setRowCount(0);
    for (int address : Host().SelectedDevices().Values()) {
        const int row = trend::AddDeviceRow(m_list, address, kPolling);
        if (const int series = SeriesOf(address); series >= 0)
            m_list->item(row, kLegend)->setIcon(trend::LegendIcon(trend::PaletteColour(series)));
        trend::SetCellText(m_list, row, kType, comm.GetDeviceTypeName(address));
        trend::SetCellText(m_list, row, kTag, comm.GetTag(address).trimmed());
    }
}

int CDataGraphMulti::SeriesOf(int address) const {
    auto it = m_seriesOf.find(address);
    return it == m_seriesOf.end() ? -1 : it->second;
}


bool CDataGraphMulti::OnSetActive() {
    BecomeReceiver();
    if (CCheckPropSheet* sheet = TrendSheet())
        sheet->CheckPageSwitch();
    if (!m_bJustApplied) {
        RestartPass();
        if (const int first = CurrentAddress(); first >= 0)
            Comm().SetPollingAddress(first);
    }
    if (m_CommandQueue.IsEmpty() && IsQuiet())
        QueueCommand(3);
    SendWhenQuiet();
    return true;
}

bool CDataGraphMulti::OnKillActive() {
    StopTimers(kPollTimer);
    GiveUpOutstanding();
    m_CommandQueue.RemoveAll();
    return true;
}

void CDataGraphMulti::OnCancel() {
    StopTimers(kPollTimer);
    m_CommandQueue.RemoveAll();
}

void CDataGraphMulti::OnPageTimer(int id) {
    if (id != kPollTimer)
        return;
    KillTimer(kPollTimer);
    // A pass that an apply started early is still running; it arms the timer again at its end.
    if (!IsQuiet())
        return;
    QueueCommand(3);
    SendNext();
}

void CDataGraphMulti::ResumePolling() {
    if (IsTimerActive(kPollTimer))
        return;
    if (m_CommandQueue.IsEmpty())
        QueueCommand(3);
    SendWhenQuiet();
}

void CDataGraphMulti::OnRetry(int command) {
    if (m_CommandQueue.IsEmpty())
        QueueCommand(command);
    SendNext();
}

bool CDataGraphMulti::IsBusyRefusal() const { return trend::IsBusyCode(Host().Relay().LastResponseCode()); }

void CDataGraphMulti::OnAnswer(int command, int dataCount) {
    if (dataCount <= 0) {
        // A busy device is asked again shortly; one that refuses for good must not stall the loop.
        if (IsBusyRefusal())
            RetryLater(command);
        else
            OnDeviceFailed(QStringLiteral("Refused"));
        return;
    }
    if (command != 3) {
        QueueCommand(3);
        SendNext();
        return;
    }
    m_bJustApplied = false;
    OnVariables(dataCount);
    MoveOn();
}

void CDataGraphMulti::OnVariables(int dataCount) {
    CHartComm& comm = Comm();
    const int address = CurrentAddress();
    comm.SetResponseOffset(1);
    const QString pvUnit = trend::UnitText(comm.GetXInt8());
    comm.SetResponseOffset(2);
    const float pv = comm.GetFloat();
    m_wndChart->AddValue(SeriesOf(address), pv);

    const bool hasSV = dataCount >= 10;
    float sv = 0.0f;
    QString svUnit;
    if (hasSV) {
        comm.SetResponseOffset(3);
        svUnit = trend::UnitText(comm.GetXInt8());
        comm.SetResponseOffset(4);
        sv = comm.GetFloat();
    }
    if (const int row = trend::RowOfAddress(m_list, address); row >= 0) {
        trend::SetCellText(m_list, row, kPV, trend::Fixed(pv, 4) + QLatin1Char(' ') + pvUnit);
        trend::SetCellText(m_list, row, kSV, hasSV ? trend::Fixed(sv, 4) + QLatin1Char(' ') + svUnit : kNotUsed);
        trend::SetCellText(m_list, row, kStatus, QStringLiteral(" "));
    }
    if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging())
        if (CMultiDropLogLine* line = sheet->Collector())
            line->AddDevice(QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')), trend::Fixed(pv, 4), pvUnit,
                            QString::asprintf("%6.4f", static_cast<double>(sv)), svUnit);
}

void CDataGraphMulti::OnDeviceFailed(const QString& status) {
    const int address = CurrentAddress();
    if (const int row = trend::RowOfAddress(m_list, address); row >= 0) {
        trend::SetCellText(m_list, row, kStatus, status);
        m_list->selectRow(row);
    }
    if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging())
        if (CMultiDropLogLine* line = sheet->Collector())
            line->AddDevice(QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')), QStringLiteral("Fail"),
                            QStringLiteral("(Fail)"), QStringLiteral("Fail"), QStringLiteral("(Fail)"));
    m_wndChart->AddValue(SeriesOf(address), 0.0f);
    MoveOn();
}

void CDataGraphMulti::OnLinkFailure(int state) {
    OnDeviceFailed(state == hart::COMERROR_COM_STATE ? QStringLiteral("Com Err.") : QStringLiteral("No Res."));
}

void CDataGraphMulti::MoveOn() {
    if (AdvanceDevice()) {
        QueueCommand(3);
    } else {
        m_wndChart->Advance();
        if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging())
            sheet->WriteMultiDropPVLine();
        SetTimer(kPollTimer, Settings().QueryTime());
    }
    SendNext();
}

bool CDataGraphMulti::OnApply() {
    const float upper = trend::LeadingFloatValue(m_editMaximum->text());
    const float lower = trend::LeadingFloatValue(m_editMinimum->text());
    m_wndChart->SetUpper(upper);
    m_wndChart->SetLower(lower);
    Settings().WriteText(trendkeys::kPVUpperRange, trend::FormatTrimmedFloat(upper));
    Settings().WriteText(trendkeys::kPVLowerRange, trend::FormatTrimmedFloat(lower));
    m_bJustApplied = true;
    if (m_bQueryTimeChanged) {
        const long long queryTime = trend::LeadingInt(m_editQueryTime->text());
        if (queryTime < CTrendSettings::kMinQueryTime || queryTime > CTrendSettings::kMaxQueryTime) {
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Invalid Query Time !"), vmc::BoxIcon::Error);
            return false;
        }
        m_bQueryTimeChanged = false;
        Settings().WriteInt(trendkeys::kQueryTime, static_cast<int>(queryTime));
    }
    if (m_CommandQueue.IsEmpty() && IsQuiet() && IsActivePage()) {
        KillTimer(kPollTimer);
        QueueCommand(3);
        SendNext();
    }
    return true;
}
