// "Transmitter Information" against the simulated loop: what the pages read when they open, what
// "&Apply" writes, and what the pages refuse.
#include "TransmitterFixture.h"
#include "pages/transmitter/SensorOutputInformation.h"
#include "pages/transmitter/TransmitterIds.h"
#include "pages/transmitter/TransmitterInformation.h"
#include "pages/transmitter/TransmitterSheets.h"

using namespace testing_support;
using namespace res;

namespace {

class InformationTest : public PageOnSimTest {
protected:
    void TearDown() override {
        sheet.reset(); // before the host it talks to
        PageOnSimTest::TearDown();
    }
    sim::SimDevice& AddKP510(int address) {
        sim::SimDevice& d = loop.AddDevice("KP510", address, 0x000330 + static_cast<std::uint32_t>(address));
        d.tag = QStringLiteral("PT-%1").arg(address);
        d.message = QStringLiteral("LINE 4 FEED");
        d.finalAssembly = 4711;
        d.day = 9;
        d.month = 3;
        d.year = 2021;
        d.sensorSerial = 123456;
        return d;
    }
    // Opens the sheet on the current device and waits for the first page's reads.
    void OpenSheet() {
        sheet = std::make_unique<CTransmitterInfoPropSheet>(*host);
        sheet->Open();
        ASSERT_TRUE(WaitSent(4));
        info = sheet->InformationPage();
    }
    void ShowSensorPage(std::size_t reads = 3) {
        const std::size_t before = SentCommands(*line).size();
        ASSERT_TRUE(sheet->SetActivePage(1));
        ASSERT_TRUE(WaitSent(before + reads));
        sensor = sheet->SensorPage();
    }
    void Apply(std::size_t expectSent) {
        Click(sheet->ApplyButton());
        ASSERT_TRUE(WaitSent(expectSent));
    }
    template <class F> auto OnDevice(int address, F f) {
        return loop.With([&](sim::SimLoop& l) { return f(*l.AtAddress(address)); });
    }

    std::unique_ptr<CTransmitterInfoPropSheet> sheet;
    CTransmitterInformation* info = nullptr;
    CSensorOutputInformation* sensor = nullptr;
};

} // namespace

TEST_F(InformationTest, OpeningReadsTheCurrentDeviceAndShowsItsIdentity) {
    AddKP510(0);
    AddKP510(3);
    ConnectTo(3);
    OpenSheet();
    EXPECT_EQ(SentCommands(*line), (std::vector<int>{13, 12, 16, 15}));
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.received; }),
              (std::map<int, int>{{0, 1}, {13, 2}, {12, 1}, {16, 1}, {15, 1}}))
        << "identified (0, 13), then read by the page";
    EXPECT_TRUE(OnDevice(0, [](sim::SimDevice& d) { return d.received.empty(); })) << "only the current device";

    const std::pair<int, QString> shown[] = {
        {IDC_INFO_POLLING, "3"},         {IDC_INFO_TAG, "PT-3"},
        {IDC_INFO_MANUFACTURER, "Norvane Works"}, {IDC_INFO_TYPE, "KP510"},
        {IDC_INFO_PRODUCT_ID, "819"},    {IDC_INFO_UNIQUE_ID, "06 6B 00 03 33 "},
        {IDC_INFO_DISTRIBUTOR, "Norvane Works"}, {IDC_INFO_MESSAGE, "LINE 4 FEED"},
        {IDC_INFO_YEAR, "2021"},         {IDC_INFO_MONTH, "3"},
        {IDC_INFO_DAY, "9"},             {IDC_INFO_DESCRIPTOR, "CAP PRESSURE TX"},
        {IDC_INFO_FINAL_ASSEMBLY, "4711"}, {IDC_INFO_UNIVERSAL_REV, "5"},
        {IDC_INFO_DEVICE_REV, "3"},      {IDC_INFO_SOFTWARE_REV, "12"},
        {IDC_INFO_REQUEST_PREAMBLES, "5"}, {IDC_INFO_RESPONSE_PREAMBLES, "5"},
    };
    for (const auto& [id, text] : shown)
        EXPECT_EQ(Text(info, id), text) << "control " << id;
    EXPECT_FALSE(Control<QWidget>(info, IDC_INFO_TODAY)->isVisible());

    // Reading a number other than 0 is not an edit: nothing is written back, "&Apply" stays off.
    QTest::qWait(vmc::ScaledMs(1000));
    EXPECT_EQ(SentCommands(*line).size(), 4u);
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_TRUE(Boxes().Texts().empty());

    ShowSensorPage();
    EXPECT_EQ(From(SentCommands(*line), 4), (std::vector<int>{14, 15, 162}));
    EXPECT_EQ(From(SentFrames(*line), 6)[0].data, hart::Bytes{1}) << "sensor type of variable 1";
    const std::pair<int, QString> sensorShown[] = {
        {IDC_SENSOR_SERIAL, "123456"},    {IDC_SENSOR_MIN_SPAN, "1"},       {IDC_SENSOR_UPPER, "200"},
        {IDC_SENSOR_LOWER, "-100"},       {IDC_SENSOR_SPAN_UNIT, "(kPa)"},  {IDC_SENSOR_UPPER_UNIT, "(kPa)"},
        {IDC_SENSOR_LOWER_UNIT, "(kPa)"}, {IDC_SENSOR_TYPE, "(H)GP-RC 5"},  {IDC_SENSOR_ALARM, "high"},
        {IDC_SENSOR_WRITE_PROTECT, "No Write Protected (s/w)"},
    };
    for (const auto& [id, text] : sensorShown)
        EXPECT_EQ(Text(sensor, id), text) << "control " << id;
    EXPECT_FALSE(Control<QWidget>(sensor, IDC_SENSOR_GAIN)->isVisible());
    EXPECT_FALSE(Control<QWidget>(sensor, IDC_SENSOR_ZERO_GROUP)->isVisible());
}

