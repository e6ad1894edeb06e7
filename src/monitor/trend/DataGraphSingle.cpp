#include "monitor/trend/DataGraphSingle.h"

#include "monitor/LineChartCtrl.h"
#include "monitor/LineProgressCtrl.h"
#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/TrendFormat.h"
#include "pages/common/FieldBinding.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

using trend::Fixed;
using trend::RoundPrinted;

namespace {

// Widened scale of the chart: a tenth of the span beyond each end of the transmitter's range.
void Widen(float& upper, float& lower) {
    const float d = 0.1f * std::fabs(upper - lower);
    if (upper > lower) {
        upper += d;
        lower -= d;
    } else {
        upper -= d;
        lower += d;
    }
}

QPushButton* MakeButton(int id, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
}

} // namespace

CDataGraphSingle::CDataGraphSingle(IPageHost& host, QWidget* parent)
    : CTrendPage(host, QStringLiteral("Data Trend"), parent), m_chooseColour(trend::StandardColourChooser()) {
    BuildForm();
}

CDataGraphSingle::~CDataGraphSingle() = default;

void CDataGraphSingle::BuildForm() {
    m_wndChart = new CLineChartCtrl(this);
    m_wndChart->setObjectName(QStringLiteral("1039"));
    m_wndChart->setMinimumSize(240, 160);
    m_wndPercent = new CLineProgressCtrl(this);
    m_wndPercent->setObjectName(QStringLiteral("1348"));
    m_wndPercent->setMinimumSize(90, 120);
    m_wndMeter = new CMeterView(1258, m_meter, this);

    m_editCurrent = trend::MakeEdit(1235, true, this);
    m_editPercent = trend::MakeEdit(1236, true, this);
    m_editPV = trend::MakeEdit(1237, true, this);
    m_labelUnit = new QLabel(this);
    m_labelUnit->setObjectName(QStringLiteral("1255"));
    m_labelUnit->setMinimumWidth(70);

    auto* values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Analog Output :"), this), 0, 0);
    values->addWidget(m_editCurrent, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("(mA)"), this), 0, 2);
    values->addWidget(new QLabel(QStringLiteral("Percent :"), this), 1, 0);
    values->addWidget(m_editPercent, 1, 1);
    values->addWidget(new QLabel(QStringLiteral("(%)"), this), 1, 2);
    values->addWidget(new QLabel(QStringLiteral("PV :"), this), 2, 0);
    values->addWidget(m_editPV, 2, 1);
    values->addWidget(m_labelUnit, 2, 2);

    m_editMaximum = trend::MakeEdit(1262, false, this);
    m_editMinimum = trend::MakeEdit(1091, false, this);
    m_spinMaximum = new CSpinButton(1263, m_editMaximum, this);
    m_spinMinimum = new CSpinButton(1014, m_editMinimum, this);
    auto* range = new QGroupBox(QStringLiteral(" PV Range "), this);
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Maximum :"), range), 0, 0);
    rangeGrid->addWidget(m_editMaximum, 0, 1);
    rangeGrid->addWidget(m_spinMaximum, 0, 2);
    rangeGrid->addWidget(new QLabel(QStringLiteral("Minimum  :"), range), 1, 0);
    rangeGrid->addWidget(m_editMinimum, 1, 1);
    rangeGrid->addWidget(m_spinMinimum, 1, 2);

    m_editQueryTime = trend::MakeEdit(1264, false, this);
    auto* query = new QGroupBox(QStringLiteral(" Query Time "), this);
    auto* queryRow = new QHBoxLayout(query);
    queryRow->addWidget(new QLabel(QStringLiteral("CPU m.sec :"), query));
    queryRow->addWidget(m_editQueryTime);

    auto* colours = new QGroupBox(QStringLiteral(" Color Setting "), this);
    auto* colourGrid = new QGridLayout(colours);
    const struct {
        int id;
        const char* caption;
        Colour which;
    } buttons[] = {{1180, "Grid", Colour::Grid}, {1181, "Line", Colour::Line}, {1182, "BackColor", Colour::Back},
                   {1183, "Text", Colour::Text}};
    int at = 0;
    for (const auto& b : buttons) {
        QPushButton* button = MakeButton(b.id, QString::fromLatin1(b.caption), colours);
        colourGrid->addWidget(button, at / 2, at % 2);
        connect(button, &QPushButton::clicked, this, [this, which = b.which] { OnColourButton(which); });
        ++at;
    }
    m_buttonAverage = MakeButton(1046, QStringLiteral("AVG"), this);

    auto* settings = new QHBoxLayout;
    settings->addWidget(range);
    settings->addWidget(query);
    settings->addWidget(colours);
    settings->addWidget(m_buttonAverage);

    auto* left = new QVBoxLayout;
    left->addWidget(m_wndChart, 1);
    left->addLayout(settings);

    auto* gauges = new QHBoxLayout;
    gauges->addWidget(m_wndPercent);
    gauges->addWidget(m_wndMeter, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(gauges, 1);
    right->addLayout(values);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    for (QLineEdit* e : {m_editMaximum, m_editMinimum, m_editQueryTime})
        connect(e, &QLineEdit::textEdited, this, [this] { OnSettingsEdited(); });
    for (CSpinButton* s : {m_spinMaximum, m_spinMinimum})
        connect(s, &CSpinButton::stepped, this, [this] { OnSettingsEdited(); });
}

