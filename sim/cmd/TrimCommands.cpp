// Trims as a transmitter answers them: span and zero by applied process (36, 37), sensor zero
// (43), the maker's zero adjustment (236/246, and 144/145 with a factory offset on device
// revision 4 and later), the sensor full trim at two points (232/242), the converter reference
// (198/208, 199/200, 231/241), all dynamic variables (210), and the linearization tables of the
// temperature transmitters (151/161, 173/183) with their transfer-function setup (155/165).
// Every trim changes what the device reads; every table is kept and read back.
#include "hart/CodeTables.h"
#include "hart/Codecs.h"
#include "sim/SimCommands.h"
#include "sim/cmd/TrimState.h"

#include <cmath>
#include <map>
#include <optional>

namespace sim {
namespace {

using namespace hart;
using TablePoint = TrimState::TablePoint;
using PointTable = TrimState::PointTable;

constexpr std::size_t kVariablePoints = 22;
constexpr std::size_t kCJPoints = 10;
constexpr int kPointsPerAnswer = 2;

} // namespace

TrimState& TrimStateOf(SimDevice& d) {
    TrimState& s = d.Ext<TrimState>();
    if (!s.ready) {
        s.ready = true;
        s.lowerPoint = s.lowerApplied = d.lowerRange;
        s.upperPoint = s.upperApplied = d.upperRange;
    }
    return s;
}

namespace {

TrimState& State(SimDevice& d) { return TrimStateOf(d); }

// PV = measured * sensor gain + sensor offset + every zero offset.
void Apply(SimDevice& d, const TrimState& s) {
    d.pvGainTrim = s.sensorGain;
    d.pvZeroTrim = s.sensorOffset + s.sensorZero + s.userZero + s.factoryZero;
}

// Makes the PV read f(PV) = k * PV + b from now on, whatever the other offsets are.
void ComposeSensorTrim(SimDevice& d, TrimState& s, float k, float b) {
    const float zeros = s.sensorZero + s.userZero + s.factoryZero;
    s.sensorGain *= k;
    s.sensorOffset = k * s.sensorOffset + k * zeros + b - zeros;
    Apply(d, s);
}

Bytes Floats(std::initializer_list<float> values) {
    Bytes b;
    for (float v : values)
        AppendFloat(b, v);
    return b;
}

bool IsTemperature(const SimDevice& d) { return d.deviceType >= 108 && d.deviceType <= 117; }

bool ValidVariable(int code) { return code != 0 && FindCodeIndex(VariableCodeTable(), code) >= 0; }
bool ValidUnit(int code) { return code != 250 && FindCodeIndex(UnitTable(), code) >= 0; }

// A factory table: points spread over the range, none of them in use yet.
PointTable& Table(std::map<int, PointTable>& tables, int variable, std::size_t size, const SimDevice& d,
                  float from, float to) {
    auto it = tables.find(variable);
    if (it != tables.end())
        return it->second;
    PointTable t;
    t.unit = d.pvUnit;
    t.points.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        const float v = from + (to - from) * static_cast<float>(i) / static_cast<float>(size - 1);
        t.points[i] = {v, v, false};
    }
    return tables.emplace(variable, std::move(t)).first->second;
}

Bytes TableAnswer(int variable, const PointTable& t, std::size_t first, std::size_t count) {
    Bytes b;
    AppendU8(b, static_cast<unsigned>(variable));
    AppendU8(b, t.unit);
    AppendU8(b, static_cast<unsigned>(t.points.size()));
    AppendU8(b, static_cast<unsigned>(count));
    for (std::size_t i = first; i < first + count; ++i) {
        const TablePoint& p = t.points[i];
        AppendU8(b, static_cast<unsigned>(i) | (p.used ? 0u : 0x60u));
        AppendFloat(b, p.current);
        AppendFloat(b, p.modified);
    }
    return b;
}

// Write of a table: variable, unit, 0, n, then n points of point byte, current and modified.
Reply WriteTable(SimDevice& d, const Request& r, std::map<int, PointTable>& tables, std::size_t size, float from,
                 float to, std::uint8_t badVariable, std::uint8_t badUnit, std::uint8_t badPoint) {
    if (!IsTemperature(d))
        return Refuse(64);
    if (!HasBytes(r, 4))
        return Refuse(5);
    if (WriteProtected(d))
        return Refuse(7);
    const int variable = r.data[0];
    const int unit = r.data[1];
    const std::size_t n = r.data[3];
    if (!ValidVariable(variable))
        return Refuse(badVariable);
    if (!ValidUnit(unit))
        return Refuse(badUnit);
    if (!HasBytes(r, 4 + 9 * n))
        return Refuse(5);
    for (std::size_t k = 0; k < n; ++k)
        if ((r.data[4 + 9 * k] & 0x1F) >= size)
            return Refuse(badPoint);
    PointTable& t = Table(tables, variable, size, d, from, to);
    t.unit = static_cast<std::uint8_t>(unit);
    Bytes b;
    AppendU8(b, static_cast<unsigned>(variable));
    AppendU8(b, t.unit);
    AppendU8(b, static_cast<unsigned>(size));
    AppendU8(b, static_cast<unsigned>(n));
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t* p = &r.data[4 + 9 * k];
        TablePoint& point = t.points[p[0] & 0x1F];
        point.current = GetFloatBE(p + 1);
        point.modified = GetFloatBE(p + 5);
        point.used = (p[0] & 0x60) == 0;
        AppendU8(b, p[0]);
        AppendFloat(b, point.current);
        AppendFloat(b, point.modified);
    }
    d.MarkChanged();
    return Ok(b);
}

