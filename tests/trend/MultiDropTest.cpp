// The multi-drop trend page and the dynamic-variable pages on a simulated loop.
#include "TrendFixture.h"

#include "monitor/LineChartCtrl.h"

#include <QLabel>

using namespace testing_support;

namespace {

std::vector<Polled> Prefix(const std::vector<Polled>& v, std::size_t n) {
    return std::vector<Polled>(v.begin(), v.begin() + static_cast<long>(std::min(n, v.size())));
}
QString Cell(QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

class MultiDropTest : public TrendTest {
protected:
    void AddThree() {
        AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
        AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
        AddSteady("3051", 3, 0x3051A7, 5.0f, "PT-FRGN");
    }
};

TEST_F(MultiDropTest, EachPassAsksEveryDeviceInOrderAndAdvancesTheChartOnce) {
    AddThree();
    Select({1, 2, 3});
    OpenMultiSheet();
    ASSERT_TRUE(WaitPolled(6));
    EXPECT_EQ(Prefix(PolledRequests(), 6), (std::vector<Polled>{{3, 1}, {3, 2}, {3, 3}, {3, 1}, {3, 2}, {3, 3}}));
    EXPECT_GE(host->PollingPaneUpdates(), 6);

    CLineChartCtrl* chart = multi->Chart();
    ASSERT_EQ(chart->SeriesCount(), 3);
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 255, 0)};
    const float pvs[] = {85.0f, 400.0f, 5.0f};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(chart->Series(k)->Colour(), colours[k]) << k;
        EXPECT_FLOAT_EQ(chart->Series(k)->Latest(), pvs[k]) << k;
    }
    // One value per device and pass: the series grow together.
    EXPECT_EQ(chart->Series(0)->Count(), chart->Series(2)->Count());

    // The sheet's apply at opening gave the chart the stored scale.
    EXPECT_FLOAT_EQ(chart->Upper(), 100.0f);
    EXPECT_FLOAT_EQ(chart->Lower(), -20.0f);

    QTableWidget* list = multi->List();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(Cell(list, 0, CDataGraphMulti::kPolling), QStringLiteral("01"));
    EXPECT_EQ(Cell(list, 0, CDataGraphMulti::kType), QStringLiteral("KT410"));
    EXPECT_EQ(Cell(list, 0, CDataGraphMulti::kTag), QStringLiteral("TT-201"));
    EXPECT_EQ(Cell(list, 0, CDataGraphMulti::kPV), QStringLiteral("85.0000 (\u02DAC)"));
    EXPECT_EQ(Cell(list, 0, CDataGraphMulti::kSV), QStringLiteral("84.9000 (\u02DAC)"));
    EXPECT_EQ(Cell(list, 2, CDataGraphMulti::kPV), QStringLiteral("5.0000 (bar)"));
    EXPECT_FALSE(list->item(1, CDataGraphMulti::kLegend)->icon().isNull());
    // Every value fits its column: none is cut to an ellipsis.
    for (int r = 0; r < list->rowCount(); ++r)
        for (int c = CDataGraphMulti::kType; c <= CDataGraphMulti::kSV; ++c)
            EXPECT_LE(list->fontMetrics().horizontalAdvance(Cell(list, r, c)), list->columnWidth(c) - 8)
                << Cell(list, r, c).toStdString();
}

TEST_F(MultiDropTest, AddressZeroGetsNoSeriesAndTheOthersKeepTheirColours) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
    Select({0, 1, 2});
    host->Comm().SetPollingAddress(2);
    OpenMultiSheet();
    ASSERT_TRUE(WaitPolled(3));
    CLineChartCtrl* chart = multi->Chart();
    ASSERT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(multi->SeriesOf(0), -1);
    EXPECT_EQ(multi->SeriesOf(1), 0);
    EXPECT_EQ(multi->SeriesOf(2), 1);
    EXPECT_FLOAT_EQ(chart->Series(0)->Latest(), 85.0f);
    EXPECT_FLOAT_EQ(chart->Series(1)->Latest(), 400.0f);
    EXPECT_TRUE(multi->List()->item(0, CDataGraphMulti::kLegend)->icon().isNull());
}

TEST_F(MultiDropTest, ASilentDevicePlotsZeroAndThePassGoesOn) {
    AddThree();
    Select({1, 2, 3});
    host->Comm().SetRetryCount(2);
    loop.With([](sim::SimLoop& l) { return l.AtAddress(2)->faults.silent = -1; });
    OpenMultiSheet();
    ClickLogging();
    ASSERT_TRUE(WaitPolled(9));
    EXPECT_EQ(Prefix(PolledRequests(), 8),
              (std::vector<Polled>{{3, 1}, {3, 2}, {3, 2}, {3, 3}, {3, 1}, {3, 2}, {3, 2}, {3, 3}}));
    EXPECT_FLOAT_EQ(multi->Chart()->Series(1)->Latest(), 0.0f);
    EXPECT_FLOAT_EQ(multi->Chart()->Series(2)->Latest(), 5.0f);
    EXPECT_EQ(Cell(multi->List(), 1, CDataGraphMulti::kStatus), QStringLiteral("No Res."));
    EXPECT_EQ(multi->List()->currentRow(), 1);
    EXPECT_TRUE(Boxes().Texts().empty()) << "the list says it, no box";
    ClickLogging();
    const QStringList lines = LogLines(QStringLiteral("Log_PV_MultiDrop.txt"));
    const QString failed = QStringLiteral("  02\t       Fail\t (Fail)    \t Fail \t (Fail)    \t");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(failed); }));
}

