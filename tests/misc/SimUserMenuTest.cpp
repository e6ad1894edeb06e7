// What the simulated transmitters answer to the user menu's maker commands, by model: the
// commands one model has and another lacks, handlers shared out by mode byte, and the flow total.
#include "MiscFixture.h"

#include "common/Recorder.h"

#include <atomic>
#include <cmath>

using namespace testing_support;

namespace {

class SimUserMenuTest : public MiscPageTest {
protected:
    // Sends one request to the device at the address; returns the response code and data.
    std::pair<int, hart::Bytes> Ask(int address, int command, const hart::Bytes& data = {}) {
        Recorder r;
        host->Relay().SetReceiver(r.Handle());
        host->Comm().SetPollingAddress(address);
        host->Comm().DeleteRequestItems();
        for (std::size_t i = 0; i < data.size(); ++i) {
            host->Comm().SetRequestOffset(static_cast<int>(i));
            host->Comm().SetXInt8(data[i]);
        }
        EXPECT_EQ(host->Comm().Request(command, static_cast<int>(data.size())), 1);
        EXPECT_TRUE(WaitIdle());
        host->Relay().SetReceiver({});
        const auto answers = r.Of(vmc::WM_HART_RECEIVE);
        if (answers.empty())
            return {-1, {}};
        const int count = static_cast<int>(answers.back().lParam);
        return {host->Relay().LastResponseCode(), count > 0 ? host->Comm().LastAnswerData() : hart::Bytes{}};
    }
};

TEST_F(SimUserMenuTest, CommandsByModel) {
    loop.AddDevice("KP510", 0, 1);
    loop.AddDevice("KP510F", 1, 2);
    loop.AddDevice("KL710", 2, 3);
    loop.AddDevice("KP520", 3, 4);
    loop.AddDevice("3051", 4, 5);
    ConnectTo(0);
    for (int a : {1, 2, 3, 4})
        Identify(a);
    const hart::Bytes adjust{64, 0x40, 0x20, 0, 0}; // level adjustment to 2.5
    const hart::Bytes zero{16, 0, 0, 0, 0};          // another mode of 145
    struct Case {
        int address;
        int command;
        hart::Bytes data;
        int code; // 64: command not implemented
    };
    const Case cases[] = {
        {1, 189, {}, 0},     {0, 189, {}, 64},  {2, 189, {}, 64},   {1, 177, {}, 0},   {2, 177, {}, 64},
        {2, 142, {}, 0},     {1, 142, {}, 64},  {2, 145, adjust, 0}, {2, 145, zero, 64}, {0, 145, adjust, 64},
        {0, 207, {}, 0},     {2, 207, {}, 0},   {4, 207, {}, 64},   {0, 166, {}, 0},   {3, 166, {}, 64},
        {0, 233, {85}, 0},   {0, 233, {}, 5},   {0, 197, {64}, 2},  {1, 197, {64}, 0}, {0, 156, {6}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " at " << c.address);
        EXPECT_EQ(Ask(c.address, c.command, c.data).first, c.code);
    }
}

// The display of a KP510F set to "Total Flow" shows the total, which grows with the flow over the
// device clock and starts again at the reset.
TEST_F(SimUserMenuTest, TheTotalCountsUpWithTheFlow) {
    sim::SimDevice& d = loop.AddDevice("KP510F", 0, 1);
    std::atomic<double> now{100.0};
    loop.With([&](sim::SimLoop&) {
        d.clock = [&now] { return now.load(); };
        d.processAmplitude = 0.0f;
        d.processNoise = 0.0f;
        d.processCenter = 12.5f; // 25 % of 0..50 kPa: half the flow range
        auto& f = d.Ext<sim::FlowTotalizer>();
        f.unit = 19; // m3/h
        f.upper = 80.0f;
        return 0;
    });
    ConnectTo(0);
    auto shown = [&] {
        const auto [code, data] = Ask(0, 233, {85});
        EXPECT_EQ(code, 0);
        EXPECT_EQ(data.size(), 26u);
        return data.size() >= 14 ? std::pair{static_cast<int>(data[9]), hart::GetFloatBE(&data[10])} : std::pair{0, 0.0f};
    };
    EXPECT_EQ(Ask(0, 197, {66}).first, 0);
    EXPECT_EQ(Ask(0, 177).first, 0);
    EXPECT_EQ(shown().second, 0.0f);
    now = 100.0 + 1800.0; // half an hour at 40 m3/h
    const auto [unit, total] = shown();
    EXPECT_EQ(unit, 19);
    EXPECT_NEAR(total, 20.0f, 1e-3f);
    now = 100.0 + 3600.0;
    EXPECT_NEAR(shown().second, 40.0f, 1e-3f);
    EXPECT_EQ(loop.With([&](sim::SimLoop&) { return d.Ext<sim::FlowTotalizer>().Pulses(); }), 40u)
        << "one pulse a cubic metre";
    EXPECT_EQ(Ask(0, 177).first, 0);
    EXPECT_EQ(shown().second, 0.0f);
    // The flow rate display.
    EXPECT_EQ(Ask(0, 197, {65}).first, 0);
    EXPECT_NEAR(shown().second, 40.0f, 1e-3f);
}

} // namespace
