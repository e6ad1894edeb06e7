#pragma once
// What the simulated transmitters keep for the user menu's "LCD Display Mode" (every Korvex
// model), "Totalize" (the KP510F) and "GWR Level" (the KL710), reached with SimDevice::Ext<T>().
#include "sim/SimCommands.h"

#include <QByteArray>
#include <cstdint>

namespace sim {

inline constexpr std::uint8_t kFlowDeviceType = 96;   // KP510F
inline constexpr std::uint8_t kLevelDeviceType = 126; // KL710
inline constexpr std::uint8_t kUserDefinedUnit = 249;

// The five-digit display.
struct LcdSettings {
    std::uint8_t displayMode = 0;    // 0 basic PV; +17/18/19 fixed PV, %, mA; +128 engineering; +64 flow
    std::uint8_t cipher = 0;         // decimal places, 0 automatic
    std::uint8_t engrTransfer = 0;   // 0 linear, 1 square root
    std::uint8_t engrUnit = 57;      // "%"
    float engrUpper = 100.0f;
    float engrLower = 0.0f;
    QByteArray userUnit = "      "; // six characters, shown with unit 249
};

// Flow range, pulse output and totalizer of a DP flow transmitter. The flow follows the square
// root of the differential pressure's percent of range; the total is the flow integrated over the
// device clock, in the volume of the flow unit (m3 for m3/h).
struct FlowTotalizer {
    std::uint8_t unit = 19; // CubicMeter/hr
    float lower = 0.0f;
    float upper = 100.0f;
    float pulseScale = 1.0f; // volume per pulse
    std::uint8_t pulseWidth = 1; // 0 10 ms, 1 50 ms, 2 100 ms
    double total = 0.0;

    // Flow at a time of the device clock, in the flow unit.
    float FlowAt(const SimDevice& d, double t) const;
    // Brings the total up to the device clock (it counts from clock 0, the device's power-up).
    void Advance(const SimDevice& d);
    void Reset(const SimDevice& d);
    // Pulses put out since the last reset.
    std::uint64_t Pulses() const;

private:
    double m_updatedAt = 0.0;
};

// Tank and probe of a guided-wave-radar level transmitter.
struct LevelSetup {
    std::uint8_t pvIs = 0; // 0 level, 1 distance, 2 volume
    float tankHeight = 10.0f;
    float probeLength = 9.5f;
    float probeAngle = 0.0f;
    std::uint8_t sensitivity = 0; // 0 low, 1 high
    int adjustments = 0;
};

// Seconds in the time unit of a flow unit code (3600 for "CubicMeter/hr"); 0 when not a flow unit.
double FlowUnitSeconds(int unitCode);

void RegisterLcdCommands(CommandTable& t);
void RegisterTotalizerCommands(CommandTable& t);
void RegisterLevelCommands(CommandTable& t);

} // namespace sim
