// "Totalize" against a simulated KP510F: the reads at opening, what "Apply" writes, the pulse
// scale bands, refusals, the total's reset, and the total counting with the flow.
#include "MiscFixture.h"

#include "hart/CodeTables.h"
#include "pages/misc/TotalizeDlg.h"

#include <QPushButton>

#include <atomic>
#include <cmath>

using namespace testing_support;

namespace {

class TotalizeTest : public MiscPageTest {
protected:
    void TearDown() override {
        dlg.reset();
        MiscPageTest::TearDown();
    }
    // A KP510F at address 1 with the flow range, pulse scale and width given.
    void Start(float scale = 10.0f, std::uint8_t width = 2) {
        sim::SimDevice& d = loop.AddDevice("KP510F", 1, 0x0901);
        auto& f = d.Ext<sim::FlowTotalizer>();
        f.unit = 138; // Liters/hr
        f.lower = 0.0f;
        f.upper = 1200.0f;
        f.pulseScale = scale;
        f.pulseWidth = width;
        ConnectTo(1);
    }
    void Show() {
        dlg = std::make_unique<CTotalizeDlg>(*host);
        dlg->show();
        ASSERT_TRUE(Settle(3));
    }
    void Press(int id) {
        line->ClearWrites();
        QTest::mouseClick(Ctl<QPushButton>(dlg.get(), id), Qt::LeftButton);
    }
    sim::FlowTotalizer Flow() {
        return OnDevice<sim::FlowTotalizer>(1, [](sim::FlowTotalizer& f, sim::SimDevice&) { return f; });
    }
    QComboBox* Combo(int id) { return Ctl<QComboBox>(dlg.get(), id); }
    QLineEdit* Edit(int id) { return Ctl<QLineEdit>(dlg.get(), id); }

    std::unique_ptr<CTotalizeDlg> dlg;
};

TEST_F(TotalizeTest, OpeningReadsRangeScaleAndWidthInTurn) {
    Start();
    Show();
    EXPECT_EQ(Sent(), (std::vector<int>{189, 188, 237}));
    for (const auto& f : SentFrames(*line))
        EXPECT_TRUE(f.data.empty());
    EXPECT_EQ(dlg->windowTitle(), "Totalize");
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_UNIT)->currentText(), "Liters/hr");
    EXPECT_EQ(Edit(CTotalizeDlg::IDC_UPPER)->text(), "1200");
    EXPECT_EQ(Edit(CTotalizeDlg::IDC_LOWER)->text(), "0");
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_SCALE)->currentText(), "10");
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_WIDTH)->currentText(), "100 ms");
    EXPECT_FALSE(dlg->m_bRangeChanged || dlg->m_bScaleChanged || dlg->m_bWidthChanged)
        << "values read are not the user's changes";
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(TotalizeTest, ScaleBands) {
    const std::pair<float, int> cases[] = {
        {0.0015f, 0}, {0.00098f, -1}, {0.002f, 0},   {0.05f, -1},      {0.0099f, 1}, {1.0f, 3},
        {2.0f, 3},    {2.1f, -1},     {150.0f, 5},   {10000.0f, 7},    {20000.0f, 7}, {20000.5f, -1},
        {0.0f, -1},   {-1.0f, -1},
    };
    for (const auto& [value, row] : cases)
        EXPECT_EQ(CTotalizeDlg::ScaleRowOf(value), row) << value;
}

TEST_F(TotalizeTest, ScaleReadBackOutsideEveryBandIsReported) {
    for (const auto& [scale, text, box] :
         {std::tuple{0.0015f, "0.001", false}, std::tuple{0.05f, "", true}}) {
        SCOPED_TRACE(scale);
        Restart();
        Start(scale);
        Show();
        EXPECT_EQ(Combo(CTotalizeDlg::IDC_SCALE)->currentText(), text);
        EXPECT_EQ(BoxTexts(), box ? std::vector<QString>{"Can not support scale to this VMC70 version.  "}
                                  : std::vector<QString>{});
        if (box) {
            EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
            EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
        }
    }
}

