// Each fault of a device on the loop, through the termios port on a pseudo-terminal: what the
// waiting page hears, how often the frame went out, the boxes, and a link that works afterwards.
#include "FaultFixture.h"

using namespace testing_support;

namespace {

constexpr int kPvCommand = 1;
constexpr int kPvDataCount = 5; // unit and value

struct LinkFaultCase {
    const char* name;
    void (*set)(sim::SimFaults&);
    Received heard;         // WM_HART_RECEIVE (command, data count) or WM_HART_FAIL (state, 0)
    int responseCode;       // of an answer
    int sends;              // frames the link put on the line
    int deviceHeard;        // requests the device took in (a busy device misses retries)
    std::pair<int, int> lastState;
    std::vector<QString> boxes;
};

const QString kCommErrorCaption = "Communication Error";

class LinkFaultTest : public PtyLinkTest, public ::testing::WithParamInterface<LinkFaultCase> {};

Received Answer(int dataCount) { return {vmc::WM_HART_RECEIVE, kPvCommand, dataCount}; }
Received Fail(int state) { return {vmc::WM_HART_FAIL, static_cast<vmc::WPARAM>(state), 0}; }

} // namespace

TEST_P(LinkFaultTest, EndsInItsOutcome) {
    const LinkFaultCase& c = GetParam();
    sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x000F01);
    Connect();
    const Received id = Transact(1, 0);
    ASSERT_EQ(id.msg, vmc::WM_HART_RECEIVE) << "identified";
    OnDevice(d, [&](sim::SimDevice& dev) {
        c.set(dev.faults);
        dev.received.clear();
    });
    Boxes().Clear();

    EXPECT_EQ(Transact(1, kPvCommand), c.heard);
    EXPECT_EQ(Sends(), c.sends);
    EXPECT_EQ(Heard(d, kPvCommand), c.deviceHeard);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), c.lastState);
    if (c.heard.msg == vmc::WM_HART_RECEIVE) {
        EXPECT_EQ(relay.LastResponseCode(), c.responseCode);
    }
    EXPECT_EQ(Boxes().Texts(), c.boxes);
    for (const auto& box : Boxes().Boxes()) {
        EXPECT_EQ(box.caption, kCommErrorCaption);
        EXPECT_EQ(box.icon, vmc::BoxIcon::Warning);
    }
    EXPECT_TRUE(portLost.empty());

    // The device mends: the link answers the next request as if nothing had happened.
    OnDevice(d, [](sim::SimDevice& dev) { dev.faults = {}; });
    ASSERT_TRUE(SpinUntil([&] { return !loop.Answering(); }));
    EXPECT_EQ(Transact(1, 13), (Received{vmc::WM_HART_RECEIVE, 13, 21}));
    EXPECT_EQ(Sends(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LinkFaultTest,
    ::testing::Values(
        LinkFaultCase{"silence", [](sim::SimFaults& f) { f.silent = -1; }, Fail(6), 0, 6, 6, {6, 0}, {}},
        LinkFaultCase{"silent twice", [](sim::SimFaults& f) { f.silent = 2; }, Answer(kPvDataCount), 0, 3, 3,
                      {0, 2}, {}},
        LinkFaultCase{"bad check byte", [](sim::SimFaults& f) { f.badCheck = -1; }, Fail(5), 0, 6, 6, {5, 0}, {""}},
        LinkFaultCase{"bad check byte once", [](sim::SimFaults& f) { f.badCheck = 1; }, Answer(kPvDataCount), 0, 2,
                      2, {0, 1}, {}},
        LinkFaultCase{"reported checksum error", [](sim::SimFaults& f) { f.commError = -1; }, Fail(5), 0, 6, 6,
                      {5, 0}, {"Longitudinal Parity Error (Checksum Error)    "}},
        LinkFaultCase{"reported overrun", [](sim::SimFaults& f) {
                          f.commError = -1;
                          f.commErrorCode = 0x20;
                      }, Fail(5), 0, 6, 6, {5, 0}, {"Overrun Error     "}},
        LinkFaultCase{"reported once", [](sim::SimFaults& f) { f.commError = 1; }, Answer(kPvDataCount), 0, 2, 2,
                      {0, 1}, {}},
        LinkFaultCase{"busy", [](sim::SimFaults& f) { f.busy = -1; }, Answer(0), 32, 1, 1, {0, 0}, {}},
        LinkFaultCase{"refused 2", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 2; }, Answer(0), 2, 1, 1,
                      {0, 0}, {}},
        LinkFaultCase{"refused 3", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 3; }, Answer(0), 3, 1, 1,
                      {0, 0}, {}},
        LinkFaultCase{"refused 5", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 5; }, Answer(0), 5, 1, 1,
                      {0, 0}, {}},
        LinkFaultCase{"refused 7", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 7; }, Answer(0), 7, 1, 1,
                      {0, 0}, {}},
        LinkFaultCase{"refused 16", [](sim::SimFaults& f) { f.refuse = -1; f.refuseCode = 16; }, Answer(0), 16, 1,
                      1, {0, 0}, {}},
        LinkFaultCase{"noise before the preambles", [](sim::SimFaults& f) {
                          f.noise = -1;
                          f.noiseBytes = 9;
                      }, Answer(kPvDataCount), 0, 1, 1, {0, 0}, {}},
        // 700 ms of 1500: answered in time.
        LinkFaultCase{"slow", [](sim::SimFaults& f) { f.slowMs = 700; }, Answer(kPvDataCount), 0, 1, 1, {0, 0}, {}},
        // Answers after the timer: the retry goes unheard and the late answer is taken.
        LinkFaultCase{"slower than the timer", [](sim::SimFaults& f) { f.slowMs = 2200; }, Answer(kPvDataCount), 0,
                      2, 1, {0, 1}, {}},
        // Answers after the last attempt: too late for anyone.
        LinkFaultCase{"slower than every attempt", [](sim::SimFaults& f) { f.slowMs = 12000; }, Fail(6), 0, 6, 1,
                      {6, 0}, {}}),
    [](const auto& p) { return CaseName(p.param.name); });

