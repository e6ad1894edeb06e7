// Code tables: lookups, the device-type rules, the device families, the registration data and
// its parser, the combo boxes, and the name queries of the link.
#include "common/SimFixture.h"
#include "hart/CodeTables.h"
#include "hart/RegistrationData.h"
#include "hart/widgets/CodeCombos.h"

#include <QComboBox>
#include <set>

using namespace testing_support;
using namespace hart;

namespace {
const QString kDegree = QString(QChar(0x02DA));
}

TEST(CodeTables, Lookups) {
    EXPECT_EQ(FindCodeIndex(PressureUnitTable(), 12), 0);
    EXPECT_EQ(FindCodeIndex(PressureUnitTable(), 250), 17);
    EXPECT_EQ(FindCodeIndex(PressureUnitTable(), 32), -1);
    EXPECT_EQ(GetCodeName(PressureUnitTable(), 237), "MPa");
    EXPECT_EQ(GetCodeName(PressureUnitTable(), 99), "");
    EXPECT_EQ(GetNameCode(PressureUnitTable(), "psi"), "6");
    EXPECT_EQ(GetNameCode(PressureUnitTable(), "PSI"), "") << "labels match case-sensitively";
    EXPECT_EQ(GetNameCode(PressureUnitTable(), "ps"), "");
    EXPECT_EQ(GetNameCode(UnitTable(), kDegree + "C"), "32");
    EXPECT_EQ(GetCodeName(TemperatureUnitTable(), 35), kDegree + "K");
    EXPECT_EQ(GetCodeName(TemperatureUnitTable(), 35).toUtf8(), QByteArray("\xCB\x9A" "K"));
    EXPECT_EQ(GetCodeName(VariableCodeTable(), 41), "KP520 Process Press(Piezo)");
    EXPECT_EQ(GetCodeName(WriteProtectTable(), 241), "Write Protected (s/w)");
    EXPECT_EQ(GetCodeName(TransferFunctionTable(), 5), "squre");
    EXPECT_EQ(GetCodeName(AlarmSelectTable(), 1), "low");
}

TEST(CodeTables, CompositeTablesKeepTheirPartsInOrder) {
    const CodeTable all = UnitTable();
    ASSERT_EQ(all.size(), 109u);
    // 17 pressure rows, 49 flow rows, then the rest; "Not Used" only once, at the end.
    EXPECT_EQ(GetCodeName(all, 14), "ATM");
    EXPECT_EQ(FindCodeIndex(all, 14), 16);
    EXPECT_EQ(FindCodeIndex(all, 15), 17);
    EXPECT_EQ(FindCodeIndex(all, 88), 65);
    EXPECT_EQ(std::string(all[81].label), "mm") << "the LCD page selects row 81 for mm";
    EXPECT_EQ(FindCodeIndex(all, 250), 108);
    EXPECT_EQ(FindCodeIndex(FlowUnitTable(), 27), 20) << "27 comes after 130";

    const CodeTable sensors = SensorCodeTable();
    ASSERT_EQ(sensors.size(), 117u);
    EXPECT_EQ(GetCodeName(sensors, 250), "(H)DP-RC 0");
    EXPECT_EQ(GetCodeName(sensors, 23), "(H)AP-RC 2");
    EXPECT_EQ(GetCodeName(sensors, 252), "(H)HP-RC 0");
    EXPECT_EQ(GetCodeName(sensors, 39), "(A)DP-RC 0");
    EXPECT_EQ(GetCodeName(sensors, 62), "(A)LT-RC 6");
    EXPECT_EQ(GetCodeName(sensors, 224), "ABS_6");
    EXPECT_EQ(GetCodeName(sensors, 245), "#SA7");
    std::set<std::string> labels;
    for (int code = 56; code <= 59; ++code)
        labels.insert(GetCodeName(sensors, code).toStdString());
    EXPECT_EQ(labels.size(), 4u) << "every (A)HP code has a label of its own";
}

