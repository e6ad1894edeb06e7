#include "hart/CodeTables.h"

#include "hart/RegistrationData.h"
#include "platform/Log.h"

#include <algorithm>
#include <array>
#include <deque>
#include <string>
#include <vector>

namespace hart {
namespace {

template <std::size_t... N> constexpr auto Concat(const std::array<CodeRow, N>&... parts) {
    std::array<CodeRow, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
    return out;
}

// A table without its last row ("Not Used").
template <std::size_t N> constexpr auto DropLast(const std::array<CodeRow, N>& rows) {
    std::array<CodeRow, N - 1> out{};
    std::copy(rows.begin(), rows.end() - 1, out.begin());
    return out;
}

// 241 and 242 are this system's codes for raw converter counts.
constexpr auto kPressureUnits = std::to_array<CodeRow>({
    {12, "kPa"}, {4, "mmH2O"}, {241, "Count"}, {242, "KCount"}, {1, "InH2O"}, {2, "InHg"},
    {3, "FtH2O"}, {5, "mmHg"}, {6, "psi"}, {7, "bar"}, {8, "mbar"}, {9, "g/cm^2"},
    {10, "Kg/cm^2"}, {11, "Pascals"}, {237, "MPa"}, {13, "torr"}, {14, "ATM"}, {250, "Not Used"},
});

// The degree sign is U+02DA, as the program has always shown it.
constexpr auto kTemperatureUnits = std::to_array<CodeRow>({
    {32, "\u02DA" "C"}, {33, "\u02DA" "F"}, {34, "\u02DA" "R"}, {35, "\u02DA" "K"}, {36, "mV"},
    {37, "Ohms"}, {241, "Count"}, {242, "KCount"}, {250, "Not Used"},
});

constexpr auto kLengthUnits = std::to_array<CodeRow>({
    {44, "feet"}, {45, "meters"}, {47, "inches"}, {48, "cm"}, {49, "mm"}, {241, "Count"}, {242, "KCount"},
    {250, "Not Used"},
});

// Paired exactly as the pages have always listed them (27 comes after 130).
constexpr auto kFlowUnits = std::to_array<CodeRow>({
    {15, "CubicFeet/min"}, {16, "Gallons/min"}, {17, "Liters/min"}, {18, "ImperialGallons/min"},
    {19, "CubicMeter/hr"}, {20, "Ft/s"}, {21, "meters/s"}, {22, "Gallons/s"}, {23, "mGallons/day"},
    {24, "Liters/s"}, {25, "mLiters/day"}, {26, "CubicFeet/s"}, {28, "CubicMeter/s"}, {29, "CubicMeter/day"},
    {30, "ImperialGallons/hr"}, {31, "ImperialGallons/day"}, {121, "NormalCubicMeter/hr"},
    {122, "NormalLiter/hr"}, {123, "StandardCubicFeet/min"}, {130, "CubicFeet/hr"}, {27, "CubicFeet/day"},
    {131, "CubicMeters/min"}, {132, "Barrels/s"}, {133, "Barrels/min"}, {134, "Barrels/hr"},
    {135, "Barrels/day"}, {136, "Gallons/hr"}, {137, "ImperialGallons/s"}, {138, "Liters/hr"},
    {235, "Gallons/day"}, {70, "Grams/s"}, {71, "Grams/min"}, {72, "Grams/hr"}, {73, "Kilograms/s"},
    {74, "Kilograms/min"}, {75, "Kilograms/hr"}, {76, "Kilograms/day"}, {77, "MetricTons/min"},
    {78, "MetricTons/hr"}, {79, "MetricTons/day"}, {80, "Pounds/s"}, {81, "Pounds/min"}, {82, "Pounds/hr"},
    {83, "Pounds/day"}, {84, "ShortTons/min"}, {85, "ShortTons/hr"}, {86, "ShortTons/day"},
    {87, "LongTons/hr"}, {88, "LongTons/day"}, {250, "Not Used"},
});

constexpr auto kOtherUnits = std::to_array<CodeRow>({
    {32, "\u02DA" "C"}, {33, "\u02DA" "F"}, {34, "\u02DA" "R"}, {35, "\u02DA" "K"}, {36, "mV"}, {58, "V"},
    {37, "Ohms"}, {163, "kOhms"}, {38, "Hz"}, {57, "%"}, {39, "mA"}, {44, "feet"}, {45, "meters"},
    {47, "inches"}, {48, "cm"}, {49, "mm"}, {50, "min"}, {51, "sec"}, {52, "hr"}, {53, "days"},
    {60, "grams"}, {61, "kilograms"}, {62, "metric tons"}, {63, "pounds"}, {64, "short tons"},
    {65, "long tons"}, {125, "ounce"}, {40, "gallons"}, {41, "liters"}, {42, "imperial gallons"},
    {43, "cubic meters"}, {46, "barrels"}, {110, "bushels"}, {111, "cubic yards"}, {112, "cubic feet"},
    {113, "cubic inches"}, {124, "bbl liq"}, {166, "normal cubic meter"}, {167, "normal liter"},
    {168, "standard cubic feet"}, {236, "hectoliters"}, {249, "User Defined Unit"}, {250, "Not Used"},
});

constexpr auto kAllUnits = Concat(DropLast(kPressureUnits), DropLast(kFlowUnits), kOtherUnits);

// The maker's device variable numbers.
constexpr auto kVariableCodes = std::to_array<CodeRow>({
    {0, "Not Used"}, {1, "PV"}, {2, "SV"}, {3, "TV"}, {4, "FV"},
    {21, "KT410 Process Temperature(1)"}, {22, "KT410 Process Temperature(2)"},
    {23, "KT410 XMitter Internal Temp"}, {31, "KP510 Process Press(Capacity)"},
    {32, "KP510 Temperature in sensor"}, {33, "KP510 XMitter Internal Temp"},
    {41, "KP520 Process Press(Piezo)"}, {51, "KF610 Flow"}, {52, "KF610 Process Temperature"},
    {53, "KF610 XMitter Internal Temp"}, {61, "KL710 Level"},
});

constexpr auto kTransferFunctions = std::to_array<CodeRow>({
    {0, "linear"}, {1, "square_root"}, {2, "square_root 3rd power"}, {3, "square_root 5th power"},
    {4, "special curve"}, {5, "squre"}, {250, "Not Used"},
});

constexpr auto kWriteProtect = std::to_array<CodeRow>({
    {0, "No Write Protected (h/w)"}, {1, "Write Protected (h/w)"}, {240, "No Write Protected (s/w)"},
    {241, "Write Protected (s/w)"},
});

constexpr auto kAlarmSelect = std::to_array<CodeRow>({{0, "high"}, {1, "low"}});

constexpr auto kTempSensors = std::to_array<CodeRow>({
    {0, "mV"}, {16, "Coaxial Probe"}, {17, "Single Flexible Rod"}, {18, "Single Rigid Rod"},
    {19, "Twin Flexible Rod"}, {20, "Twin Rigid Rod"},
    {32, "T/C-B Type"}, {33, "T/C-E Type"}, {34, "T/C-J Type"}, {35, "T/C-K Type"},
    {36, "T/C-N Type"}, {37, "T/C-R Type"}, {38, "T/C-S Type"}, {39, "T/C-T Type"},
    {40, "T/C-B CJ Only"}, {41, "T/C-E CJ Only"}, {42, "T/C-J CJ Only"}, {43, "T/C-K CJ Only"},
    {44, "T/C-N CJ Only"}, {45, "T/C-R CJ Only"}, {46, "T/C-S CJ Only"}, {47, "T/C-T CJ Only"},
    {48, "T/C-B CJ Off"}, {49, "T/C-E CJ Off"}, {50, "T/C-J CJ Off"}, {51, "T/C-K CJ Off"},
    {52, "T/C-N CJ Off"}, {53, "T/C-R CJ Off"}, {54, "T/C-S CJ Off"}, {55, "T/C-T CJ Off"},
    {64, "PT-100 2W DIN"}, {65, "PT-100 3W DIN"}, {66, "PT-100 4W DIN"},
    {72, "PT-100 2W US"}, {73, "PT-100 3W US"}, {74, "PT-100 4W US"},
    {80, "PT-100 2W NI"}, {81, "PT-100 3W NI"}, {82, "PT-100 4W NI"},
});

constexpr auto kCapSensors = std::to_array<CodeRow>({
    {0, "(H)DP-RC 3"}, {1, "(H)DP-RC 4"}, {2, "(H)DP-RC 5"}, {3, "(H)DP-RC 6"}, {4, "(H)DP-RC 7"},
    {5, "(H)DP-RC 8"}, {6, "(H)DP-RC 9"}, {7, "(H)DP-RC 2"}, {250, "(H)DP-RC 0"},
    {8, "(H)GP-RC 3"}, {9, "(H)GP-RC 4"}, {10, "(H)GP-RC 5"}, {11, "(H)GP-RC 6"}, {12, "(H)GP-RC 7"},
    {13, "(H)GP-RC 8"}, {14, "(H)GP-RC 9"}, {15, "(H)GP-RC 2"}, {251, "(H)GP-RC 0"},
});

constexpr auto kPiezoSensors = std::to_array<CodeRow>({
    {64, "Gauge_2"}, {65, "Gauge_2-1"}, {66, "Gauge_2-2"}, {80, "Gauge_3"}, {96, "Gauge_4"},
    {97, "Gauge_3-1"}, {98, "Gauge_3-2"}, {99, "Gauge_3-3"}, {100, "Gauge_3-4"}, {112, "Gauge_5"},
    {113, "Gauge_5-1"}, {128, "Gauge_6"}, {129, "Gauge_6-1"}, {144, "Gauge_7"}, {160, "Gauge_8"},
    {176, "Gauge_9"}, {104, "Gauge_vac_4"}, {105, "Gauge_vac_4-1"}, {106, "Gauge_vac_4-2"},
    {107, "Gauge_vac_4-3"}, {108, "Gauge_vac_4-4"}, {120, "Gauge_vac_5"}, {121, "Gauge_vac_5-1"},
    {136, "Gauge_vac_6"}, {137, "Gauge_vac_6-1"}, {152, "Gauge_vac_7"}, {168, "Gauge_vac_8"},
    {184, "Gauge_vac_9"}, {192, "ABS_4"}, {193, "ABS_4-1"}, {194, "ABS_4-2"}, {195, "ABS_4-3"},
    {196, "ABS_4-4"}, {208, "ABS_5"}, {209, "ABS_5-1"}, {224, "ABS_6"},
});

constexpr auto kLevelProbes = std::to_array<CodeRow>({
    {16, "Coaxial Probe"}, {17, "Single Flexible Rod"}, {18, "Single Rigid Rod"}, {19, "Twin Flexible Rod"},
    {20, "Twin Rigid Rod"},
});

constexpr auto kMSSensors = std::to_array<CodeRow>({
    {230, "#G3"}, {231, "#G4"}, {232, "#G5"}, {233, "#G6"}, {234, "#G7"}, {235, "#A4"}, {236, "#A5"},
    {237, "#A6"}, {238, "#SG0"}, {239, "#SG1"}, {240, "#SG2"}, {241, "#SG3"}, {242, "#SG4"},
    {243, "#SA5"}, {244, "#SA6"}, {245, "#SA7"},
});

// Sensor codes beyond the capacitive ones, as the sensor output page names them. The four
// (A)HP codes follow the (H)HP ranges 4 to 7, so that every code has a label of its own.
constexpr auto kOtherSensorCodes = std::to_array<CodeRow>({
    {16, "(H)AP-RC 3"}, {17, "(H)AP-RC 4"}, {18, "(H)AP-RC 5"}, {19, "(H)AP-RC 6"}, {20, "(H)AP-RC 7"},
    {21, "(H)AP-RC 8"}, {22, "(H)AP-RC 9"}, {23, "(H)AP-RC 2"},
    {24, "(H)HP-RC 4"}, {25, "(H)HP-RC 5"}, {26, "(H)HP-RC 6"}, {27, "(H)HP-RC 7"}, {252, "(H)HP-RC 0"},
    {28, "(H)LT-RC 4"}, {29, "(H)LT-RC 5"}, {30, "(H)LT-RC 6"},
    {32, "(A)DP-RC 3"}, {33, "(A)DP-RC 4"}, {34, "(A)DP-RC 5"}, {35, "(A)DP-RC 6"}, {36, "(A)DP-RC 7"},
    {37, "(A)DP-RC 8"}, {38, "(A)DP-RC 9"}, {39, "(A)DP-RC 0"},
    {40, "(A)GP-RC 3"}, {41, "(A)GP-RC 4"}, {42, "(A)GP-RC 5"}, {43, "(A)GP-RC 6"}, {44, "(A)GP-RC 7"},
    {45, "(A)GP-RC 8"}, {46, "(A)GP-RC 9"}, {47, "(A)GP-RC 0"},
    {48, "(A)AP-RC 3"}, {49, "(A)AP-RC 4"}, {50, "(A)AP-RC 5"}, {51, "(A)AP-RC 6"}, {52, "(A)AP-RC 7"},
    {53, "(A)AP-RC 8"}, {54, "(A)AP-RC 9"}, {55, "(A)AP-RC 0"},
    {56, "(A)HP-RC 4"}, {57, "(A)HP-RC 5"}, {58, "(A)HP-RC 6"}, {59, "(A)HP-RC 7"},
    {60, "(A)LT-RC 4"}, {61, "(A)LT-RC 5"}, {62, "(A)LT-RC 6"},
});

constexpr auto kSensorCodes = Concat(kCapSensors, kOtherSensorCodes, kPiezoSensors, kMSSensors);

static_assert(kFlowUnits.size() == 50);
static_assert(kAllUnits.size() == 109);
static_assert(kTempSensors.size() == 39);
static_assert(kPiezoSensors.size() == 36);
static_assert(kSensorCodes.size() == 117);

// The registration tables, parsed once from the data compiled into the program.
struct Registrations {
    std::deque<std::string> text; // owns the labels the rows point at
    std::vector<CodeRow> manufacturers;
    std::vector<DeviceTypeRow> deviceTypes;
};

Registrations Load() {
    using namespace registration;
    std::vector<Problem> problems;
    auto makers = ParseManufacturers(ManufacturersCsv(), &problems);
    for (const auto& p : problems)
        qCWarning(lcHart) << "manufacturers data, line" << p.line << ":" << p.reason.c_str();
    problems.clear();
    auto types = ParseDeviceTypes(DeviceTypesCsv(), &problems);
    for (const auto& p : problems)
        qCWarning(lcHart) << "device types data, line" << p.line << ":" << p.reason.c_str();
    ApplyMakerRows(makers);
    ApplyMakerRows(types);

    Registrations r;
    r.manufacturers.reserve(makers.size());
    for (auto& m : makers)
        r.manufacturers.push_back({m.code, r.text.emplace_back(std::move(m.name)).c_str()});
    r.deviceTypes.reserve(types.size());
    for (auto& t : types)
        r.deviceTypes.push_back({t.manufacturer, t.deviceType, r.text.emplace_back(std::move(t.model)).c_str()});
    return r;
}

const Registrations& RegistrationTables() {
    static const Registrations tables = Load();
    return tables;
}

QString Label(const CodeRow& row) { return QString::fromUtf8(row.label); }

} // namespace

CodeTable PressureUnitTable() { return kPressureUnits; }
CodeTable TemperatureUnitTable() { return kTemperatureUnits; }
CodeTable LengthUnitTable() { return kLengthUnits; }
CodeTable FlowUnitTable() { return kFlowUnits; }
CodeTable UnitTable() { return kAllUnits; }
CodeTable VariableCodeTable() { return kVariableCodes; }
CodeTable TransferFunctionTable() { return kTransferFunctions; }
CodeTable WriteProtectTable() { return kWriteProtect; }
CodeTable AlarmSelectTable() { return kAlarmSelect; }
CodeTable TempSensorTable() { return kTempSensors; }
CodeTable CapSensorTable() { return kCapSensors; }
CodeTable PiezoSensorTable() { return kPiezoSensors; }
CodeTable LevelProbeTable() { return kLevelProbes; }
CodeTable MSSensorTable() { return kMSSensors; }
CodeTable SensorCodeTable() { return kSensorCodes; }
CodeTable ManufacturerTable() { return RegistrationTables().manufacturers; }
std::span<const DeviceTypeRow> DeviceTypeTable() { return RegistrationTables().deviceTypes; }

int FindCodeIndex(CodeTable table, int code) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].code == code)
            return static_cast<int>(i);
    return -1;
}

