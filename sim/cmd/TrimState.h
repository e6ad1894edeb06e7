#pragma once
// What a simulated transmitter keeps of its trims, converter reference and linearization tables
// (the trim command group reads and changes it; tests look at it).
#include "sim/SimDevice.h"

#include <map>
#include <utility>
#include <vector>

namespace sim {

struct TrimState {
    struct TablePoint {
        float current = 0.0f;
        float modified = 0.0f;
        bool used = false;
    };
    struct PointTable {
        std::uint8_t unit = 0;
        std::vector<TablePoint> points;
    };

    bool ready = false;
    // Pieces of the PV correction (see Apply).
    float sensorZero = 0.0f;  // command 43
    float userZero = 0.0f;    // zero adjustment
    float factoryZero = 0.0f; // factory zero adjustment
    float sensorGain = 1.0f;  // two-point sensor trim
    float sensorOffset = 0.0f;
    // The two sensor trim points and the readings they were set at.
    float lowerPoint = 0.0f, upperPoint = 100.0f;
    float lowerApplied = 0.0f, upperApplied = 100.0f;
    // Converter reference.
    std::uint8_t makeCode = 0x1A;
    std::uint8_t prescale = 2;
    std::uint8_t assemblyMaker = 1;
    float refZeroHigh = 1.2500f;
    float refZeroLow = 0.0125f;
    // Linearization, by transmitter variable code.
    std::map<int, PointTable> variableTables;
    std::map<int, PointTable> cjTables;
    std::map<int, std::pair<std::uint8_t, std::uint8_t>> transferSetup; // variable, cold junction
};

// The device's trim state, set up from its range on first use.
TrimState& TrimStateOf(SimDevice& d);

} // namespace sim
