// What the simulated transmitters do with the commands of the configuration and status pages:
// refusals of values out of range, read-backs of what was written, unit conversion.
#include "hart/Codecs.h"
#include "sim/SimCommands.h"
#include "sim/SimModels.h"
#include "sim/cmd/TransmitterState.h"

#include <gtest/gtest.h>

using sim::Bytes;

namespace {

sim::SimDevice Model(const char* name) {
    sim::SimDevice d;
    EXPECT_TRUE(sim::ApplyModel(d, name));
    return d;
}

sim::Reply Ask(sim::SimDevice& d, int command, Bytes data = {}) {
    const sim::Handler* h = sim::Commands().Find(command, d);
    if (!h)
        return sim::Reply{64, {}, false};
    sim::Request r;
    r.command = command;
    r.data = std::move(data);
    return (*h)(d, r);
}

Bytes FloatBytes(float v) {
    Bytes b;
    hart::AppendFloat(b, v);
    return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(SimTransmitter, RefusesWhatAKorvexTransmitterRefuses) {
    struct Case {
        const char* model;
        int command;
        Bytes data;
        int code;
    };
    const Case cases[] = {
        {"KP510", 162, {2}, 9},                          // one sensor only
        {"KT420", 162, {2}, 0},                          // the dual input has two
        {"KP510", 162, {}, 5},
        {"KP510", 152, {1, 200}, 11},                    // no such sensor
        {"KP510", 152, {1, 232}, 0},                     // an MS sensor is known to every family
        {"KP510", 158, {1}, 13},                         // alarm by jumper
        {"KT420", 158, {2}, 12},
        {"KT420", 158, {1}, 0},
        {"KP510", 159, {1}, 12},                         // the hardware entries are not a mode
        {"KP510", 159, {241}, 0},
        {"KP510", 245, Concat({0}, FloatBytes(25.0f)), 3},
        {"KP510", 245, Concat({0}, FloatBytes(-1.0f)), 4},
        {"KP510", 245, Concat({2}, FloatBytes(5.0f)), 2},
        {"KT410", 235, {}, 64},                          // no low cut on a temperature transmitter
        {"KP510", 39, {85}, 0},                          // burn the pressure data
        {"3051", 39, {85}, 2},
        {"3051", 162, {1}, 64},                          // another maker's device
        {"KP510", 44, {32}, 2},                          // degrees on a pressure transmitter
        {"KP510", 44, {250}, 2},
        {"KT410", 44, {33}, 0},
    };
    for (const Case& c : cases) {
        sim::SimDevice d = Model(c.model);
        EXPECT_EQ(Ask(d, c.command, c.data).responseCode, c.code) << c.model << " command " << c.command;
    }
}

TEST(SimTransmitter, KeepsAndReadsBackWhatIsWritten) {
    sim::SimDevice d = Model("KP510F");
    const Bytes sensor = Ask(d, 162, {1}).data;
    ASSERT_EQ(sensor.size(), 2u);
    EXPECT_EQ(sensor[1], 2) << "(H)DP-RC 5 from the factory";
    EXPECT_EQ(Ask(d, 152, {1, 234}).data, (Bytes{1, 234}));
    EXPECT_EQ(Ask(d, 162, {1}).data, (Bytes{1, 234}));

    const Bytes lowCut = Concat({1}, FloatBytes(7.5f));
    EXPECT_EQ(Ask(d, 245, lowCut).data, lowCut);
    EXPECT_EQ(Ask(d, 235).data, lowCut);

    // Software write protection on: writes are refused until it is off again.
    EXPECT_EQ(Ask(d, 159, {241}).data, (Bytes{241}));
    EXPECT_EQ(Ask(d, 15).data[15], 241) << "write protection, item 6 of the output information";
    EXPECT_EQ(Ask(d, 34, FloatBytes(2.0f)).responseCode, 7);
    EXPECT_EQ(Ask(d, 159, {240}).responseCode, 0);
    EXPECT_EQ(Ask(d, 34, FloatBytes(2.0f)).responseCode, 0);

    // A jumper in charge: the software setting cannot change.
    d.writeProtect = 1;
    EXPECT_EQ(Ask(d, 159, {240}).responseCode, 13);
}

TEST(SimTransmitter, ConvertsRangeAndProcessToANewUnit) {
    sim::SimDevice d = Model("KP510"); // 0 to 100 kPa, sensor -100 to 200 kPa
    ASSERT_EQ(Ask(d, 44, {7}).data, (Bytes{7}));
    const Bytes out = Ask(d, 15).data;
    EXPECT_EQ(out[2], 7);
    EXPECT_FLOAT_EQ(hart::GetFloatBE(&out[3]), 1.0f) << "100 kPa is 1 bar";
    EXPECT_FLOAT_EQ(hart::GetFloatBE(&out[7]), 0.0f);
    const Bytes limits = Ask(d, 14).data;
    EXPECT_EQ(limits[3], 7);
    EXPECT_FLOAT_EQ(hart::GetFloatBE(&limits[4]), 2.0f);
    EXPECT_NEAR(d.PrimaryValue(), 0.5f, 0.1f) << "the process moves with the unit";

    // Range values given in kPa are kept in bar and answered as given.
    const Bytes range = Concat(Concat({12}, FloatBytes(150.0f)), FloatBytes(-50.0f));
    EXPECT_EQ(Ask(d, 35, range).data, range);
    EXPECT_FLOAT_EQ(d.upperRange, 1.5f);
    EXPECT_FLOAT_EQ(d.lowerRange, -0.5f);
    EXPECT_EQ(d.rangeUnit, 7);
    // Beyond the sensor in either unit: refused.
    EXPECT_EQ(Ask(d, 35, Concat(Concat({12}, FloatBytes(250.0f)), FloatBytes(0.0f))).responseCode, 11);

    sim::SimDevice t = Model("KT410"); // 0 to 200 degrees C
    ASSERT_EQ(Ask(t, 44, {33}).responseCode, 0);
    EXPECT_FLOAT_EQ(t.lowerRange, 32.0f);
    EXPECT_FLOAT_EQ(t.upperRange, 392.0f);
}

TEST(SimTransmitter, AdditionalStatusOfTheMakersDevices) {
    sim::SimDevice k = Model("KP510");
    EXPECT_EQ(Ask(k, 48).data.size(), 25u);
    k.fixedCurrent = 12.0f;
    const Bytes fixed = Ask(k, 48).data;
    EXPECT_EQ(fixed[0] & 0x01, 0x01);
    EXPECT_EQ(hart::GetU24(&fixed[11]), 1u) << "A/O fixed";
    sim::SimDevice other = Model("3051");
    EXPECT_EQ(Ask(other, 48).data.size(), 8u);
}
