// The controls on a screen of twice the pixel density. The scale factor must be in place before
// the test main creates the application, hence the namespace-scope initialiser.
#include "monitor/LineChartCtrl.h"
#include "monitor/LineProgressCtrl.h"

#include "Pixels.h"

#include <gtest/gtest.h>

namespace {

[[maybe_unused]] const bool kDoubleDensity = qputenv("QT_SCALE_FACTOR", "2");

bool IsRed(QRgb p) { return qRed(p) == 255; }
bool IsGreen(QRgb p) { return p == qRgb(0, 255, 0); }

} // namespace

TEST(HiDpi, ChartDrawsAndScrollsInDevicePixels) {
    CLineChartCtrl chart;
    chart.resize(200, 130);
    ASSERT_EQ(chart.devicePixelRatioF(), 2.0);
    chart.SetTextColor(QColor(0, 0, 96));
    chart.SetAxisColor(QColor(0, 0, 96));
    chart.SetLower(0.0f);
    chart.SetUpper(90.0f);
    chart.AddSeries(QColor(255, 0, 0), 100.0f, 0.0f);
    for (int i = 0; i < 3; ++i) {
        chart.AddValue(0, 40.0f);
        chart.Advance();
    }
    const QImage img = pixels::Shot(chart);
    ASSERT_EQ(img.size(), QSize(400, 260));
    // Two flat segments at y(40) = 60, each logical pixel two device pixels.
    for (int y : {120, 121}) {
        EXPECT_EQ(pixels::Leftmost(img, y, IsRed), 2 * (189 - 2 * 4)) << y;
        EXPECT_EQ(pixels::Rightmost(img, y, IsRed), 2 * 189 + 1) << y;
    }
    EXPECT_FALSE(pixels::Any(img, QRect(0, 0, 400, 120), IsRed));
    EXPECT_FALSE(pixels::Any(img, QRect(0, 122, 400, 260), IsRed));
}

TEST(HiDpi, PercentBarAtDoubleDensity) {
    CLineProgressCtrl bar;
    bar.resize(100, 155);
    bar.SetPercent(50.0f); // bar top 78
    const QImage img = pixels::Shot(bar);
    ASSERT_EQ(img.size(), QSize(200, 310));
    EXPECT_FALSE(IsGreen(img.pixel(120, 2 * 78 + 1)));
    EXPECT_TRUE(IsGreen(img.pixel(120, 2 * 79)));
    EXPECT_TRUE(IsGreen(img.pixel(2 * 89 - 1, 200)));
    EXPECT_FALSE(IsGreen(img.pixel(2 * 89, 200)));
}
