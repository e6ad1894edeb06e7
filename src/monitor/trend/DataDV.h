#pragma once
// "Dynamic Variable" of one transmitter: PV and SV with their units, the loop current and the
// percent of range, polled every query time with the maker's command 210 (then 2 for the percent)
// or, for a device of another maker, with command 3 alone. CDataDVPage is page 1 of the trend
// sheet and logs each sample there; CDataDV is the same page in the compact layout of the
// calibration sheets.
#include "monitor/trend/TrendPage.h"

#include <array>

class QLabel;
class QLineEdit;

class CDynamicVariablesPage : public CTrendPage {
    Q_OBJECT
public:
    static constexpr int kPollTimer = 100;
    enum class Layout { Trend, Calibration };

    CDynamicVariablesPage(IPageHost& host, Layout layout, QWidget* parent = nullptr);

    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnCancel() override;

    // PV, SV, TV, FV as last shown, with their unit texts.
    float Value(int variable) const { return m_fValue[static_cast<std::size_t>(variable)]; }
    QString UnitText(int variable) const { return m_strUnit[static_cast<std::size_t>(variable)]; }
    QString CurrentText() const { return m_strCurrent; }
    float Percent() const { return m_fPercent; }

protected:
    void OnAnswer(int command, int dataCount) override;
    void OnLinkFailure(int state) override;
    void OnPageTimer(int id) override;
    void ResumePolling() override;
    void OnRetry(int command) override;

private:
    void BuildForm(Layout layout);
    void StartCycle();
    void Send(int command);
    void ReadVariables(int dataCount);
    void LogSample();
    void ShowValues();

    std::array<float, 4> m_fValue{};
    std::array<QString, 4> m_strUnit;
    QString m_strCurrent;
    float m_fPercent = 0.0f;
    bool m_bSVUsed = true;

    std::array<QLineEdit*, 4> m_editValue{};
    std::array<QLabel*, 4> m_labelUnit{};
    QLineEdit* m_editCurrent = nullptr;
    QLineEdit* m_editPercent = nullptr;
};

class CDataDVPage final : public CDynamicVariablesPage {
    Q_OBJECT
public:
    explicit CDataDVPage(IPageHost& host, QWidget* parent = nullptr)
        : CDynamicVariablesPage(host, Layout::Trend, parent) {}
};

class CDataDV final : public CDynamicVariablesPage {
    Q_OBJECT
public:
    explicit CDataDV(IPageHost& host, QWidget* parent = nullptr)
        : CDynamicVariablesPage(host, Layout::Calibration, parent) {}
};