// On a paced line a device's answer after the last attempt reaches the port while nothing is
// open; taken for the next request's answer, it would shift every answer after it by one.
TEST_F(PtyLinkTest, AnAnswerAfterTheLastAttemptShiftsNoLaterAnswer) {
    sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x000F01);
    loop.SetTiming({1200, 11, 20});
    Connect();
    ASSERT_EQ(Transact(1, 0).msg, vmc::WM_HART_RECEIVE);
    OnDevice(d, [](sim::SimDevice& dev) { dev.faults.slowMs = 12000; });
    ASSERT_EQ(Transact(1, kPvCommand), Fail(6));
    OnDevice(d, [](sim::SimDevice& dev) { dev.faults = {}; });
    ASSERT_TRUE(SpinUntil([&] { return !loop.Answering(); }));
    for (int command : {13, 2, 3, 13}) {
        const Received r = Transact(1, command);
        EXPECT_EQ(r.msg, vmc::WM_HART_RECEIVE) << command;
        EXPECT_EQ(r.wParam, static_cast<vmc::WPARAM>(command));
    }
}

// The same faults given to hartsim in the words a user types, one device per fault; command 0,
// which needs nothing known of the device.
TEST_F(PtyLinkTest, HartsimFaultWordsReachTheLink) {
    struct Case {
        const char* device;
        unsigned msg;
        int wParam; // command answered, or the failure state
        bool withData;
        int responseCode;
        std::vector<QString> boxes;
    } cases[] = {
        {"KP510,address=1,silent=-1", vmc::WM_HART_FAIL, 6, false, 0, {}},
        {"KP510,address=2,badcheck=-1", vmc::WM_HART_FAIL, 5, false, 0, {""}},
        {"KP510,address=3,commerror=-1,commerrorcode=0x40", vmc::WM_HART_FAIL, 5, false, 0,
         {"Vertical Parity Error     "}},
        {"KP510,address=4,busy=-1", vmc::WM_HART_RECEIVE, 0, false, 32, {}},
        {"KP510,address=5,refuse=-1,refusecode=5", vmc::WM_HART_RECEIVE, 0, false, 5, {}},
        {"KP510,address=6,noise=-1", vmc::WM_HART_RECEIVE, 0, true, 0, {}},
        {"KP510,address=7,slow=700", vmc::WM_HART_RECEIVE, 0, true, 0, {}},
    };
    QStringList devices;
    for (const Case& c : cases)
        devices << c.device;
    const QString path = dir.filePath("hartsim-link");
    auto hartsim = StartHartsim(path, devices);
    comm.SetPortPath(path.toStdString());
    ASSERT_EQ(comm.Connect(), 1) << comm.LastConnectError();
    comm.SetRetryCount(3);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.device);
        Boxes().Clear();
        const Received r = Transact(static_cast<int>(i) + 1, 0);
        EXPECT_EQ(r.msg, c.msg);
        EXPECT_EQ(r.wParam, static_cast<vmc::WPARAM>(c.wParam));
        if (c.msg == vmc::WM_HART_RECEIVE) {
            EXPECT_EQ(r.lParam > 0, c.withData);
            EXPECT_EQ(relay.LastResponseCode(), c.responseCode);
        }
        EXPECT_EQ(Boxes().Texts(), c.boxes);
    }
    comm.Disconnect();
    hartsim->terminate();
    hartsim->waitForFinished(5000);
}
