// The "Transmitter Trim" page in a sheet of its own against the simulated loop.
#include "TrimFixture.h"
#include "hart/CodeTables.h"
#include "pages/common/PropertySheet.h"
#include "pages/trim/DACTrimWizard.h"
#include "pages/trim/LinearizationDialogs.h"
#include "pages/trim/LoopTimeDialog.h"
#include "pages/trim/SensorFullTrimDialog.h"
#include "pages/trim/TransmitterTrim.h"
#include "pages/trim/TrimIds.h"
#include "pages/trim/ZeroAdjustmentDialog.h"

#include <QRegularExpression>

using namespace testing_support;
using namespace res;

namespace {

class TrimPageTest : public TrimTest {
protected:
    // Opens the page the way the "Transmitter Setup" sheet shows it.
    void OpenPage() {
        sheet = std::make_unique<CPropertySheet>(QStringLiteral("Transmitter Setup"));
        sheet->UseExitButton();
        page = new CTransmitterTrim(*host);
        sheet->AddPage(page);
        sheet->Open();
    }
    void TearDown() override {
        sheet.reset();
        TrimTest::TearDown();
    }
    bool WaitText(int id, const std::function<bool(const QString&)>& pred, int limitMs = 5000) {
        return SpinUntil([&] { return pred(TextOf(page, id)); }, limitMs);
    }
    std::unique_ptr<CPropertySheet> sheet;
    CTransmitterTrim* page = nullptr;
};

const QRegularExpression kFourDecimals(QStringLiteral("^-?\\d+\\.\\d{4}$"));

struct AddressCase {
    int address;
    bool multidrop;
};

class TrimPageAddressTest : public TrimPageTest, public ::testing::WithParamInterface<AddressCase> {};

} // namespace

TEST_P(TrimPageAddressTest, LiveValuesAndWhatMultidropLocks) {
    const AddressCase c = GetParam();
    loop.AddDevice("KP510", c.address, 0x20 + static_cast<std::uint32_t>(c.address));
    ConnectTo(c.address);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    EXPECT_EQ(SentCommands(*line)[0], 3);
    EXPECT_EQ(SentCommands(*line)[1], 2);
    EXPECT_TRUE(kFourDecimals.match(TextOf(page, IDC_TRIM_PV)).hasMatch()) << TextOf(page, IDC_TRIM_PV).toStdString();
    EXPECT_EQ(TextOf(page, IDC_TRIM_PV_UNIT), "(" + hart::GetCodeName(hart::UnitTable(), 12) + ")");
    EXPECT_EQ(TextOf(page, IDC_TRIM_SV), "24.5000"); // the model's SV, field 4 of the answer
    for (int id : {IDC_TRIM_AO, IDC_TRIM_PERCENT}) {
        if (c.multidrop)
            EXPECT_EQ(TextOf(page, id), "Fixed Value");
        else
            EXPECT_TRUE(kFourDecimals.match(TextOf(page, id)).hasMatch()) << TextOf(page, id).toStdString();
    }
    for (int id : {IDC_TRIM_DAC_CURRENT, IDC_TRIM_DAC_VOLTAGE, IDC_TRIM_LOOP_TEST})
        EXPECT_EQ(Ctl(page, id)->isEnabled(), !c.multidrop) << id;
    // The 5-second refresh (scaled) keeps reading.
    ASSERT_TRUE(WaitSent(6));
    const std::vector<int> sent = SentCommands(*line);
    EXPECT_EQ(std::vector<int>(sent.begin(), sent.begin() + 6), (std::vector<int>{3, 2, 3, 2, 3, 2}));
}

INSTANTIATE_TEST_SUITE_P(Addresses, TrimPageAddressTest,
                         ::testing::Values(AddressCase{0, false}, AddressCase{2, true}),
                         [](const auto& p) { return "Address" + std::to_string(p.param.address); });

