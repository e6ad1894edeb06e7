// "Transmitter Setup" against the simulated loop: the reads when it opens and every 5 seconds,
// what "&Apply" writes and in which order, the displays of special cases, "Range Reset", the
// sensor lists and the "Low Cut Mode" dialog.
#include "TransmitterFixture.h"
#include "pages/transmitter/LowCutModeDialog.h"
#include "pages/transmitter/TransmitterIds.h"
#include "pages/transmitter/TransmitterSetup.h"
#include "pages/transmitter/TransmitterSheets.h"
#include "sim/cmd/TransmitterState.h"

#include <QRadioButton>

using namespace testing_support;
using namespace res;

namespace {

class SetupTest : public PageOnSimTest {
protected:
    void TearDown() override {
        sheet.reset();
        PageOnSimTest::TearDown();
    }
    // Opens the sheet on the device at the address and waits for its first reads.
    void OpenAt(int address, std::size_t reads = 4) {
        ConnectTo(address);
        sheet = std::make_unique<CTransmitterSetupPropSheet>(*host, std::vector<PageFactory>{});
        sheet->Open();
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
        ASSERT_TRUE(WaitSent(reads));
        page = sheet->SetupPage();
    }
    void Apply() { Click(sheet->ApplyButton()); }
    // Waits until the page has sent n requests in all and the last one is answered.
    bool WaitCommands(std::size_t n) { return WaitSent(n); }
    // Lets the settle and refresh timers run for the given (unscaled) milliseconds.
    void Run(int ms) { QTest::qWait(vmc::ScaledMs(ms)); }
    template <class F> auto OnDevice(int address, F f) {
        return loop.With([&](sim::SimLoop& l) { return f(*l.AtAddress(address)); });
    }

    std::unique_ptr<CTransmitterSetupPropSheet> sheet;
    CTransmitterSetup* page = nullptr;
};

float FloatAt(const hart::Bytes& b, std::size_t at) { return hart::GetFloatBE(&b.at(at)); }

} // namespace

TEST_F(SetupTest, OpensWithTheLiveValuesAndTheOutputConfiguration) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{3, 2, 162, 15}));
    bool ok = false;
    Text(page, IDC_SETUP_PV).toFloat(&ok);
    EXPECT_TRUE(ok) << Text(page, IDC_SETUP_PV).toStdString();
    EXPECT_EQ(Text(page, IDC_SETUP_PV).section('.', 1).size(), 4) << "four decimals";
    const std::pair<int, QString> shown[] = {
        {IDC_SETUP_PV_UNIT, "(kPa)"},   {IDC_SETUP_SV, "24.5000"},    {IDC_SETUP_SV_UNIT, "(˚C)"},
        {IDC_SETUP_UNIT, "kPa"},        {IDC_SETUP_DAMPING, "0.5"},   {IDC_SETUP_TRANSFER, "linear"},
        {IDC_SETUP_UPPER, "100"},       {IDC_SETUP_LOWER, "0"},       {IDC_SETUP_UPPER_UNIT, "(kPa)"},
        {IDC_SETUP_VARIABLE, "PV"},     {IDC_SETUP_SENSOR, "(H)GP-RC 5"}, {IDC_SETUP_SENSOR_LIST, "KL Sensor"},
    };
    for (const auto& [id, text] : shown)
        EXPECT_EQ(Text(page, id), text) << "control " << id;
    EXPECT_FALSE(Control<QWidget>(page, IDC_SETUP_VARIABLE)->isEnabled());
    EXPECT_FALSE(Control<QWidget>(page, IDC_SETUP_SENSOR)->isEnabled()) << "a pressure transmitter";
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled()) << "the first display is not an edit";
    EXPECT_EQ(sheet->CancelButton()->text(), "&Exit");
    EXPECT_FALSE(sheet->OkButton()->isVisible());

    // Every 5 seconds the live values again.
    ASSERT_TRUE(WaitCommands(8));
    EXPECT_EQ(From(SentCommands(*line), 4), (std::vector<int>{3, 2, 3, 2}));
}

