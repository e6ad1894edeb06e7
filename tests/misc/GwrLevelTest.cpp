// "GWR Level" against a simulated KL710: the reads at opening, what the PV stands for, the unit
// labels, the level adjustment, and what "Apply" writes.
#include "MiscFixture.h"

#include "pages/misc/GwrLevelDlg.h"

#include <QPushButton>

using namespace testing_support;

namespace {

class GwrLevelTest : public MiscPageTest {
protected:
    void TearDown() override {
        dlg.reset();
        MiscPageTest::TearDown();
    }
    void Start(std::uint8_t pvIs = 0) {
        sim::SimDevice& d = loop.AddDevice("KL710", 2, 0x0902);
        d.processNoise = 0.0f;
        d.processAmplitude = 0.0f;
        auto& s = d.Ext<sim::LevelSetup>();
        s.pvIs = pvIs;
        s.tankHeight = 12.5f;
        s.probeLength = 11.0f;
        s.probeAngle = 2.5f;
        s.sensitivity = 1;
        ConnectTo(2);
    }
    void Show() {
        dlg = std::make_unique<CGWRLevelDlg>(*host);
        dlg->show();
        ASSERT_TRUE(Settle(4));
    }
    void Press(int id) {
        line->ClearWrites();
        QTest::mouseClick(Ctl<QPushButton>(dlg.get(), id), Qt::LeftButton);
    }
    sim::LevelSetup Level() {
        return OnDevice<sim::LevelSetup>(2, [](sim::LevelSetup& s, sim::SimDevice&) { return s; });
    }
    QWidget* W(int id) { return Ctl<QWidget>(dlg.get(), id); }
    QComboBox* Combo(int id) { return Ctl<QComboBox>(dlg.get(), id); }
    QLineEdit* Edit(int id) { return Ctl<QLineEdit>(dlg.get(), id); }
    QString Label(int id) { return Ctl<QLabel>(dlg.get(), id)->text(); }

    std::unique_ptr<CGWRLevelDlg> dlg;
};

TEST_F(GwrLevelTest, OpeningReadsInTurnAndShowsTheDevice) {
    Start();
    Show();
    EXPECT_EQ(Sent(), (std::vector<int>{140, 142, 148, 15}));
    EXPECT_EQ(dlg->windowTitle(), "GWR Level");
    EXPECT_EQ(Combo(CGWRLevelDlg::IDC_PV_IS)->currentText(), "Level");
    EXPECT_EQ(Combo(CGWRLevelDlg::IDC_SENSITIVITY)->currentText(), "High");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_TANK_HEIGHT)->text(), "12.5");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_PROBE_LENGTH)->text(), "11");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_PROBE_ANGLE)->text(), "2.5");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_ADJUST_LEVEL)->text(), "0");
    for (int id : {CGWRLevelDlg::IDC_HEIGHT_UNIT, CGWRLevelDlg::IDC_LENGTH_UNIT, CGWRLevelDlg::IDC_ANGLE_UNIT})
        EXPECT_EQ(Label(id), "(meters)");
    EXPECT_EQ(Label(CGWRLevelDlg::IDC_RESULT), "");
    EXPECT_FALSE(W(CGWRLevelDlg::IDC_APPLY)->isEnabled()) << "values read are not changes";
    EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(GwrLevelTest, AdjustmentOnlyWhileThePvIsTheLevel) {
    for (const auto& [pvIs, text, enabled] :
         {std::tuple{0, "Level", true}, std::tuple{1, "Distance", false}, std::tuple{2, "Volume", false}}) {
        SCOPED_TRACE(pvIs);
        Restart();
        Start(static_cast<std::uint8_t>(pvIs));
        Show();
        EXPECT_EQ(Combo(CGWRLevelDlg::IDC_PV_IS)->currentText(), text);
        EXPECT_EQ(W(CGWRLevelDlg::IDC_SET)->isEnabled(), enabled);
        EXPECT_EQ(W(CGWRLevelDlg::IDC_ADJUST_LEVEL)->isEnabled(), enabled);
    }
}

TEST_F(GwrLevelTest, UnitOutsideTheTableShowsEmptyParentheses) {
    Start();
    loop.With([](sim::SimLoop& l) { return l.AtAddress(2)->rangeUnit = 200; });
    Show();
    for (int id : {CGWRLevelDlg::IDC_HEIGHT_UNIT, CGWRLevelDlg::IDC_LENGTH_UNIT, CGWRLevelDlg::IDC_ANGLE_UNIT})
        EXPECT_EQ(Label(id), "()");
}