TEST_F(MultiDropTest, ABusyDeviceIsAskedAgainAndOneThatRefusesForGoodIsPassed) {
    AddThree();
    Select({1, 2, 3});
    loop.With([](sim::SimLoop& l) {
        l.AtAddress(1)->faults.busy = 2;
        l.AtAddress(2)->faults.refuse = -1;
        return 0;
    });
    OpenMultiSheet();
    ASSERT_TRUE(WaitPolled(8));
    EXPECT_EQ(Prefix(PolledRequests(), 8),
              (std::vector<Polled>{{3, 1}, {3, 1}, {3, 1}, {3, 2}, {3, 3}, {3, 1}, {3, 2}, {3, 3}}));
    EXPECT_EQ(Cell(multi->List(), 1, CDataGraphMulti::kStatus), QStringLiteral("Refused"));
    EXPECT_EQ(Cell(multi->List(), 0, CDataGraphMulti::kStatus), QStringLiteral(" "));
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(MultiDropTest, AppliedScaleAndQueryTimeAreUsedAndStored) {
    AddThree();
    Select({1, 2, 3});
    OpenMultiSheet();
    ASSERT_TRUE(WaitPolled(3));
    QLineEdit* maximum = Control<QLineEdit>(*multi, 1262);
    maximum->clear();
    QTest::keyClicks(maximum, QStringLiteral("450"));
    QLineEdit* query = Control<QLineEdit>(*multi, 1264);
    query->clear();
    QTest::keyClicks(query, QStringLiteral("500"));
    Boxes().Clear();
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{QStringLiteral("Invalid Query Time !")}));
    EXPECT_FLOAT_EQ(multi->Chart()->Upper(), 450.0f);
    EXPECT_EQ(settings->GetText(trendkeys::kPVUpperRange), QStringLiteral("450"));
    EXPECT_FALSE(host->Profile().Store().contains(QStringLiteral("Misc/QueryTime")));

    query->clear();
    QTest::keyClicks(query, QStringLiteral("1500"));
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(settings->GetInt(trendkeys::kQueryTime), 1500);
}

TEST_F(MultiDropTest, DVListAsksEachDeviceWithItsOwnCommand) {
    AddThree();
    Select({1, 2, 3});
    OpenMultiSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(6));
    // The maker's 210 where the device knows it, command 3 for the other maker's device.
    const auto polled = PolledRequests();
    const auto first = std::find(polled.begin(), polled.end(), Polled{210, 1});
    ASSERT_NE(first, polled.end());
    EXPECT_EQ(std::vector<Polled>(first, first + 3), (std::vector<Polled>{{210, 1}, {210, 2}, {3, 3}}));

    QTableWidget* list = dvMulti->List();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(Cell(list, 0, CDataDVMultiPage::kPolling), QStringLiteral("01"));
    EXPECT_EQ(Cell(list, 1, CDataDVMultiPage::kPV), QStringLiteral("400.0000 (kPa)"));
    EXPECT_EQ(Cell(list, 1, CDataDVMultiPage::kSV), QStringLiteral("25.0000 (\u02DAC)"));
    EXPECT_EQ(Cell(list, 1, CDataDVMultiPage::kTV), QStringLiteral("(Not Used)"));
    EXPECT_EQ(Cell(list, 1, CDataDVMultiPage::kFV), QStringLiteral("(Not Used)"));
    EXPECT_EQ(Cell(list, 2, CDataDVMultiPage::kPV), QStringLiteral("5.0000 (bar)"));
}

TEST_F(MultiDropTest, DVListMovesOnAfterNoAnswerAndRepeatsAfterAGarbledOne) {
    AddThree();
    Select({1, 2, 3});
    host->Comm().SetRetryCount(2);
    OpenMultiSheet();
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    // Every status the list shows, as it is shown.
    std::vector<QString> statuses;
    QObject::connect(dvMulti->List(), &QTableWidget::itemChanged, dvMulti, [&](QTableWidgetItem* item) {
        if (item->column() == CDataDVMultiPage::kStatus && item->row() == 1)
            statuses.push_back(item->text());
    });
    struct Case {
        const char* fault;
        const char* status;
        long toDevice2; // requests to device 2 before the pass moves on: both attempts, then the repeat
    } cases[] = {{"silent", "No Res.", 2}, {"badCheck", "Com Err.", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        statuses.clear();
        loop.With([&](sim::SimLoop& l) {
            auto& f = l.AtAddress(2)->faults;
            (std::string(c.fault) == "silent" ? f.silent : f.badCheck) = 2;
            return 0;
        });
        line->ClearWrites();
        const auto run = [&] {
            const auto p = PolledRequests();
            const auto first = std::find(p.begin(), p.end(), Polled{210, 2});
            const auto next = std::find(first, p.end(), Polled{3, 3});
            return std::make_pair(next != p.end(), std::count(first, next, Polled{210, 2}));
        };
        ASSERT_TRUE(SpinUntil([&] { return run().first; }));
        EXPECT_EQ(run().second, c.toDevice2);
        EXPECT_NE(std::find(statuses.begin(), statuses.end(), QString::fromLatin1(c.status)), statuses.end());
        EXPECT_EQ(dvMulti->List()->currentRow(), 1);
    }
}