TEST_F(SetupTest, SpecialDisplays) {
    struct Case {
        const char* model;
        int address;
        QString sv, ao, percent;
    };
    const Case cases[] = {
        {"KL710", 0, "(Not Used)", "", ""},              // command 3 with 9 data bytes
        {"KP510", 2, "24.5000", "Fixed Value", "Fixed Value"}, // multidrop
    };
    for (const Case& c : cases) {
        sheet.reset();
        loop.Stop();
        loop.RemoveAll();
        line->ClearWrites();
        loop.AddDevice(c.model, c.address, 9);
        OpenAt(c.address);
        EXPECT_EQ(Text(page, IDC_SETUP_SV), c.sv) << c.model;
        if (c.ao.isEmpty()) {
            bool ok = false;
            EXPECT_GE(Text(page, IDC_SETUP_AO).toFloat(&ok), 3.8f) << "a loop current at address 0";
            EXPECT_TRUE(ok);
        } else {
            EXPECT_EQ(Text(page, IDC_SETUP_AO), c.ao);
            EXPECT_EQ(Text(page, IDC_SETUP_PERCENT), c.percent);
        }
    }
}

TEST_F(SetupTest, ApplyWritesOnlyWhatWasChangedDampingBeforeUnitThenReadsBack) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Retype(Control<QLineEdit>(page, IDC_SETUP_DAMPING), "2.5");
    Choose(Control<QComboBox>(page, IDC_SETUP_UNIT), 9);
    ASSERT_EQ(Text(page, IDC_SETUP_UNIT), "bar");
    const std::size_t before = SentCommands(*line).size();
    Apply();
    ASSERT_TRUE(WaitCommands(before + 5));
    const auto frames = From(SentFrames(*line), before);
    std::vector<int> commands;
    for (const auto& f : frames)
        commands.push_back(f.command);
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(std::vector<int>(commands.begin(), commands.begin() + 5), (std::vector<int>{34, 44, 3, 2, 15}));
    EXPECT_EQ(frames[0].data.size(), 4u);
    EXPECT_FLOAT_EQ(FloatAt(frames[0].data, 0), 2.5f);
    EXPECT_EQ(frames[1].data, hart::Bytes{7});
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return d.damping; }), 2.5f);
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return d.pvUnit; }), 7);
    EXPECT_EQ(Text(page, IDC_SETUP_UPPER), "1") << "the device converted its range to bar";
    EXPECT_EQ(Text(page, IDC_SETUP_UPPER_UNIT), "(bar)");
    EXPECT_EQ(Text(page, IDC_SETUP_PV_UNIT), "(bar)");
    EXPECT_EQ(Text(page, IDC_SETUP_DAMPING), "2.5");
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
}

TEST_F(SetupTest, TypingBeforeTheOutputIsReadRecordsNothing) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    d.faults.slowMs = 60;
    ConnectTo(0);
    sheet = std::make_unique<CTransmitterSetupPropSheet>(*host, std::vector<PageFactory>{});
    sheet->Open();
    page = sheet->SetupPage();
    Retype(Control<QLineEdit>(page, IDC_SETUP_UPPER), "55");
    ASSERT_TRUE(WaitSent(4));
    EXPECT_EQ(Text(page, IDC_SETUP_UPPER), "100") << "the device's range replaces what was typed early";
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_FALSE(page->m_bRangeChanged);
}