QString GetCodeName(CodeTable table, int code) {
    const int i = FindCodeIndex(table, code);
    return i < 0 ? QString() : Label(table[static_cast<std::size_t>(i)]);
}

QString GetNameCode(CodeTable table, const QString& label) {
    for (const CodeRow& row : table)
        if (Label(row) == label)
            return QString::number(row.code);
    return {};
}

int FindDeviceTypeIndex(int manufacturer, int deviceType) {
    int position = 0;
    for (const DeviceTypeRow& row : DeviceTypeTable()) {
        if (row.manufacturer != manufacturer)
            continue;
        if (row.deviceType == deviceType)
            return position;
        ++position;
    }
    return -1;
}

QString GetManufacturerName(int manufacturer) { return GetCodeName(ManufacturerTable(), manufacturer); }

QString GetDeviceTypeName(int manufacturer, int deviceType) {
    for (const DeviceTypeRow& row : DeviceTypeTable())
        if (row.manufacturer == manufacturer && row.deviceType == deviceType)
            return QString::fromUtf8(row.model);
    return QStringLiteral("Unknown");
}

CodeTable UnitTableFor(int deviceType) {
    switch (deviceType) {
    case 87: return kFlowUnits;
    case 96: case 97: case 103: case 107: case 127: case 128: case 129: return kPressureUnits;
    case 113: case 115: case 117: return kTemperatureUnits;
    case 126: return kLengthUnits;
    default: return kAllUnits;
    }
}

