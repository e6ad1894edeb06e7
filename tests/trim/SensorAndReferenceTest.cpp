// "Sensor Full Trim", "Reference Setup" and "Ref. Zero Point" against the simulated loop.
#include "TrimFixture.h"
#include "pages/trim/ReferenceSetupDialog.h"
#include "pages/trim/SensorFullTrimDialog.h"
#include "pages/trim/TrimIds.h"

#include <QRadioButton>

using namespace testing_support;
using namespace res;

namespace {

using SensorFullTrimTest = TrimDialogTest<CSensorFullTrimDlg>;
using ReferenceSetupTest = TrimDialogTest<CReferenceSetupDlg>;
using RefZeroPointTest = TrimDialogTest<CRefZeroPointDlg>;

bool Checked(const QWidget* root, int id) { return Ctl<QAbstractButton>(root, id)->isChecked(); }

} // namespace

TEST_F(SensorFullTrimTest, OpeningReadsPvAndBothTrimPoints) {
    Open("KP510", 2);
    ASSERT_TRUE(WaitSent(4));
    EXPECT_EQ(Sent(), (std::vector<std::pair<int, hart::Bytes>>{{3, {}}, {232, {32}}, {232, {16}}, {3, {}}}));
    EXPECT_TRUE(Checked(dlg.get(), IDC_SFT_LOWER));
    EXPECT_FALSE(Checked(dlg.get(), IDC_SFT_UPPER));
    // The model's range is 0 to 100 kPa; the factory trim points sit on it.
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_LOWER_POINT), "0");
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_UPPER_POINT), "100");
    EXPECT_NEAR(TextOf(dlg.get(), IDC_SFT_LOWER_CURRENT).toFloat(), 50.0f, 4.0f);
    EXPECT_TRUE(Ctl(dlg.get(), IDC_SFT_LOWER_CURRENT)->isEnabled());
    EXPECT_FALSE(Ctl(dlg.get(), IDC_SFT_UPPER_CURRENT)->isEnabled());
    EXPECT_TRUE(Ctl<QLineEdit>(dlg.get(), IDC_SFT_UPPER_MODIFY)->isReadOnly());
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(SensorFullTrimTest, FactoryCalibratedTransmitterTakesNoAppliedValue) {
    Open("KP510", 4);
    ASSERT_TRUE(WaitSent(4));
    EXPECT_FALSE(Ctl(dlg.get(), IDC_SFT_LOWER_CURRENT)->isEnabled());
    EXPECT_FALSE(Ctl(dlg.get(), IDC_SFT_LOWER_CURRENT_LABEL)->isEnabled());
    Click(dlg.get(), IDC_SFT_UPPER);
    EXPECT_FALSE(Ctl(dlg.get(), IDC_SFT_UPPER_CURRENT)->isEnabled());
    EXPECT_FALSE(Ctl<QLineEdit>(dlg.get(), IDC_SFT_UPPER_MODIFY)->isReadOnly());
}

