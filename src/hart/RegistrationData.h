#pragma once
// The HART registrations of manufacturer codes and device types ship as CSV text compiled into
// the program (src/resources/data). They are parsed once; a malformed or duplicate row is skipped
// and reported, never half-taken. The maker's own rows then replace whatever the data says.
#include <string>
#include <string_view>
#include <vector>

namespace hart::registration {

struct Problem {
    int line = 0; // 1-based line of the text
    std::string reason;
};

struct Manufacturer {
    int code = 0;
    std::string name;
};

struct DeviceType {
    int manufacturer = 0;
    int deviceType = 0;
    std::string model;
};

// One CSV record: fields split on commas, double-quoted fields with "" for a quote. Returns false
// for an unterminated quote.
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

// "code,name" rows; a header line is skipped. Codes are 0..255; names are not empty.
std::vector<Manufacturer> ParseManufacturers(std::string_view csv, std::vector<Problem>* problems);
// "manufacturer,device_type,model" rows.
std::vector<DeviceType> ParseDeviceTypes(std::string_view csv, std::vector<Problem>* problems);

// The maker's code keeps its own name; the maker's device types are exactly its own list, in
// its order; the partner family rows the device tests rely on are present with their names.
void ApplyMakerRows(std::vector<Manufacturer>& rows);
void ApplyMakerRows(std::vector<DeviceType>& rows);

// The text compiled into the program.
std::string_view ManufacturersCsv();
std::string_view DeviceTypesCsv();

} // namespace hart::registration
