// The maintenance commands every transmitter has (self test 41, master reset 42) and the maker's
// device-specific commands of the configuration pages: sensor type (152, 162), alarm selection
// (158), software write protection (159) and the low-flow cut-off (235, 245).
#include "hart/CodeTables.h"
#include "hart/Codecs.h"
#include "sim/SimCommands.h"
#include "sim/cmd/TransmitterState.h"

#include <cmath>

namespace sim {
namespace {

using namespace hart;

// The sensor a model leaves the factory with, by device type.
int FactorySensor(const SimDevice& d, int variable) {
    if (variable == 2)
        return d.deviceType == 115 ? 66 : -1; // the dual input's second sensor: PT-100 4W DIN
    switch (d.deviceType) {
    case 96:
    case 127: return 2;   // (H)DP-RC 5
    case 107: return 10;  // (H)GP-RC 5
    case 103: return 11;  // (H)GP-RC 6
    case 128: return 3;   // (H)DP-RC 6
    case 97:
    case 129: return 96;  // Gauge_4
    case 117: return 65;  // PT-100 3W DIN
    case 115: return 35;  // T/C-K Type
    case 126: return 16;  // Coaxial Probe
    default: return 232;  // #G5: a sensor of the MS series
    }
}

// Variables with a sensor: PV always, SV on multi-sensor devices.
bool HasVariable(const SimDevice& d, int variable) { return variable == 1 || (variable == 2 && (d.flags & 0x01)); }

bool KnownSensor(const SimDevice& d, int code) {
    return GetSensorIndex(d.deviceType, code) >= 0 || GetMSSensorIndex(code) >= 0;
}

Bytes VariableAndSensor(SimDevice& d, int variable) {
    Bytes b;
    AppendU8(b, static_cast<unsigned>(variable));
    AppendU8(b, static_cast<unsigned>(SensorCodeOf(d, variable)));
    return b;
}

Bytes LowCut(const TransmitterState& s) {
    Bytes b;
    AppendU8(b, s.lowCutMode);
    AppendFloat(b, s.lowCutPercent);
    return b;
}

// After the action the device answers busy for a while, as it does while it works.
Reply StartAction(SimDevice& d, int TransmitterState::*counter) {
    TransmitterState& s = d.Ext<TransmitterState>();
    ++(s.*counter);
    d.faults.busy = s.busyAfterAction;
    return Ok();
}

} // namespace

int SensorCodeOf(SimDevice& d, int variable) {
    if (variable < 1 || variable > 2)
        return -1;
    int& code = d.Ext<TransmitterState>().sensorCode[variable - 1];
    if (code < 0)
        code = FactorySensor(d, variable);
    return code;
}

void RegisterTransmitterCommands(CommandTable& t) {
    t.Add(41, [](SimDevice& d, const Request&) { return StartAction(d, &TransmitterState::selfTests); }, false);
    t.Add(42, [](SimDevice& d, const Request&) {
        // A reset leaves fixed-current mode and starts the device afresh.
        d.fixedCurrent.reset();
        d.coldStart = true;
        return StartAction(d, &TransmitterState::masterResets);
    }, false);

    t.Add(162, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (!HasVariable(d, r.data[0]))
            return Refuse(9);
        return Ok(VariableAndSensor(d, r.data[0]));
    });
    t.Add(152, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 2))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (!HasVariable(d, r.data[0]))
            return Refuse(9);
        if (!KnownSensor(d, r.data[1]))
            return Refuse(11);
        d.Ext<TransmitterState>().sensorCode[r.data[0] - 1] = r.data[1];
        d.MarkChanged();
        return Ok(VariableAndSensor(d, r.data[0]));
    });

    // Only the dual temperature transmitter sets its alarm by command; the others by jumper.
    t.Add(158, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (d.deviceType != 115)
            return Refuse(13);
        if (r.data[0] > 1)
            return Refuse(12);
        d.alarmSelect = r.data[0];
        d.MarkChanged();
        return Ok({d.alarmSelect});
    });
    // Software write protection: 240 off, 241 on. A device whose jumper decides (0, 1) refuses.
    t.Add(159, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (r.data[0] != 240 && r.data[0] != 241)
            return Refuse(12);
        if (d.writeProtect == 0 || d.writeProtect == 1)
            return Refuse(13);
        d.writeProtect = r.data[0];
        d.MarkChanged();
        return Ok({d.writeProtect});
    });

    // The low-flow cut-off exists on the pressure (flow) transmitters only.
    t.Add(235, [](SimDevice& d, const Request&) {
        if (IsTemperatureOrLevelDevice(d.deviceType))
            return Refuse(64);
        return Ok(LowCut(d.Ext<TransmitterState>()));
    });
    t.Add(245, [](SimDevice& d, const Request& r) {
        if (IsTemperatureOrLevelDevice(d.deviceType))
            return Refuse(64);
        if (!HasBytes(r, 5))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        const float percent = GetFloatBE(&r.data[1]);
        if (r.data[0] > 1)
            return Refuse(2);
        if (!(percent >= 0.0f))
            return Refuse(4);
        if (percent > 20.0f)
            return Refuse(3);
        TransmitterState& s = d.Ext<TransmitterState>();
        s.lowCutMode = r.data[0];
        s.lowCutPercent = percent;
        d.MarkChanged();
        return Ok(LowCut(s));
    });
}

} // namespace sim
