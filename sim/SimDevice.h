#pragma once
// A simulated HART field device: identity, the configuration a transmitter keeps, process values
// that move plausibly, fault switches, and counters of what it was asked. The command handlers
// (SimCommands) read and change it; the loop (SimLoop) frames its answers.
#include <QString>
#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <typeindex>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// Each fault counts down per answer: 0 off, N the next N answers, -1 every answer.
struct SimFaults {
    int silent = 0;          // no answer at all
    int badCheck = 0;        // answer with a wrong check byte
    int commError = 0;       // device reports a communication error (bit 7 of the first status byte)
    std::uint8_t commErrorCode = 0x88; // longitudinal parity error as the device saw it
    int busy = 0;            // response code 32, status bytes only
    int refuse = 0;          // a refusal with status bytes only
    std::uint8_t refuseCode = 6;       // device-specific command error
    int noise = 0;           // noise bytes before the preambles
    int noiseBytes = 3;
    int slowMs = 0;          // extra turnaround of every answer
};

struct DynamicVariable {
    std::uint8_t unit = 250;
    float value = 0.0f;
};

struct Reply {
    std::uint8_t responseCode = 0;
    Bytes data;
    bool silent = false; // a device that keeps quiet (e.g. command 11 with another tag)
};

struct Request {
    int command = 0;
    Bytes data;
    bool shortFrame = false;
    bool primaryMaster = true;
    bool broadcast = false; // long frame to the all-zero address
};

class SimDevice {
public:
    SimDevice();

    // Identity.
    std::uint8_t manufacturer = 134;
    std::uint8_t deviceType = 107;
    std::uint32_t deviceId = 1;
    std::uint8_t pollingAddress = 0;
    std::uint8_t requestPreambles = 5;
    std::uint8_t responsePreambles = 5;
    std::uint8_t universalRevision = 5;
    std::uint8_t deviceRevision = 1;
    std::uint8_t softwareRevision = 1;
    std::uint8_t hardwareRevision = 1;
    std::uint8_t flags = 0;
    QString model;

    // Configuration kept in the device.
    QString tag;
    QString descriptor;
    QString message;
    int day = 1, month = 1, year = 2024;
    std::uint32_t finalAssembly = 0;
    std::uint8_t pvUnit = 12;
    std::uint8_t rangeUnit = 12;
    float lowerRange = 0.0f;
    float upperRange = 100.0f;
    float damping = 0.5f;
    std::uint8_t transferFunction = 0;
    std::uint8_t alarmSelect = 0;     // 0 high, 1 low
    std::uint8_t writeProtect = 0;    // 0 none
    std::uint8_t privateLabel = 134;
    std::uint32_t sensorSerial = 0;
    std::uint8_t sensorLimitUnit = 12;
    float sensorUpperLimit = 200.0f;
    float sensorLowerLimit = -200.0f;
    float sensorMinSpan = 1.0f;

    // Process.
    float processCenter = 50.0f;    // PV around which it drifts
    float processAmplitude = 2.0f;  // slow swing
    float processPeriodS = 60.0f;
    float processNoise = 0.02f;
    float stepOffset = 0.0f;        // added when a value is written (a "step" the trend shows)
    std::vector<DynamicVariable> secondary; // SV, TV, FV as the model has them
    std::optional<float> fixedCurrent;      // loop test / multidrop
    float dacZeroTrim = 0.0f;               // mA offset from DAC trims
    float dacGainTrim = 1.0f;
    float pvZeroTrim = 0.0f;                // sensor zero trim offset
    float pvGainTrim = 1.0f;                // sensor trim gain on the measured value

    // Status.
    bool configChanged = false;
    bool coldStart = true;
    bool busyAfterReset = false;
    SimFaults faults;

    // Counters (tests assert on them).
    std::map<int, int> received;
    int answers = 0;

    // The device's own clock in seconds; tests pin it.
    std::function<double()> clock;

    // One reading: PV, loop current and percent of range taken together.
    struct Sample {
        float pv;
        float current;
        float percent;
    };
    Sample TakeSample();
    float PrimaryValue();
    // The process value at a time of the device clock, without noise.
    float ProcessValueAt(double t) const;
    float CurrentFor(float pv) const;
    std::uint8_t DeviceStatus() const;
    bool IsKorvex() const { return manufacturer == 134 || manufacturer == 211; }
    void MarkChanged() { configChanged = true; }

    // Feature state added by the command groups: one value per type, made on first use.
    template <class T> T& Ext() {
        auto it = m_ext.find(std::type_index(typeid(T)));
        if (it == m_ext.end())
            it = m_ext.emplace(std::type_index(typeid(T)), std::any(T{})).first;
        return std::any_cast<T&>(it->second);
    }

private:
    std::mt19937 m_rng;
    std::map<std::type_index, std::any> m_ext;
};

} // namespace sim
