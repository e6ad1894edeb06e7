// The single-device trend page on a simulated transmitter: its poll cycle, what each answer
// changes on the page, the range from command 15, and the apply of its settings.
#include "TrendFixture.h"

#include "monitor/AnalogMeter.h"
#include "monitor/LineChartCtrl.h"
#include "monitor/LineProgressCtrl.h"
#include "platform/TimeScale.h"

#include <QPushButton>

using namespace testing_support;

namespace {
std::vector<Polled> Prefix(const std::vector<Polled>& v, std::size_t n) {
    return std::vector<Polled>(v.begin(), v.begin() + static_cast<long>(std::min(n, v.size())));
}
} // namespace

class DataGraphSingleTest : public TrendTest {};

TEST_F(DataGraphSingleTest, MakerDeviceIsPolledWith210Then2AfterTheRange) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(5));
    EXPECT_EQ(Prefix(PolledRequests(), 5), (std::vector<Polled>{{15, 0}, {210, 0}, {2, 0}, {210, 0}, {2, 0}}));
    EXPECT_TRUE(single->IsMakerDevice());

    // The range 0..100 widened by a tenth at each end.
    EXPECT_EQ(Text(*single, 1262), QStringLiteral("110.0"));
    EXPECT_EQ(Text(*single, 1091), QStringLiteral("-10.0"));
    EXPECT_FLOAT_EQ(single->Chart()->Upper(), 110.0f);
    EXPECT_FLOAT_EQ(single->Chart()->Lower(), -10.0f);

    // Every value of the cycle is shown: PV with its unit, the current on the meter, the percent on
    // the bar, and SV/TV as far as the answer carries them (this model has no FV).
    EXPECT_EQ(Text(*single, 1237), QStringLiteral("50"));
    EXPECT_EQ(Control<QLabel>(*single, 1255)->text(), QStringLiteral("(kPa)"));
    EXPECT_EQ(Text(*single, 1235), QStringLiteral("12"));
    EXPECT_EQ(Text(*single, 1236), QStringLiteral("50"));
    EXPECT_FLOAT_EQ(single->PercentBar()->Percent(), 50.0f);
    EXPECT_DOUBLE_EQ(single->Meter().Value(), 12.0);
    EXPECT_FLOAT_EQ(single->SV(), 24.5f);
    EXPECT_FLOAT_EQ(single->TV(), 31.0f);
    EXPECT_FLOAT_EQ(single->FV(), 0.0f);
    const CChartSeries* pv = single->Chart()->Series(0);
    ASSERT_NE(pv, nullptr);
    EXPECT_GE(pv->Count(), 2);
    EXPECT_FLOAT_EQ(pv->Latest(), 50.0f);
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(DataGraphSingleTest, AnotherMakersDeviceIsPolledWith1And2Only) {
    AddSteady("3051", 0, 0x3051A7, 5.0f, "PT-FRGN");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(5));
    EXPECT_EQ(Prefix(PolledRequests(), 5), (std::vector<Polled>{{15, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}}));
    EXPECT_FALSE(single->IsMakerDevice());
    EXPECT_EQ(Control<QLabel>(*single, 1255)->text(), QStringLiteral("(bar)"));
    EXPECT_FLOAT_EQ(single->PV(), 5.0f);
    EXPECT_FLOAT_EQ(single->SV(), 0.0f);
    EXPECT_FLOAT_EQ(single->TV(), 0.0f);
    EXPECT_FLOAT_EQ(single->FV(), 0.0f);
}

