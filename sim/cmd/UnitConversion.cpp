// Unit conversion of the simulated devices: a new PV unit (command 44) or range values given in
// another unit (command 35) are converted as a transmitter converts them.
#include "sim/cmd/TransmitterState.h"

namespace sim {
namespace {

enum Family { kPressure, kTemperature, kLength, kFlow };

// base = value * scale + offset (kPa, kelvin, metres, cubic metres per hour).
struct UnitRow {
    int code;
    Family family;
    double scale;
    double offset;
};

constexpr UnitRow kUnits[] = {
    {12, kPressure, 1.0, 0},          {4, kPressure, 0.00980665, 0},   {1, kPressure, 0.24884, 0},
    {2, kPressure, 3.38639, 0},       {3, kPressure, 2.98898, 0},      {5, kPressure, 0.133322, 0},
    {6, kPressure, 6.894757, 0},      {7, kPressure, 100.0, 0},        {8, kPressure, 0.1, 0},
    {9, kPressure, 0.0980665, 0},     {10, kPressure, 98.0665, 0},     {11, kPressure, 0.001, 0},
    {237, kPressure, 1000.0, 0},      {13, kPressure, 0.133322, 0},    {14, kPressure, 101.325, 0},
    {32, kTemperature, 1.0, 273.15},  {33, kTemperature, 5.0 / 9.0, 459.67 * 5.0 / 9.0},
    {34, kTemperature, 5.0 / 9.0, 0}, {35, kTemperature, 1.0, 0},
    {44, kLength, 0.3048, 0},         {45, kLength, 1.0, 0},           {47, kLength, 0.0254, 0},
    {48, kLength, 0.01, 0},           {49, kLength, 0.001, 0},
    {19, kFlow, 1.0, 0},              {17, kFlow, 0.06, 0},            {138, kFlow, 0.001, 0},
    {24, kFlow, 3.6, 0},              {28, kFlow, 3600.0, 0},          {29, kFlow, 1.0 / 24.0, 0},
    {131, kFlow, 60.0, 0},            {16, kFlow, 0.2271247, 0},       {15, kFlow, 1.699011, 0},
    {130, kFlow, 0.02831685, 0},
};

const UnitRow* Find(int code) {
    for (const auto& u : kUnits)
        if (u.code == code)
            return &u;
    return nullptr;
}

bool Pair(int from, int to, const UnitRow*& a, const UnitRow*& b) {
    a = Find(from);
    b = Find(to);
    return a && b && a->family == b->family;
}

} // namespace

bool ConvertValue(float& value, int fromUnit, int toUnit) {
    const UnitRow *a = nullptr, *b = nullptr;
    if (!Pair(fromUnit, toUnit, a, b))
        return false;
    const double base = value * a->scale + a->offset;
    value = static_cast<float>((base - b->offset) / b->scale);
    return true;
}

bool ConvertSpan(float& span, int fromUnit, int toUnit) {
    const UnitRow *a = nullptr, *b = nullptr;
    if (!Pair(fromUnit, toUnit, a, b))
        return false;
    span = static_cast<float>(span * a->scale / b->scale);
    return true;
}

} // namespace sim