TEST(CodeTables, UnitAndSensorTablesByDeviceType) {
    EXPECT_EQ(GetUnitIndex(107, 12), 0);
    EXPECT_EQ(GetUnitIndex(107, 7), 9);
    EXPECT_EQ(GetUnitIndex(107, 32), 0) << "not in the pressure table";
    EXPECT_EQ(GetUnitIndex(87, 27), 20);
    EXPECT_EQ(GetUnitIndex(117, 33), 1);
    EXPECT_EQ(GetUnitIndex(126, 49), 4);
    EXPECT_EQ(GetUnitIndex(99, 49), 81) << "any other type: all units";
    struct Case {
        int deviceType;
        CodeTable units;
        CodeTable sensors;
    } cases[] = {
        {87, FlowUnitTable(), {}},
        {96, PressureUnitTable(), CapSensorTable()},
        {97, PressureUnitTable(), PiezoSensorTable()},
        {103, PressureUnitTable(), CapSensorTable()},
        {107, PressureUnitTable(), CapSensorTable()},
        {127, PressureUnitTable(), CapSensorTable()},
        {128, PressureUnitTable(), CapSensorTable()},
        {129, PressureUnitTable(), PiezoSensorTable()},
        {108, UnitTable(), TempSensorTable()},
        {113, TemperatureUnitTable(), TempSensorTable()},
        {115, TemperatureUnitTable(), TempSensorTable()},
        {117, TemperatureUnitTable(), TempSensorTable()},
        {118, UnitTable(), {}},
        {126, LengthUnitTable(), LevelProbeTable()},
        {99, UnitTable(), {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitTableFor(c.deviceType).data(), c.units.data()) << c.deviceType;
        EXPECT_EQ(SensorTableFor(c.deviceType).data(), c.sensors.data()) << c.deviceType;
        EXPECT_EQ(HasSensorTable(c.deviceType), !c.sensors.empty()) << c.deviceType;
    }
    EXPECT_EQ(GetSensorCode(99, 0), -1);
    EXPECT_EQ(GetSensorCode(117, 1), 16);
    EXPECT_EQ(GetSensorCode(107, 8), 250);
    EXPECT_EQ(GetSensorCode(107, 18), -1) << "past the last row";
    EXPECT_EQ(GetSensorCode(107, -1), -1);
    EXPECT_EQ(GetSensorIndex(97, 224), 35);
    EXPECT_EQ(GetSensorIndex(97, 0), -1);
    EXPECT_EQ(GetSensorIndex(99, 0), -1);
    EXPECT_EQ(GetMSSensorCode(15), 245);
    EXPECT_EQ(GetMSSensorCode(16), -1);
    EXPECT_EQ(GetMSSensorIndex(238), 8);
    EXPECT_EQ(GetMSSensorIndex(229), -1);
}

TEST(CodeTables, DeviceFamilies) {
    struct Case {
        int manufacturer, deviceType;
        bool pressure, temperatureOrLevel, korvex;
    } cases[] = {
        {134, 107, true, false, true},   {134, 87, true, false, true},   {134, 96, true, false, true},
        {134, 127, true, false, true},   {134, 108, false, true, true},  {134, 117, false, true, true},
        {134, 126, false, true, true},   {134, 118, false, false, true}, {134, 86, false, false, true},
        {211, 128, true, false, true},   {211, 129, true, false, true},  {211, 130, false, false, true},
        {38, 107, false, false, false},  {38, 126, false, true, false},  {38, 113, false, true, false},
        {0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPressureDevice(c.manufacturer, c.deviceType), c.pressure) << c.manufacturer << "/" << c.deviceType;
        EXPECT_EQ(IsTemperatureOrLevelDevice(c.deviceType), c.temperatureOrLevel) << c.deviceType;
        EXPECT_EQ(IsKorvexDevice(c.manufacturer), c.korvex) << c.manufacturer;
    }
}

TEST(CodeTables, RegistrationDataCompiledIntoTheProgram) {
    std::vector<registration::Problem> problems;
    registration::ParseManufacturers(registration::ManufacturersCsv(), &problems);
    registration::ParseDeviceTypes(registration::DeviceTypesCsv(), &problems);
    EXPECT_TRUE(problems.empty()) << problems.front().line << ": " << problems.front().reason;

    EXPECT_EQ(GetManufacturerName(134), "Norvane Works");
    EXPECT_EQ(GetManufacturerName(38), "Rosemount");
    EXPECT_EQ(GetManufacturerName(135), "Vortek Instruments, LLC") << "a quoted name with a comma";
    EXPECT_EQ(GetManufacturerName(250), "not used");
    EXPECT_EQ(GetManufacturerName(253), "special");
    EXPECT_EQ(GetManufacturerName(252), "");
    EXPECT_GT(ManufacturerTable().size(), 200u);

    EXPECT_EQ(GetDeviceTypeName(134, 103), "KP570N");
    EXPECT_EQ(GetDeviceTypeName(134, 1), "Unknown");
    EXPECT_EQ(GetDeviceTypeName(211, 128), "PAD");
    EXPECT_EQ(GetDeviceTypeName(38, 6), "3051SOR3051");
    EXPECT_EQ(FindDeviceTypeIndex(134, 97), 3);
    EXPECT_EQ(FindDeviceTypeIndex(134, 117), 0);
    EXPECT_EQ(FindDeviceTypeIndex(134, 103), 8);
    EXPECT_EQ(FindDeviceTypeIndex(134, 1), -1);
    EXPECT_EQ(FindDeviceTypeIndex(38, 1), 0);
    EXPECT_GT(DeviceTypeTable().size(), 700u);
}

TEST(RegistrationData, MalformedRowsAreSkippedAndReported) {
    const std::string csv = "\xEF\xBB\xBF" "code,name\r\n"
                            "1,Acromag\r\n"
                            "\r\n"
                            "2\r\n"                        // 4: one field
                            "3,Ametek,extra\n"             // 5: three fields
                            "x4,Analog Devices\n"          // 6: not a number
                            "256,Too Big\n"                // 7: out of range
                            "-5,Negative\n"                // 8
                            "6,\n"                         // 9: empty name
                            "7,\"Bell \"\"Micro\"\", Inc.\"\n" // quoted, with quotes and a comma
                            "8,\"Bourns\n"                 // 11: unterminated quote
                            "1,Again\n"                    // 12: duplicate
                            " 9 , Bristol Babcock ";       // no final newline, blanks around
    std::vector<registration::Problem> problems;
    const auto rows = registration::ParseManufacturers(csv, &problems);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Acromag");
    EXPECT_EQ(rows[1].code, 7);
    EXPECT_EQ(rows[1].name, "Bell \"Micro\", Inc.");
    EXPECT_EQ(rows[2].code, 9);
    EXPECT_EQ(rows[2].name, "Bristol Babcock");
    std::vector<int> lines;
    for (const auto& p : problems)
        lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 11, 12}));

    problems.clear();
    const auto types = registration::ParseDeviceTypes("manufacturer,device_type,model\n"
                                                      "38,6,3051\n"
                                                      "38,six,BAD\n"
                                                      "38,6,DUPLICATE\n"
                                                      "38,7\n",
                                                      &problems);
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].model, "3051");
    EXPECT_EQ(problems.size(), 3u);

    // Without a header the first line is data; garbage yields nothing at all.
    EXPECT_EQ(registration::ParseManufacturers("5,ABB\n", nullptr).size(), 1u);
    EXPECT_TRUE(registration::ParseManufacturers(std::string("\0\xFF,,\"", 5), nullptr).empty());
}