TEST_F(DataGraphSingleTest, ShortMakerAnswersLeaveTheMissingVariablesAtZero) {
    struct Case {
        int secondaries; // 0: 9 data bytes, 1: 14, 2: 19, 3: 24
        float sv, tv, fv;
    } cases[] = {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 1, 2, 0}, {3, 1, 2, 3}};
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondaries);
        loop.With([&](sim::SimLoop& l) {
            auto& d = *l.AtAddress(0);
            d.secondary.clear();
            for (int i = 1; i <= c.secondaries; ++i)
                d.secondary.push_back({32, static_cast<float>(i)});
            return 0;
        });
        OpenSingleSheet();
        ASSERT_TRUE(WaitPolled(3));
        EXPECT_FLOAT_EQ(single->PV(), 50.0f);
        EXPECT_FLOAT_EQ(single->SV(), c.sv);
        EXPECT_FLOAT_EQ(single->TV(), c.tv);
        EXPECT_FLOAT_EQ(single->FV(), c.fv);
        CloseSheet();
        line->ClearWrites();
    }
}

TEST_F(DataGraphSingleTest, RangeFromCommand15SetsTheScaleOrHaltsPolling) {
    struct Case {
        float upper, lower;
        const char* maximum;
        const char* minimum;
        bool halts;
    } cases[] = {{100, 0, "110.0", "-10.0", false}, {0, 100, "-10.0", "110.0", false}, {0, 0, "100.0", "-20.0", true}};
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maximum);
        loop.With([&](sim::SimLoop& l) {
            l.AtAddress(0)->upperRange = c.upper;
            l.AtAddress(0)->lowerRange = c.lower;
            return 0;
        });
        Boxes().Clear();
        OpenSingleSheet();
        ASSERT_TRUE(WaitPolled(1));
        if (c.halts) {
            // Nothing more goes out, however long the page waits.
            QTest::qWait(vmc::ScaledMs(4000));
            EXPECT_EQ(PolledRequests(), (std::vector<Polled>{{15, 0}}));
            EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{QStringLiteral("Invalid Range! Rerange!")}));
        } else {
            EXPECT_TRUE(WaitPolled(3));
            EXPECT_TRUE(Boxes().Texts().empty());
        }
        EXPECT_EQ(Text(*single, 1262), QString::fromLatin1(c.maximum));
        EXPECT_EQ(Text(*single, 1091), QString::fromLatin1(c.minimum));
        CloseSheet();
        line->ClearWrites();
    }
}

TEST_F(DataGraphSingleTest, QueryTimeIsAppliedOnlyWithinItsLimits) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(3));

    // Applying without an edit stores nothing but keeps the polling timed.
    sheet->PressApply();
    EXPECT_FALSE(host->Profile().Store().contains(QStringLiteral("Misc/QueryTime")));
    EXPECT_FALSE(host->Profile().Store().contains(QStringLiteral("Misc/PVUpperRange")));

    struct Case {
        const char* typed;
        bool accepted;
    } cases[] = {{"999", false}, {"1000", true}, {"350000", true}, {"350001", false}, {"-5", false}, {"2500", true}};
    QLineEdit* query = Control<QLineEdit>(*single, 1264);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        query->clear();
        QTest::keyClicks(query, QString::fromLatin1(c.typed));
        ASSERT_TRUE(sheet->ApplyButton()->isEnabled());
        Boxes().Clear();
        QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
        if (c.accepted) {
            EXPECT_TRUE(Boxes().Texts().empty());
            EXPECT_EQ(settings->GetInt(trendkeys::kQueryTime), QString::fromLatin1(c.typed).toInt());
            EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
        } else {
            ASSERT_EQ(Boxes().Texts(), (std::vector<QString>{QStringLiteral("Invalid Query Time !")}));
            EXPECT_EQ(Boxes().Boxes().front().caption, vmc::ProgramTitle());
            EXPECT_EQ(Boxes().Boxes().front().icon, vmc::BoxIcon::Error);
            EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
        }
    }
    // The range went to the profile with the query time, in its short form.
    EXPECT_EQ(settings->GetText(trendkeys::kPVUpperRange), QStringLiteral("110"));
    EXPECT_EQ(settings->GetText(trendkeys::kPVLowerRange), QStringLiteral("-10"));
}

