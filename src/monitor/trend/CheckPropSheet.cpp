#include "monitor/trend/CheckPropSheet.h"

#include "pages/common/PropertyPage.h"
#include "platform/MessageBox.h"
#include "platform/TimeScale.h"
#include "shell/PageHost.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace {
constexpr int kMsPerMinute = 60000;
} // namespace

CCheckPropSheet::CCheckPropSheet(IPageHost& host, QWidget* parent)
    : CPropertySheet(QStringLiteral("PV and DV Trend"), parent), m_settings(host.Profile()), m_log(host, m_settings) {
    UseExitButton();
    ApplyButton()->setText(QStringLiteral("&Apply"));
    m_logging = new QCheckBox(QStringLiteral("Data Logging"), this);
    m_logging->setObjectName(QString::number(kLoggingBoxId));
    ButtonRow()->insertWidget(0, m_logging); // at the left end, before the stretch
    connect(m_logging, &QCheckBox::clicked, this, [this] { OnLoggingBox(); });
    resize(900, 660); // room for the chart, the gauges and a list of a full loop
    m_autoSave.setSingleShot(false);
    connect(&m_autoSave, &QTimer::timeout, this, [this] { OnAutoSave(); });
}

CCheckPropSheet::~CCheckPropSheet() { CloseAtExit(); }

void CCheckPropSheet::showEvent(QShowEvent* e) {
    CPropertySheet::showEvent(e); // activates the first page
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    OnInitDialog();
}

void CCheckPropSheet::OnInitDialog() {
    m_logging->setMinimumWidth(OkButton()->sizeHint().width() + 10);
    if (m_settings.GetInt(trendkeys::kAlwaysFileLogging) != 0)
        m_logging->setChecked(true);
    OnLoggingBox();
}

void CCheckPropSheet::OnLoggingBox() {
    if (m_logging->isChecked() || !m_bLogging)
        StartLogging();
    else
        StopLogging();
    PressApply();
}

void CCheckPropSheet::PressApply() {
    for (int i = 0; i < PageCount(); ++i) {
        CPropertyPage* p = Page(i);
        if (p->IsInitialised() && p->OnApply())
            p->SetModified(false);
    }
}

void CCheckPropSheet::StartLogging() {
    if (!m_logging->isChecked())
        return;
    if (!m_log.Open(ActiveIndex())) {
        m_log.Close();
        m_bLogging = false;
        vmc::PlainBox(QStringLiteral("File Create Failed"));
        return;
    }
    m_bLogging = true;
    m_logging->setToolTip(m_log.FilePath());
    const int minutes = m_settings.AutoSaveMinutes();
    if (minutes > 0)
        m_autoSave.start(vmc::ScaledMs(minutes * kMsPerMinute));
    else
        m_autoSave.stop(); // 0 minutes: no auto-save rather than a reopen every few milliseconds
}

void CCheckPropSheet::StopLogging() {
    if (!m_bLogging)
        return;
    m_autoSave.stop();
    const bool ok = m_log.StopWithFooter();
    m_bLogging = false;
    m_logging->setToolTip(QString());
    if (!ok)
        Failed(QStringLiteral("File Write Failed"));
}

void CCheckPropSheet::CheckPageSwitch() {
    if (!m_bLogging || ActiveIndex() == m_log.LogPage())
        return;
    m_autoSave.stop();
    const bool ok = m_log.CloseWithDashRule();
    m_bLogging = false;
    if (!ok) {
        Failed(QStringLiteral("File Write Failed"));
        return;
    }
    StartLogging();
}

void CCheckPropSheet::OnAutoSave() {
    if (!m_bLogging) {
        m_autoSave.stop();
        return;
    }
    if (!m_log.Reopen()) {
        m_autoSave.stop();
        m_log.Close();
        m_bLogging = false;
        vmc::PlainBox(QStringLiteral("File Create Failed"));
    }
}

void CCheckPropSheet::CloseAtExit() {
    if (!m_bLogging)
        return;
    m_autoSave.stop();
    if (m_settings.GetInt(trendkeys::kAlwaysFileLogging) != 0)
        m_log.CloseWithDashRule();
    else
        m_log.StopWithFooter();
    m_bLogging = false;
}

void CCheckPropSheet::done(int result) {
    CloseAtExit();
    CPropertySheet::done(result);
}

bool CCheckPropSheet::Writing() const { return m_logging->isChecked() && m_bLogging; }

void CCheckPropSheet::Failed(const QString& text) {
    m_autoSave.stop();
    m_log.Close();
    m_bLogging = false;
    vmc::PlainBox(text);
}

void CCheckPropSheet::Check(CTrendLog::Result result) {
    if (result == CTrendLog::Result::Failed)
        Failed(QStringLiteral("File Write Failed"));
}

void CCheckPropSheet::WriteSinglePVLine(int address, const QString& unit, float pv, float current, float percent) {
    if (Writing())
        Check(m_log.WriteSinglePVLine(address, unit, pv, current, percent));
}

CMultiDropLogLine* CCheckPropSheet::Collector() { return Writing() ? m_log.Collector() : nullptr; }

void CCheckPropSheet::WriteMultiDropPVLine() {
    if (Writing())
        Check(m_log.WriteMultiDropPVLine());
}

void CCheckPropSheet::WriteDVLine(int address, const DVLineValues& values) {
    if (Writing())
        Check(m_log.WriteDVLine(address, values));
}

void CCheckPropSheet::WriteDVLineWithCurrent(int address, const DVLineValues& values, const QString& current) {
    if (Writing())
        Check(m_log.WriteDVLineWithCurrent(address, values, current));
}