TEST_F(InformationTest, EditsAreWrittenOnApplyKeptByTheDeviceAndReadBack) {
    AddKP510(3);
    ConnectTo(3);
    OpenSheet();
    Retype(Control<QLineEdit>(info, IDC_INFO_MESSAGE), "boiler room");
    Retype(Control<QLineEdit>(info, IDC_INFO_FINAL_ASSEMBLY), "16777215");
    QTest::mouseClick(Control<CSpinBuddy>(info, IDC_INFO_DAY_SPIN)->UpButton(), Qt::LeftButton);
    QTest::qWait(vmc::ScaledMs(500));
    EXPECT_EQ(SentCommands(*line).size(), 4u) << "nothing before \"&Apply\"";
    EXPECT_EQ(Text(info, IDC_INFO_MESSAGE), "BOILER ROOM");

    Apply(7);
    EXPECT_EQ(From(SentCommands(*line), 4), (std::vector<int>{17, 19, 18}));
    EXPECT_EQ(From(SentFrames(*line), 4)[0].data, hart::PackAscii("BOILER ROOM", 32));
    EXPECT_EQ(From(SentFrames(*line), 4)[1].data, (hart::Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.message.trimmed(); }), "BOILER ROOM");
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.finalAssembly; }), 16777215u);
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.day; }), 10);

    // A fresh sheet reads what the device now holds.
    sheet.reset();
    line->ClearWrites();
    OpenSheet();
    EXPECT_EQ(Text(info, IDC_INFO_MESSAGE), "BOILER ROOM");
    EXPECT_EQ(Text(info, IDC_INFO_FINAL_ASSEMBLY), "16777215");
    EXPECT_EQ(Text(info, IDC_INFO_DAY), "10");
}

