// The trend pages drawn at a small and a large sheet size: the chart, the bar and the meter must
// show the live values where their scales put them, at whatever size the layout gives them.
#include "TrendFixture.h"

#include "monitor/LineChartCtrl.h"
#include "monitor/LineProgressCtrl.h"
#include "monitor/Pixels.h"
#include "platform/TimeScale.h"

#include <cmath>

using namespace testing_support;
using pixels::Any;

namespace {

const QSize kSizes[] = {{720, 500}, {1800, 1200}};

bool Near(QRgb p, QColor c, int tolerance = 40) {
    return std::abs(qRed(p) - c.red()) <= tolerance && std::abs(qGreen(p) - c.green()) <= tolerance &&
           std::abs(qBlue(p) - c.blue()) <= tolerance;
}
pixels::Test Is(QColor c) {
    return [c](QRgb p) { return Near(p, c); };
}

// Row of a value on the chart's current scale.
int RowOf(const CLineChartCtrl& chart, float v) {
    const auto box = chart.Plot();
    return static_cast<int>(box.bottom - box.Height() * (v - chart.Lower()) / (chart.Upper() - chart.Lower()));
}

// The newest segment of a series: near the right edge of the plot at the row of its value. The plot
// is laid over the frame's background, so a line shows as its colour OR that background.
void ExpectLineAt(const QImage& img, const CLineChartCtrl& chart, float value, QColor line) {
    const QColor colour = QColor::fromRgb(line.rgb() | qRgb(0, 0, 64));
    const auto box = chart.Plot();
    const int y = RowOf(chart, value);
    EXPECT_TRUE(Any(img, QRect(box.right - 12, y - 2, 10, 5), Is(colour)))
        << "no line at y " << y << " in a chart of " << img.width() << "x" << img.height();
    // The built frame covers the whole control: nothing of the window class's grey is left.
    EXPECT_FALSE(Any(img, img.rect(), [](QRgb p) { return p == qRgb(192, 192, 192); }));
}

} // namespace

class TrendRenderTest : public TrendTest {
protected:
    void Resize(QSize size) {
        sheet->resize(size);
        QCoreApplication::processEvents();
        // New samples after the resize, so the live drawing (not only the replay) is at the new size.
        line->ClearWrites();
        ASSERT_TRUE(WaitPolled(6));
        QTest::qWait(vmc::ScaledMs(1200)); // the coalesced repaint
    }
};

TEST_F(TrendRenderTest, SingleDevicePageShowsChartBarAndMeterAtEverySize) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(5));
    for (QSize size : kSizes) {
        SCOPED_TRACE(size.width());
        Resize(size);

        const QImage chart = pixels::Shot(*single->Chart());
        ExpectLineAt(chart, *single->Chart(), 50.0f, QColor(255, 255, 255));
        // Labels in the text colour left of the axis, the background colour inside the plot.
        EXPECT_TRUE(Any(chart, QRect(0, 0, 55, chart.height()), Is(QColor(192, 192, 255))));
        EXPECT_TRUE(Any(chart, QRect(70, 20, 20, 20), Is(QColor(0, 0, 64))));

        // 50 %: green up to the middle of the scale, none in its upper half.
        CLineProgressCtrl* bar = single->PercentBar();
        const QImage barImg = pixels::Shot(*bar);
        const QRect scale = bar->ScaleRect();
        const int x = (scale.left() + scale.right()) / 2;
        const int quarter = scale.top() + scale.height() * 3 / 4;
        const int threeQuarters = scale.top() + scale.height() / 4;
        EXPECT_TRUE(Any(barImg, QRect(x, quarter, 2, 2), Is(QColor(0, 255, 0))));
        EXPECT_FALSE(Any(barImg, QRect(x, threeQuarters, 2, 2), Is(QColor(0, 255, 0))));

        // 12 mA on a 4..20 meter: the needle stands upright over the pivot.
        CMeterView* meter = single->MeterView();
        const QImage meterImg = pixels::Shot(*meter);
        const QRect dial = meter->MeterRect();
        ASSERT_TRUE(meter->rect().contains(dial));
        EXPECT_NEAR(dial.width(), dial.height(), 1);
        const int w = dial.width(), h = dial.height();
        const int cx = dial.x() + w / 2, cy = dial.y() + h - h / 5, r = w * 60 / 100;
        const int reach = std::min(r / 2, cy - 4);
        ASSERT_GT(reach, 4) << "meter too flat to show its needle";
        const QColor red(255, 0, 0);
        const auto ink = [](QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; };
        EXPECT_TRUE(Any(meterImg, pixels::Around(cx, cy - reach, 1), Is(red)));
        const int side = static_cast<int>(reach * std::sin(M_PI / 4));
        EXPECT_FALSE(Any(meterImg, pixels::Around(cx - side, cy - side, 1), Is(red)));
        EXPECT_FALSE(Any(meterImg, pixels::Around(cx + side, cy - side, 1), Is(red)));
        // The value text shows above the arc and stays inside the dial's frame.
        EXPECT_TRUE(Any(meterImg, QRect(dial.left() + 2, dial.top() + 2, w - 4, cy - r - dial.top() - 2), ink));
        EXPECT_FALSE(Any(meterImg, QRect(0, dial.top() + 2, dial.left(), dial.height() / 2), ink));
        EXPECT_FALSE(Any(meterImg, QRect(dial.right() + 1, dial.top() + 2, w, dial.height() / 2), ink));
    }
}

TEST_F(TrendRenderTest, MultiDropPageDrawsOneColouredLinePerDeviceAtEverySize) {
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP510", 2, 0x00A101, 50.0f, "PT-101");
    Select({1, 2});
    OpenMultiSheet();
    ASSERT_TRUE(WaitPolled(4));
    for (QSize size : kSizes) {
        SCOPED_TRACE(size.width());
        Resize(size);
        const QImage chart = pixels::Shot(*multi->Chart());
        ExpectLineAt(chart, *multi->Chart(), 85.0f, QColor(255, 0, 0));
        ExpectLineAt(chart, *multi->Chart(), 50.0f, QColor(0, 255, 0));
    }
}

TEST_F(TrendRenderTest, AStepInTheProcessShowsAsAStepOnTheChart) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(7));
    loop.With([](sim::SimLoop& l) { return l.AtAddress(0)->stepOffset = 30.0f; });
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(6));
    QTest::qWait(vmc::ScaledMs(1200));
    const QImage chart = pixels::Shot(*single->Chart());
    const auto box = single->Chart()->Plot();
    const QColor white(255, 255, 255);
    // The newest samples stand at 80, the older ones further left at 50, joined by a rising edge.
    EXPECT_TRUE(Any(chart, QRect(box.right - 8, RowOf(*single->Chart(), 80.0f) - 1, 6, 3), Is(white)));
    EXPECT_FALSE(Any(chart, QRect(box.right - 8, RowOf(*single->Chart(), 50.0f) - 1, 6, 3), Is(white)));
    EXPECT_TRUE(Any(chart, QRect(box.left, RowOf(*single->Chart(), 50.0f) - 1, box.Width() - 20, 3), Is(white)));
}
