#include "monitor/AnalogMeter.h"

#include "Pixels.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

using pixels::Around;

namespace {

constexpr QRgb kSentinel = 0xff0080ffu;

bool IsNeedle(QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; }
bool IsInk(QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; }
bool IsFaceInk(QRgb p) {
    return std::abs(qRed(p) - qGreen(p)) < 8 && std::abs(qGreen(p) - qBlue(p)) < 8 && qRed(p) > 60 && qRed(p) < 200;
}

// The loop-current meter of the trend page.
void MakeCurrentMeter(CAnalogMeter& m) {
    m.SetRange(4.0, 20.0);
    m.SetScaleDecimals(1);
    m.SetValueDecimals(2);
    m.SetUnits(QStringLiteral("mA"));
}

QImage Canvas(QSize logical, qreal ratio = 1.0) {
    QImage img((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(kSentinel);
    return img;
}

void DrawInto(CAnalogMeter& m, QImage& img, const QRect& target) {
    QPainter p(&img);
    m.Draw(p, target);
}

// Where the meter's geometry puts the pivot and how long the needle is, in device pixels.
struct Dial {
    int cx, cy, r;
    // A point on the needle's axis at the given fraction of its length.
    QPoint Along(double degrees, double fraction) const {
        const double a = degrees * std::numbers::pi / 180.0;
        return QPoint(static_cast<int>(std::lround(cx + fraction * r * std::sin(a))),
                      static_cast<int>(std::lround(cy - fraction * r * std::cos(a))));
    }
};

// The needle shows at `degrees` and at neither of the other two probe angles.
void ExpectNeedleAt(const QImage& img, const Dial& d, double degrees) {
    for (double probe : {-45.0, 0.0, 45.0}) {
        const QPoint p = d.Along(probe, 0.5);
        if (probe == degrees)
            EXPECT_TRUE(pixels::Any(img, Around(p.x(), p.y(), 1), IsNeedle)) << "needle missing at " << probe;
        else
            EXPECT_FALSE(pixels::Any(img, Around(p.x(), p.y(), 2), IsNeedle)) << "needle found at " << probe;
    }
}

} // namespace

TEST(AnalogMeter, NeedleAngleFollowsTheValueAtEverySize) {
    struct Size {
        QSize size;
        Dial dial;
    } sizes[] = {
        {{200, 150}, {100, 120, 120}},
        {{640, 480}, {320, 384, 384}},
        {{160, 240}, {80, 192, 96}},
        {{200, 150}, {100, 120, 120}}, // back to a size drawn before
    };
    struct Value {
        double value;
        double degrees;
    } values[] = {{4.0, -45.0}, {20.0, 45.0}, {12.0, 0.0}, {24.0, 45.0}, {0.0, -45.0}, {-1.0e300, -45.0}};

    CAnalogMeter meter; // one meter through all sizes: a new rectangle rebuilds the layers
    MakeCurrentMeter(meter);
    for (const auto& s : sizes) {
        for (const auto& v : values) {
            SCOPED_TRACE(testing::Message() << s.size.width() << "x" << s.size.height() << " value " << v.value);
            QImage img = Canvas(s.size);
            QPainter p(&img);
            meter.Draw(p, QRect(QPoint(0, 0), s.size));
            meter.UpdateNeedle(p, v.value);
            p.end();
            ExpectNeedleAt(img, s.dial, v.degrees);
            EXPECT_FALSE(pixels::Any(img, img.rect(), [](QRgb c) { return c == kSentinel; }));
        }
    }
}

TEST(AnalogMeter, FaceLayout) {
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    QImage img = Canvas({200, 150});
    DrawInto(meter, img, QRect(0, 0, 200, 150));

    // White with a black border; the needle rests on the left end (value 0 on a 4..20 scale).
    EXPECT_EQ(img.pixel(0, 0), 0xff000000u);
    EXPECT_EQ(img.pixel(199, 149), 0xff000000u);
    EXPECT_EQ(img.pixel(1, 1), 0xffffffffu);
    EXPECT_EQ(img.pixel(190, 140), 0xffffffffu);
    ExpectNeedleAt(img, {100, 120, 120}, -45.0);

    // Arc ends at (15, 35) and (185, 35), the middle tick at the top of the arc, the hub disc.
    EXPECT_TRUE(pixels::Any(img, Around(185, 35, 1), IsFaceInk));
    EXPECT_TRUE(pixels::Any(img, Around(100, 120 - 120 + 4, 1), IsFaceInk));
    EXPECT_FALSE(pixels::Any(img, Around(100, 120 - 120 + 14, 2), IsFaceInk));
    EXPECT_TRUE(IsFaceInk(img.pixel(100, 120)));
    // Scale labels in the face colour under the arc ends, nothing above the hub row between them.
    EXPECT_TRUE(pixels::Any(img, QRect(1, 98, 77, 29), IsFaceInk));
    EXPECT_TRUE(pixels::Any(img, QRect(122, 98, 77, 29), IsFaceInk));
    EXPECT_EQ(meter.MinimumText(), QStringLiteral("4.0"));
    EXPECT_EQ(meter.MaximumText(), QStringLiteral("20.0"));
}

namespace {

// Horizontal extent of the ink in an area, or 0.
int InkWidth(const QImage& img, const QRect& area, const pixels::Test& ink) {
    int left = -1, right = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        if (pixels::Any(img, QRect(x, area.top(), 1, area.height()), ink)) {
            if (left < 0)
                left = x;
            right = x;
        }
    return left < 0 ? 0 : right - left + 1;
}

} // namespace

TEST(AnalogMeter, ValueTextAndLabelsFollowTheirDecimals) {
    // A tall rectangle leaves room above the arc: value area is (1, 1) to (159, 95).
    const QRect target(0, 0, 160, 240);
    const QRect valueArea(1, 1, 158, 94);
    const QRect minLabel(1, 156, 62, 48);

    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    QImage img = Canvas(target.size());
    {
        QPainter p(&img);
        meter.Draw(p, target);
        meter.UpdateNeedle(p, 12.0);
    }
    EXPECT_EQ(meter.ValueText(), QStringLiteral("12.00 mA"));
    const int twoDecimals = InkWidth(img, valueArea, IsInk);
    const int oneDecimalLabel = InkWidth(img, minLabel, IsFaceInk);
    EXPECT_GT(twoDecimals, 40);
    EXPECT_GT(oneDecimalLabel, 10);

    meter.SetValueDecimals(0);
    meter.SetScaleDecimals(3);
    img = Canvas(target.size());
    DrawInto(meter, img, target);
    EXPECT_EQ(meter.ValueText(), QStringLiteral("12 mA"));
    EXPECT_EQ(meter.MinimumText(), QStringLiteral("4.000"));
    EXPECT_LT(InkWidth(img, valueArea, IsInk), twoDecimals);
    EXPECT_GT(InkWidth(img, minLabel, IsFaceInk), oneDecimalLabel);

    // Past the end of the scale the needle stops but the text tells the truth.
    meter.SetValueDecimals(2);
    img = Canvas(target.size());
    {
        QPainter p(&img);
        meter.Draw(p, target);
        meter.UpdateNeedle(p, 24.0);
    }
    EXPECT_EQ(meter.ValueText(), QStringLiteral("24.00 mA"));
    ExpectNeedleAt(img, {80, 192, 96}, 45.0);

    meter.SetValueDecimals(-4); // no negative precision: plain integer
    EXPECT_EQ(meter.ValueText(), QStringLiteral("24 mA"));
}

TEST(AnalogMeter, UpdateNeedleBeforeTheFirstDrawChangesNothing) {
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    EXPECT_FALSE(meter.UpdateNeedle(12.0));
    QImage img = Canvas({200, 150});
    {
        QPainter p(&img);
        meter.UpdateNeedle(p, 12.0);
    }
    EXPECT_FALSE(pixels::Any(img, img.rect(), [](QRgb c) { return c != kSentinel; }));
    EXPECT_EQ(meter.Value(), 0.0);

    DrawInto(meter, img, QRect(0, 0, 200, 150));
    ExpectNeedleAt(img, {100, 120, 120}, -45.0);
}

TEST(AnalogMeter, UpdateNeedlePaintsOnlyANewValueAtTheLastTarget) {
    const QRect target(40, 30, 200, 150);
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    QImage first = Canvas({300, 220});
    DrawInto(meter, first, target);
    EXPECT_EQ(first.pixel(39, 29), kSentinel);
    EXPECT_EQ(first.pixel(40, 30), 0xff000000u);
    EXPECT_EQ(first.pixel(239, 179), 0xff000000u);
    EXPECT_EQ(first.pixel(240, 180), kSentinel);

    QImage img = Canvas({300, 220});
    {
        QPainter p(&img);
        meter.UpdateNeedle(p, 0.0); // the value already shown
    }
    EXPECT_FALSE(pixels::Any(img, img.rect(), [](QRgb c) { return c != kSentinel; }));

    {
        QPainter p(&img);
        meter.UpdateNeedle(p, 12.0);
    }
    EXPECT_EQ(meter.Value(), 12.0);
    ExpectNeedleAt(img, {140, 150, 120}, 0.0);
    EXPECT_EQ(img.pixel(39, 29), kSentinel);
    EXPECT_EQ(img.pixel(240, 180), kSentinel);
}

TEST(AnalogMeter, SettersShowAtTheNextDraw) {
    const QRect target(0, 0, 200, 150);
    const Dial dial{100, 120, 120};
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    QImage img = Canvas(target.size());
    {
        QPainter p(&img);
        meter.Draw(p, target);
        meter.UpdateNeedle(p, 12.0);
    }
    ExpectNeedleAt(img, dial, 0.0);

    meter.SetRange(12.0, 20.0);
    QImage still = Canvas(target.size());
    {
        QPainter p(&still);
        meter.UpdateNeedle(p, 12.0); // same value: nothing, although the range changed
    }
    EXPECT_FALSE(pixels::Any(still, still.rect(), [](QRgb c) { return c != kSentinel; }));

    DrawInto(meter, img, target);
    ExpectNeedleAt(img, dial, -45.0);
    EXPECT_EQ(meter.MinimumText(), QStringLiteral("12.0"));
}

TEST(AnalogMeter, DegenerateRangesAndValuesKeepTheNeedleOnTheDial) {
    struct Case {
        const char* name;
        double minimum, maximum, value, degrees;
    } cases[] = {
        {"empty range at its value", 5.0, 5.0, 5.0, -45.0},
        {"empty range above", 5.0, 5.0, 6.0, 45.0},
        {"empty range below", 5.0, 5.0, 4.0, -45.0},
        {"not a number", 4.0, 20.0, std::numeric_limits<double>::quiet_NaN(), -45.0},
        {"infinity", 4.0, 20.0, std::numeric_limits<double>::infinity(), 45.0},
        {"minus infinity", 4.0, 20.0, -std::numeric_limits<double>::infinity(), -45.0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        CAnalogMeter meter;
        meter.SetRange(tc.minimum, tc.maximum);
        QImage img = Canvas({200, 150});
        {
            QPainter p(&img);
            meter.Draw(p, QRect(0, 0, 200, 150));
            meter.UpdateNeedle(p, tc.value);
        }
        ExpectNeedleAt(img, {100, 120, 120}, tc.degrees);
    }
}

TEST(AnalogMeter, OddRectanglesAreSafe) {
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    // Much wider than tall: the arc leaves the rectangle at the top, the needle still shows.
    QImage img = Canvas({400, 100});
    {
        QPainter p(&img);
        meter.Draw(p, QRect(0, 0, 400, 100));
        meter.UpdateNeedle(p, 12.0);
    }
    EXPECT_TRUE(pixels::Any(img, Around(200, 40, 1), IsNeedle));

    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 200), QSize(-5, 10)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        QImage small = Canvas({10, 10});
        QPainter p(&small);
        meter.Draw(p, QRect(QPoint(0, 0), size));
        meter.UpdateNeedle(p, 5.0 + size.width());
        p.end();
        EXPECT_EQ(meter.HasLayers(), size.width() > 0 && size.height() > 0);
    }
}

TEST(AnalogMeter, DrawsInDevicePixelsOnHighDensityTargets) {
    CAnalogMeter meter;
    MakeCurrentMeter(meter);
    QImage img = Canvas({200, 150}, 2.0);
    ASSERT_EQ(img.size(), QSize(400, 300));
    {
        QPainter p(&img);
        meter.Draw(p, QRect(0, 0, 200, 150));
        meter.UpdateNeedle(p, 20.0);
    }
    // The whole device area is the meter, bordered by one logical pixel (two device pixels).
    EXPECT_EQ(img.pixel(1, 1), 0xff000000u);
    EXPECT_EQ(img.pixel(398, 298), 0xff000000u);
    EXPECT_EQ(img.pixel(2, 2), 0xffffffffu);
    ExpectNeedleAt(img, {200, 240, 240}, 45.0);
    // Drawn at device resolution, not drawn small and doubled: a doubled picture has every aligned
    // 2x2 block in one colour, a sharp one breaks blocks along every slanted or curved edge.
    int mixedBlocks = 0;
    for (int y = 0; y + 1 < img.height(); y += 2)
        for (int x = 0; x + 1 < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            if (img.pixel(x + 1, y) != c || img.pixel(x, y + 1) != c || img.pixel(x + 1, y + 1) != c)
                ++mixedBlocks;
        }
    EXPECT_GT(mixedBlocks, 200);
}
