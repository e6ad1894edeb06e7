#pragma once
// Scrolling strip chart. Each Advance shifts the plot left by the scroll step and draws one segment
// per series at the right edge; the series keep their last values so the whole plot can be redrawn
// after a change of scale, step, colour or size. Drawing goes to two layers (frame: axes, level
// lines and labels; plot: grid and lines) that the paint handler ORs together.
#include "monitor/ChartSeries.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

class CRepaintCoalescer;

class CLineChartCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPlotLeft = 60;
    static constexpr int kPlotTop = 10;
    static constexpr int kRightMargin = 10;

    // The plot area in client pixels; right and bottom are exclusive.
    struct PlotBox {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        bool IsEmpty() const { return right <= left || bottom <= top; }
        int Q1() const { return top + Height() / 4; }
        int Q2() const { return top + Height() / 2; }
        int Q3() const { return top + Height() / 4 * 3; }
    };

    explicit CLineChartCtrl(QWidget* parent = nullptr);
    ~CLineChartCtrl() override;

    // Series are addressed by index in the order they were added.
    int AddSeries(QColor colour, float upper, float lower);
    void ReplaceSeries(QColor colour, float upper, float lower);
    bool RemoveSeries(int index);
    // Returns the series' former latest value; an index outside the series list is ignored (0).
    float AddValue(int index, float value);
    void Advance();

    void SetUpper(float value);
    void SetLower(float value);
    void SetScrollStep(int pixels);

    void SetBackColor(QColor c) { m_colBack = c; }
    void SetGridColor(QColor c) { m_colGrid = c; }
    void SetTextColor(QColor c) { m_colText = c; }
    void SetAxisColor(QColor c) { m_colAxis = c; }

    int SeriesCount() const { return static_cast<int>(m_series.size()); }
    const CChartSeries* Series(int index) const;
    float Upper() const { return m_fUpper; }
    float Lower() const { return m_fLower; }
    int ScrollStep() const { return m_nStep; }
    PlotBox Plot() const;
    bool IsRepaintPending() const;

    QSize sizeHint() const override { return {400, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();
    void Redraw(); // rebuild both layers from scratch and replay the history
    void RebuildFrame();
    void ReplayHistory();
    template <class Active> void DrawStep(bool render, Active isActive);
    void DrawFrameLabels(QPainter& p, const PlotBox& box);
    void FillCrossHatch(QPainter& p, const PlotBox& box);
    bool MapValue(float value, const PlotBox& box, int& y) const;
    QRect DeviceRect(int left, int top, int right, int bottom) const;
    int LayerRatio() const;

    std::vector<std::unique_ptr<CChartSeries>> m_series;
    float m_fLower = 10000.0f;
    float m_fUpper = -2000.0f;
    int m_nStep = 4;
    int m_nBottomMargin = 30;
    QColor m_colBack{0, 0, 0};
    QColor m_colGrid{0, 0, 0};
    QColor m_colText{255, 255, 255};
    QColor m_colAxis{255, 255, 255};
    bool m_bFirstPoint = true;
    bool m_bVerticalPhase = false;
    bool m_bNotYetShown = true;
    QImage m_frame;
    QImage m_plot;
    QImage m_screen; // composed picture, kept to spare an allocation per paint
    CRepaintCoalescer* m_repaint;
};
