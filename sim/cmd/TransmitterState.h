#pragma once
// What a Korvex transmitter keeps beyond the universal configuration: the sensor types of its
// variables, the low-flow cut-off, and how long it stays busy after a self test or master reset.
// Reached with SimDevice::Ext<TransmitterState>().
#include "sim/SimDevice.h"

namespace sim {

struct TransmitterState {
    int sensorCode[2] = {-1, -1}; // PV and SV sensor; -1: the model's own sensor
    std::uint8_t lowCutMode = 0;    // 0 linear, 1 zero
    float lowCutPercent = 1.0f;     // percent of range, 0 to 20
    int busyAfterAction = 2;        // answers with response code 32 after commands 41 and 42
    int selfTests = 0;
    int masterResets = 0;
};

// The sensor type code the device reports for variable 1 (PV) or 2 (SV); -1 when it has none.
int SensorCodeOf(SimDevice& d, int variable);

// Unit conversion within one family (pressure, temperature, length, flow). False when the two
// units cannot be converted (different families, counts, millivolts, unknown codes).
bool ConvertValue(float& value, int fromUnit, int toUnit);
// The same for a difference of two values (spans, noise): the scale only, no offset.
bool ConvertSpan(float& span, int fromUnit, int toUnit);

} // namespace sim
