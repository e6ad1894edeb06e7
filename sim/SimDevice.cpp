#include "sim/SimDevice.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace sim {

SimDevice::SimDevice() : m_rng(12345) {
    const auto start = std::chrono::steady_clock::now();
    clock = [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
}

float SimDevice::ProcessValueAt(double t) const {
    const double swing = processAmplitude * std::sin(2.0 * M_PI * t / std::max(1.0f, processPeriodS));
    const double measured = processCenter + swing + stepOffset;
    return static_cast<float>(measured * pvGainTrim + pvZeroTrim);
}

float SimDevice::PrimaryValue() {
    const double t = clock ? clock() : 0.0;
    std::normal_distribution<float> noise(0.0f, processNoise);
    return ProcessValueAt(t) + (processNoise > 0 ? noise(m_rng) : 0.0f);
}

float SimDevice::CurrentFor(float pv) const {
    if (fixedCurrent)
        return *fixedCurrent * dacGainTrim + dacZeroTrim;
    if (pollingAddress != 0 && universalRevision < 6)
        return 4.0f; // multidrop: the loop current is parked
    const float span = upperRange - lowerRange;
    const float pct = span != 0.0f ? (pv - lowerRange) / span : 0.0f;
    const float ma = std::clamp(4.0f + 16.0f * pct, 3.8f, 20.5f); // saturation limits
    return ma * dacGainTrim + dacZeroTrim;
}

SimDevice::Sample SimDevice::TakeSample() {
    const float pv = PrimaryValue();
    const float span = upperRange - lowerRange;
    return Sample{pv, CurrentFor(pv), span != 0.0f ? (pv - lowerRange) / span * 100.0f : 0.0f};
}

std::uint8_t SimDevice::DeviceStatus() const {
    std::uint8_t s = 0;
    if (configChanged)
        s |= 0x40;
    if (coldStart)
        s |= 0x20;
    if (fixedCurrent)
        s |= 0x08;
    return s;
}

} // namespace sim