TEST_F(DataGraphSingleTest, EditedRangeRescalesTheChartAndIsRemembered) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(3));
    QLineEdit* maximum = Control<QLineEdit>(*single, 1262);
    maximum->clear();
    QTest::keyClicks(maximum, QStringLiteral("33.3"));
    // The spin steps the minimum from what the edit shows.
    Control<CSpinButton>(*single, 1014)->Step(1);
    EXPECT_EQ(Text(*single, 1091), QStringLiteral("-9"));
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_FLOAT_EQ(single->Chart()->Upper(), 33.3f);
    EXPECT_FLOAT_EQ(single->Chart()->Lower(), -9.0f);
    EXPECT_EQ(settings->GetText(trendkeys::kPVUpperRange), QStringLiteral("33.3"));
    EXPECT_EQ(settings->GetText(trendkeys::kPVLowerRange), QStringLiteral("-9"));
}

TEST_F(DataGraphSingleTest, NewLineColourStartsTheHistoryAfresh) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(7));
    ASSERT_GE(single->Chart()->Series(0)->Count(), 3);
    single->SetColourChooser([](QColor, QWidget*) { return std::optional<QColor>(QColor(255, 128, 0)); });
    QTest::mouseClick(Control<QPushButton>(*single, 1181), Qt::LeftButton);
    ASSERT_EQ(single->Chart()->SeriesCount(), 1);
    EXPECT_EQ(single->Chart()->Series(0)->Colour(), QColor(255, 128, 0));
    EXPECT_EQ(single->Chart()->Series(0)->Count(), 1);

    // The other colours keep the history; a cancelled choice changes nothing.
    single->SetColourChooser([](QColor, QWidget*) { return std::optional<QColor>(QColor(0, 0, 128)); });
    const int before = single->Chart()->Series(0)->Count();
    QTest::mouseClick(Control<QPushButton>(*single, 1182), Qt::LeftButton);
    EXPECT_GE(single->Chart()->Series(0)->Count(), before);
    single->SetColourChooser([](QColor, QWidget*) { return std::optional<QColor>(); });
    QTest::mouseClick(Control<QPushButton>(*single, 1181), Qt::LeftButton);
    EXPECT_EQ(single->Chart()->Series(0)->Colour(), QColor(255, 128, 0));
}

TEST_F(DataGraphSingleTest, UnansweredRangeStillLeadsToPolling) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    host->Comm().SetRetryCount(2);
    loop.With([](sim::SimLoop& l) { return l.AtAddress(0)->faults.silent = 2; });
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(4));
    EXPECT_EQ(Prefix(PolledRequests(), 4), (std::vector<Polled>{{15, 0}, {15, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{QStringLiteral("No Response!")}));
    // The chart keeps its initial, empty scale until a range is applied.
    EXPECT_FLOAT_EQ(single->Chart()->Upper(), -2000.0f);
    EXPECT_FLOAT_EQ(single->Chart()->Lower(), 10000.0f);
}

TEST_F(DataGraphSingleTest, LeavingThePageStopsItsPollingAndComingBackResumesIt) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ASSERT_TRUE(WaitPolled(3));
    ASSERT_TRUE(sheet->SetActivePage(1));
    WaitIdle();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(2));
    for (const Polled& p : PolledRequests())
        EXPECT_TRUE(p.command == 210 || p.command == 2) << p;
    EXPECT_FALSE(single->IsTimerActive(CDataGraphSingle::kPollTimer));
    ASSERT_TRUE(sheet->SetActivePage(0));
    WaitIdle();
    line->ClearWrites();
    ASSERT_TRUE(WaitPolled(4));
    // The request the page gave up when it was left goes out first, then the cycles.
    const auto polled = PolledRequests();
    EXPECT_EQ(std::count(polled.begin(), polled.end(), Polled{210, 0}) +
                  std::count(polled.begin(), polled.end(), Polled{2, 0}),
              static_cast<long>(polled.size()));
    EXPECT_GE(std::count(polled.begin(), polled.end(), Polled{210, 0}), 1);
    EXPECT_FALSE(dvPage->IsTimerActive(CDynamicVariablesPage::kPollTimer));
}

