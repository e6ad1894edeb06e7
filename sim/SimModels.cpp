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

// What a unit of the model reports about itself in command 0. The hardware revision byte holds
// the revision in its upper five bits and the physical signalling code (0: Bell 202 current) in
// the lower three; flags bit 0 marks a multi-sensor device.
struct IdentityRow {
    const char* name;
    std::uint8_t universalRevision;
    std::uint8_t deviceRevision;
    std::uint8_t softwareRevision;
    std::uint8_t hardwareRevision;
    std::uint8_t flags;
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

const IdentityRow kIdentities[] = {
    {"KP510", 5, 3, 12, 2 << 3, 0},  {"KP510F", 5, 3, 12, 2 << 3, 0}, {"KP520", 5, 2, 8, 1 << 3, 0},
    {"KP550", 5, 1, 5, 1 << 3, 0},   {"KP570N", 5, 1, 3, 1 << 3, 0},  {"KT410", 5, 4, 21, 3 << 3, 0},
    {"KT420", 5, 2, 7, 2 << 3, 0x01}, {"KF610", 5, 2, 9, 2 << 3, 0},  {"KL710", 5, 1, 4, 1 << 3, 0},
    {"3051", 5, 7, 4, 5 << 3, 0},
};

} // namespace

bool ApplyModel(SimDevice& d, const QString& model) {
    for (const auto& m : kModels) {
        if (model.compare(QLatin1String(m.name), Qt::CaseInsensitive) != 0)
            continue;
        d.model = QLatin1String(m.name);
        d.manufacturer = m.manufacturer;
        d.privateLabel = m.manufacturer;
        // The maker's transmitters leave the factory with write protection set by command.
        d.writeProtect = d.IsKorvex() ? 240 : 0;
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
        for (const auto& id : kIdentities) {
            if (model.compare(QLatin1String(id.name), Qt::CaseInsensitive) != 0)
                continue;
            d.universalRevision = id.universalRevision;
            d.deviceRevision = id.deviceRevision;
            d.softwareRevision = id.softwareRevision;
            d.hardwareRevision = id.hardwareRevision;
            d.flags = id.flags;
        }
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
