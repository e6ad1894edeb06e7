// The KL710's level setup: what the PV stands for (140/141), tank height, probe length and angle
// (142/143), sensitivity (148/149) and the level adjustment (145 with mode byte 64). Other models
// use some of these numbers for other settings, so these handlers serve the KL710 only.
#include "hart/Codecs.h"
#include "sim/cmd/UserMenuCommands.h"

#include <cmath>

namespace sim {
namespace {

using namespace hart;

constexpr std::uint8_t kLevelAdjustMode = 64;
constexpr float kMaxLength = 100.0f; // metres of tank or probe the electronics can time
constexpr float kMaxAngle = 90.0f;

bool IsLevelTransmitter(const SimDevice& d, const Request&) { return d.deviceType == kLevelDeviceType; }

std::optional<Reply> WriteRefusal(const SimDevice& d, const Request& r, std::size_t bytes) {
    if (!HasBytes(r, bytes))
        return Refuse(5);
    if (WriteProtected(d))
        return Refuse(7);
    return std::nullopt;
}

Reply Parameters(const LevelSetup& s) {
    Bytes b;
    AppendFloat(b, s.tankHeight);
    AppendFloat(b, s.probeLength);
    AppendFloat(b, s.probeAngle);
    return Ok(b);
}

Reply AdjustmentAnswer(float level) {
    Bytes b;
    AppendU8(b, kLevelAdjustMode);
    AppendFloat(b, level);
    return Ok(b);
}

} // namespace

void RegisterLevelCommands(CommandTable& t) {
    t.AddFor(140, IsLevelTransmitter, [](SimDevice& d, const Request&) { return Ok({d.Ext<LevelSetup>().pvIs}); });
    t.AddFor(141, IsLevelTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > 2)
            return Refuse(2);
        d.Ext<LevelSetup>().pvIs = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    t.AddFor(142, IsLevelTransmitter, [](SimDevice& d, const Request&) { return Parameters(d.Ext<LevelSetup>()); });
    t.AddFor(143, IsLevelTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 12))
            return *refusal;
        const float height = GetFloatBE(&r.data[0]);
        const float probe = GetFloatBE(&r.data[4]);
        const float angle = GetFloatBE(&r.data[8]);
        if (!(height > 0.0f) || !(probe > 0.0f) || !(angle >= 0.0f))
            return Refuse(4);
        if (height > kMaxLength || probe > kMaxLength || angle >= kMaxAngle)
            return Refuse(3);
        LevelSetup& s = d.Ext<LevelSetup>();
        s.tankHeight = height;
        s.probeLength = probe;
        s.probeAngle = angle;
        d.MarkChanged();
        return Parameters(s);
    });
    t.AddFor(148, IsLevelTransmitter, [](SimDevice& d, const Request&) { return Ok({d.Ext<LevelSetup>().sensitivity}); });
    t.AddFor(149, IsLevelTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > 1)
            return Refuse(2);
        d.Ext<LevelSetup>().sensitivity = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    // The device takes the level it is given as its present level, unless the level lies outside
    // the tank: then it keeps its own and says which.
    t.AddFor(
        145,
        [](const SimDevice& d, const Request& r) {
            return d.deviceType == kLevelDeviceType && !r.data.empty() && r.data[0] == kLevelAdjustMode;
        },
        [](SimDevice& d, const Request& r) {
            if (auto refusal = WriteRefusal(d, r, 5))
                return *refusal;
            LevelSetup& s = d.Ext<LevelSetup>();
            if (s.pvIs != 0)
                return Refuse(16); // only a level can be adjusted
            const float wanted = GetFloatBE(&r.data[1]);
            const double now = d.clock ? d.clock() : 0.0;
            if (!(wanted >= 0.0f && wanted <= s.tankHeight))
                return AdjustmentAnswer(d.ProcessValueAt(now));
            d.pvZeroTrim += wanted - d.ProcessValueAt(now);
            ++s.adjustments;
            d.MarkChanged();
            return AdjustmentAnswer(wanted);
        });
}

} // namespace sim