TEST_F(DataGraphSingleTest, PollingStartsAfterASearchThatEndedOnASilentAddress) {
    // The link keeps the state of its last transaction; after a search the last address tried is
    // often an empty one, and the trend must start all the same.
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
    struct Case {
        bool multiDrop;
        std::vector<Polled> first;
    } cases[] = {{false, {{15, 0}, {210, 0}}}, {true, {{3, 1}, {3, 2}}}};
    bool connected = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.multiDrop);
        host->SelectedDevices().RemoveAll();
        if (!connected)
            Select({0});
        connected = true;
        Identify(1);
        Identify(2);
        host->Comm().SetRetryCount(1);
        host->Comm().SetPollingAddress(9);
        ASSERT_EQ(host->Comm().Request(0, 0), 1);
        ASSERT_TRUE(SpinUntil([&] { return host->Comm().GetComState() == hart::NORESPONSE_COM_STATE; }));
        host->Comm().SetRetryCount(5);
        if (c.multiDrop) {
            host->SelectedDevices().AddSorted(1);
            host->SelectedDevices().AddSorted(2);
            host->Comm().SetPollingAddress(2);
        } else {
            host->SelectedDevices().AddSorted(0);
            host->Comm().SetPollingAddress(0);
        }
        line->ClearWrites();
        c.multiDrop ? OpenMultiSheet() : OpenSingleSheet();
        ASSERT_TRUE(WaitPolled(2));
        EXPECT_EQ(Prefix(PolledRequests(), 2), c.first);
        CloseSheet();
    }
}

TEST_F(DataGraphSingleTest, PollingGoesOnAfterAnotherWindowsTransactionHeldTheLinkAtPollTime) {
    // Between two cycles another window asks something that takes longer than the pause (one
    // silent attempt first, or no answer at all): the poll timer finds the link busy, and the page
    // must poll again once that transaction is over.
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
    struct Case {
        bool multiDrop;
        bool answered; // the other transaction ends with an answer, or with its attempts spent
        std::size_t cycle; // requests up to the end of a pass
        Polled poll;       // a request of the next pass
    } cases[] = {{false, true, 5, {210, 0}}, {false, false, 5, {210, 0}},
                 {true, true, 4, {3, 1}},    {true, false, 4, {3, 1}}};
    Select({0, 1, 2});
    settings->WriteInt(trendkeys::kQueryTime, 3000); // a pause long enough to start the other request in
    host->Comm().SetRetryCount(4);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.multiDrop ? "multi-drop" : "single")
                                        << (c.answered ? ", answered" : ", failed"));
        host->SelectedDevices().RemoveAll();
        for (int a : c.multiDrop ? std::vector<int>{1, 2} : std::vector<int>{0})
            host->SelectedDevices().AddSorted(a);
        host->Comm().SetPollingAddress(c.multiDrop ? 2 : 0);
        line->ClearWrites();
        c.multiDrop ? OpenMultiSheet() : OpenSingleSheet();
        ASSERT_TRUE(WaitPolled(c.cycle));

        const int pollAddress = host->Comm().GetPollingAddress();
        if (c.answered)
            loop.With([&](sim::SimLoop& l) { return l.AtAddress(pollAddress)->faults.silent = 3; });
        else
            host->Comm().SetPollingAddress(9); // nobody there
        line->ClearWrites();
        ASSERT_EQ(host->Comm().Request(13, 0), 1);
        host->Comm().SetPollingAddress(pollAddress);
        ASSERT_TRUE(SpinUntil([&] {
            const auto p = PolledRequests();
            return std::find(p.begin(), p.end(), c.poll) != p.end();
        }));
        EXPECT_EQ(PolledRequests().front().command, 13);
        EXPECT_TRUE(Boxes().Texts().empty());
        CloseSheet();
    }
}
