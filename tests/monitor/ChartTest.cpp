#include "monitor/LineChartCtrl.h"
#include "monitor/RepaintCoalescer.h"
#include "platform/TimeScale.h"

#include "Pixels.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using pixels::Around;
using pixels::Shot;

namespace {

const QColor kGrid(0, 64, 0);
const QColor kAxis(0, 0, 96);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

// Each series colour owns a channel at full strength that nothing else in the picture reaches.
bool IsRed(QRgb p) { return qRed(p) == 255; }
bool IsGreen(QRgb p) { return qGreen(p) == 255; }
bool IsBlue(QRgb p) { return qBlue(p) == 255; }
bool IsAxis(QRgb p) { return qBlue(p) == 96; }

struct Chart {
    explicit Chart(QSize size) {
        ctrl.resize(size);
        ctrl.SetBackColor(Qt::black);
        ctrl.SetGridColor(kGrid);
        ctrl.SetTextColor(kAxis);
        ctrl.SetAxisColor(kAxis);
    }
    // The first scale call only marks the chart as set up; the second one redraws.
    void Scale(float lower, float upper) {
        ctrl.SetLower(lower);
        ctrl.SetUpper(upper);
    }
    void Sample(float v) {
        ctrl.AddValue(0, v);
        ctrl.Advance();
    }
    QImage Shot() { return pixels::Shot(ctrl); }
    CLineChartCtrl::PlotBox Box() const { return ctrl.Plot(); }

    CLineChartCtrl ctrl;
};

} // namespace