// Read of a table from a point on: a few points per answer, and the table size to go on to.
Reply ReadTable(SimDevice& d, const Request& r, std::map<int, PointTable>& tables, std::size_t size, float from,
                float to, std::uint8_t badVariable, std::uint8_t badPoint) {
    if (!IsTemperature(d))
        return Refuse(64);
    if (!HasBytes(r, 2))
        return Refuse(5);
    const int variable = r.data[0];
    const std::size_t first = r.data[1];
    if (!ValidVariable(variable))
        return Refuse(badVariable);
    if (first >= size)
        return Refuse(badPoint);
    const PointTable& t = Table(tables, variable, size, d, from, to);
    return Ok(TableAnswer(variable, t, first, std::min<std::size_t>(kPointsPerAnswer, size - first)));
}

bool ValidTransferCode(int code) { return code == 0 || code == 241 || code == 250; }

Bytes TransferAnswer(int variable, std::pair<std::uint8_t, std::uint8_t> codes) {
    return Bytes{static_cast<std::uint8_t>(variable), 0, codes.first, 3, codes.second};
}

// A device that is write-protected (7) or whose applied process is too high (9) or too low (10)
// for what the command would set from it.
std::optional<Reply> RefuseApplied(const SimDevice& d, float pv, float lowest, float highest) {
    if (WriteProtected(d))
        return Refuse(7);
    if (pv > highest)
        return Refuse(9);
    if (pv < lowest)
        return Refuse(10);
    return std::nullopt;
}

} // namespace

