#include "monitor/LineProgressCtrl.h"
#include "monitor/ProgressBar.h"

#include "Pixels.h"

#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

bool IsGreen(QRgb p) { return p == qRgb(0, 255, 0); }
bool IsBlack(QRgb p) { return p == qRgb(0, 0, 0); }

} // namespace

TEST(LineProgress, BarFillsItsFractionOfTheScale) {
    struct Size {
        QSize size;
        int top, bottom, right;
    } sizes[] = {{{100, 155}, 10, 145, 90}, {{120, 400}, 10, 390, 110}};
    struct Case {
        const char* name;
        float percent;
        double fraction; // of the scale height, truncated to pixels; < 0: no bar
    } cases[] = {
        {"half", 50.0f, 0.5}, {"quarter", 25.0f, 0.25}, {"full", 100.0f, 1.0}, {"over", 150.0f, 1.0},
        {"under", -5.0f, -1}, {"zero", 0.0f, -1}, {"not a number", std::numeric_limits<float>::quiet_NaN(), -1},
    };
    for (const auto& s : sizes)
        for (const auto& tc : cases) {
            SCOPED_TRACE(testing::Message() << s.size.height() << " high, " << tc.name);
            CLineProgressCtrl bar;
            bar.resize(s.size);
            bar.SetPercent(tc.percent);
            const QImage img = pixels::Shot(bar);
            if (tc.fraction < 0) {
                EXPECT_EQ(bar.BarTop(), s.bottom);
                EXPECT_FALSE(pixels::Any(img, img.rect(), IsGreen));
                continue;
            }
            const int top = s.bottom - static_cast<int>((s.bottom - s.top) * tc.fraction);
            EXPECT_EQ(bar.BarTop(), top);
            // Black outline from (45, top) to (right - 1, bottom - 1), green inside.
            EXPECT_TRUE(IsBlack(img.pixel(60, top)));
            EXPECT_TRUE(IsGreen(img.pixel(60, top + 1)));
            EXPECT_TRUE(IsGreen(img.pixel(60, s.bottom - 2)));
            EXPECT_TRUE(IsBlack(img.pixel(60, s.bottom - 1)));
            EXPECT_TRUE(IsBlack(img.pixel(45, top + 5)));
            EXPECT_TRUE(IsGreen(img.pixel(46, top + 5)));
            EXPECT_TRUE(IsGreen(img.pixel(s.right - 2, top + 5)));
            EXPECT_TRUE(IsBlack(img.pixel(s.right - 1, top + 5)));
            EXPECT_FALSE(pixels::Any(img, QRect(0, 0, img.width(), top), IsGreen));
            EXPECT_FALSE(pixels::Any(img, QRect(s.right, 0, img.width(), img.height()), IsGreen));
        }
}

TEST(LineProgress, ScaleLines) {
    CLineProgressCtrl bar;
    bar.resize(100, 155);
    bar.Draw();
    const QImage img = pixels::Shot(bar);
    const QRgb background = qRgb(244, 243, 238);
    EXPECT_EQ(img.pixel(20, 150), background);
    for (int y = 10; y < 145; ++y) {
        ASSERT_TRUE(IsBlack(img.pixel(45, y))) << y;
        ASSERT_TRUE(IsBlack(img.pixel(90, y))) << y;
    }
    // Ticks at the quarter lines 10, 43, 77, 109 (135 / 4 * 3), 145; level lines reach past the right side only
    // at the top and the bottom.
    for (int y : {10, 43, 77, 109, 145}) {
        EXPECT_TRUE(IsBlack(img.pixel(40, y))) << y;
        EXPECT_EQ(img.pixel(39, y), background) << y;
        EXPECT_TRUE(IsBlack(img.pixel(70, y))) << y;
    }
    EXPECT_TRUE(IsBlack(img.pixel(94, 10)));
    EXPECT_TRUE(IsBlack(img.pixel(94, 145)));
    EXPECT_EQ(img.pixel(95, 145), background);
    EXPECT_EQ(img.pixel(94, 77), background);
}

