// Outcomes of the simulated devices' faults as the link sees them.
#include "common/SimFixture.h"

using namespace testing_support;
using hart::Outcome;

namespace {

struct FaultCase {
    const char* name;
    void (*set)(sim::SimFaults&);
    Outcome::Kind kind;
    int responseCode;
    std::size_t sends;
};

class FaultInjectionTest : public LinkOnSimTest, public ::testing::WithParamInterface<FaultCase> {};

} // namespace

TEST_P(FaultInjectionTest, Outcome) {
    const FaultCase& c = GetParam();
    sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x10);
    Connect();
    ASSERT_TRUE(session->Transact(1, 0).ok());
    loop.With([&](sim::SimLoop&) {
        c.set(d.faults);
        return 0;
    });
    line->ClearWrites();
    const Outcome out = session->Transact(1, 3);
    EXPECT_EQ(out.kind, c.kind) << c.name;
    if (c.kind == Outcome::Answer) {
        EXPECT_EQ(out.responseCode, c.responseCode) << c.name;
    }
    EXPECT_EQ(line->Writes().size(), c.sends) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultInjectionTest,
    ::testing::Values(
        FaultCase{"silent twice", [](sim::SimFaults& f) { f.silent = 2; }, Outcome::Answer, 0, 3},
        FaultCase{"silent", [](sim::SimFaults& f) { f.silent = -1; }, Outcome::NoResponse, 0, 6},
        FaultCase{"bad check once", [](sim::SimFaults& f) { f.badCheck = 1; }, Outcome::Answer, 0, 2},
        FaultCase{"bad check always", [](sim::SimFaults& f) { f.badCheck = -1; }, Outcome::CommError, 0, 6},
        FaultCase{"comm error always", [](sim::SimFaults& f) { f.commError = -1; }, Outcome::CommError, 0, 6},
        FaultCase{"busy", [](sim::SimFaults& f) { f.busy = 1; }, Outcome::Answer, 32, 1},
        FaultCase{"refusal", [](sim::SimFaults& f) { f.refuse = 1; f.refuseCode = 7; }, Outcome::Answer, 7, 1},
        FaultCase{"noise before preambles", [](sim::SimFaults& f) { f.noise = -1; f.noiseBytes = 5; },
                  Outcome::Answer, 0, 1},
        FaultCase{"slow but in time", [](sim::SimFaults& f) { f.slowMs = 200; }, Outcome::Answer, 0, 1}),
    [](const auto& p) {
        std::string n = p.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST_F(LinkOnSimTest, TooSlowDeviceIsAskedAgainAndItsLateAnswerCounts) {
    sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x10);
    Connect();
    ASSERT_TRUE(session->Transact(1, 0).ok());
    loop.With([&](sim::SimLoop&) { return d.faults.slowMs = 2500; }); // beyond the 1500 ms response timer
    line->ClearWrites();
    const Outcome out = session->Transact(1, 1);
    EXPECT_TRUE(out.ok());
    EXPECT_GE(line->Writes().size(), 2u);
}

TEST_F(LinkOnSimTest, UnpluggedAdapterIsReportedAndTheLinkCanBeOpenedAgainLater) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(session->Transact(0, 0).ok());
    line->Unplug();
    const Outcome out = session->Transact(0, 1);
    EXPECT_TRUE(out.kind == Outcome::PortLost || out.kind == Outcome::WriteFailed) << out.kind;
    ASSERT_TRUE(SpinUntil([&] {
        for (const auto& m : session->Messages())
            if (m.msg == vmc::WM_HART_CONNECT && m.wParam == vmc::HART_PORT_LOST)
                return true;
        return false;
    }));
    EXPECT_EQ(comm().Disconnect(), 1);
    EXPECT_EQ(comm().Connect(), 0) << "the adapter is still gone";
    EXPECT_FALSE(comm().LastConnectError().empty());
}

TEST_F(LinkOnSimTest, PortInUseIsReportedWithItsReason) {
    line->SetOpenFails(true, "the port is in use by another program");
    loop.Start(line->PeerFd());
    EXPECT_EQ(comm().Connect(), 0);
    EXPECT_NE(comm().LastConnectError().find("in use"), std::string::npos);
}
