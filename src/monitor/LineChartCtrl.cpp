#include "monitor/LineChartCtrl.h"

#include "monitor/RasterOps.h"
#include "monitor/RepaintCoalescer.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kGridPitch = 8;             // the cross-hatch cell
constexpr int kTickLeft = 55;             // ticks run from here to the left axis
constexpr int kLabelX = 6;
const QColor kUnbuiltBackground(192, 192, 192); // before the first build, as the window class paints

// Lines far outside the plot are clipped anyway; keeping them within this band keeps the
// conversion to pixels defined for any value (an empty scale maps to infinity).
constexpr double kFarOutside = 1.0e5;

bool IsGridLine(int coordinate) { return coordinate % kGridPitch == 0; }

} // namespace

CLineChartCtrl::CLineChartCtrl(QWidget* parent) : QWidget(parent), m_repaint(new CRepaintCoalescer(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CLineChartCtrl::~CLineChartCtrl() = default;

const CChartSeries* CLineChartCtrl::Series(int index) const {
    if (index < 0 || index >= SeriesCount())
        return nullptr;
    return m_series[static_cast<std::size_t>(index)].get();
}

CLineChartCtrl::PlotBox CLineChartCtrl::Plot() const {
    PlotBox box;
    box.left = kPlotLeft;
    box.top = kPlotTop;
    box.right = width() - kRightMargin;
    box.bottom = height() - m_nBottomMargin;
    return box;
}

bool CLineChartCtrl::IsRepaintPending() const { return m_repaint->IsPending(); }

int CLineChartCtrl::AddSeries(QColor colour, float upper, float lower) {
    m_series.push_back(std::make_unique<CChartSeries>(colour, upper, lower));
    RebuildFrame();
    return SeriesCount() - 1;
}

void CLineChartCtrl::ReplaceSeries(QColor colour, float upper, float lower) {
    m_series.clear();
    m_series.push_back(std::make_unique<CChartSeries>(colour, upper, lower));
    RebuildFrame();
}

bool CLineChartCtrl::RemoveSeries(int index) {
    if (index < 0 || index >= SeriesCount())
        return false;
    m_series.erase(m_series.begin() + index);
    Redraw(); // the remaining series keep their lines
    return true;
}

float CLineChartCtrl::AddValue(int index, float value) {
    if (index < 0 || index >= SeriesCount())
        return 0.0f;
    CChartSeries& series = *m_series[static_cast<std::size_t>(index)];
    const float former = series.Latest();
    series.AddSample(value);
    return former;
}

void CLineChartCtrl::Advance() {
    if (m_plot.isNull())
        return;
    DrawStep(true, [this](std::size_t k) { return m_series[k]->HasSample(); });
    m_repaint->Request();
}

void CLineChartCtrl::SetUpper(float value) {
    m_fUpper = value;
    Refresh();
}

void CLineChartCtrl::SetLower(float value) {
    m_fLower = value;
    Refresh();
}

void CLineChartCtrl::SetScrollStep(int pixels) {
    // A step below one pixel would stop or reverse the scroll and pile every segment on one column.
    if (pixels >= 1)
        m_nStep = pixels;
    Refresh();
}

void CLineChartCtrl::Refresh() {
    if (m_bNotYetShown) {
        m_bNotYetShown = false;
        return;
    }
    Redraw();
}

void CLineChartCtrl::Redraw() {
    m_bVerticalPhase = true;
    m_plot = QImage();
    RebuildFrame();
    ReplayHistory();
}

int CLineChartCtrl::LayerRatio() const { return std::max(1, qRound(devicePixelRatioF())); }

QRect CLineChartCtrl::DeviceRect(int left, int top, int right, int bottom) const {
    const int s = static_cast<int>(m_plot.isNull() ? LayerRatio() : m_plot.devicePixelRatio());
    return QRect(left * s, top * s, (right - left) * s, (bottom - top) * s);
}

void CLineChartCtrl::RebuildFrame() {
    const PlotBox box = Plot();
    if (m_frame.isNull())
        m_frame = rop::MakeLayer(size(), LayerRatio());
    {
        QPainter p(&m_frame);
        p.fillRect(QRect(QPoint(0, 0), size()), m_colBack);

        const int axisX = box.left;
        p.fillRect(QRect(axisX, box.top, 1, box.Height()), m_colAxis);
        for (int y : {box.top, box.Q1(), box.Q2(), box.Q3(), box.bottom})
            p.fillRect(QRect(kTickLeft, y, axisX - kTickLeft, 1), m_colAxis);
        p.fillRect(QRect(axisX, box.bottom, box.Width(), 1), m_colAxis);

        for (int y : {box.top, box.Q1(), box.Q2(), box.Q3()})
            for (int x = axisX; x < box.right; x += 2)
                p.fillRect(QRect(x, y, 1, 1), m_colAxis);

        DrawFrameLabels(p, box);
    }
    if (m_plot.isNull())
        m_plot = rop::MakeLayer(size(), LayerRatio());
    {
        QPainter p(&m_plot);
        FillCrossHatch(p, box);
    }
    update();
}

void CLineChartCtrl::DrawFrameLabels(QPainter& p, const PlotBox& box) {
    const float upper = m_fUpper;
    const float lower = m_fLower;
    const float mid = (upper + lower) / 2;
    const struct {
        float value;
        int top;
    } labels[] = {
        {upper, 3},
        {(upper + mid) / 2, box.Q1() - 7},
        {mid, box.Q2() - 7},
        {(lower + mid) / 2, box.Q3() - 7},
        {lower, box.bottom - 7},
    };
    p.setFont(font());
    p.setPen(m_colText);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(m_colBack);
    const int ascent = p.fontMetrics().ascent();
    for (const auto& label : labels)
        p.drawText(QPoint(kLabelX, label.top + ascent), QString::asprintf("%#5.2f", static_cast<double>(label.value)));
}

void CLineChartCtrl::FillCrossHatch(QPainter& p, const PlotBox& box) {
    if (box.IsEmpty())
        return;
    p.fillRect(QRect(box.left, box.top, box.Width(), box.Height()), m_colBack);
    for (int y = box.top; y < box.bottom; ++y)
        if (IsGridLine(y))
            p.fillRect(QRect(box.left, y, box.Width(), 1), m_colGrid);
    for (int x = box.left; x < box.right; ++x)
        if (IsGridLine(x))
            p.fillRect(QRect(x, box.top, 1, box.Height()), m_colGrid);
}

bool CLineChartCtrl::MapValue(float value, const PlotBox& box, int& y) const {
    const double span = static_cast<double>(m_fUpper) - static_cast<double>(m_fLower);
    const double offset = static_cast<double>(value) - static_cast<double>(m_fLower);
    const double v = box.bottom - box.Height() * offset / span;
    if (std::isnan(v))
        return false;
    y = static_cast<int>(std::clamp(v, -kFarOutside, kFarOutside));
    return true;
}

template <class Active> void CLineChartCtrl::DrawStep(bool render, Active isActive) {
    if (m_plot.isNull())
        return;
    const PlotBox box = Plot();
    m_bVerticalPhase = !m_bVerticalPhase;
    if (render && !box.IsEmpty()) {
        const int ratio = static_cast<int>(m_plot.devicePixelRatio());
        rop::ScrollLeft(m_plot, DeviceRect(box.left, box.top, box.right, box.bottom), m_nStep * ratio);

        QPainter p(&m_plot);
        p.setClipRect(QRect(box.left, box.top, box.Width(), box.Height()));
        const int stripLeft = box.right - m_nStep;
        p.fillRect(QRect(stripLeft, box.top, m_nStep, box.Height()), m_colBack);
        for (int y = box.top; y < box.bottom; ++y)
            if (IsGridLine(y))
                p.fillRect(QRect(stripLeft, y, m_nStep, 1), m_colGrid);
        if (m_bVerticalPhase)
            p.fillRect(QRect(box.right - m_nStep / 2, box.top, 1, box.Height()), m_colGrid);

        if (!m_bFirstPoint) {
            // Centre the line on its pixels when one logical pixel is several device pixels.
            if (ratio > 1)
                p.translate(0.5, 0.5);
            for (std::size_t k = 0; k < m_series.size(); ++k) {
                if (!isActive(k))
                    continue;
                const CChartSeries& s = *m_series[k];
                int y0 = 0;
                int y1 = 0;
                if (!MapValue(s.Previous(), box, y0) || !MapValue(s.Latest(), box, y1))
                    continue;
                p.setPen(QPen(s.Colour(), 1));
                p.drawLine(box.right - m_nStep - 1, y0, box.right - 1, y1);
            }
        }
    }
    m_bFirstPoint = false;
}

void CLineChartCtrl::ReplayHistory() {
    if (m_plot.isNull() || m_series.empty())
        return;
    // Series added later hold fewer values; they are aligned on their newest value, as they were
    // drawn live, and their first value draws a flat piece as it did then.
    int longest = 0;
    for (const auto& s : m_series)
        longest = std::max(longest, s->Count());
    if (longest == 0)
        return;
    const auto start = [&](std::size_t k) { return longest - m_series[k]->Count(); };

    // Steps whose drawing would scroll out of the plot entirely are only counted.
    const int steps = longest - 1;
    const PlotBox box = Plot();
    const int retained = (std::max(box.Width(), 0) + m_nStep - 1) / m_nStep + 1;
    const int firstRendered = std::max(0, steps - retained) + 1;

    float v = 0.0f;
    for (std::size_t k = 0; k < m_series.size(); ++k) {
        m_series[k]->RewindRead();
        if (start(k) == 0 && m_series[k]->Read(v))
            m_series[k]->SetPrevious(v);
    }
    for (int step = 1; step <= steps; ++step) {
        for (std::size_t k = 0; k < m_series.size(); ++k) {
            CChartSeries& s = *m_series[k];
            if (step > start(k) && s.Read(v)) {
                s.SetLatest(v);
            } else if (step == start(k) && s.Read(v)) {
                s.SetPrevious(v);
                s.SetLatest(v);
            }
        }
        const auto active = [&](std::size_t k) { return step >= start(k); };
        DrawStep(step >= firstRendered, active);
        for (std::size_t k = 0; k < m_series.size(); ++k)
            if (active(k))
                m_series[k]->SetPrevious(m_series[k]->Latest());
    }
}

void CLineChartCtrl::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (m_frame.isNull() || m_plot.isNull()) {
        p.fillRect(rect(), kUnbuiltBackground);
        return;
    }
    if (static_cast<int>(m_frame.devicePixelRatio()) != LayerRatio()) {
        m_frame = QImage();
        Redraw();
    }
    if (m_screen.size() != m_frame.size() || m_screen.devicePixelRatio() != m_frame.devicePixelRatio())
        m_screen = rop::MakeLayer(size(), static_cast<int>(m_frame.devicePixelRatio()));
    std::memcpy(m_screen.bits(), m_frame.constBits(), static_cast<std::size_t>(m_frame.sizeInBytes()));
    const PlotBox box = Plot();
    if (!box.IsEmpty())
        rop::OrInto(m_screen, m_plot, DeviceRect(box.left, box.top, box.right, box.bottom));
    p.drawImage(QPoint(0, 0), m_screen);
}

void CLineChartCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A hidden widget gets its pending resize late, at its first show or grab; same size, no work.
    if (m_frame.isNull() || m_frame.deviceIndependentSize().toSize() == size())
        return;
    m_frame = QImage();
    m_screen = QImage();
    Redraw();
}