void CDataGraphSingle::OnInitDialog() {
    CTrendPage::OnInitDialog();
    m_meter.SetRange(4.0, 20.0);
    m_meter.SetScaleDecimals(1);
    m_meter.SetValueDecimals(2);
    m_meter.SetUnits(QStringLiteral("mA"));

    ApplyChartColours();
    m_wndChart->SetScrollStep(4);
    m_wndChart->AddSeries(m_colLine, 100.0f, -20.0f);
    m_wndPercent->Draw();

    m_editMaximum->setText(Fixed(100.0, 1));
    m_editMinimum->setText(Fixed(-20.0, 1));
    m_nQueryTime = Settings().QueryTime();
    m_editQueryTime->setText(QString::number(m_nQueryTime));
    m_fUpperRange = trend::LeadingFloatValue(Settings().GetText(trendkeys::kPVUpperRange));
    m_fLowerRange = trend::LeadingFloatValue(Settings().GetText(trendkeys::kPVLowerRange));

    m_buttonAverage->hide();
    m_spinMaximum->SetRange(-500, 1000);
    m_spinMinimum->SetRange(-500, 1000);
    m_spinMaximum->SetPos(100);
    m_spinMinimum->SetPos(-20);

    SetModified(false);
    m_bMakerDevice = false;
    m_bSettingsChanged = false;
    m_fPV = m_fSV = m_fTV = m_fFV = m_fCurrent = m_fPercent = 0.0f;
    m_strPVUnit.clear();
    ShowValues();
    m_CommandQueue.RemoveAll();
    QueueCommand(15);
}

bool CDataGraphSingle::OnSetActive() {
    m_bHalted = false;
    BecomeReceiver();
    if (CCheckPropSheet* sheet = TrendSheet())
        sheet->CheckPageSwitch();
    if (m_CommandQueue.IsEmpty() && IsQuiet())
        QueuePollCycle();
    SendWhenQuiet();
    return true;
}

bool CDataGraphSingle::OnKillActive() {
    StopTimers(kPollTimer);
    GiveUpOutstanding();
    return true;
}

void CDataGraphSingle::OnCancel() {
    StopTimers(kPollTimer);
    m_CommandQueue.RemoveAll();
}

void CDataGraphSingle::QueuePollCycle() {
    QueueCommand(m_bMakerDevice ? 210 : 1);
    QueueCommand(2);
}

void CDataGraphSingle::RestartPollTimer() {
    m_nQueryTime = Settings().QueryTime();
    SetTimer(kPollTimer, m_nQueryTime);
}

void CDataGraphSingle::OnPageTimer(int id) {
    if (id != kPollTimer)
        return;
    KillTimer(kPollTimer);
    if (!IsActivePage())
        return;
    // With a request still open its answer (or failure) carries the polling on.
    if (!IsQuiet())
        return;
    if (m_CommandQueue.IsEmpty())
        QueuePollCycle();
    SendNext();
}

void CDataGraphSingle::ResumePolling() {
    if (m_bHalted || IsTimerActive(kPollTimer))
        return;
    if (m_CommandQueue.IsEmpty())
        QueuePollCycle();
    SendWhenQuiet();
}

void CDataGraphSingle::OnAnswer(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        if (m_CommandQueue.IsEmpty())
            QueuePollCycle();
        SendNext();
        return;
    }
    switch (command) {
    case 15:
        if (!OnRange())
            return; // polling halts until the page is activated again or applied
        break;
    case 1: OnPrimary(0, 1, 0); break;
    case 210: OnPrimary(1, 2, dataCount); break;
    case 2: OnCurrent(); break;
    default:
        QueuePollCycle();
        RestartPollTimer();
        break;
    }
    ShowValues();
    SendNext();
}

bool CDataGraphSingle::OnRange() {
    CHartComm& comm = Comm();
    m_bMakerDevice = comm.GetManufacturerName(comm.GetPollingAddress()) == trend::MakerName();
    comm.SetResponseOffset(3);
    float upper = comm.GetFloat();
    comm.SetResponseOffset(4);
    float lower = comm.GetFloat();
    if (upper == 0.0f && lower == 0.0f) {
        vmc::PlainBox(QStringLiteral("Invalid Range! Rerange!"));
        KillTimer(kPollTimer); // halted: no timer may start the next cycle either
        m_bHalted = true;
        return false;
    }
    Widen(upper, lower);
    m_fUpperRange = upper;
    m_fLowerRange = lower;
    m_wndChart->SetUpper(upper);
    m_wndChart->SetLower(lower);
    m_editMaximum->setText(Fixed(upper, 1));
    m_editMinimum->setText(Fixed(lower, 1));
    QueuePollCycle();
    RestartPollTimer();
    return true;
}

