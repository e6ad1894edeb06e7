#pragma once
// "Data Trend" of a multi-drop loop: each pass asks every selected transmitter in turn for its
// dynamic variables (command 3), plots each one's PV as a series of its own, lists PV and SV per
// device, and hands the pass to the trend sheet's log as one line. The pause of the query time
// follows the last device of a pass.
#include "monitor/trend/TrendPage.h"

#include <QColor>
#include <map>
#include <vector>

class CLineChartCtrl;
class CSpinButton;
class QLineEdit;
class QTableWidget;

namespace trend {
// Series colours in device order; a loop of more devices starts over.
QColor PaletteColour(int index);
} // namespace trend

class CDataGraphMulti : public CMultiDropTrendPage {
    Q_OBJECT
public:
    static constexpr int kPollTimer = 1;
    enum Column { kLegend, kPolling, kType, kTag, kPV, kSV, kStatus, kColumns };

    explicit CDataGraphMulti(IPageHost& host, QWidget* parent = nullptr);
    ~CDataGraphMulti() override;

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    void OnCancel() override;

    CLineChartCtrl* Chart() const { return m_wndChart; }
    QTableWidget* List() const { return m_list; }
    // The series of a polling address; -1 for none (address 0 has none).
    int SeriesOf(int address) const;
    bool JustApplied() const { return m_bJustApplied; }

protected:
    void OnAnswer(int command, int dataCount) override;
    void OnLinkFailure(int state) override;
    void OnPageTimer(int id) override;
    void ResumePolling() override;
    void OnRetry(int command) override;

private:
    void BuildForm();
    void BuildRows();
    int RowOf(int address) const;
    void SetCell(int row, int column, const QString& text);
    void OnVariables(int dataCount);
    void OnDeviceFailed(const QString& status);
    void MoveOn();
    bool IsBusyRefusal() const;

    bool m_bQueryTimeChanged = false;
    bool m_bJustApplied = false;
    std::map<int, int> m_seriesOf; // polling address -> series

    CLineChartCtrl* m_wndChart = nullptr;
    QTableWidget* m_list = nullptr;
    QLineEdit* m_editMaximum = nullptr;
    QLineEdit* m_editMinimum = nullptr;
    QLineEdit* m_editQueryTime = nullptr;
    CSpinButton* m_spinMaximum = nullptr;
    CSpinButton* m_spinMinimum = nullptr;
};
