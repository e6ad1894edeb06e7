// The DAC trim wizards and the "Zero Adjustment" dialog against the simulated loop.
#include "TrimFixture.h"
#include "pages/trim/DACTrimWizard.h"
#include "pages/trim/TrimIds.h"
#include "pages/trim/ZeroAdjustmentDialog.h"

using namespace testing_support;
using namespace res;

namespace {

class DacTrimTest : public TrimTest {
protected:
    void Start(CDACTrimPropSheet::Kind kind) {
        loop.AddDevice("KP510", 0, 1);
        ConnectTo(0);
        sheet = std::make_unique<CDACTrimPropSheet>(*host, kind);
        sheet->Open();
    }
    void TearDown() override {
        sheet.reset();
        TrimTest::TearDown();
    }
    QWidget* Active() const { return sheet->ActivePage(); }
    void Next() { sheet->NextButton()->click(); }
    // Types a meter value on the active page and sends it with "Setup".
    void Setup(const QString& value, int command, std::size_t count = 1) {
        Type(Active(), IDC_DACTRIM_VALUE, value);
        Click(Active(), IDC_DACTRIM_SETUP);
        ASSERT_TRUE(WaitCommand(command, count));
    }
    std::unique_ptr<CDACTrimPropSheet> sheet;
};

} // namespace

TEST_F(DacTrimTest, CurrentWizardTrimsZeroAndGainAndLetsTheLoopGo) {
    Start(CDACTrimPropSheet::Kind::Current);
    EXPECT_EQ(sheet->windowTitle(), "DAC Trim for Current");
    ASSERT_EQ(sheet->PageCount(), 5);
    for (int i = 0; i < sheet->PageCount(); ++i)
        EXPECT_EQ(sheet->Page(i)->Caption(), "DAC Trim");
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_WIZARD1));
    EXPECT_FALSE(sheet->BackButton()->isEnabled());
    Next();
    Next(); // 4 mA
    ASSERT_TRUE(WaitCommand(40));
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_CURRENT3));
    Setup("4.1", 45);
    EXPECT_EQ(TextOf(Active(), IDC_DACTRIM_VALUE), "4.1"); // the value the transmitter applied
    Next();
    Next(); // 20 mA
    ASSERT_TRUE(WaitCommand(40, 2));
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_CURRENT5));
    EXPECT_TRUE(sheet->FinishButton()->isVisible());
    EXPECT_EQ(sheet->FinishButton()->text(), "Exit");
    Setup("19.8", 46);
    sheet->FinishButton()->click();
    ASSERT_TRUE(WaitCommand(40, 3));
    EXPECT_FALSE(sheet->isVisible());

    const auto frames = FramesOf({40, 45, 46});
    const std::vector<std::pair<int, float>> expected = {{40, 4.0f}, {45, 4.1f}, {40, 20.0f}, {46, 19.8f}, {40, 0.0f}};
    ASSERT_EQ(frames.size(), expected.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].command, expected[i].first) << i;
        ASSERT_EQ(frames[i].data.size(), 4u) << i;
        EXPECT_FLOAT_EQ(FloatAt(frames[i].data, 0), expected[i].second) << i;
    }
    // The device took both trims: the zero trim took 0.1 mA off the output, the gain trim then
    // added 0.2 mA at 20 mA and nothing at 4 mA; the loop is free.
    const auto [at4, at20, fixed] = OnDevice(0, [](sim::SimDevice& d) {
        return std::tuple{4.0f * d.dacGainTrim + d.dacZeroTrim, 20.0f * d.dacGainTrim + d.dacZeroTrim,
                          d.fixedCurrent.has_value()};
    });
    EXPECT_NEAR(at4, 3.9f, 1e-4f);
    EXPECT_NEAR(at20, 20.1f, 1e-4f);
    EXPECT_FALSE(fixed);
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(DacTrimTest, VoltageWizardConvertsVoltsOverTheResistor) {
    Start(CDACTrimPropSheet::Kind::Voltage);
    EXPECT_EQ(sheet->windowTitle(), "DAC Trim for Voltage");
    ASSERT_EQ(sheet->PageCount(), 6);
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_VOLTAGE0));
    Type(Active(), IDC_DACTRIM_VALUE, "250");
    Next();
    EXPECT_FLOAT_EQ(sheet->m_fDACTrimResistance, 250.0f);
    Next();
    Next(); // 4 mA
    ASSERT_TRUE(WaitCommand(40));
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_VOLTAGE3));
    Setup("1.0", 45);
    ASSERT_EQ(FramesOf({45}).size(), 1u);
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({45})[0].data, 0), 4.0f);
    // The applied value comes back in milliamperes and is shown in volts again.
    EXPECT_EQ(TextOf(Active(), IDC_DACTRIM_VALUE), "1");
    // Cancel in the middle lets the loop go.
    sheet->CancelButton()->click();
    ASSERT_TRUE(WaitCommand(40, 2));
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({40})[1].data, 0), 0.0f);
    EXPECT_FALSE(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.has_value(); }));
}

