// The local display of every Korvex transmitter: display mode (207/197), decimal places (166/156,
// device revision 3 and later) and the engineering scale of the engineering display mode
// (234/244 transfer function, 233/243 range and unit).
#include "hart/Codecs.h"
#include "hart/CodeTables.h"
#include "sim/cmd/UserMenuCommands.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

using namespace hart;

// Request byte of 233 and 234: the engineering display's setting group.
constexpr std::uint8_t kEngrGroup = 85;
constexpr std::uint8_t kLastCipher = 5;

bool HasCipher(const SimDevice& d) { return d.deviceRevision > 2; }

bool ValidMode(const SimDevice& d, std::uint8_t mode) {
    const std::uint8_t base = mode >= 128 ? 128 : (mode >= 64 ? 64 : 0);
    if (base == 64 && d.deviceType != kFlowDeviceType)
        return false; // only the flow transmitter has the flow displays
    const int fixed = mode - base;
    if (base == 64)
        return fixed <= 3;
    return fixed == 0 || (fixed >= 17 && fixed <= 19);
}

std::optional<Reply> WriteRefusal(const SimDevice& d, const Request& r, std::size_t bytes) {
    if (!HasBytes(r, bytes))
        return Refuse(5);
    if (WriteProtected(d))
        return Refuse(7);
    return std::nullopt;
}

// What the display shows now, by its mode: unit code and value.
std::pair<std::uint8_t, float> Shown(SimDevice& d) {
    const auto s = d.TakeSample();
    const LcdSettings& lcd = d.Ext<LcdSettings>();
    const std::uint8_t mode = lcd.displayMode;
    if (mode >= 64 && mode < 128) {
        FlowTotalizer& flow = d.Ext<FlowTotalizer>();
        flow.Advance(d);
        switch (mode - 64) {
        case 2: return {flow.unit, static_cast<float>(flow.total)};
        case 3: return {d.pvUnit, s.pv};
        default: return {flow.unit, flow.FlowAt(d, d.clock ? d.clock() : 0.0)};
        }
    }
    const int fixed = mode >= 128 ? mode - 128 : mode;
    if (fixed == 18)
        return {57, s.percent};
    if (fixed == 19)
        return {39, s.current};
    if (mode >= 128) {
        const float ratio = std::clamp(s.percent / 100.0f, 0.0f, 1.0f);
        const float f = lcd.engrTransfer == 1 ? std::sqrt(ratio) : ratio;
        return {lcd.engrUnit, lcd.engrLower + (lcd.engrUpper - lcd.engrLower) * f};
    }
    return {d.pvUnit, s.pv};
}

Reply EngineeringRange(SimDevice& d) {
    const LcdSettings& lcd = d.Ext<LcdSettings>();
    Bytes b;
    AppendU8(b, lcd.engrUnit);
    AppendFloat(b, lcd.engrUpper);
    AppendFloat(b, lcd.engrLower);
    if (lcd.engrUnit == kUserDefinedUnit) {
        for (char c : lcd.userUnit)
            AppendU8(b, static_cast<std::uint8_t>(c));
        return Ok(b); // the display's values would not fit in the 29 data bytes an answer has
    }
    // Then what the display shows, with the loop's own values.
    const auto [unit, value] = Shown(d);
    const auto s = d.TakeSample();
    AppendU8(b, unit);
    AppendFloat(b, value);
    AppendFloat(b, s.pv);
    AppendFloat(b, s.current);
    AppendFloat(b, s.percent);
    return Ok(b);
}

} // namespace

void RegisterLcdCommands(CommandTable& t) {
    t.Add(207, [](SimDevice& d, const Request&) { return Ok({d.Ext<LcdSettings>().displayMode}); });
    t.Add(197, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (!ValidMode(d, r.data[0]))
            return Refuse(2);
        d.Ext<LcdSettings>().displayMode = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    t.Add(166, [](SimDevice& d, const Request&) {
        if (!HasCipher(d))
            return Refuse(64);
        return Ok({d.Ext<LcdSettings>().cipher});
    });
    t.Add(156, [](SimDevice& d, const Request& r) {
        if (!HasCipher(d))
            return Refuse(64);
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > kLastCipher)
            return Refuse(2);
        d.Ext<LcdSettings>().cipher = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    t.Add(234, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (r.data[0] != kEngrGroup)
            return Refuse(2);
        return Ok({d.Ext<LcdSettings>().engrTransfer});
    });
    t.Add(244, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > 1)
            return Refuse(2);
        d.Ext<LcdSettings>().engrTransfer = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    t.Add(233, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 1))
            return Refuse(5);
        if (r.data[0] != kEngrGroup)
            return Refuse(2);
        return EngineeringRange(d);
    });
    t.Add(243, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 9))
            return *refusal;
        const std::uint8_t unit = r.data[0];
        if (unit == kUserDefinedUnit && !HasBytes(r, 15))
            return Refuse(5);
        if (FindCodeIndex(UnitTable(), unit) < 0 || unit == 250)
            return Refuse(10);
        const float upper = GetFloatBE(&r.data[1]);
        const float lower = GetFloatBE(&r.data[5]);
        if (!std::isfinite(upper) || !std::isfinite(lower))
            return Refuse(2);
        if (upper == lower)
            return Refuse(29); // invalid span
        QByteArray text;
        if (unit == kUserDefinedUnit) {
            for (int i = 9; i < 15; ++i) {
                const std::uint8_t c = r.data[static_cast<std::size_t>(i)];
                if (c < 32 || c > 126)
                    return Refuse(2);
                text.append(static_cast<char>(c));
            }
        }
        LcdSettings& lcd = d.Ext<LcdSettings>();
        lcd.engrUnit = unit;
        lcd.engrUpper = upper;
        lcd.engrLower = lower;
        if (unit == kUserDefinedUnit)
            lcd.userUnit = text;
        d.MarkChanged();
        return EngineeringRange(d);
    });
}

void RegisterUserMenuCommands(CommandTable& t) {
    RegisterLcdCommands(t);
    RegisterTotalizerCommands(t);
    RegisterLevelCommands(t);
}

} // namespace sim