TEST_F(TrimPageTest, ZeroJumpsTheQueueWhileThreeIsInFlightAndMovesTheRange) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_NE(host->Comm().GetComState(), 0) << "command 3 is in flight";
    QTest::mouseClick(Ctl<QPushButton>(page, IDC_TRIM_ZERO), Qt::LeftButton);
    ASSERT_TRUE(WaitSent(3));
    const std::vector<int> sent = SentCommands(*line);
    EXPECT_EQ(std::vector<int>(sent.begin(), sent.begin() + 3), (std::vector<int>{3, 37, 2}));
    // The process applied (about 50 kPa) is the new lower range value; the span of 100 stays.
    const auto [lower, upper] = OnDevice(0, [](sim::SimDevice& d) { return std::pair{d.lowerRange, d.upperRange}; });
    EXPECT_NEAR(lower, 50.0f, 4.0f);
    EXPECT_NEAR(upper - lower, 100.0f, 0.01f);
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(TrimPageTest, SpanAndSensorZeroChangeWhatTheTransmitterReads) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    QTest::mouseClick(Ctl<QPushButton>(page, IDC_TRIM_SPAN), Qt::LeftButton);
    ASSERT_TRUE(WaitCommand(36));
    EXPECT_NEAR(OnDevice(0, [](sim::SimDevice& d) { return d.upperRange; }), 50.0f, 4.0f);

    QTest::mouseClick(Ctl<QPushButton>(page, IDC_TRIM_SENSOR_ZERO), Qt::LeftButton);
    ASSERT_TRUE(WaitCommand(43));
    // The page reads again at once and shows the PV at zero.
    ASSERT_TRUE(WaitText(IDC_TRIM_PV, [](const QString& t) { return std::fabs(t.toFloat()) < 4.0f; }))
        << TextOf(page, IDC_TRIM_PV).toStdString();
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(TrimPageTest, SensorZeroRefusedIsReported) {
    loop.AddDevice("KP510", 0, 1).processCenter = 500.0f; // far beyond what a zero trim may take
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    QTest::mouseClick(Ctl<QPushButton>(page, IDC_TRIM_SENSOR_ZERO), Qt::LeftButton);
    ASSERT_TRUE(WaitCommand(43));
    ASSERT_TRUE(SpinUntil([] { return !Boxes().Texts().empty(); }));
    EXPECT_EQ(Boxes().Texts()[0], "[Cmd#43] Because occur an error, fail a command!");
}

TEST_F(TrimPageTest, FixedCurrentRangeLoopTestAndLeavingFixedMode) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    auto* fixedButton = Ctl<QPushButton>(page, IDC_TRIM_FIXED_MODE);
    EXPECT_FALSE(fixedButton->isEnabled());
    Click(page, IDC_TRIM_LOOP_TEST);
    EXPECT_TRUE(fixedButton->isEnabled());
    EXPECT_TRUE(Ctl(page, IDC_TRIM_FIXED_CURRENT)->isEnabled());
    EXPECT_TRUE(Ctl(page, IDC_TRIM_MINUTES)->isEnabled());

    // Below 3.8: the range message, nothing sent.
    Type(page, IDC_TRIM_FIXED_CURRENT, "3.7");
    fixedButton->click();
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text,
              "\n  Please check the number entered \n\n(Possible input values is 3.8V ~ 23V)\n");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "");
    EXPECT_EQ(fixedButton->text(), "Enter Fixed Mode Current");
    QTest::qWait(20);
    EXPECT_TRUE(FramesOf({40}).empty());

    // 23.0 is taken: the transmitter holds it and reports it as its loop current.
    Type(page, IDC_TRIM_FIXED_CURRENT, "23.0");
    fixedButton->click();
    EXPECT_EQ(fixedButton->text(), "Exit Fixed Mode Current");
    ASSERT_TRUE(WaitCommand(40));
    ASSERT_EQ(FramesOf({40})[0].data.size(), 4u);
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({40})[0].data, 0), 23.0f);
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.value_or(0.0f); }), 23.0f);
    ASSERT_TRUE(WaitText(IDC_TRIM_AO, [](const QString& t) { return t == "23.0000"; })) << TextOf(page, IDC_TRIM_AO).toStdString();

    // Leaving: 40 with 0.0; the transmitter answers 0.0, which shows as 4.
    fixedButton->click();
    EXPECT_EQ(fixedButton->text(), "Enter Fixed Mode Current");
    ASSERT_TRUE(WaitCommand(40, 2));
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({40})[1].data, 0), 0.0f);
    ASSERT_TRUE(SpinUntil([&] { return TextOf(page, IDC_TRIM_FIXED_CURRENT) == "4"; }))
        << TextOf(page, IDC_TRIM_FIXED_CURRENT).toStdString();
    EXPECT_FALSE(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.has_value(); }));
    EXPECT_EQ(Boxes().Boxes().size(), 1u);
}

TEST_F(TrimPageTest, ClosingTheSheetReturnsAFixedLoopToNormal) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    Click(page, IDC_TRIM_LOOP_TEST);
    Type(page, IDC_TRIM_FIXED_CURRENT, "12");
    Click(page, IDC_TRIM_FIXED_MODE);
    ASSERT_TRUE(WaitCommand(40));
    ASSERT_TRUE(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.has_value(); }));
    sheet->CancelButton()->click();
    ASSERT_TRUE(WaitCommand(40, 2));
    EXPECT_FLOAT_EQ(FloatAt(FramesOf({40})[1].data, 0), 0.0f);
    EXPECT_FALSE(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.has_value(); }));
}

