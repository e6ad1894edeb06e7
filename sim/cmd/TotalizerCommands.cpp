// The KP510F's flow output: flow range (189/179), pulse scale (188/178), pulse width (237/247) and
// the total's reset (177). Other models do not know these commands.
#include "hart/Codecs.h"
#include "hart/CodeTables.h"
#include "sim/cmd/UserMenuCommands.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

using namespace hart;

// Integration step of the total, in seconds of the device clock; a long gap uses fewer, longer
// steps so a device left alone for days is still brought up to date at once.
constexpr double kStepS = 1.0;
constexpr int kMaxSteps = 100000;
constexpr float kMinPulseScale = 0.0005f;
constexpr float kMaxPulseScale = 20000.0f;

bool IsFlowTransmitter(const SimDevice& d, const Request&) { return d.deviceType == kFlowDeviceType; }

std::optional<Reply> WriteRefusal(const SimDevice& d, const Request& r, std::size_t bytes) {
    if (!HasBytes(r, bytes))
        return Refuse(5);
    if (WriteProtected(d))
        return Refuse(7);
    return std::nullopt;
}

Reply FlowRange(const FlowTotalizer& f) {
    Bytes b;
    AppendU8(b, f.unit);
    AppendFloat(b, f.lower);
    AppendFloat(b, f.upper);
    return Ok(b);
}

Reply PulseScale(const FlowTotalizer& f) {
    Bytes b;
    AppendFloat(b, f.pulseScale);
    return Ok(b);
}

} // namespace

double FlowUnitSeconds(int unitCode) {
    if (FindCodeIndex(FlowUnitTable(), unitCode) < 0)
        return 0.0;
    const QString label = GetCodeName(FlowUnitTable(), unitCode);
    if (label.endsWith(QLatin1String("/s")))
        return 1.0;
    if (label.endsWith(QLatin1String("/min")))
        return 60.0;
    if (label.endsWith(QLatin1String("/hr")))
        return 3600.0;
    if (label.endsWith(QLatin1String("/day")))
        return 86400.0;
    return 0.0;
}

float FlowTotalizer::FlowAt(const SimDevice& d, double t) const {
    const float span = d.upperRange - d.lowerRange;
    const float ratio = span != 0.0f ? std::clamp((d.ProcessValueAt(t) - d.lowerRange) / span, 0.0f, 1.0f) : 0.0f;
    return lower + (upper - lower) * std::sqrt(ratio);
}

void FlowTotalizer::Advance(const SimDevice& d) {
    const double now = d.clock ? d.clock() : 0.0;
    if (now <= m_updatedAt)
        return;
    const double seconds = FlowUnitSeconds(unit);
    const double gap = now - m_updatedAt;
    const int steps = static_cast<int>(std::clamp(std::ceil(gap / kStepS), 1.0, static_cast<double>(kMaxSteps)));
    const double dt = gap / steps;
    double volume = 0.0;
    for (int i = 0; i < steps; ++i) {
        const double t0 = m_updatedAt + dt * i;
        // Trapezoids; a reverse flow (a range below zero) does not count down.
        const double a = std::max(0.0f, FlowAt(d, t0));
        const double b = std::max(0.0f, FlowAt(d, t0 + dt));
        volume += (a + b) / 2.0 * dt;
    }
    if (seconds > 0.0)
        total += volume / seconds;
    m_updatedAt = now;
}

void FlowTotalizer::Reset(const SimDevice& d) {
    Advance(d);
    total = 0.0;
}

std::uint64_t FlowTotalizer::Pulses() const {
    return pulseScale > 0.0f ? static_cast<std::uint64_t>(total / pulseScale) : 0;
}

void RegisterTotalizerCommands(CommandTable& t) {
    t.AddFor(189, IsFlowTransmitter, [](SimDevice& d, const Request&) {
        FlowTotalizer& f = d.Ext<FlowTotalizer>();
        f.Advance(d);
        return FlowRange(f);
    });
    t.AddFor(179, IsFlowTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 9))
            return *refusal;
        const std::uint8_t unit = r.data[0];
        const float lower = GetFloatBE(&r.data[1]);
        const float upper = GetFloatBE(&r.data[5]);
        if (unit == 250 || FlowUnitSeconds(unit) <= 0.0)
            return Refuse(10);
        if (!std::isfinite(lower) || !std::isfinite(upper))
            return Refuse(2);
        if (upper <= lower)
            return Refuse(29); // invalid span
        FlowTotalizer& f = d.Ext<FlowTotalizer>();
        f.Advance(d); // what flowed so far counts in the old range
        f.unit = unit;
        f.lower = lower;
        f.upper = upper;
        d.MarkChanged();
        return FlowRange(f);
    });
    t.AddFor(188, IsFlowTransmitter, [](SimDevice& d, const Request&) { return PulseScale(d.Ext<FlowTotalizer>()); });
    t.AddFor(178, IsFlowTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 4))
            return *refusal;
        const float scale = GetFloatBE(r.data.data());
        if (!(scale >= kMinPulseScale))
            return Refuse(4); // too small (0 would put out pulses without end)
        if (scale > kMaxPulseScale)
            return Refuse(3);
        FlowTotalizer& f = d.Ext<FlowTotalizer>();
        f.Advance(d);
        f.pulseScale = scale;
        d.MarkChanged();
        return PulseScale(f);
    });
    t.AddFor(237, IsFlowTransmitter, [](SimDevice& d, const Request&) { return Ok({d.Ext<FlowTotalizer>().pulseWidth}); });
    t.AddFor(247, IsFlowTransmitter, [](SimDevice& d, const Request& r) {
        if (auto refusal = WriteRefusal(d, r, 1))
            return *refusal;
        if (r.data[0] > 2)
            return Refuse(2);
        d.Ext<FlowTotalizer>().pulseWidth = r.data[0];
        d.MarkChanged();
        return Ok({r.data[0]});
    });
    t.AddFor(177, IsFlowTransmitter, [](SimDevice& d, const Request&) {
        if (WriteProtected(d))
            return Refuse(7);
        d.Ext<FlowTotalizer>().Reset(d);
        return Ok({0});
    });
}

} // namespace sim