int GetUnitIndex(int deviceType, int unitCode) {
    const CodeTable table = UnitTableFor(deviceType);
    for (std::size_t i = table.size(); i-- > 0;)
        if (table[i].code == unitCode)
            return static_cast<int>(i);
    return 0;
}

CodeTable SensorTableFor(int deviceType) {
    if (deviceType >= 108 && deviceType <= 117)
        return kTempSensors;
    switch (deviceType) {
    case 96: case 103: case 107: case 127: case 128: return kCapSensors;
    case 97: case 129: return kPiezoSensors;
    case 126: return kLevelProbes;
    default: return {};
    }
}

bool HasSensorTable(int deviceType) { return !SensorTableFor(deviceType).empty(); }

int GetSensorCode(int deviceType, int row) {
    const CodeTable table = SensorTableFor(deviceType);
    if (row < 0 || static_cast<std::size_t>(row) >= table.size())
        return -1;
    return table[static_cast<std::size_t>(row)].code;
}

int GetSensorIndex(int deviceType, int sensorCode) { return FindCodeIndex(SensorTableFor(deviceType), sensorCode); }

int GetMSSensorCode(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= kMSSensors.size())
        return -1;
    return kMSSensors[static_cast<std::size_t>(row)].code;
}

int GetMSSensorIndex(int sensorCode) { return FindCodeIndex(kMSSensors, sensorCode); }

bool IsPressureDevice(int manufacturer, int deviceType) {
    if (manufacturer == kMakerManufacturerCode)
        return (deviceType >= 87 && deviceType <= 107) || deviceType == 127;
    if (manufacturer == 211)
        return deviceType == 128 || deviceType == 129;
    return false;
}

bool IsTemperatureOrLevelDevice(int deviceType) { return (deviceType >= 108 && deviceType <= 117) || deviceType == 126; }

bool IsKorvexDevice(int manufacturer) { return manufacturer == kMakerManufacturerCode || manufacturer == 211; }

} // namespace hart