TEST_F(SensorFullTrimTest, UpperTrimIsWrittenAndChangesTheReading) {
    Open("KP510", 2);
    ASSERT_TRUE(WaitSent(4));
    Click(dlg.get(), IDC_SFT_UPPER);
    Click(dlg.get(), IDC_SFT_UPPER); // a click on the selected point keeps it
    EXPECT_TRUE(Checked(dlg.get(), IDC_SFT_UPPER));
    EXPECT_FALSE(Checked(dlg.get(), IDC_SFT_LOWER));
    ASSERT_TRUE(WaitSent(6));
    line->ClearWrites();
    Type(dlg.get(), IDC_SFT_UPPER_CURRENT, "100.0");
    Type(dlg.get(), IDC_SFT_UPPER_MODIFY, "99.5");
    Click(dlg.get(), IDC_SFT_SETUP);
    ASSERT_TRUE(WaitCommand(242));
    const hart::Bytes data = FramesOf({242})[0].data;
    ASSERT_EQ(data.size(), 9u);
    EXPECT_EQ(data[0], 16);
    EXPECT_FLOAT_EQ(FloatAt(data, 1), 100.0f);
    EXPECT_FLOAT_EQ(FloatAt(data, 5), 99.5f);
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_UPPER_POINT), "99.5");
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_UPPER_MODIFY), "99.5");
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_STATUS), "0번 트랜스미터의 Upper를 변경합니다.");
    // 100 now reads 99.5 and 0 still reads 0: the gain moved, the transmitter reads lower.
    const auto [gain, point] = OnDevice(0, [](sim::SimDevice& d) {
        return std::pair{d.pvGainTrim, sim::TrimStateOf(d).upperPoint};
    });
    EXPECT_NEAR(gain, 0.995f, 1e-5f);
    EXPECT_FLOAT_EQ(point, 99.5f);
    // "Read" brings the stored point back as the upper modify value.
    line->ClearWrites();
    Type(dlg.get(), IDC_SFT_UPPER_MODIFY, "1");
    Click(dlg.get(), IDC_SFT_READ);
    ASSERT_TRUE(WaitCommand(232));
    EXPECT_EQ(FramesOf({232})[0].data, hart::Bytes{16});
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_UPPER_MODIFY), "99.5");
}

TEST_F(SensorFullTrimTest, FactoryRecallAsksFirst) {
    Open("KP510", 2);
    ASSERT_TRUE(WaitSent(4));
    OnDevice(0, [](sim::SimDevice& d) {
        sim::TrimStateOf(d).lowerPoint = 5.0f;
        return 0;
    });
    line->ClearWrites();
    Boxes().QueueAnswer(vmc::IDCANCEL);
    Click(dlg.get(), IDC_SFT_FACTORY_RECALL);
    ASSERT_EQ(Boxes().Texts(), std::vector<QString>{"Do you set up data that initializd?"});
    QTest::qWait(20);
    EXPECT_TRUE(Frames().empty());

    Boxes().QueueAnswer(vmc::IDOK);
    Click(dlg.get(), IDC_SFT_FACTORY_RECALL);
    ASSERT_TRUE(WaitCommand(242));
    const hart::Bytes data = FramesOf({242})[0].data;
    ASSERT_EQ(data.size(), 9u);
    EXPECT_EQ(data[0], 48);
    EXPECT_FLOAT_EQ(FloatAt(data, 1), 0.0f);
    EXPECT_FLOAT_EQ(FloatAt(data, 5), 0.0f);
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_LOWER_POINT), "0");
    EXPECT_EQ(TextOf(dlg.get(), IDC_SFT_UPPER_POINT), "100");
}