TEST(LineProgress, KeepsItsPercentAcrossResizeAndRepaintsLater) {
    CLineProgressCtrl bar;
    bar.resize(100, 155);
    bar.SetPercent(50.0f);
    EXPECT_TRUE(bar.IsRepaintPending());
    EXPECT_EQ(bar.BarTop(), 78);
    bar.resize(100, 410);
    pixels::Shot(bar); // delivers the pending resize of a hidden widget
    EXPECT_EQ(bar.BarTop(), 400 - 195);
}

class StatusProgress : public ::testing::Test {
protected:
    void SetUp() override {
        pane = new QLabel(QStringLiteral("Ready"));
        pane->setFixedSize(300, 20);
        status.addWidget(pane);
        status.resize(400, 24);
        status.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&status));
    }
    int TextRun(const QString& text) const {
        const QFontMetrics fm(pane->font());
        return fm.horizontalAdvance(text) + 2 * fm.horizontalAdvance(QLatin1Char(' '));
    }

    QStatusBar status;
    QLabel* pane = nullptr;
    CProgressBar progress;
};

TEST_F(StatusProgress, PlacedAfterItsTextAcrossItsShareOfThePane) {
    ASSERT_TRUE(progress.Create(pane, QStringLiteral("Reading"), 50, 10, true));
    EXPECT_EQ(pane->text(), QStringLiteral("Reading"));
    EXPECT_EQ(progress.PaneTextAtCreate(), QStringLiteral("Ready"));
    ASSERT_EQ(pane->contentsRect(), QRect(0, 0, 300, 20));
    EXPECT_EQ(progress.Bar()->parentWidget(), pane);
    EXPECT_EQ(progress.Bar()->geometry(), QRect(TextRun("Reading"), 2, 150 - TextRun("Reading"), 16));

    progress.SetText(QString());
    EXPECT_EQ(progress.Bar()->geometry(), QRect(0, 2, 150, 16));
    progress.SetSize(100);
    EXPECT_EQ(progress.Bar()->geometry(), QRect(0, 2, 300, 16));
    progress.SetSize(250); // a share beyond the pane is the whole pane
    EXPECT_EQ(progress.Bar()->geometry(), QRect(0, 2, 300, 16));
    progress.SetText(QStringLiteral("A much longer text than the pane has room for, by far, really"));
    progress.SetSize(0);
    EXPECT_EQ(progress.Bar()->width(), 0);

    // The bar follows the pane when the status bar lays it out anew.
    progress.SetText(QStringLiteral("Reading"));
    progress.SetSize(50);
    pane->setFixedSize(200, 30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->height() == 30; }));
    EXPECT_EQ(progress.Bar()->geometry(), QRect(TextRun("Reading"), 3, 100 - TextRun("Reading"), 24));
}

TEST_F(StatusProgress, PositionRangeAndSteps) {
    ASSERT_TRUE(progress.Create(pane, QStringLiteral("Reading"), 100, 10));
    struct Op {
        const char* name;
        std::function<int()> call;
        int returned;
        int pos;
    } ops[] = {
        {"set", [&] { return progress.SetPos(5); }, 0, 5},
        {"set above the range", [&] { return progress.SetPos(50); }, 5, 10},
        {"offset", [&] { return progress.OffsetPos(-3); }, 10, 7},
        {"offset below the range", [&] { return progress.OffsetPos(-100); }, 7, 0},
        {"step size", [&] { return progress.SetStep(4); }, 1, 0},
        {"step", [&] { return progress.StepIt(); }, 0, 4},
        {"step", [&] { return progress.StepIt(); }, 4, 8},
        {"step past the top starts over", [&] { return progress.StepIt(); }, 8, 0},
        {"offset near the integer limit", [&] { return progress.OffsetPos(std::numeric_limits<int>::max()); }, 0, 10},
    };
    for (const auto& op : ops) {
        SCOPED_TRACE(op.name);
        EXPECT_EQ(op.call(), op.returned);
        EXPECT_EQ(progress.Pos(), op.pos);
        EXPECT_EQ(progress.Bar()->value(), op.pos);
    }

    progress.SetRange(20, 40); // the position moves into the new range
    EXPECT_EQ(progress.Pos(), 20);
    progress.SetRange(5, 5); // an empty range shows an empty bar, not a busy indicator
    EXPECT_EQ(progress.Pos(), 5);
    EXPECT_LT(progress.Bar()->minimum(), progress.Bar()->maximum());
    EXPECT_EQ(progress.Bar()->value(), progress.Bar()->minimum());
}