TEST_F(TotalizeTest, ApplyWritesOnlyWhatTheUserChanged) {
    Start();
    Show();
    // Only the width: the range shown from the device is not written back.
    Choose(Combo(CTotalizeDlg::IDC_WIDTH), 0);
    Press(CTotalizeDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Sent(), std::vector<int>{247});
    EXPECT_EQ(SentFrames(*line)[0].data, hart::Bytes{0});
    EXPECT_EQ(Flow().pulseWidth, 0);
    EXPECT_TRUE(dlg->isVisible()) << "the dialog stays open";

    // Scale, unit and range: 178 before 179, with the data of the table.
    Choose(Combo(CTotalizeDlg::IDC_SCALE), 2);
    Choose(Combo(CTotalizeDlg::IDC_UNIT), hart::FindCodeIndex(hart::FlowUnitTable(), 19));
    Retype(Edit(CTotalizeDlg::IDC_UPPER), "80.5");
    Retype(Edit(CTotalizeDlg::IDC_LOWER), "2");
    Press(CTotalizeDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(2));
    ASSERT_EQ(Sent(), (std::vector<int>{178, 179}));
    EXPECT_EQ(SentFrames(*line)[0].data, FloatBytes(0.1f));
    hart::Bytes range{19};
    for (float v : {2.0f, 80.5f})
        for (auto b : FloatBytes(v))
            range.push_back(b);
    EXPECT_EQ(SentFrames(*line)[1].data, range) << "unit, lower, upper";
    const sim::FlowTotalizer kept = Flow();
    EXPECT_EQ(kept.unit, 19);
    EXPECT_EQ(kept.lower, 2.0f);
    EXPECT_EQ(kept.upper, 80.5f);
    EXPECT_EQ(kept.pulseScale, 0.1f);

    // Nothing changed: nothing written. A new dialog reads back what was written.
    Press(CTotalizeDlg::IDC_APPLY);
    QTest::qWait(60);
    EXPECT_TRUE(Sent().empty());
    dlg.reset();
    line->ClearWrites();
    Show();
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_UNIT)->currentText(), "CubicMeter/hr");
    EXPECT_EQ(Edit(CTotalizeDlg::IDC_UPPER)->text(), "80.5");
    EXPECT_EQ(Edit(CTotalizeDlg::IDC_LOWER)->text(), "2");
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_SCALE)->currentText(), "0.1");
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_WIDTH)->currentText(), "10 ms");
}

TEST_F(TotalizeTest, RefusedRangeIsReportedAndTheQueueGoesOn) {
    Start();
    Show();
    Retype(Edit(CTotalizeDlg::IDC_LOWER), "1500"); // above the upper range: the device refuses
    Choose(Combo(CTotalizeDlg::IDC_WIDTH), 1);
    Press(CTotalizeDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(Sent(), (std::vector<int>{179, 247}));
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "[Cmd#179] Because occur an error, fail a command!");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Error");
    EXPECT_EQ(Flow().lower, 0.0f);
    EXPECT_EQ(Flow().pulseWidth, 1);
}

TEST_F(TotalizeTest, RangeWithoutAUnitAsksForOneAndTheOtherWritesStillGo) {
    Start();
    loop.With([](sim::SimLoop& l) { return l.AtAddress(1)->Ext<sim::FlowTotalizer>().unit = 12; });
    Show();
    EXPECT_EQ(Combo(CTotalizeDlg::IDC_UNIT)->currentIndex(), -1) << "kPa is not a flow unit";
    Retype(Edit(CTotalizeDlg::IDC_UPPER), "900");
    Choose(Combo(CTotalizeDlg::IDC_WIDTH), 0);
    Press(CTotalizeDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Sent(), std::vector<int>{247});
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "Select a Unit!");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
    EXPECT_TRUE(dlg->m_bRangeChanged) << "the range waits for a unit";
    Choose(Combo(CTotalizeDlg::IDC_UNIT), hart::FindCodeIndex(hart::FlowUnitTable(), 17));
    Press(CTotalizeDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Sent(), std::vector<int>{179});
    EXPECT_EQ(Flow().unit, 17);
    EXPECT_EQ(Flow().upper, 900.0f);
}

TEST_F(TotalizeTest, TotalResetAndItsRefusal) {
    Start();
    sim::SimDevice& d = Device(1);
    std::atomic<double> now{0.0};
    loop.With([&](sim::SimLoop&) {
        d.clock = [&now] { return now.load(); };
        d.processNoise = 0.0f;
        d.processAmplitude = 0.0f;
        return 0;
    });
    Show();
    // 20 kPa of a 0..50 kPa range: 40 %, the flow sqrt(0.4) of 0..1200 l/h.
    now = 1800.0;
    const double expected = 1200.0 * std::sqrt(0.4) / 2.0;
    EXPECT_NEAR(OnDevice<sim::FlowTotalizer>(1, [](sim::FlowTotalizer& f, sim::SimDevice& dev) {
                    f.Advance(dev);
                    return f.total;
                }),
                expected, 0.01);

    // The device does not reset while a condition holds: response code 9.
    loop.With([&](sim::SimLoop&) {
        d.faults.refuse = 1;
        return d.faults.refuseCode = 9;
    });
    Press(CTotalizeDlg::IDC_TOTAL_RESET);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Sent(), std::vector<int>{177});
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"[Cmd#177] Because occur an error, fail a command!"});
    EXPECT_GT(Flow().total, expected - 0.01);

    Boxes().Clear();
    Press(CTotalizeDlg::IDC_TOTAL_RESET);
    ASSERT_TRUE(Settle(1));
    EXPECT_TRUE(Boxes().Boxes().empty());
    EXPECT_EQ(Flow().total, 0.0);
}

TEST_F(TotalizeTest, ExitClosesAndDropsTheQueue) {
    Start();
    dlg = std::make_unique<CTotalizeDlg>(*host);
    dlg->show(); // 189 goes out; 188 and 237 wait for its answer
    QTest::mouseClick(Ctl<QPushButton>(dlg.get(), CTotalizeDlg::IDC_EXIT), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(WaitSent(1));
    QTest::qWait(100);
    EXPECT_EQ(Sent(), std::vector<int>{189}) << "nothing more after the dialog closed";
}

} // namespace