TEST_F(GwrLevelTest, SetAdjustsTheLevelAndReadsTheParametersAgain) {
    Start();
    Show();
    Retype(Edit(CGWRLevelDlg::IDC_ADJUST_LEVEL), "2.5");
    Press(CGWRLevelDlg::IDC_SET);
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(Sent(), (std::vector<int>{145, 142}));
    hart::Bytes request{0x40};
    for (auto b : FloatBytes(2.5f))
        request.push_back(b);
    EXPECT_EQ(SentFrames(*line)[0].data, request);
    EXPECT_EQ(Label(CGWRLevelDlg::IDC_RESULT), "Success");
    EXPECT_NEAR(loop.With([](sim::SimLoop& l) { return l.AtAddress(2)->PrimaryValue(); }), 2.5f, 1e-4);

    // A level above the tank is not taken: the device answers with its own.
    Retype(Edit(CGWRLevelDlg::IDC_ADJUST_LEVEL), "20");
    Press(CGWRLevelDlg::IDC_SET);
    ASSERT_TRUE(Settle(1));
    QTest::qWait(60);
    EXPECT_EQ(Sent(), std::vector<int>{145}) << "nothing read back after a failure";
    EXPECT_EQ(Label(CGWRLevelDlg::IDC_RESULT), "Failed");
    EXPECT_EQ(Level().adjustments, 1);

    // A refusal is a failure too, and its stale fields are not taken for an answer.
    loop.With([](sim::SimLoop& l) { return l.AtAddress(2)->faults.refuse = 1; });
    Retype(Edit(CGWRLevelDlg::IDC_ADJUST_LEVEL), "2.5");
    Press(CGWRLevelDlg::IDC_SET);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Label(CGWRLevelDlg::IDC_RESULT), "Failed");
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"[Cmd#145] Because occur an error, fail a command!"});
}

TEST_F(GwrLevelTest, ApplyWritesTheChangesAndTheAnswersClearThem) {
    Start();
    Show();
    Choose(Combo(CGWRLevelDlg::IDC_SENSITIVITY), 0);
    EXPECT_TRUE(W(CGWRLevelDlg::IDC_APPLY)->isEnabled());
    Press(CGWRLevelDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(1));
    EXPECT_EQ(Sent(), std::vector<int>{149});
    EXPECT_EQ(SentFrames(*line)[0].data, hart::Bytes{0});
    EXPECT_FALSE(dlg->m_bSensitivityChanged);
    EXPECT_FALSE(W(CGWRLevelDlg::IDC_APPLY)->isEnabled());
    EXPECT_EQ(Level().sensitivity, 0);

    Choose(Combo(CGWRLevelDlg::IDC_PV_IS), 1);
    Retype(Edit(CGWRLevelDlg::IDC_TANK_HEIGHT), "15");
    Retype(Edit(CGWRLevelDlg::IDC_PROBE_ANGLE), "4");
    Press(CGWRLevelDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(2));
    ASSERT_EQ(Sent(), (std::vector<int>{141, 143}));
    hart::Bytes params;
    for (float v : {15.0f, 11.0f, 4.0f})
        for (auto b : FloatBytes(v))
            params.push_back(b);
    EXPECT_EQ(SentFrames(*line)[1].data, params);
    EXPECT_FALSE(W(CGWRLevelDlg::IDC_APPLY)->isEnabled());
    EXPECT_FALSE(W(CGWRLevelDlg::IDC_SET)->isEnabled()) << "the PV is the distance now";
    const sim::LevelSetup kept = Level();
    EXPECT_EQ(kept.pvIs, 1);
    EXPECT_EQ(kept.tankHeight, 15.0f);
    EXPECT_EQ(kept.probeAngle, 4.0f);

    // A new dialog reads back what was written.
    dlg.reset();
    line->ClearWrites();
    Show();
    EXPECT_EQ(Combo(CGWRLevelDlg::IDC_PV_IS)->currentText(), "Distance");
    EXPECT_EQ(Combo(CGWRLevelDlg::IDC_SENSITIVITY)->currentText(), "Low");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_TANK_HEIGHT)->text(), "15");
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_PROBE_ANGLE)->text(), "4");
}

TEST_F(GwrLevelTest, RefusedParametersKeepTheChangeToApplyAgain) {
    Start();
    Show();
    Retype(Edit(CGWRLevelDlg::IDC_PROBE_ANGLE), "95"); // beyond what the device takes
    Choose(Combo(CGWRLevelDlg::IDC_SENSITIVITY), 0);
    Press(CGWRLevelDlg::IDC_APPLY);
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(Sent(), (std::vector<int>{143, 149}));
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"[Cmd#143] Because occur an error, fail a command!"});
    EXPECT_EQ(Level().probeAngle, 2.5f);
    EXPECT_EQ(Level().sensitivity, 0);
    EXPECT_EQ(Edit(CGWRLevelDlg::IDC_PROBE_ANGLE)->text(), "95") << "the refused value stays for correction";
    EXPECT_TRUE(dlg->m_bParametersChanged);
    EXPECT_TRUE(W(CGWRLevelDlg::IDC_APPLY)->isEnabled());
}

TEST_F(GwrLevelTest, BadNumberIsNotSent) {
    Start();
    Show();
    Retype(Edit(CGWRLevelDlg::IDC_TANK_HEIGHT), "12,x");
    Press(CGWRLevelDlg::IDC_APPLY);
    QTest::qWait(60);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"Please enter a number."});
    EXPECT_TRUE(Edit(CGWRLevelDlg::IDC_TANK_HEIGHT)->hasFocus());
}

} // namespace