void RegisterTrimCommands(CommandTable& t) {
    // 36 / 37: the process applied now becomes the upper / lower range value.
    t.Add(36, [](SimDevice& d, const Request&) {
        const float pv = d.PrimaryValue();
        if (auto refused = RefuseApplied(d, pv, d.sensorLowerLimit, d.sensorUpperLimit))
            return *refused;
        d.upperRange = pv;
        d.MarkChanged();
        return Reply{static_cast<std::uint8_t>(std::fabs(d.upperRange - d.lowerRange) < d.sensorMinSpan ? 14 : 0), {}, false};
    }, false);
    t.Add(37, [](SimDevice& d, const Request&) {
        const float pv = d.PrimaryValue();
        if (auto refused = RefuseApplied(d, pv, d.sensorLowerLimit, d.sensorUpperLimit))
            return *refused;
        // The span stays; an upper value pushed past the sensor limit stops there.
        const float span = d.upperRange - d.lowerRange;
        d.lowerRange = pv;
        d.upperRange = pv + span;
        std::uint8_t code = 0;
        if (d.upperRange > d.sensorUpperLimit) {
            d.upperRange = d.sensorUpperLimit;
            code = 14;
        }
        d.MarkChanged();
        return Reply{code, {}, false};
    }, false);
    // 43: the process applied now reads zero.
    t.Add(43, [](SimDevice& d, const Request&) {
        const float pv = d.PrimaryValue();
        const float limit = (d.sensorUpperLimit - d.sensorLowerLimit) / 2.0f;
        if (auto refused = RefuseApplied(d, pv, -limit, limit))
            return *refused;
        TrimState& s = State(d);
        s.sensorZero -= pv;
        Apply(d, s);
        d.MarkChanged();
        return Ok();
    }, false);

    // Zero adjustment: the PV is to read the given value now.
    t.Add(236, [](SimDevice& d, const Request&) { return Ok(Floats({State(d).userZero})); });
    t.Add(246, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 4))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        TrimState& s = State(d);
        s.userZero += GetFloatBE(r.data.data()) - d.PrimaryValue();
        Apply(d, s);
        d.MarkChanged();
        return Ok(Floats({s.userZero}));
    });
    // Factory-calibrated transmitters (device revision 4 on): mode 16 user zero, 1 factory zero,
    // 48 clears the user zero.
    auto modeAnswer = [](int mode, float value) {
        Bytes b{static_cast<std::uint8_t>(mode)};
        AppendFloat(b, value);
        return Ok(b);
    };
    t.Add(144, [modeAnswer](SimDevice& d, const Request& r) {
        if (d.deviceRevision <= 3)
            return Refuse(64);
        if (!HasBytes(r, 1))
            return Refuse(5);
        const TrimState& s = State(d);
        switch (r.data[0]) {
        case 16:
        case 48: return modeAnswer(r.data[0], s.userZero);
        case 1: return modeAnswer(1, s.factoryZero);
        default: return Refuse(2);
        }
    });
    t.Add(145, [modeAnswer](SimDevice& d, const Request& r) {
        if (d.deviceRevision <= 3)
            return Refuse(64);
        if (!HasBytes(r, 5))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        TrimState& s = State(d);
        const float value = GetFloatBE(&r.data[1]);
        float result = 0.0f;
        switch (r.data[0]) {
        case 16:
            s.userZero += value - d.PrimaryValue();
            result = s.userZero;
            break;
        case 1:
            s.factoryZero += value - d.PrimaryValue();
            result = s.factoryZero;
            break;
        case 48:
            s.userZero = 0.0f;
            result = s.userZero;
            break;
        default: return Refuse(2);
        }
        Apply(d, s);
        d.MarkChanged();
        return modeAnswer(r.data[0], result);
    });

    // Sensor full trim: point 32 lower, 16 upper, 48 back to the factory trim. The answer carries
    // the point, the reading it was trimmed at and the trim point.
    t.Add(232, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        const TrimState& s = State(d);
        Bytes b{r.data[0]};
        if (r.data[0] != 32 && r.data[0] != 16)
            return Refuse(2);
        const bool lower = r.data[0] == 32;
        AppendFloat(b, lower ? s.lowerApplied : s.upperApplied);
        AppendFloat(b, lower ? s.lowerPoint : s.upperPoint);
        return Ok(b);
    });
    t.Add(242, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 9))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        TrimState& s = State(d);
        const float applied = GetFloatBE(&r.data[1]);
        const float target = GetFloatBE(&r.data[5]);
        Bytes b{r.data[0]};
        switch (r.data[0]) {
        case 48:
            s.sensorGain = 1.0f;
            s.sensorOffset = 0.0f;
            s.lowerPoint = s.lowerApplied = d.lowerRange;
            s.upperPoint = s.upperApplied = d.upperRange;
            Apply(d, s);
            AppendFloat(b, s.lowerPoint);
            AppendFloat(b, s.upperPoint);
            break;
        case 32: {
            // The reading at the upper point stays where it is.
            if (target >= s.upperPoint)
                return Refuse(9);
            if (std::fabs(s.upperPoint - applied) < 1e-6f)
                return Refuse(10);
            const float k = (s.upperPoint - target) / (s.upperPoint - applied);
            ComposeSensorTrim(d, s, k, target - k * applied);
            s.lowerApplied = applied;
            s.lowerPoint = target;
            AppendFloat(b, applied);
            AppendFloat(b, target);
            break;
        }
        case 16: {
            if (target <= s.lowerPoint)
                return Refuse(10);
            if (std::fabs(applied - s.lowerPoint) < 1e-6f)
                return Refuse(9);
            const float k = (target - s.lowerPoint) / (applied - s.lowerPoint);
            ComposeSensorTrim(d, s, k, s.lowerPoint - k * s.lowerPoint);
            s.upperApplied = applied;
            s.upperPoint = target;
            AppendFloat(b, applied);
            AppendFloat(b, target);
            break;
        }
        default: return Refuse(2);
        }
        d.MarkChanged();
        return Ok(b);
    });

    // Converter reference: make code and hardware prescale, sensor assembly maker.
    t.Add(208, [](SimDevice& d, const Request&) {
        const TrimState& s = State(d);
        return Ok({s.makeCode, s.prescale});
    });
    t.Add(198, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        TrimState& s = State(d);
        if (r.data.size() >= 2) {
            const int p = r.data[1];
            if (p != 1 && p != 2 && p != 4 && p != 8)
                return Refuse(2);
            s.prescale = r.data[1];
        }
        s.makeCode = r.data[0];
        d.MarkChanged();
        return Ok({s.makeCode, s.prescale});
    });
    t.Add(200, [](SimDevice& d, const Request&) { return Ok({State(d).assemblyMaker}); });
    t.Add(199, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (r.data[0] != 1 && r.data[0] != 17 && r.data[0] != 33)
            return Refuse(2);
        TrimState& s = State(d);
        s.assemblyMaker = r.data[0];
        d.MarkChanged();
        return Ok({s.assemblyMaker});
    });
    t.Add(231, [](SimDevice& d, const Request&) {
        const TrimState& s = State(d);
        return Ok(Floats({s.refZeroHigh, s.refZeroLow}));
    });
    t.Add(241, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 8))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        TrimState& s = State(d);
        s.refZeroHigh = GetFloatBE(&r.data[0]);
        s.refZeroLow = GetFloatBE(&r.data[4]);
        d.MarkChanged();
        return Ok(Floats({s.refZeroHigh, s.refZeroLow}));
    });
    // 210: command 3 with all four variables; one the model lacks reads "Not Used", 0.
    t.Add(210, [](SimDevice& d, const Request&) {
        const auto sample = d.TakeSample();
        Bytes b;
        AppendFloat(b, sample.current);
        AppendU8(b, d.pvUnit);
        AppendFloat(b, sample.pv);
        for (std::size_t i = 0; i < 3; ++i) {
            const DynamicVariable v = i < d.secondary.size() ? d.secondary[i] : DynamicVariable{250, 0.0f};
            AppendU8(b, v.unit);
            AppendFloat(b, v.value);
        }
        return Ok(b);
    });

    // Linearization tables of the temperature transmitters.
    t.Add(151, [](SimDevice& d, const Request& r) {
        return WriteTable(d, r, State(d).variableTables, kVariablePoints, d.lowerRange, d.upperRange, 9, 10, 12);
    });
    t.Add(161, [](SimDevice& d, const Request& r) {
        return ReadTable(d, r, State(d).variableTables, kVariablePoints, d.lowerRange, d.upperRange, 9, 12);
    });
    t.Add(173, [](SimDevice& d, const Request& r) {
        return WriteTable(d, r, State(d).cjTables, kCJPoints, -20.0f, 70.0f, 2, 2, 11);
    });
    t.Add(183, [](SimDevice& d, const Request& r) {
        return ReadTable(d, r, State(d).cjTables, kCJPoints, -20.0f, 70.0f, 2, 11);
    });
    t.Add(165, [](SimDevice& d, const Request& r) {
        if (!IsTemperature(d))
            return Refuse(64);
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (!ValidVariable(r.data[0]))
            return Refuse(9);
        TrimState& s = State(d);
        auto it = s.transferSetup.emplace(r.data[0], std::pair<std::uint8_t, std::uint8_t>{0, 0}).first;
        return Ok(TransferAnswer(r.data[0], it->second));
    });
    t.Add(155, [](SimDevice& d, const Request& r) {
        if (!IsTemperature(d))
            return Refuse(64);
        if (!HasBytes(r, 5))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (!ValidVariable(r.data[0]))
            return Refuse(9);
        if (!ValidTransferCode(r.data[2]))
            return Refuse(12);
        if (!ValidTransferCode(r.data[4]))
            return Refuse(11);
        TrimState& s = State(d);
        s.transferSetup[r.data[0]] = {r.data[2], r.data[4]};
        d.MarkChanged();
        return Ok(TransferAnswer(r.data[0], s.transferSetup[r.data[0]]));
    });
}

} // namespace sim
