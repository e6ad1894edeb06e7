// Universal and common-practice commands as a HART 5 transmitter answers them.
#include "hart/Codecs.h"
#include "sim/SimCommands.h"

#include <cmath>

namespace sim {
namespace {

using namespace hart;

Bytes Identity(const SimDevice& d) {
    Bytes b;
    AppendU8(b, 254);
    AppendU8(b, d.manufacturer);
    AppendU8(b, d.deviceType);
    AppendU8(b, d.requestPreambles);
    AppendU8(b, d.universalRevision);
    AppendU8(b, d.deviceRevision);
    AppendU8(b, d.softwareRevision);
    AppendU8(b, d.hardwareRevision);
    AppendU8(b, d.flags);
    AppendU24(b, d.deviceId);
    return b;
}

Bytes TagDescriptorDate(const SimDevice& d) {
    Bytes b;
    AppendAscii(b, d.tag, 8);
    AppendAscii(b, d.descriptor, 16);
    AppendU8(b, static_cast<unsigned>(d.day));
    AppendU8(b, static_cast<unsigned>(d.month));
    AppendU8(b, static_cast<unsigned>(d.year - 1900));
    return b;
}

Reply DynamicVariables(SimDevice& d) {
    const auto s = d.TakeSample();
    Bytes b;
    AppendFloat(b, s.current);
    AppendU8(b, d.pvUnit);
    AppendFloat(b, s.pv);
    for (const auto& v : d.secondary) {
        AppendU8(b, v.unit);
        AppendFloat(b, v.value);
    }
    return Ok(b);
}

bool ValidDate(int day, int month) { return day >= 1 && day <= 31 && month >= 1 && month <= 12; }

} // namespace

void RegisterUniversalCommands(CommandTable& t) {
    t.Add(0, [](SimDevice& d, const Request&) { return Ok(Identity(d)); }, false);
    t.Add(1, [](SimDevice& d, const Request&) {
        Bytes b;
        AppendU8(b, d.pvUnit);
        AppendFloat(b, d.PrimaryValue());
        return Ok(b);
    }, false);
    t.Add(2, [](SimDevice& d, const Request&) {
        const auto s = d.TakeSample();
        Bytes b;
        AppendFloat(b, s.current);
        AppendFloat(b, s.percent);
        return Ok(b);
    }, false);
    t.Add(3, [](SimDevice& d, const Request&) { return DynamicVariables(d); }, false);
    t.Add(6, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (r.data[0] > 15)
            return Refuse(2);
        d.pollingAddress = r.data[0];
        d.MarkChanged();
        return Ok({d.pollingAddress});
    }, false);
    t.Add(11, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 6))
            return Refuse(5);
        if (Bytes(r.data.begin(), r.data.begin() + 6) != PackAscii(d.tag, 8))
            return Reply{0, {}, true};
        return Ok(Identity(d));
    }, false);
    t.Add(12, [](SimDevice& d, const Request&) {
        Bytes b;
        AppendAscii(b, d.message, 32);
        return Ok(b);
    }, false);
    t.Add(13, [](SimDevice& d, const Request&) { return Ok(TagDescriptorDate(d)); }, false);
    t.Add(14, [](SimDevice& d, const Request&) {
        Bytes b;
        AppendU24(b, d.sensorSerial);
        AppendU8(b, d.sensorLimitUnit);
        AppendFloat(b, d.sensorUpperLimit);
        AppendFloat(b, d.sensorLowerLimit);
        AppendFloat(b, d.sensorMinSpan);
        return Ok(b);
    }, false);
    t.Add(15, [](SimDevice& d, const Request&) {
        Bytes b;
        AppendU8(b, d.alarmSelect);
        AppendU8(b, d.transferFunction);
        AppendU8(b, d.rangeUnit);
        AppendFloat(b, d.upperRange);
        AppendFloat(b, d.lowerRange);
        AppendFloat(b, d.damping);
        AppendU8(b, d.writeProtect);
        AppendU8(b, d.privateLabel);
        return Ok(b);
    }, false);
    t.Add(16, [](SimDevice& d, const Request&) {
        Bytes b;
        AppendU24(b, d.finalAssembly);
        return Ok(b);
    }, false);
    t.Add(17, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 24))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        d.message = UnpackAscii(r.data.data(), 24);
        d.MarkChanged();
        return Ok(Bytes(r.data.begin(), r.data.begin() + 24));
    }, false);
    t.Add(18, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 21))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (!ValidDate(r.data[18], r.data[19]))
            return Refuse(2);
        d.tag = UnpackAscii(r.data.data(), 6);
        d.descriptor = UnpackAscii(r.data.data() + 6, 12);
        d.day = r.data[18];
        d.month = r.data[19];
        d.year = 1900 + r.data[20];
        d.MarkChanged();
        return Ok(TagDescriptorDate(d));
    }, false);
    t.Add(19, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 3))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        d.finalAssembly = GetU24(r.data.data());
        d.MarkChanged();
        Bytes b;
        AppendU24(b, d.finalAssembly);
        return Ok(b);
    }, false);
    t.Add(48, [](SimDevice& d, const Request&) {
        // Six device-specific bytes, extended status, operating mode; the maker's devices add
        // the analog-output saturated and fixed flags (3 bytes each) and eleven more status bytes.
        Bytes b(8, 0);
        if (d.fixedCurrent)
            b[0] |= 0x01;
        if (!d.IsKorvex())
            return Ok(b);
        const auto s = d.TakeSample();
        b[7] = d.pollingAddress != 0 ? 0x01 : 0x00; // multidrop
        AppendU24(b, !d.fixedCurrent && (s.current <= 3.8f || s.current >= 20.5f) ? 0x000001 : 0);
        AppendU24(b, d.fixedCurrent ? 0x000001 : 0);
        for (int k = 14; k <= 24; ++k)
            AppendU8(b, 0);
        b[14] = d.softwareRevision;
        return Ok(b);
    }, false);
    t.Add(59, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (r.data[0] < 5)
            return Refuse(4);
        if (r.data[0] > 20)
            return Refuse(3);
        d.responsePreambles = r.data[0];
        return Ok({d.responsePreambles});
    }, false);
}

} // namespace sim