TEST(RegistrationData, TheMakersOwnRowsWin) {
    auto makers = registration::ParseManufacturers("code,name\n133,Before\n134,Somebody Else\n135,After\n", nullptr);
    registration::ApplyMakerRows(makers);
    ASSERT_EQ(makers.size(), 3u);
    EXPECT_EQ(makers[1].name, "Norvane Works");
    auto missing = registration::ParseManufacturers("code,name\n133,Before\n135,After\n", nullptr);
    registration::ApplyMakerRows(missing);
    ASSERT_EQ(missing.size(), 3u);
    EXPECT_EQ(missing[1].code, 134);

    auto types = registration::ParseDeviceTypes("manufacturer,device_type,model\n"
                                                "133,1,A\n134,107,OLD NAME\n134,1,STRAY\n135,1,B\n211,128,WRONG\n",
                                                nullptr);
    registration::ApplyMakerRows(types);
    std::vector<std::string> models;
    for (const auto& t : types)
        models.push_back(std::to_string(t.manufacturer) + "/" + std::to_string(t.deviceType) + " " + t.model);
    EXPECT_EQ(models, (std::vector<std::string>{"133/1 A", "134/117 KT410", "134/115 KT420", "134/107 KP510",
                                                "134/97 KP520", "134/96 KP510F", "134/127 KP550", "134/87 KF610",
                                                "134/126 KL710", "134/103 KP570N", "135/1 B", "211/128 PAD",
                                                "211/129 PAS"}));
}