void CDataGraphSingle::OnPrimary(int unitItem, int pvItem, int dataCount) {
    CHartComm& comm = Comm();
    comm.SetResponseOffset(unitItem);
    m_strPVUnit = trend::UnitText(comm.GetXInt8());
    comm.SetResponseOffset(pvItem);
    m_fPV = RoundPrinted(comm.GetFloat(), 4);
    // SV, TV and FV come with the maker's command as far as the answer carries them.
    const auto variable = [&](int item, int needed) {
        if (dataCount < needed)
            return 0.0f;
        comm.SetResponseOffset(item);
        return RoundPrinted(comm.GetFloat(), 4);
    };
    m_fSV = variable(4, 10);
    m_fTV = variable(6, 15);
    m_fFV = variable(8, 20);
    m_wndChart->AddValue(0, m_fPV);
    m_wndChart->Advance();
    RestartPollTimer();
}

void CDataGraphSingle::OnCurrent() {
    CHartComm& comm = Comm();
    comm.SetResponseOffset(0);
    m_fCurrent = RoundPrinted(comm.GetFloat(), 4);
    comm.SetResponseOffset(1);
    m_fPercent = RoundPrinted(comm.GetFloat(), 3);
    m_wndPercent->SetPercent(m_fPercent);
    m_wndMeter->UpdateNeedle(m_fCurrent);
    if (CCheckPropSheet* sheet = TrendSheet(); sheet && sheet->IsLogging())
        sheet->WriteSinglePVLine(comm.GetPollingAddress(), m_strPVUnit, m_fPV, m_fCurrent, m_fPercent);
    RestartPollTimer();
}

void CDataGraphSingle::ShowValues() {
    m_editCurrent->setText(FieldBinding::FormatFloat(m_fCurrent));
    m_editPercent->setText(FieldBinding::FormatFloat(m_fPercent));
    m_editPV->setText(FieldBinding::FormatFloat(m_fPV));
    m_labelUnit->setText(m_strPVUnit);
}

void CDataGraphSingle::OnLinkFailure(int state) {
    ShowLinkFailure(state);
    if (m_CommandQueue.IsEmpty())
        QueuePollCycle();
    SendNext();
}

bool CDataGraphSingle::OnApply() {
    const long long queryTime = trend::LeadingInt(m_editQueryTime->text());
    if (queryTime < CTrendSettings::kMinQueryTime || queryTime > CTrendSettings::kMaxQueryTime) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Invalid Query Time !"), vmc::BoxIcon::Error);
        return false;
    }
    m_nQueryTime = static_cast<int>(queryTime);
    if (m_bSettingsChanged) {
        m_bSettingsChanged = false;
        m_fUpperRange = trend::LeadingFloatValue(m_editMaximum->text());
        m_fLowerRange = trend::LeadingFloatValue(m_editMinimum->text());
        m_wndChart->SetUpper(m_fUpperRange);
        m_wndChart->SetLower(m_fLowerRange);
        Settings().WriteInt(trendkeys::kQueryTime, m_nQueryTime);
        Settings().WriteText(trendkeys::kPVUpperRange, trend::FormatTrimmedFloat(m_fUpperRange));
        Settings().WriteText(trendkeys::kPVLowerRange, trend::FormatTrimmedFloat(m_fLowerRange));
        if (m_CommandQueue.IsEmpty() && IsActivePage()) {
            QueuePollCycle();
            SendWhenQuiet();
        }
    }
    if (IsActivePage()) {
        m_bHalted = false;
        RestartPollTimer();
    }
    return true;
}

void CDataGraphSingle::OnSettingsEdited() {
    m_bSettingsChanged = true;
    SetModified(true);
}

void CDataGraphSingle::ApplyChartColours() {
    m_wndChart->SetBackColor(m_colBack);
    m_wndChart->SetGridColor(m_colGrid);
    m_wndChart->SetTextColor(m_colText);
    m_wndChart->SetAxisColor(m_colAxis);
}

void CDataGraphSingle::OnColourButton(Colour which) {
    QColor* member = which == Colour::Grid   ? &m_colGrid
                     : which == Colour::Line ? &m_colLine
                     : which == Colour::Back ? &m_colBack
                                             : &m_colText;
    const std::optional<QColor> chosen = m_chooseColour ? m_chooseColour(*member, this) : std::nullopt;
    if (!chosen)
        return;
    *member = *chosen;
    if (which == Colour::Line) {
        const float upper = trend::LeadingFloatValue(m_editMaximum->text());
        const float lower = trend::LeadingFloatValue(m_editMinimum->text());
        m_wndChart->ReplaceSeries(m_colLine, upper, lower);
        m_wndChart->AddValue(0, m_fPV);
    } else {
        ApplyChartColours();
        m_wndChart->SetScrollStep(4);
    }
    m_wndChart->repaint();
}