TEST_F(StatusProgress, ClearHidesAndBlanksUntilTheNextSetter) {
    ASSERT_TRUE(progress.Create(pane, QStringLiteral("Writing"), 100, 10));
    EXPECT_TRUE(progress.IsShown());
    progress.Clear();
    EXPECT_FALSE(progress.IsShown());
    EXPECT_EQ(pane->text(), QStringLiteral(" "));
    progress.SetPos(3);
    EXPECT_TRUE(progress.IsShown());
    progress.Clear();
    progress.SetText(QStringLiteral("Again"));
    EXPECT_TRUE(progress.IsShown());
    EXPECT_EQ(pane->text(), QStringLiteral("Again"));
}

TEST_F(StatusProgress, FillsItsFractionSmoothOrInBlocks) {
    for (bool smooth : {true, false}) {
        SCOPED_TRACE(smooth ? "smooth" : "blocks");
        ASSERT_TRUE(progress.Create(pane, QString(), 100, 10, smooth));
        progress.SetPos(5);
        const QImage img = pixels::Shot(*progress.Bar());
        const QRgb fill = progress.Bar()->palette().color(QPalette::Highlight).rgb();
        const auto isFill = [fill](QRgb p) { return p == fill; };
        const int y = img.height() / 2;
        const int w = img.width();
        EXPECT_TRUE(isFill(img.pixel(w / 4, y)) || isFill(img.pixel(w / 4 + 2, y)));
        EXPECT_FALSE(pixels::Any(img, QRect(w * 3 / 5, 0, w, img.height()), isFill));
        int gaps = 0;
        for (int x = pixels::Leftmost(img, y, isFill); x < pixels::Rightmost(img, y, isFill); ++x)
            gaps += isFill(img.pixel(x, y)) ? 0 : 1;
        if (smooth)
            EXPECT_EQ(gaps, 0);
        else
            EXPECT_GT(gaps, 3);
    }
}

TEST(StatusProgressLifetime, WithoutAPaneNothingHappens) {
    CProgressBar progress;
    EXPECT_FALSE(progress.Create(nullptr, QStringLiteral("x")));
    EXPECT_FALSE(progress.SetText(QStringLiteral("y")));
    EXPECT_FALSE(progress.SetSize(50));
    EXPECT_EQ(progress.SetPos(3), 0);
    progress.StepIt();
    progress.Clear();
    EXPECT_FALSE(progress.IsCreated());
    EXPECT_FALSE(progress.IsShown());
}

TEST(StatusProgressLifetime, ThePaneMayGoFirst) {
    CProgressBar progress;
    auto pane = std::make_unique<QLabel>();
    ASSERT_TRUE(progress.Create(pane.get(), QStringLiteral("Reading"), 60, 10));
    pane.reset(); // takes the bar widget with it
    EXPECT_FALSE(progress.IsCreated());
    EXPECT_FALSE(progress.SetText(QStringLiteral("after")));
    progress.SetPos(4);
    progress.Clear();

    // And the other way round: the bar widget goes with the controller.
    QLabel other;
    {
        CProgressBar shortLived;
        ASSERT_TRUE(shortLived.Create(&other, QStringLiteral("x")));
        EXPECT_EQ(other.findChildren<QProgressBar*>().size(), 1);
    }
    EXPECT_TRUE(other.findChildren<QProgressBar*>().isEmpty());
    other.resize(50, 10); // no filter left behind
}