TEST_F(SetupTest, RangeResetTakesTheSensorLimitsAndApplyWritesThem) {
    struct Case {
        const char* model;
        QString upper, lower; // the flow and capacitive types measure from zero
    };
    const Case cases[] = {{"KP510F", "100", "0"}, {"KP520", "2000", "-1000"}};
    for (const Case& c : cases) {
        sheet.reset();
        loop.Stop();
        loop.RemoveAll();
        line->ClearWrites();
        loop.AddDevice(c.model, 0, 5);
        OpenAt(0);
        const std::size_t before = SentCommands(*line).size();
        Click(Control<QPushButton>(page, IDC_SETUP_RANGE_RESET));
        ASSERT_TRUE(SpinUntil([&] { return Text(page, IDC_SETUP_UPPER) == c.upper; })) << c.model;
        EXPECT_EQ(Text(page, IDC_SETUP_LOWER), c.lower) << c.model;
        EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
        EXPECT_EQ(From(SentCommands(*line), before).front(), 14);
        const std::size_t applied = SentCommands(*line).size();
        Apply();
        ASSERT_TRUE(WaitCommands(applied + 1));
        const auto frames = From(SentFrames(*line), applied);
        ASSERT_EQ(frames[0].command, 35) << c.model;
        EXPECT_EQ(frames[0].data.size(), 9u);
        EXPECT_EQ(frames[0].data[0], 12);
        EXPECT_FLOAT_EQ(FloatAt(frames[0].data, 1), c.upper.toFloat());
        EXPECT_FLOAT_EQ(FloatAt(frames[0].data, 5), c.lower.toFloat());
        EXPECT_EQ(OnDevice(0, [](sim::SimDevice& dev) { return dev.lowerRange; }), c.lower.toFloat())
            << c.model;
    }
}

TEST_F(SetupTest, ASensorTheFamilyListLacksSwitchesToTheMSList) {
    loop.AddDevice("KP510", 0, 1).Ext<sim::TransmitterState>().sensorCode[0] = 232;
    OpenAt(0);
    EXPECT_EQ(Text(page, IDC_SETUP_SENSOR_LIST), "MS Sensor");
    EXPECT_EQ(Text(page, IDC_SETUP_SENSOR), "#G5");
    EXPECT_EQ(Control<QComboBox>(page, IDC_SETUP_SENSOR)->count(), 16);
    EXPECT_TRUE(page->m_bMSSensorList);
}

TEST_F(SetupTest, ATemperatureTransmittersSensorIsWrittenAndReadBack) {
    loop.AddDevice("KT410", 0, 1);
    OpenAt(0);
    auto* sensor = Control<QComboBox>(page, IDC_SETUP_SENSOR);
    ASSERT_TRUE(sensor->isEnabled());
    ASSERT_EQ(sensor->currentText(), "PT-100 3W DIN");
    Choose(sensor, sensor->findText("T/C-J Type"));
    const std::size_t before = SentCommands(*line).size();
    Apply();
    ASSERT_TRUE(WaitCommands(before + 2));
    const auto frames = From(SentFrames(*line), before);
    EXPECT_EQ(frames[0].command, 152);
    EXPECT_EQ(frames[0].data, (hart::Bytes{1, 34}));
    EXPECT_EQ(frames[1].command, 15);
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return sim::SensorCodeOf(d, 1); }), 34);
    EXPECT_EQ(sensor->currentText(), "T/C-J Type");
}

TEST_F(SetupTest, TheRefreshWaitsWhileTheUserTypes) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    auto* damping = Control<QLineEdit>(page, IDC_SETUP_DAMPING);
    damping->setFocus();
    ASSERT_TRUE(damping->hasFocus());
    const std::size_t before = SentCommands(*line).size();
    Run(12000);
    EXPECT_EQ(SentCommands(*line).size(), before) << "no refresh while the damping has the focus";
    Control<QPushButton>(page, IDC_SETUP_LOW_CUT)->setFocus();
    ASSERT_TRUE(WaitCommands(before + 2));
    EXPECT_EQ(From(SentCommands(*line), before), (std::vector<int>{3, 2}));
}

