// Common-practice commands as a HART 5 transmitter answers them: damping, range, the
// configuration-changed flag, EEPROM control, fixed current and DAC trims, PV unit, transfer
// function, sensor serial number.
#include "hart/CodeTables.h"
#include "hart/Codecs.h"
#include "sim/SimCommands.h"
#include "sim/cmd/TransmitterState.h"

#include <cmath>

namespace sim {
namespace {

using namespace hart;

Bytes FloatData(float v) {
    Bytes b;
    AppendFloat(b, v);
    return b;
}

// Checks shared by the writes: data present, device not write protected.
std::optional<Reply> WriteRefusal(const SimDevice& d, const Request& r, std::size_t bytes) {
    if (!HasBytes(r, bytes))
        return Refuse(5);
    if (WriteProtected(d))
        return Refuse(7);
    return std::nullopt;
}

Reply WriteRange(SimDevice& d, const Request& r) {
    if (auto refusal = WriteRefusal(d, r, 9))
        return *refusal;
    const std::uint8_t unit = r.data[0];
    float upper = GetFloatBE(&r.data[1]);
    float lower = GetFloatBE(&r.data[5]);
    // Values given in another unit of the same kind are taken in the device's own unit.
    std::uint8_t keptUnit = unit;
    if (unit != d.rangeUnit && ConvertValue(upper, unit, d.rangeUnit) && ConvertValue(lower, unit, d.rangeUnit))
        keptUnit = d.rangeUnit;
    if (lower > d.sensorUpperLimit)
        return Refuse(9);
    if (lower < d.sensorLowerLimit)
        return Refuse(10);
    if (upper > d.sensorUpperLimit)
        return Refuse(11);
    if (upper < d.sensorLowerLimit)
        return Refuse(12);
    d.rangeUnit = keptUnit;
    d.upperRange = upper;
    d.lowerRange = lower;
    d.MarkChanged();
    Bytes b; // the values as the master gave them
    AppendU8(b, unit);
    AppendFloat(b, GetFloatBE(&r.data[1]));
    AppendFloat(b, GetFloatBE(&r.data[5]));
    // A span below the sensor's minimum is taken, with a warning.
    const std::uint8_t code = std::fabs(upper - lower) < d.sensorMinSpan ? 14 : 0;
    return Reply{code, b, false};
}

// A Korvex device takes the units of its family; others any unit of the common tables.
bool AcceptsUnit(const SimDevice& d, int unit) {
    if (unit == 250)
        return false;
    return FindCodeIndex(d.IsKorvex() ? UnitTableFor(d.deviceType) : UnitTable(), unit) >= 0;
}

// A new PV unit: range, sensor limits and the process itself are converted where the units are
// of one kind (counts and the like are taken as they are).
void ConvertToUnit(SimDevice& d, std::uint8_t unit) {
    const std::uint8_t from = d.pvUnit;
    float probe = 0.0f;
    if (ConvertValue(probe, from, unit)) {
        ConvertValue(d.upperRange, d.rangeUnit, unit);
        ConvertValue(d.lowerRange, d.rangeUnit, unit);
        if (ConvertValue(d.sensorUpperLimit, d.sensorLimitUnit, unit) &&
            ConvertValue(d.sensorLowerLimit, d.sensorLimitUnit, unit)) {
            ConvertSpan(d.sensorMinSpan, d.sensorLimitUnit, unit);
            d.sensorLimitUnit = unit;
        }
        ConvertValue(d.processCenter, from, unit);
        for (float* span : {&d.processAmplitude, &d.processNoise, &d.stepOffset, &d.pvZeroTrim})
            ConvertSpan(*span, from, unit);
    }
    d.pvUnit = d.rangeUnit = unit;
}

} // namespace

void RegisterCommonPracticeCommands(CommandTable& t) {
    t.Add(34, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 4))
            return *refusal;
        const float damping = GetFloatBE(r.data.data());
        if (!(damping >= 0.0f))
            return Refuse(4);
        if (damping > 32.0f)
            return Refuse(3);
        d.damping = damping;
        d.MarkChanged();
        return Ok(FloatData(d.damping));
    }, false);
    t.Add(35, WriteRange, false);
    t.Add(38, [](SimDevice& d, const Request&) {
        d.configChanged = false;
        return Ok();
    }, false);
    t.Add(39, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        // 0 burn, 1 restore; the maker's devices also burn the pressure data (85).
        if (r.data[0] > 1 && !(r.data[0] == 85 && d.IsKorvex()))
            return Refuse(2);
        return Ok({r.data[0]});
    }, false);
    t.Add(40, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 4))
            return Refuse(5);
        if (d.pollingAddress != 0)
            return Refuse(11); // the current is parked in multidrop
        const float ma = GetFloatBE(r.data.data());
        if (ma == 0.0f)
            d.fixedCurrent.reset();
        else if (ma < 3.5f)
            return Refuse(4);
        else if (ma > 23.0f) // the output stage drives up to 23 mA
            return Refuse(3);
        else
            d.fixedCurrent = ma;
        return Ok(FloatData(ma));
    }, false);
    t.Add(44, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (!AcceptsUnit(d, r.data[0]))
            return Refuse(2);
        ConvertToUnit(d, r.data[0]);
        d.MarkChanged();
        return Ok({d.pvUnit});
    }, false);
    // DAC trims: the device is in fixed current mode and the master reports what it measured.
    t.Add(45, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 4))
            return Refuse(5);
        if (d.pollingAddress != 0)
            return Refuse(11);
        if (!d.fixedCurrent || std::fabs(*d.fixedCurrent - 4.0f) > 0.001f)
            return Refuse(9);
        const float measured = GetFloatBE(r.data.data());
        // A reading this far off is a wrong meter or range, not a DAC to trim.
        if (measured > 5.0f)
            return Refuse(3);
        if (measured < 3.0f)
            return Refuse(4);
        d.dacZeroTrim += 4.0f - measured;
        d.MarkChanged();
        return Ok(FloatData(measured));
    }, false);
    t.Add(46, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 4))
            return Refuse(5);
        if (d.pollingAddress != 0)
            return Refuse(11);
        if (!d.fixedCurrent || std::fabs(*d.fixedCurrent - 20.0f) > 0.001f)
            return Refuse(9);
        const float measured = GetFloatBE(r.data.data());
        if (measured > 22.0f)
            return Refuse(3);
        if (measured < 18.0f)
            return Refuse(4);
        // Turn the output about its 4 mA point, so the zero trimmed before stays trimmed.
        const float correction = (20.0f - measured) / 16.0f;
        d.dacGainTrim += correction;
        d.dacZeroTrim -= 4.0f * correction;
        d.MarkChanged();
        return Ok(FloatData(measured));
    }, false);
    t.Add(47, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > 5)
            return Refuse(2);
        d.transferFunction = r.data[0];
        d.MarkChanged();
        return Ok({d.transferFunction});
    }, false);
    t.Add(49, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 3))
            return *refusal;
        d.sensorSerial = GetU24(r.data.data());
        d.MarkChanged();
        Bytes b;
        AppendU24(b, d.sensorSerial);
        return Ok(b);
    }, false);
}

} // namespace sim