TEST_F(TrimPageTest, LoopTimeHoldsTheCurrentCountsDownAndLetsGo) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    Click(page, IDC_TRIM_LOOP_TEST);
    Type(page, IDC_TRIM_FIXED_CURRENT, "12");
    Type(page, IDC_TRIM_MINUTES, "1");
    QStringList remaining;
    float heldCurrent = 0.0f;
    bool dialogSeen = false;
    WhenDialogOpens<CLoopTimeDialog>([&](CLoopTimeDialog& dlg) {
        dialogSeen = true;
        EXPECT_EQ(dlg.windowTitle(), "Loop Time");
        remaining << TextOf(&dlg, IDC_LOOPTIME_REMAINING);
        EXPECT_TRUE(SpinUntil([&] { return dlg.CurrentState() == CLoopTimeDialog::State::Holding; }));
        heldCurrent = OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.value_or(0.0f); });
        EXPECT_TRUE(SpinUntil([&] { return dlg.RemainingSeconds() < 55; }));
        remaining << TextOf(&dlg, IDC_LOOPTIME_REMAINING);
        EXPECT_TRUE(SpinUntil([&] { return TextOf(&dlg, IDC_LOOPTIME_AO) == "12.0000"; }));
    });
    Click(page, IDC_TRIM_FIXED_MODE); // returns once the dialog has let go and closed
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(heldCurrent, 12.0f);
    ASSERT_EQ(remaining.size(), 2);
    EXPECT_EQ(remaining[0], "0:01:00");
    EXPECT_LT(remaining[1], remaining[0]);
    ASSERT_TRUE(WaitIdle());
    const auto fixes = FramesOf({40});
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_FLOAT_EQ(FloatAt(fixes[0].data, 0), 12.0f);
    EXPECT_FLOAT_EQ(FloatAt(fixes[1].data, 0), 0.0f);
    EXPECT_FALSE(OnDevice(0, [](sim::SimDevice& d) { return d.fixedCurrent.has_value(); }));
    EXPECT_EQ(Ctl<QPushButton>(page, IDC_TRIM_FIXED_MODE)->text(), "Enter Fixed Mode Current");
    EXPECT_TRUE(page->IsReceiver());
}

namespace {
struct DialogCase {
    const char* model;
    int button;
    QString buttonText;
    QString title;
};
class TrimPageDialogTest : public TrimPageTest, public ::testing::WithParamInterface<DialogCase> {};
} // namespace

// Each button opens its dialog for the device at hand; the page takes the answers back after.
TEST_P(TrimPageDialogTest, ButtonOpensItsDialog) {
    const DialogCase c = GetParam();
    loop.AddDevice(c.model, 0, 1);
    ConnectTo(0);
    OpenPage();
    ASSERT_TRUE(WaitSent(2));
    auto* button = Ctl<QPushButton>(page, c.button);
    EXPECT_EQ(button->text(), c.buttonText);
    ASSERT_TRUE(button->isEnabled());
    QString opened;
    WhenDialogOpens<QDialog>([&](QDialog& dlg) {
        opened = dlg.windowTitle();
        EXPECT_TRUE(WaitIdle());
        dlg.reject();
    });
    button->click();
    EXPECT_EQ(opened, c.title);
    EXPECT_TRUE(page->IsReceiver());
    EXPECT_TRUE(WaitIdle());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, TrimPageDialogTest,
    ::testing::Values(DialogCase{"KP510", IDC_TRIM_SENSOR_FULL, "Sensor Full Trim", "Sensor Full Trim"},
                      DialogCase{"KL710", IDC_TRIM_SENSOR_FULL, "Sensor Full Trim", "Sensor Full Trim"},
                      DialogCase{"KT410", IDC_TRIM_SENSOR_FULL, "Variable Linearization",
                                 "Transmitter Variable Linearzation"},
                      DialogCase{"KT410", IDC_TRIM_CJ_LINEARIZATION, "CJ Linearization", "CJ  Temperature Linearization"},
                      DialogCase{"KP510", IDC_TRIM_ZERO_ADJUST, "Zero Adjustment", "Zero Adjustment"},
                      DialogCase{"KP510", IDC_TRIM_DAC_CURRENT, "DAC Trim for Current", "DAC Trim for Current"},
                      DialogCase{"KP510", IDC_TRIM_DAC_VOLTAGE, "DAC Trim for Voltage", "DAC Trim for Voltage"}),
    [](const auto& p) { return std::string(p.param.model) + "_" + std::to_string(p.param.button); });

TEST_F(TrimPageTest, CJLinearizationOnlyForTemperatureTransmitters) {
    loop.AddDevice("KP510", 0, 1);
    ConnectTo(0);
    OpenPage();
    EXPECT_FALSE(Ctl(page, IDC_TRIM_CJ_LINEARIZATION)->isEnabled());
}