TEST_F(SetupTest, ABusyDeviceIsAskedForItsValuesAgainAtOnce) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    const std::size_t before = SentCommands(*line).size();
    loop.With([&](sim::SimLoop&) { return d.faults.busy = 2; });
    ASSERT_TRUE(WaitCommands(before + 4));
    EXPECT_EQ(From(SentCommands(*line), before), (std::vector<int>{3, 3, 3, 2}));
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(SetupTest, ARefusedWriteIsReportedAndTheValuesKeepComing) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Retype(Control<QLineEdit>(page, IDC_SETUP_UPPER), "500"); // beyond the sensor's 200 kPa
    const std::size_t before = SentCommands(*line).size();
    Apply();
    ASSERT_TRUE(SpinUntil([&] { return !Boxes().Texts().empty(); }));
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"[Cmd#35] Because occur an error, fail a command!"});
    EXPECT_TRUE(Control<QLineEdit>(page, IDC_SETUP_UPPER)->hasFocus());
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return d.upperRange; }), 100.0f);
    Control<QPushButton>(page, IDC_SETUP_LOW_CUT)->setFocus();
    ASSERT_TRUE(WaitCommands(before + 3));
    EXPECT_EQ(From(SentCommands(*line), before), (std::vector<int>{35, 3, 2}));
}

TEST_F(SetupTest, LowCutModeReadsAndWritesTheCutOff) {
    loop.AddDevice("KP510F", 0, 1);
    OpenAt(0);
    const std::size_t before = SentCommands(*line).size();
    bool ran = false;
    WhenDialogOpens<CLowCutModeDlg>([&](CLowCutModeDlg& dlg) {
        ran = true;
        EXPECT_EQ(dlg.windowTitle(), "Low Cut Mode");
        ASSERT_TRUE(SpinUntil([&] { return Control<QRadioButton>(&dlg, IDC_LOWCUT_LINEAR)->isChecked(); }));
        EXPECT_EQ(Text(&dlg, IDC_LOWCUT_RANGE), "1");
        // Out of range first: the field refuses it.
        Retype(Control<QLineEdit>(&dlg, IDC_LOWCUT_RANGE), "25");
        Click(Control<QPushButton>(&dlg, IDC_LOWCUT_WRITE));
        EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Please enter a number between 0 and 20."});
        Control<QRadioButton>(&dlg, IDC_LOWCUT_ZERO)->click();
        Retype(Control<QLineEdit>(&dlg, IDC_LOWCUT_RANGE), "7.5");
        Click(Control<QPushButton>(&dlg, IDC_LOWCUT_WRITE));
        ASSERT_TRUE(SpinUntil([&] {
            return OnDevice(0, [](sim::SimDevice& d) { return d.Ext<sim::TransmitterState>().lowCutMode; }) == 1;
        }));
        WaitIdle();
        Click(Control<QPushButton>(&dlg, 2));
    });
    Click(Control<QPushButton>(page, IDC_SETUP_LOW_CUT));
    ASSERT_TRUE(ran);
    const auto frames = From(SentFrames(*line), before);
    std::vector<SentFrame> lowCut;
    for (const auto& f : frames)
        if (f.command == 235 || f.command == 245)
            lowCut.push_back(f);
    ASSERT_EQ(lowCut.size(), 2u);
    EXPECT_EQ(lowCut[0].command, 235);
    EXPECT_EQ(lowCut[1].command, 245);
    hart::Bytes expected{1};
    hart::AppendFloat(expected, 7.5f);
    EXPECT_EQ(lowCut[1].data, expected);
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return d.Ext<sim::TransmitterState>().lowCutPercent; }), 7.5f);

    // The refresh runs again after the dialog.
    const std::size_t after = SentCommands(*line).size();
    ASSERT_TRUE(WaitCommands(after + 2));
    EXPECT_EQ(From(SentCommands(*line), after), (std::vector<int>{3, 2}));
}

TEST_F(SetupTest, LowCutModeIsOnlyForPressureTransmitters) {
    loop.AddDevice("KT410", 0, 1);
    OpenAt(0);
    Click(Control<QPushButton>(page, IDC_SETUP_LOW_CUT));
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "This function is only for Pressure Transmitter");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
    EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
}