TEST(CodeCombos, FillKeepsTheRowIndexAsTheEntryIndex) {
    QComboBox combo;
    FillUnitCombo(107, &combo);
    ASSERT_EQ(combo.count(), 18);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.itemText(GetUnitIndex(107, 7)), "bar");
    FillUnitCombo(117, &combo); // a refill replaces the entries
    ASSERT_EQ(combo.count(), 9);
    EXPECT_EQ(combo.itemText(0), kDegree + "C");
    FillSensorCombo(99, &combo);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
    FillSensorCombo(126, &combo);
    EXPECT_EQ(combo.itemText(4), "Twin Rigid Rod");
    FillAllUnitCombo(&combo);
    EXPECT_EQ(combo.count(), 109);
    FillFlowUnitCombo(&combo);
    EXPECT_EQ(combo.count(), 50);
    FillMSSensorCombo(&combo);
    EXPECT_EQ(combo.itemText(GetMSSensorIndex(243)), "#SA5");
    FillCodeCombo(VariableCodeTable(), &combo);
    EXPECT_EQ(combo.itemText(FindCodeIndex(VariableCodeTable(), 61)), "KL710 Level");
    FillCodeCombo(VariableCodeTable(), nullptr);
}

namespace {
class NameQueriesTest : public LinkOnSimTest {};
} // namespace

TEST_F(NameQueriesTest, NamesAndFamiliesOfTheDevicesFound) {
    loop.AddDevice("KP570N", 3, 0x000103);
    loop.AddDevice("KT420", 4, 0x000104);
    loop.AddDevice("3051", 6, 0x3051A7);
    Connect();
    for (int address : {3, 4, 6})
        ASSERT_TRUE(session->Transact(address, 0).ok()) << address;
    EXPECT_EQ(comm().GetManufacturerName(3), "Norvane Works");
    EXPECT_EQ(comm().GetDeviceTypeName(3), "KP570N");
    EXPECT_TRUE(comm().IsPressureDevice(3));
    EXPECT_FALSE(comm().IsTemperatureOrLevelDevice(3));
    EXPECT_EQ(comm().GetDeviceTypeName(4), "KT420");
    EXPECT_TRUE(comm().IsTemperatureOrLevelDevice(4));
    EXPECT_TRUE(comm().IsKorvexDevice(4));
    EXPECT_EQ(comm().GetManufacturerName(6), "Rosemount");
    EXPECT_FALSE(comm().IsKorvexDevice(6));
    EXPECT_FALSE(comm().IsPressureDevice(6)) << "a foreign pressure transmitter is not of the family";
    // No record at the address.
    EXPECT_EQ(comm().GetManufacturerName(9), "");
    EXPECT_EQ(comm().GetDeviceTypeName(9), "Unknown");
    EXPECT_FALSE(comm().IsPressureDevice(9));
    EXPECT_FALSE(comm().IsKorvexDevice(9));
}