// Sizes chosen so that y(v) = bottom - v on the scale 0..height.
struct SizeCase {
    const char* name;
    QSize size;
    int step;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class ChartScroll : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ChartScroll, SegmentAppearsAtRightEdgeAndMovesLeftByStep) {
    Chart c(GetParam().size);
    const auto box = c.Box();
    c.Scale(0.0f, static_cast<float>(box.Height()));
    c.ctrl.SetScrollStep(GetParam().step);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    const int step = GetParam().step;
    const int y40 = box.bottom - 40;
    const int y20 = box.bottom - 20;

    c.Sample(40.0f); // the chart's first sample only positions the pen
    EXPECT_FALSE(pixels::Any(c.Shot(), c.ctrl.rect(), IsRed));

    c.Sample(40.0f);
    QImage img = c.Shot();
    EXPECT_EQ(pixels::Leftmost(img, y40, IsRed), box.right - step - 1);
    EXPECT_EQ(pixels::Rightmost(img, y40, IsRed), box.right - 1);
    EXPECT_FALSE(pixels::Any(img, QRect(0, 0, img.width(), y40), IsRed));
    EXPECT_FALSE(pixels::Any(img, QRect(0, y40 + 1, img.width(), img.height()), IsRed));

    c.Sample(20.0f);
    img = c.Shot();
    // The flat segment moved left by one step, the new one runs from it down to 20.
    EXPECT_EQ(pixels::Leftmost(img, y40, IsRed), box.right - 2 * step - 1);
    EXPECT_TRUE(IsRed(img.pixel(box.right - 1, y20)));
    EXPECT_FALSE(IsRed(img.pixel(box.right - 1, y40)));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChartScroll,
                         ::testing::Values(SizeCase{"small", {200, 130}, 4}, SizeCase{"large", {900, 500}, 4},
                                           SizeCase{"wide_step", {900, 500}, 9}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Chart, FrameGeometry) {
    Chart c({200, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    const auto box = c.Box();
    ASSERT_EQ(box.left, 60);
    ASSERT_EQ(box.top, 10);
    ASSERT_EQ(box.right, 190);
    ASSERT_EQ(box.bottom, 100);
    const QImage img = c.Shot();

    // Left axis and the ticks to its left at the quarter lines.
    for (int y = box.top; y < box.bottom; ++y)
        ASSERT_TRUE(IsAxis(img.pixel(60, y))) << y;
    for (int y : {10, 32, 55, 76, 100}) {
        EXPECT_TRUE(IsAxis(img.pixel(55, y))) << y;
        EXPECT_TRUE(IsAxis(img.pixel(59, y))) << y;
        EXPECT_FALSE(IsAxis(img.pixel(54, y))) << y;
    }
    // Bottom axis, solid; level lines dotted.
    for (int x = 60; x < box.right; ++x)
        ASSERT_TRUE(IsAxis(img.pixel(x, box.bottom))) << x;
    for (int y : {10, 32, 55, 76}) {
        EXPECT_TRUE(IsAxis(img.pixel(100, y))) << y;
        EXPECT_FALSE(IsAxis(img.pixel(101, y))) << y;
    }
    // The grid is an 8-pixel cross-hatch inside the plot only.
    EXPECT_EQ(img.pixel(64, 30), kGrid.rgb());
    EXPECT_EQ(img.pixel(100, 40), kGrid.rgb());
    EXPECT_EQ(img.pixel(101, 41), QColor(Qt::black).rgb());
    EXPECT_EQ(img.pixel(195, 40), QColor(Qt::black).rgb());
}

TEST(Chart, ValuesOutsideTheScaleAreCutAtThePlotEdge) {
    struct Case {
        const char* name;
        float value;
        int edgeRow; // where the steep segment leaves the plot
    } cases[] = {{"above upper", 200.0f, 10}, {"below lower", -50.0f, 99}, {"far above", 1.0e30f, 10},
                 {"far below", -1.0e30f, 99}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Chart c({200, 130});
        c.Scale(0.0f, 90.0f);
        c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
        c.Sample(45.0f);
        c.Sample(45.0f);
        c.Sample(tc.value);
        const QImage img = c.Shot();
        const auto box = c.Box();
        EXPECT_TRUE(pixels::Any(img, QRect(box.right - 6, tc.edgeRow, 6, 1), IsRed));
        EXPECT_FALSE(pixels::Any(img, QRect(0, 0, img.width(), box.top), IsRed));
        EXPECT_FALSE(pixels::Any(img, QRect(0, box.bottom, img.width(), img.height()), IsRed));
        EXPECT_FALSE(pixels::Any(img, QRect(box.right, 0, img.width(), img.height()), IsRed));
    }
}

TEST(Chart, UnsetScaleIsInvertedFrom10000AtBottomToMinus2000AtTop) {
    struct Case {
        float value;
        int row; // -1: nothing visible
    } cases[] = {
        {4000.0f, 55},   // centre line
        {-2000.0f, 10},  // top edge
        {7000.0f, 77},   // 100 - 90 * 3000 / 12000 = 77.5
        {10000.0f, -1},  // on the bottom axis, outside the plot
        {-3000.0f, -1},  // beyond the top
        {11000.0f, -1},  // beyond the bottom
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.value);
        Chart c({200, 130});
        c.ctrl.AddSeries(kRed, 100.0f, -20.0f);
        c.Sample(tc.value);
        c.Sample(tc.value);
        const QImage img = c.Shot();
        if (tc.row < 0) {
            EXPECT_FALSE(pixels::Any(img, img.rect(), IsRed));
            continue;
        }
        EXPECT_EQ(pixels::Rightmost(img, tc.row, IsRed), 189);
        EXPECT_FALSE(pixels::Any(img, QRect(0, 0, 200, tc.row), IsRed));
        EXPECT_FALSE(pixels::Any(img, QRect(0, tc.row + 1, 200, 130), IsRed));
    }
}

TEST(Chart, EmptyScaleOrNotANumberDrawsNoGarbage) {
    Chart c({200, 130});
    c.Scale(50.0f, 50.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    c.Sample(50.0f);
    c.Sample(50.0f); // 0 / 0: no line
    EXPECT_FALSE(pixels::Any(c.Shot(), c.ctrl.rect(), IsRed));
    c.Sample(60.0f); // off to infinity: cut at the top
    QImage img = c.Shot();
    EXPECT_FALSE(pixels::Any(img, QRect(0, 0, 200, 10), IsRed));

    Chart n({200, 130});
    n.Scale(0.0f, 90.0f);
    n.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    n.Sample(std::numeric_limits<float>::quiet_NaN());
    n.Sample(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FALSE(pixels::Any(n.Shot(), n.ctrl.rect(), IsRed));
}

TEST(Chart, VerticalGridLineEveryOtherSample) {
    Chart c({200, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    for (int i = 0; i < 40; ++i) // scroll the initial cross-hatch out
        c.Sample(45.0f);
    const QImage img = c.Shot();
    const int y = 41; // between horizontal grid lines
    int lines = 0;
    for (int x = 61; x < 190; ++x)
        if (img.pixel(x, y) == kGrid.rgb()) {
            ++lines;
            EXPECT_EQ((190 - 2 - x) % 8, 0) << x;
        }
    EXPECT_EQ(lines, 16);
}

TEST(ChartData, StoresValuesPerSeriesAndReturnsFormerLatest) {
    CLineChartCtrl chart;
    EXPECT_EQ(chart.AddSeries(kRed, 100.0f, 0.0f), 0);
    EXPECT_EQ(chart.AddSeries(kGreen, 50.0f, -50.0f), 1);
    EXPECT_EQ(chart.AddValue(0, 1.5f), 0.0f);
    EXPECT_EQ(chart.AddValue(0, 2.5f), 1.5f);
    EXPECT_EQ(chart.AddValue(1, -7.0f), 0.0f);
    EXPECT_EQ(chart.AddValue(0, 3.5f), 2.5f);

    const CChartSeries* s0 = chart.Series(0);
    const CChartSeries* s1 = chart.Series(1);
    ASSERT_TRUE(s0 && s1);
    EXPECT_EQ(s0->Values(), (std::vector<float>{1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(s0->Latest(), 3.5f);
    EXPECT_EQ(s0->Previous(), 2.5f);
    EXPECT_EQ(s1->Values(), (std::vector<float>{-7.0f}));
    EXPECT_EQ(s1->Previous(), -7.0f); // a first sample stands for its own predecessor
    EXPECT_EQ(s1->Colour(), kGreen);
    EXPECT_EQ(s1->Upper(), 50.0f);
    EXPECT_EQ(s1->Lower(), -50.0f);
}

TEST(ChartData, HistoryKeepsTheLast299Values) {
    CLineChartCtrl chart;
    chart.AddSeries(kRed, 100.0f, 0.0f);
    std::vector<float> expected;
    for (int i = 0; i < 350; ++i) {
        chart.AddValue(0, static_cast<float>(i));
        if (i >= 350 - 299)
            expected.push_back(static_cast<float>(i));
    }
    EXPECT_EQ(chart.Series(0)->Values(), expected);

    // The ring keeps working across many wraps.
    for (int i = 0; i < 1000; ++i)
        chart.AddValue(0, static_cast<float>(i));
    const auto values = chart.Series(0)->Values();
    ASSERT_EQ(values.size(), 299u);
    EXPECT_EQ(values.front(), 701.0f);
    EXPECT_EQ(values.back(), 999.0f);
}

TEST(ChartData, InvalidIndicesAreIgnored) {
    CLineChartCtrl chart;
    chart.resize(200, 130);
    EXPECT_EQ(chart.AddValue(0, 5.0f), 0.0f); // no series at all
    chart.Advance();
    chart.AddSeries(kRed, 100.0f, 0.0f);
    chart.AddValue(0, 1.0f);
    for (int index : {-1, 1, 2, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(chart.AddValue(index, 9.0f), 0.0f);
        EXPECT_FALSE(chart.RemoveSeries(index));
        EXPECT_EQ(chart.Series(index), nullptr);
    }
    EXPECT_EQ(chart.SeriesCount(), 1);
    EXPECT_EQ(chart.Series(0)->Values(), (std::vector<float>{1.0f}));
}

TEST(ChartData, AddRemoveAndReplaceSeries) {
    Chart c({200, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    c.ctrl.AddSeries(kBlue, 100.0f, 0.0f);
    c.ctrl.AddSeries(kGreen, 100.0f, 0.0f);
    for (int i = 0; i < 5; ++i) {
        c.ctrl.AddValue(0, 20.0f);
        c.ctrl.AddValue(1, 45.0f);
        c.ctrl.AddValue(2, 70.0f);
        c.ctrl.Advance();
    }
    QImage img = c.Shot();
    ASSERT_TRUE(IsBlue(img.pixel(185, 55)));

    ASSERT_TRUE(c.ctrl.RemoveSeries(1));
    ASSERT_EQ(c.ctrl.SeriesCount(), 2);
    EXPECT_EQ(c.ctrl.Series(1)->Colour(), kGreen);
    EXPECT_EQ(c.ctrl.Series(1)->Values(), std::vector<float>(5, 70.0f));
    // The removed line is gone, the others are drawn again from their history.
    img = c.Shot();
    EXPECT_FALSE(pixels::Any(img, img.rect(), IsBlue));
    EXPECT_EQ(pixels::Leftmost(img, 80, IsRed), 189 - 4 * 4);
    EXPECT_EQ(pixels::Leftmost(img, 30, IsGreen), 189 - 4 * 4);

    c.ctrl.ReplaceSeries(kBlue, 10.0f, 0.0f);
    ASSERT_EQ(c.ctrl.SeriesCount(), 1);
    EXPECT_EQ(c.ctrl.Series(0)->Colour(), kBlue);
    EXPECT_TRUE(c.ctrl.Series(0)->Values().empty());
    c.Sample(45.0f); // the new series' first sample draws a flat piece, never from an unset value
    img = c.Shot();
    EXPECT_TRUE(IsBlue(img.pixel(187, 55)));
    EXPECT_FALSE(pixels::Any(img, QRect(0, 0, 200, 55), IsBlue));
    EXPECT_FALSE(pixels::Any(img, QRect(0, 56, 200, 130), IsBlue));
}

TEST(ChartHistory, RedrawAfterAChangeReproducesTheLivePicture) {
    Chart c({200, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    for (int i = 0; i < 350; ++i)
        c.Sample(static_cast<float>((i * 7) % 90));
    const QImage live = pixels::Mask(c.Shot(), IsRed);

    c.ctrl.SetScrollStep(4);
    EXPECT_EQ(pixels::Mask(c.Shot(), IsRed), live);
    c.ctrl.SetUpper(45.0f);
    EXPECT_NE(pixels::Mask(c.Shot(), IsRed), live);
    c.ctrl.SetUpper(90.0f);
    EXPECT_EQ(pixels::Mask(c.Shot(), IsRed), live);
}

TEST(ChartHistory, RedrawShowsExactlyTheStoredValues) {
    Chart c({900, 500}); // wide enough for 349 steps of 2
    const auto box = c.Box();
    c.Scale(0.0f, static_cast<float>(box.Height()));
    c.ctrl.SetScrollStep(2);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    for (int i = 0; i < 350; ++i)
        c.Sample(100.0f);
    const int y = box.bottom - 100;
    EXPECT_EQ(pixels::Leftmost(c.Shot(), y, IsRed), box.right - 1 - 349 * 2);

    c.ctrl.SetLower(0.0f); // same scale, redrawn from the 299 stored values: 298 segments
    const QImage img = c.Shot();
    EXPECT_EQ(pixels::Leftmost(img, y, IsRed), box.right - 1 - 298 * 2);
    EXPECT_EQ(pixels::Rightmost(img, y, IsRed), box.right - 1);
}

TEST(ChartHistory, ASeriesAddedLaterIsRedrawnAtItsOwnTime) {
    Chart c({400, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    for (int i = 0; i < 20; ++i)
        c.Sample(20.0f);
    c.ctrl.AddSeries(kGreen, 100.0f, 0.0f);
    for (int i = 0; i < 10; ++i) {
        c.ctrl.AddValue(0, 20.0f);
        c.ctrl.AddValue(1, 70.0f);
        c.ctrl.Advance();
    }
    const int right = c.Box().right;
    const int liveGreen = pixels::Leftmost(c.Shot(), 30, IsGreen);
    EXPECT_EQ(liveGreen, right - 1 - 10 * 4);

    c.ctrl.SetScrollStep(4);
    const QImage img = c.Shot();
    EXPECT_EQ(pixels::Leftmost(img, 30, IsGreen), liveGreen);
    EXPECT_EQ(pixels::Leftmost(img, 80, IsRed), right - 1 - 29 * 4);
}

TEST(Chart, ResizeRebuildsAtTheNewSizeFromHistory) {
    Chart c({200, 130});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    for (int i = 0; i < 6; ++i)
        c.Sample(45.0f);
    c.ctrl.resize(300, 220);
    const auto box = c.Box();
    ASSERT_EQ(box.right, 290);
    const QImage img = c.Shot();
    ASSERT_EQ(img.size(), QSize(300, 220));
    // y(45) on the new plot: 190 - 180 * 45 / 90
    EXPECT_EQ(pixels::Leftmost(img, 100, IsRed), 289 - 5 * 4);
    EXPECT_EQ(pixels::Rightmost(img, 100, IsRed), 289);
}

TEST(Chart, ScrollStepBelowOnePixelIsRefused) {
    CLineChartCtrl chart;
    chart.SetScrollStep(7);
    chart.SetScrollStep(0);
    EXPECT_EQ(chart.ScrollStep(), 7);
    chart.SetScrollStep(-3);
    EXPECT_EQ(chart.ScrollStep(), 7);
}

TEST(Chart, TinyChartsAndHugeStepsStayInsideThePlot) {
    struct Case {
        QSize size;
        int step;
    } cases[] = {{{0, 0}, 4}, {{30, 20}, 1}, {{80, 60}, 1}, {{80, 60}, 500}, {{200, 130}, 500}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.size.width() << "x" << tc.size.height() << " step " << tc.step);
        Chart c(tc.size);
        c.Scale(0.0f, 90.0f);
        c.ctrl.SetScrollStep(tc.step);
        c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
        for (int i = 0; i < 5; ++i)
            c.Sample(i % 2 ? 45.0f : 80.0f);
        EXPECT_EQ(c.ctrl.Series(0)->Values().size(), 5u);
        const auto box = c.Box();
        const QImage img = c.Shot();
        if (box.IsEmpty()) {
            EXPECT_FALSE(pixels::Any(img, img.rect(), IsRed));
            continue;
        }
        const QRect plot(box.left, box.top, box.Width(), box.Height());
        EXPECT_TRUE(pixels::Any(img, plot, IsRed));
        QImage outside = img;
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            for (int x = plot.left(); x <= plot.right(); ++x)
                outside.setPixel(x, y, 0xff000000u);
        EXPECT_FALSE(pixels::Any(outside, outside.rect(), IsRed));
    }
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(o, e);
    }
};

// Runs a test body on another time scale and restores the suite's.
class ScopedTimeScale {
public:
    explicit ScopedTimeScale(double scale) : m_saved(vmc::TimeScale()) { vmc::SetTimeScale(scale); }
    ~ScopedTimeScale() { vmc::SetTimeScale(m_saved); }

private:
    double m_saved;
};

TEST(Chart, FastSamplesRepaintThroughOneCoalescingTimer) {
    // A period of 20 ms, long against a burst of samples handled between event-loop turns.
    ScopedTimeScale scale(0.5);
    Chart c({300, 200});
    c.Scale(0.0f, 90.0f);
    c.ctrl.AddSeries(kRed, 100.0f, 0.0f);
    c.ctrl.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c.ctrl));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c.ctrl.IsRepaintPending(); }));
    QCoreApplication::processEvents();
    PaintCounter counter;
    c.ctrl.installEventFilter(&counter);

    QElapsedTimer clock;
    clock.start();
    constexpr int kSamples = 20;
    for (int i = 0; i < kSamples; ++i) {
        c.Sample(static_cast<float>(i % 90));
        EXPECT_TRUE(c.ctrl.IsRepaintPending());
        QCoreApplication::processEvents();
    }
    const double elapsed = static_cast<double>(clock.elapsed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c.ctrl.IsRepaintPending(); }));
    QCoreApplication::processEvents();
    c.ctrl.removeEventFilter(&counter);

    // Paints never come faster than the period: at most one per period begun during the burst,
    // plus the one that ends it.
    const double period = vmc::ScaledMs(CRepaintCoalescer::kPeriodMs);
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, elapsed / (0.9 * period) + 2) << "burst took " << elapsed << " ms";
}
