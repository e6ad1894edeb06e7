#pragma once
// "Data Trend" for one transmitter: polls PV (command 1, or the maker's 210 with SV, TV and FV)
// and the loop current with the percent of range (command 2) every query time, plots PV on the
// strip chart, shows the percent on the bar and the current on the analog meter, and hands every
// sample to the trend sheet's log. Command 15 runs once first and gives the chart its scale.
#include "monitor/AnalogMeter.h"
#include "monitor/trend/TrendPage.h"
#include "monitor/trend/TrendWidgets.h"

#include <QColor>

class CLineChartCtrl;
class CLineProgressCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

class CDataGraphSingle : public CTrendPage {
    Q_OBJECT
public:
    static constexpr int kPollTimer = 2;

    explicit CDataGraphSingle(IPageHost& host, QWidget* parent = nullptr);
    ~CDataGraphSingle() override;

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    void OnCancel() override;

    void SetColourChooser(trend::ColourChooser chooser) { m_chooseColour = std::move(chooser); }

    CLineChartCtrl* Chart() const { return m_wndChart; }
    CLineProgressCtrl* PercentBar() const { return m_wndPercent; }
    CMeterView* MeterView() const { return m_wndMeter; }
    const CAnalogMeter& Meter() const { return m_meter; }
    float PV() const { return m_fPV; }
    float SV() const { return m_fSV; }
    float TV() const { return m_fTV; }
    float FV() const { return m_fFV; }
    float UpperRange() const { return m_fUpperRange; }
    float LowerRange() const { return m_fLowerRange; }
    bool IsMakerDevice() const { return m_bMakerDevice; }
    bool SettingsChanged() const { return m_bSettingsChanged; }
    QColor LineColour() const { return m_colLine; }

protected:
    void OnAnswer(int command, int dataCount) override;
    void OnLinkFailure(int state) override;
    void OnPageTimer(int id) override;
    void ResumePolling() override;

private:
    enum class Colour { Grid, Line, Back, Text };

    void BuildForm();
    void QueuePollCycle();
    void RestartPollTimer();
    bool OnRange();
    void OnPrimary(int unitItem, int pvItem, int dataCount);
    void OnCurrent();
    void ShowValues();
    void OnSettingsEdited();
    void OnColourButton(Colour which);
    void ApplyChartColours();

    CAnalogMeter m_meter;
    trend::ColourChooser m_chooseColour;

    int m_nQueryTime = 1000;
    float m_fUpperRange = 100.0f;
    float m_fLowerRange = -20.0f;
    float m_fPV = 0.0f;
    float m_fSV = 0.0f;
    float m_fTV = 0.0f;
    float m_fFV = 0.0f;
    float m_fCurrent = 0.0f;
    float m_fPercent = 0.0f;
    QString m_strPVUnit;
    bool m_bMakerDevice = false;
    bool m_bSettingsChanged = false;
    bool m_bHalted = false; // an invalid range stopped the polling until activation or apply

    QColor m_colBack{0, 0, 64};
    QColor m_colGrid{0, 0, 0};
    QColor m_colText{192, 192, 255};
    QColor m_colAxis{192, 192, 255};
    QColor m_colLine{255, 255, 255};

    CLineChartCtrl* m_wndChart = nullptr;
    CLineProgressCtrl* m_wndPercent = nullptr;
    CMeterView* m_wndMeter = nullptr;
    QLineEdit* m_editCurrent = nullptr;
    QLineEdit* m_editPercent = nullptr;
    QLineEdit* m_editPV = nullptr;
    QLabel* m_labelUnit = nullptr;
    QLineEdit* m_editMaximum = nullptr;
    QLineEdit* m_editMinimum = nullptr;
    QLineEdit* m_editQueryTime = nullptr;
    CSpinButton* m_spinMaximum = nullptr;
    CSpinButton* m_spinMinimum = nullptr;
    QPushButton* m_buttonAverage = nullptr;
};