TEST_F(ReferenceSetupTest, ReadsShowsAndWritesTheReference) {
    loop.AddDevice("KP510", 0, 1);
    OnDevice(0, [](sim::SimDevice& d) {
        auto& s = sim::TrimStateOf(d);
        s.makeCode = 0x2B;
        s.prescale = 8;
        s.assemblyMaker = 17;
        return 0;
    });
    ConnectTo(0);
    dlg = std::make_unique<CReferenceSetupDlg>(*host);
    dlg->show();
    ASSERT_TRUE(WaitSent(2));
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{208, 200}));
    EXPECT_EQ(TextOf(dlg.get(), IDC_REF_MAKE_CODE), "2B");
    EXPECT_EQ(TextOf(dlg.get(), IDC_REF_PRESCALE_READ), "08");
    EXPECT_EQ(dlg->SelectedPrescale(), 8);
    EXPECT_TRUE(Checked(dlg.get(), IDC_REF_XIYI));

    line->ClearWrites();
    Type(dlg.get(), IDC_REF_MAKE_CODE, "1A");
    Click(dlg.get(), IDC_REF_PRESCALE_1 + 2); // "4 Prescale"
    Click(dlg.get(), IDC_REF_NORVANE);
    EXPECT_FALSE(Checked(dlg.get(), IDC_REF_XIYI));
    Click(dlg.get(), IDOK_BUTTON);
    ASSERT_TRUE(WaitSent(2));
    EXPECT_EQ(Sent(), (std::vector<std::pair<int, hart::Bytes>>{{198, {0x1A, 0x04}}, {199, {1}}}));
    const auto [code, prescale, maker] = OnDevice(0, [](sim::SimDevice& d) {
        auto& s = sim::TrimStateOf(d);
        return std::tuple{s.makeCode, s.prescale, s.assemblyMaker};
    });
    EXPECT_EQ(code, 0x1A);
    EXPECT_EQ(prescale, 4);
    EXPECT_EQ(maker, 1);
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(ReferenceSetupTest, PrescaleOutsideTheChoicesClearsThemOnRead) {
    loop.AddDevice("KP510", 0, 1);
    OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).prescale = 3; });
    ConnectTo(0);
    dlg = std::make_unique<CReferenceSetupDlg>(*host);
    dlg->show();
    ASSERT_TRUE(WaitSent(2));
    EXPECT_EQ(TextOf(dlg.get(), IDC_REF_PRESCALE_READ), "03");
    EXPECT_EQ(dlg->SelectedPrescale(), 0);
    // Without a prescale chosen only the make code goes out, and the device keeps its prescale.
    line->ClearWrites();
    Type(dlg.get(), IDC_REF_MAKE_CODE, "7");
    Click(dlg.get(), IDOK_BUTTON);
    ASSERT_TRUE(WaitCommand(198));
    EXPECT_EQ(FramesOf({198})[0].data, hart::Bytes{0x07});
    EXPECT_EQ(TextOf(dlg.get(), IDC_REF_MAKE_CODE), "07");
    // A make code that is not hexadecimal is not sent.
    line->ClearWrites();
    Ctl<QLineEdit>(dlg.get(), IDC_REF_MAKE_CODE)->clear();
    Click(dlg.get(), IDOK_BUTTON);
    QTest::qWait(20);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(Boxes().Texts().back(), "Enter the make code as two hexadecimal digits.");
}

TEST_F(RefZeroPointTest, RequestTakesTheReadingsReadAndApplyUseTheStoredPoints) {
    Open("KP510", 2);
    QTest::qWait(20);
    EXPECT_TRUE(Frames().empty()) << "nothing is read at opening";
    Click(dlg.get(), IDC_RZP_REQ);
    ASSERT_TRUE(WaitCommand(210));
    // Third and fourth variables of the answer: the KP510 has a TV of 31 and no FV.
    EXPECT_EQ(TextOf(dlg.get(), IDC_RZP_HIGH), "31");
    EXPECT_EQ(TextOf(dlg.get(), IDC_RZP_LOW), "0");
    Click(dlg.get(), IDC_RZP_READ);
    ASSERT_TRUE(WaitCommand(231));
    EXPECT_EQ(TextOf(dlg.get(), IDC_RZP_HIGH), "1.25");
    EXPECT_EQ(TextOf(dlg.get(), IDC_RZP_LOW), "0.0125");
    Type(dlg.get(), IDC_RZP_HIGH, "2.5");
    Type(dlg.get(), IDC_RZP_LOW, "0.5");
    Click(dlg.get(), IDOK_BUTTON);
    ASSERT_TRUE(WaitCommand(241));
    const hart::Bytes data = FramesOf({241})[0].data;
    ASSERT_EQ(data.size(), 8u);
    EXPECT_FLOAT_EQ(FloatAt(data, 0), 2.5f);
    EXPECT_FLOAT_EQ(FloatAt(data, 4), 0.5f);
    EXPECT_FLOAT_EQ(OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).refZeroHigh; }), 2.5f);
    EXPECT_TRUE(dlg->isVisible());
}
