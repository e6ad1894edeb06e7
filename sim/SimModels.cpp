#include "sim/SimModels.h"

namespace sim {
namespace {

struct ModelRow {
    const char* name;
    std::uint8_t manufacturer;
    std::uint8_t deviceType;
    std::uint8_t pvUnit;
    float lower, upper, center, amplitude, noise;
    std::uint8_t svUnit; // 250: no SV
    float sv;
    std::uint8_t tvUnit;
    float tv;
    std::uint8_t fvUnit;
    float fv;
    const char* descriptor;
};

// Units: 12 kPa, 32 degC, 19 m3/h, 45 m, 7 bar.
const ModelRow kModels[] = {
    {"KP510", 134, 107, 12, 0.0f, 100.0f, 50.0f, 3.0f, 0.02f, 32, 24.5f, 32, 31.0f, 250, 0.0f, "CAP PRESSURE TX"},
    {"KP510F", 134, 96, 12, 0.0f, 50.0f, 20.0f, 1.5f, 0.01f, 32, 24.0f, 32, 30.5f, 250, 0.0f, "FLOW DP TX"},
    {"KP520", 134, 97, 12, 0.0f, 1000.0f, 400.0f, 10.0f, 0.2f, 32, 25.0f, 250, 0.0f, 250, 0.0f, "PIEZO PRESSURE"},
    {"KP550", 134, 127, 12, -50.0f, 50.0f, 0.0f, 1.0f, 0.01f, 32, 24.8f, 32, 30.0f, 250, 0.0f, "DP TRANSMITTER"},
    {"KP570N", 134, 103, 12, 0.0f, 250.0f, 120.0f, 4.0f, 0.05f, 32, 25.2f, 32, 31.2f, 250, 0.0f, "GAUGE PRESSURE"},
    {"KT410", 134, 117, 32, 0.0f, 200.0f, 85.0f, 1.5f, 0.02f, 32, 84.9f, 32, 29.5f, 250, 0.0f, "TEMPERATURE TX"},
    {"KT420", 134, 115, 32, -50.0f, 150.0f, 40.0f, 1.0f, 0.02f, 32, 40.1f, 32, 29.0f, 250, 0.0f, "DUAL TEMP TX"},
    {"KF610", 134, 87, 19, 0.0f, 120.0f, 60.0f, 5.0f, 0.1f, 32, 22.0f, 32, 30.0f, 250, 0.0f, "FLOW TRANSMITTER"},
    {"KL710", 134, 126, 45, 0.0f, 10.0f, 4.2f, 0.3f, 0.005f, 250, 0.0f, 250, 0.0f, 250, 0.0f, "GWR LEVEL"},
    // A foreign pressure transmitter that knows only the universal and common commands.
    {"3051", 38, 6, 7, 0.0f, 10.0f, 3.5f, 0.2f, 0.002f, 32, 23.0f, 250, 0.0f, 250, 0.0f, "FOREIGN PT"},
};

} // namespace

bool ApplyModel(SimDevice& d, const QString& model) {
    for (const auto& m : kModels) {
        if (model.compare(QLatin1String(m.name), Qt::CaseInsensitive) != 0)
            continue;
        d.model = QLatin1String(m.name);
        d.manufacturer = m.manufacturer;
        d.privateLabel = m.manufacturer;
        d.deviceType = m.deviceType;
        d.pvUnit = d.rangeUnit = d.sensorLimitUnit = m.pvUnit;
        d.lowerRange = m.lower;
        d.upperRange = m.upper;
        d.processCenter = m.center;
        d.processAmplitude = m.amplitude;
        d.processNoise = m.noise;
        const float span = m.upper - m.lower;
        d.sensorLowerLimit = m.lower - span;
        d.sensorUpperLimit = m.upper + span;
        d.sensorMinSpan = span / 100.0f;
        d.descriptor = QLatin1String(m.descriptor);
        d.secondary.clear();
        if (m.svUnit != 250)
            d.secondary.push_back({m.svUnit, m.sv});
        if (m.tvUnit != 250)
            d.secondary.push_back({m.tvUnit, m.tv});
        if (m.fvUnit != 250)
            d.secondary.push_back({m.fvUnit, m.fv});
        return true;
    }
    return false;
}

QStringList ModelNames() {
    QStringList out;
    for (const auto& m : kModels)
        out << QLatin1String(m.name);
    return out;
}

} // namespace sim