TEST_F(InformationTest, FieldLimitsStopApplyBeforeAnythingIsSent) {
    AddKP510(3);
    ConnectTo(3);
    OpenSheet();
    struct Case {
        int id;
        QString typed;
        QString box;
    };
    const Case cases[] = {
        {IDC_INFO_POLLING, "16", "Please enter an integer between 0 and 15."},
        {IDC_INFO_MONTH, "13", "Please enter an integer between 1 and 12."},
        {IDC_INFO_YEAR, "1969", "Please enter an integer between 1970 and 2050."},
        {IDC_INFO_FINAL_ASSEMBLY, "16777216", "Please enter an integer between 0 and 16777215."},
    };
    for (const Case& c : cases) {
        Boxes().Clear();
        auto* edit = Control<QLineEdit>(info, c.id);
        const QString before = edit->text();
        Retype(edit, c.typed);
        Click(sheet->ApplyButton());
        QTest::qWait(vmc::ScaledMs(300));
        EXPECT_EQ(Boxes().Texts(), std::vector<QString>{c.box}) << "control " << c.id;
        EXPECT_EQ(SentCommands(*line).size(), 4u) << "control " << c.id;
        EXPECT_TRUE(edit->hasFocus());
        Retype(edit, before);
    }
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.pollingAddress; }), 3);
}

TEST_F(InformationTest, HardwareWriteProtectionCannotBeChosenAndIsReadBack) {
    AddKP510(3);
    ConnectTo(3);
    OpenSheet();
    ShowSensorPage();
    auto* list = Control<QComboBox>(sensor, IDC_SENSOR_WRITE_PROTECT);
    Choose(list, 1); // "Write Protected (h/w)"
    EXPECT_EQ(list->currentText(), "Write Protected (h/w)");
    Apply(8);
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Can't select a H/W Setup!"});
    EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
    EXPECT_EQ(From(SentCommands(*line), 7), std::vector<int>{15}) << "no 159, the setting is read back";
    EXPECT_EQ(list->currentText(), "No Write Protected (s/w)");

    // The software setting goes to the device, which then refuses writes.
    Boxes().Clear();
    Choose(list, 3);
    Apply(9);
    EXPECT_EQ(From(SentFrames(*line), 8)[0].command, 159);
    EXPECT_EQ(From(SentFrames(*line), 8)[0].data, hart::Bytes{241});
    EXPECT_EQ(OnDevice(3, [](sim::SimDevice& d) { return d.writeProtect; }), 241);
    EXPECT_EQ(list->currentText(), "Write Protected (s/w)");
    ASSERT_TRUE(sheet->SetActivePage(0));
    Retype(Control<QLineEdit>(info, IDC_INFO_MESSAGE), "X");
    Apply(10);
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"[Cmd#17] Because occur an error, fail a command!"});
    EXPECT_TRUE(Control<QLineEdit>(info, IDC_INFO_MESSAGE)->hasFocus());
}

TEST_F(InformationTest, AlarmSelectionIsWrittenOnlyToTheDualTemperatureTransmitter) {
    loop.AddDevice("KP510", 1, 0x10);
    loop.AddDevice("KT420", 2, 0x20);
    for (int address : {1, 2}) {
        sheet.reset();
        ConnectTo(address);
        OpenSheet();
        ShowSensorPage();
        Choose(Control<QComboBox>(sensor, IDC_SENSOR_ALARM), 1);
        const bool written = address == 2;
        EXPECT_EQ(sheet->ApplyButton()->isEnabled(), written) << address;
        if (written) {
            Apply(8);
            EXPECT_EQ(From(SentFrames(*line), 7)[0].command, 158);
            EXPECT_EQ(From(SentFrames(*line), 7)[0].data, hart::Bytes{1});
            EXPECT_EQ(OnDevice(2, [](sim::SimDevice& d) { return d.alarmSelect; }), 1);
            EXPECT_EQ(Text(sensor, IDC_SENSOR_TYPE), "T/C-K Type") << "named from the temperature sensors";
        }
        loop.Stop();
    }
}

TEST_F(InformationTest, AnotherMakersDeviceIsNotAskedTheMakersCommands) {
    loop.AddDevice("3051", 4, 0x44);
    ConnectTo(4);
    OpenSheet();
    ShowSensorPage(2);
    QTest::qWait(vmc::ScaledMs(500));
    EXPECT_EQ(From(SentCommands(*line), 4), (std::vector<int>{14, 15}));
    EXPECT_EQ(Text(sensor, IDC_SENSOR_TYPE), "");
    EXPECT_TRUE(Boxes().Texts().empty());
}
