#pragma once
// The code tables the windows show and edit HART codes with (units, transmitter variables,
// transfer functions, sensor types, write protection, alarm selection, manufacturers, device
// types), their lookups, and the rules that pick a table from a device type. Rows are searched
// from the top and the first match wins; a combo box filled from a table has the table's row
// index as its entry index.
#include <QString>
#include <span>

namespace hart {

struct CodeRow {
    int code;
    const char* label; // UTF-8
};
using CodeTable = std::span<const CodeRow>;

struct DeviceTypeRow {
    int manufacturer;
    int deviceType;
    const char* model;
};

CodeTable PressureUnitTable();
CodeTable TemperatureUnitTable();
CodeTable LengthUnitTable();
CodeTable FlowUnitTable();
CodeTable UnitTable();
CodeTable VariableCodeTable();
CodeTable TransferFunctionTable();
CodeTable WriteProtectTable();
CodeTable AlarmSelectTable();
CodeTable TempSensorTable();
CodeTable CapSensorTable();
CodeTable PiezoSensorTable();
CodeTable LevelProbeTable();
CodeTable MSSensorTable();
CodeTable SensorCodeTable();
// The HART registrations of manufacturer codes and device types, with the maker's own rows.
CodeTable ManufacturerTable();
std::span<const DeviceTypeRow> DeviceTypeTable();

inline constexpr int kMakerManufacturerCode = 134;

// Index of the first row with the code, or -1.
int FindCodeIndex(CodeTable table, int code);
// Label of the first row with the code, or empty text.
QString GetCodeName(CodeTable table, int code);
// Code (decimal text) of the first row whose label matches exactly, case-sensitive; or empty.
QString GetNameCode(CodeTable table, const QString& label);
// Position of the first row with this device type among the rows of the manufacturer, or -1.
int FindDeviceTypeIndex(int manufacturer, int deviceType);
// Registered name of a manufacturer code, or empty text.
QString GetManufacturerName(int manufacturer);
// Model name of the first row of the manufacturer with this device type, or "Unknown".
QString GetDeviceTypeName(int manufacturer, int deviceType);

// Device-type driven lookups (whatever the manufacturer).
CodeTable UnitTableFor(int deviceType);
// Index of the last row with the unit code in the device type's table; 0 when absent.
int GetUnitIndex(int deviceType, int unitCode);
// The sensor table of a device type; empty for types without one.
CodeTable SensorTableFor(int deviceType);
bool HasSensorTable(int deviceType);
// Code of the given row of the device type's sensor table, or -1.
int GetSensorCode(int deviceType, int row);
// Index of the first row with the sensor code, or -1.
int GetSensorIndex(int deviceType, int sensorCode);
int GetMSSensorCode(int row);
int GetMSSensorIndex(int sensorCode);

// Device families by identity codes.
bool IsPressureDevice(int manufacturer, int deviceType);
bool IsTemperatureOrLevelDevice(int deviceType);
// Devices that answer the maker's device-specific commands.
bool IsKorvexDevice(int manufacturer);

} // namespace hart
