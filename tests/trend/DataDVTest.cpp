// The dynamic-variable page of one transmitter, on the trend sheet and on any other sheet.
#include "TrendFixture.h"

#include "pages/common/PropertySheet.h"

#include <QLabel>

using namespace testing_support;

class DataDVTest : public TrendTest {};

TEST_F(DataDVTest, MakerDeviceShowsPVSVCurrentAndPercent) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(4));
    const auto polled = PolledRequests();
    EXPECT_EQ(std::vector<Polled>(polled.begin(), polled.begin() + 4), (std::vector<Polled>{{210, 0}, {2, 0}, {210, 0}, {2, 0}}));
    EXPECT_EQ(Text(*dvPage, 1237), QStringLiteral("50"));
    EXPECT_EQ(Control<QLabel>(*dvPage, 1255)->text(), QStringLiteral("(kPa)"));
    EXPECT_EQ(Text(*dvPage, 1238), QStringLiteral("24.5"));
    EXPECT_EQ(Control<QLabel>(*dvPage, 1242)->text(), QStringLiteral("(\u02DAC)"));
    EXPECT_TRUE(Control<QLineEdit>(*dvPage, 1238)->isEnabled());
    EXPECT_EQ(Control<QLabel>(*dvPage, 1243)->text(), QStringLiteral("(Not Used)"));
    EXPECT_EQ(Control<QLabel>(*dvPage, 1244)->text(), QStringLiteral("(Not Used)"));
    EXPECT_EQ(Text(*dvPage, 1235), QStringLiteral("12.0000"));
    EXPECT_EQ(Text(*dvPage, 1236), QStringLiteral("50"));
}

TEST_F(DataDVTest, AnotherMakersDeviceIsReadWithCommand3AndThePercentComesFromTheCurrent) {
    AddSteady("3051", 0, 0x3051A7, 5.0f, "PT-FRGN");
    loop.With([](sim::SimLoop& l) { return l.AtAddress(0)->secondary.clear(), 0; });
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(2));
    for (const Polled& p : PolledRequests())
        EXPECT_EQ(p, (Polled{3, 0}));
    EXPECT_EQ(Text(*dvPage, 1235), QStringLiteral("12.0000"));
    EXPECT_EQ(Text(*dvPage, 1236), QStringLiteral("50"));
    // Nine data bytes: no SV.
    EXPECT_EQ(Control<QLabel>(*dvPage, 1242)->text(), QStringLiteral("(Not Used)"));
    EXPECT_FALSE(Control<QLineEdit>(*dvPage, 1238)->isEnabled());
    EXPECT_FALSE(Control<QLabel>(*dvPage, 1242)->isEnabled());
}

TEST_F(DataDVTest, ABusyAnswerIsAskedAgainWithoutAMessage) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    loop.With([](sim::SimLoop& l) { return l.AtAddress(0)->faults.busy = 2; });
    Boxes().Clear();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(4));
    const auto polled = PolledRequests();
    EXPECT_EQ(std::vector<Polled>(polled.begin(), polled.begin() + 4), (std::vector<Polled>{{210, 0}, {210, 0}, {210, 0}, {2, 0}}));
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(DataDVTest, DVLogLinesCarryTheCurrent) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    ClickLogging();
    ASSERT_TRUE(SpinUntil([&] { return LogLines(QStringLiteral("Log_DV.txt")).size() >= 12; }));
    ClickLogging();
    const QStringList lines = LogLines(QStringLiteral("Log_DV.txt"));
    const QString notUsed = QStringLiteral("         0.0000\t(Not Used)     \t");
    EXPECT_EQ(lines[10], QStringLiteral(" 00\t        50.0000\t(kPa)          \t        24.5000\t(\u02DAC)           \t") +
                             notUsed + notUsed + QStringLiteral("   12.0000 (mA)\t\t10:00:00"));
    // One device at address 0: no group rules between its lines.
    EXPECT_FALSE(lines.mid(9, lines.size() - 12).contains(QString(145, QLatin1Char('-'))));
}

TEST_F(DataDVTest, OnACalibrationSheetThePagePollsTheSameAndNeverLogs) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    settings->WriteInt(trendkeys::kAlwaysFileLogging, 1);
    CPropertySheet calibration(QStringLiteral("Self Compensation"));
    auto* page = new CDataDV(*host);
    calibration.AddPage(page);
    calibration.Open();
    ASSERT_TRUE(WaitPolled(4));
    EXPECT_EQ(Text(*page, 1237), QStringLiteral("50"));
    EXPECT_EQ(page->TrendSheet(), nullptr);
    EXPECT_FALSE(QDir(LogFolder()).exists());
    calibration.CancelButton()->click();
}

TEST_F(DataDVTest, TurningLoggingOnDoesNotWakeTheHiddenTrendPage) {
    // The box applies every page; the trend page behind the shown one must stay quiet (it reads
    // this device with commands 1 and 2, the shown page with 3).
    AddSteady("3051", 0, 0x3051A7, 5.0f, "PT-FRGN");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(3));
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    line->ClearWrites();
    ClickLogging();
    ASSERT_TRUE(WaitPolled(8));
    for (const Polled& p : PolledRequests())
        EXPECT_EQ(p, (Polled{3, 0}));
    EXPECT_FALSE(single->IsTimerActive(CDataGraphSingle::kPollTimer));
}