TEST_F(DacTrimTest, ResistanceMustBePositive) {
    Start(CDACTrimPropSheet::Kind::Voltage);
    Type(Active(), IDC_DACTRIM_VALUE, "0");
    Next();
    EXPECT_EQ(Active()->objectName(), QString::number(IDD_DACTRIM_VOLTAGE0));
    ASSERT_EQ(Boxes().Texts().size(), 1u);
    EXPECT_TRUE(Boxes().Texts()[0].startsWith("Please enter a number between 1 and"));
}

namespace {

struct RevisionCase {
    int revision;
    std::vector<std::pair<int, hart::Bytes>> opening;
    bool factory;
};

class ZeroAdjustmentTest : public TrimDialogTest<CZeroAdjustmentDlg> {
protected:
    void Open(int revision) { TrimDialogTest::Open(QStringLiteral("KP510"), revision); }
};

class ZeroAdjustmentRevisionTest : public ZeroAdjustmentTest, public ::testing::WithParamInterface<RevisionCase> {};

} // namespace

TEST_P(ZeroAdjustmentRevisionTest, OpeningReadsTheOffsetsTheRevisionKeeps) {
    const RevisionCase c = GetParam();
    Open(c.revision);
    ASSERT_TRUE(WaitSent(c.opening.size()));
    EXPECT_EQ(Sent(), c.opening);
    EXPECT_EQ(dlg->IsFactoryMode(), c.factory);
    for (int id : {IDC_ZA_FACTORY_ADJ, IDC_ZA_FACTORY_OFFSET, IDC_ZA_FACTORY_ZERO, IDC_ZA_CLEAR})
        EXPECT_EQ(Ctl(dlg.get(), id)->isVisible(), c.factory) << id;
    EXPECT_EQ(TextOf(dlg.get(), IDC_ZA_UNIT1), TextOf(dlg.get(), IDC_ZA_UNIT2));
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_MEASURED_PV).toFloat(), 50.0f, 4.0f);
}

INSTANTIATE_TEST_SUITE_P(Revisions, ZeroAdjustmentRevisionTest,
                         ::testing::Values(RevisionCase{3, {{236, {}}, {3, {}}}, false},
                                           RevisionCase{4, {{144, {16}}, {144, {1}}, {3, {}}}, true}),
                         [](const auto& p) { return "Revision" + std::to_string(p.param.revision); });

TEST_F(ZeroAdjustmentTest, WriteMovesThePvAfterTheWait) {
    Open(3);
    ASSERT_TRUE(WaitSent(2));
    line->ClearWrites();
    Type(dlg.get(), IDC_ZA_ADJUSTING_PV, "10");
    Click(dlg.get(), IDC_ZA_WRITE);
    ASSERT_TRUE(WaitCommand(246));
    ASSERT_EQ(FramesOf({246})[0].data.size(), 4u);
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({246})[0].data, 0), 10.0f);
    EXPECT_TRUE(dlg->IsWaiting());
    EXPECT_TRUE(FramesOf({3}).empty()) << "the PV is read once the transmitter has settled";
    ASSERT_TRUE(WaitCommand(3));
    EXPECT_FALSE(dlg->IsWaiting());
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_MEASURED_PV).toFloat(), 10.0f, 0.5f);
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_ZERO_OFFSET).toFloat(), -40.0f, 4.0f);
}

TEST_F(ZeroAdjustmentTest, FactoryModeWritesWithTheModeByte) {
    Open(4);
    ASSERT_TRUE(WaitSent(3));
    line->ClearWrites();
    Type(dlg.get(), IDC_ZA_ADJUSTING_PV, "10");
    Click(dlg.get(), IDC_ZA_WRITE);
    ASSERT_TRUE(WaitSent(3));
    auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].first, 145);
    ASSERT_EQ(sent[0].second.size(), 5u);
    EXPECT_EQ(sent[0].second[0], 16);
    EXPECT_FLOAT_EQ(FloatAt(sent[0].second, 1), 10.0f);
    EXPECT_EQ(sent[1], (std::pair<int, hart::Bytes>{144, {1}}));
    EXPECT_EQ(sent[2].first, 3);
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_MEASURED_PV).toFloat(), 10.0f, 0.5f);

    // "Factory Zero Adjustment" moves the factory offset; "Clear" takes the user zero back.
    line->ClearWrites();
    Type(dlg.get(), IDC_ZA_FACTORY_ADJ, "12");
    Click(dlg.get(), IDC_ZA_FACTORY_ZERO);
    ASSERT_TRUE(WaitSent(2));
    sent = Sent();
    EXPECT_EQ(sent[0].second[0], 1);
    EXPECT_FLOAT_EQ(FloatAt(sent[0].second, 1), 12.0f);
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_FACTORY_OFFSET).toFloat(), 2.0f, 0.5f);
    line->ClearWrites();
    Click(dlg.get(), IDC_ZA_CLEAR);
    ASSERT_TRUE(WaitSent(2));
    sent = Sent();
    EXPECT_EQ(sent[0].second[0], 48);
    EXPECT_FLOAT_EQ(FloatAt(sent[0].second, 1), 0.0f);
    EXPECT_EQ(TextOf(dlg.get(), IDC_ZA_ZERO_OFFSET), "0");
    // Only the factory offset of about +2 remains.
    EXPECT_NEAR(TextOf(dlg.get(), IDC_ZA_MEASURED_PV).toFloat(), 52.0f, 4.0f);
    EXPECT_TRUE(Boxes().Texts().empty());
}
