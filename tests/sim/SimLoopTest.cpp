// The simulated devices: their framing, their answers seen through the program's own splitter,
// and the words that describe a loop.
#include "common/SimFixture.h"
#include "hart/ResponseDecoder.h"
#include "link/FrameFormat.h"
#include "link/HartDevice.h"
#include "sim/SimCommands.h"
#include "sim/SimConfig.h"
#include "sim/SimModels.h"
#include "sim/SlaveFraming.h"

#include <QTemporaryFile>
#include <sys/socket.h>
#include <unistd.h>

using namespace sim;

namespace {

std::vector<std::uint8_t> MasterFrame(bool shortFrame, std::array<std::uint8_t, 5> addr, int cmd,
                                  std::vector<std::uint8_t> data) {
    hart::RequestAddress a;
    a.shortFrame = shortFrame;
    a.shortAddress = addr[0];
    a.longAddress = addr;
    std::uint8_t buf[hart::kFrameBufferSize];
    const int n = hart::BuildRequestFrame(buf, 5, a, cmd, static_cast<int>(data.size()), data);
    return {buf, buf + n};
}

ParsedRequest Parse(const std::vector<std::uint8_t>& f) {
    ParsedRequest r;
    std::size_t used = 0;
    EXPECT_EQ(ParseRequest(f.data(), f.size(), r, &used), ParseStatus::Frame);
    EXPECT_EQ(used, f.size());
    return r;
}

} // namespace

TEST(SlaveFraming, FindsRequestsAndSkipsWhatCannotBeOne) {
    const auto shortReq = MasterFrame(true, {0x83}, 0, {});
    const ParsedRequest r = Parse(shortReq);
    EXPECT_TRUE(r.shortFrame);
    EXPECT_EQ(r.shortAddress, 3);
    EXPECT_TRUE(r.primaryMaster);

    ParsedRequest out;
    std::size_t used = 0;
    std::vector<std::uint8_t> noisy = {0x12, 0x34};
    noisy.insert(noisy.end(), shortReq.begin(), shortReq.end());
    EXPECT_EQ(ParseRequest(noisy.data(), noisy.size(), out, &used), ParseStatus::Skip);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ParseRequest(shortReq.data(), shortReq.size() - 1, out, &used), ParseStatus::NeedMore);
    auto bad = shortReq;
    bad.back() ^= 0xFF;
    EXPECT_EQ(ParseRequest(bad.data(), bad.size(), out, &used), ParseStatus::Skip);
    EXPECT_EQ(used, bad.size()) << "a damaged request is dropped whole";
}

TEST(SimAnswers, UniversalCommandsSplitIntoTheProgramsFields) {
    SimLoop loop;
    SimDevice& d = loop.AddDevice("KP510", 0, 0x001234);
    struct Case {
        int command;
        std::vector<std::uint8_t> data;
        int items;
    } cases[] = {
        {0, {}, 10}, {1, {}, 2}, {2, {}, 2}, {3, {}, 7}, {12, {}, 1}, {13, {}, 5}, {14, {}, 5},
        {15, {}, 8}, {16, {}, 1}, {48, {}, 21}, {59, {6}, 1}, {6, {0}, 1},
    };
    const std::array<std::uint8_t, 5> longAddr = {0x86, 107, 0x00, 0x12, 0x34};
    for (const auto& c : cases) {
        const auto frame = MasterFrame(c.command == 0, c.command == 0 ? std::array<std::uint8_t, 5>{0x80} : longAddr,
                                   c.command, c.data);
        const auto answer = loop.Respond(Parse(frame));
        ASSERT_TRUE(answer.has_value()) << c.command;
        std::uint8_t rx[hart::kFrameBufferSize] = {};
        std::copy(answer->bytes.begin(), answer->bytes.end(), rx);
        const hart::JudgedFrame j =
            hart::JudgeFrame(rx, static_cast<int>(answer->bytes.size()), {0, c.command});
        ASSERT_EQ(j.verdict, hart::Verdict::Accepted) << c.command;
        EXPECT_EQ(j.responseCode, 0) << c.command;
        CHartDevice rec(0);
        hart::DecodeContext ctx;
        CHartDataList items;
        ASSERT_TRUE(hart::DecodeResponse(j.command, rx, j.dataIndex, j.byteCount, &rec, ctx, items));
        EXPECT_EQ(static_cast<int>(items.size()), c.items) << "command " << c.command;
        EXPECT_EQ(j.byteCount - 2, [&] {
            int n = 0;
            for (const auto& i : items)
                n += i->Length();
            return n;
        }()) << "command " << c.command << ": the layout covers exactly the data";
        if (c.command == 0) {
            EXPECT_EQ(rec.m_nManufacturerCode, 134);
            EXPECT_EQ(rec.m_nDeviceTypeCode, 107);
            EXPECT_EQ(rec.m_nDeviceId, 0x1234u);
        }
    }
    EXPECT_EQ(d.received[3], 1);
}

TEST(SimAnswers, RefusalsAndUnknownCommands) {
    SimLoop loop;
    SimDevice& d = loop.AddDevice("3051", 0, 7);
    const std::array<std::uint8_t, 5> addr = {0x80 | 38, 6, 0, 0, 7};
    auto rc = [&](int cmd, std::vector<std::uint8_t> data) {
        const auto a = loop.Respond(Parse(MasterFrame(false, addr, cmd, std::move(data))));
        return a ? a->bytes[5 + 1 + 5 + 2] : -1;
    };
    EXPECT_EQ(rc(140, {}), 64) << "a foreign device does not know the maker's commands";
    EXPECT_EQ(rc(6, {}), 5) << "too few data bytes";
    EXPECT_EQ(rc(6, {40}), 2) << "polling address out of range";
    d.writeProtect = 1;
    EXPECT_EQ(rc(19, {0, 0, 1}), 7);
    EXPECT_FALSE(loop.Respond(Parse(MasterFrame(false, {0x80, 1, 2, 3, 4}, 3, {}))).has_value())
        << "nobody has that address";
}

TEST(SimAnswers, BroadcastCommandElevenFindsTheTag) {
    SimLoop loop;
    loop.AddDevice("KP510", 0, 1).tag = "PT-1";
    loop.AddDevice("KT410", 1, 2).tag = "TT-9";
    const auto tag = hart::PackAscii("TT-9", 8);
    const auto a = loop.Respond(Parse(MasterFrame(false, {0x80, 0, 0, 0, 0}, 11, tag)));
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->bytes[5 + 1 + 1], 117) << "the answer carries the owner's long address";
    EXPECT_FALSE(loop.Respond(Parse(MasterFrame(false, {0x80, 0, 0, 0, 0}, 11, hart::PackAscii("XX", 8)))).has_value());
}

TEST(SimConfigWords, DeviceTextsAndTheirErrors) {
    struct Case {
        const char* text;
        bool ok;
        const char* errorPart;
    } cases[] = {
        {"KT410,address=2,id=0x123,tag=tt-2,busy=3", true, ""},
        {"model=KL710,address=9,slow=200", true, ""},
        {"KP520,address=6,commerror=-1,commerrorcode=0x20", true, ""},
        {"model=XYZ", false, "unknown model"},
        {"KP510,address=99", false, "address"},
        {"KP510,address=3,id=zz", false, "id"},
        {"KP510,address=4,busy=lots", false, "busy"},
        {"KP510,address=5,colour=red", false, "unknown key"},
        {"KP510,address=2", false, "share"},
    };
    SimLoop loop;
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(AddDeviceFromText(loop, c.text, &error), c.ok) << c.text;
        if (!c.ok) {
            EXPECT_TRUE(error.contains(QLatin1String(c.errorPart))) << c.text << ": " << error.toStdString();
        }
    }
    EXPECT_EQ(loop.With([](SimLoop& l) { return l.AtAddress(5); }), nullptr) << "a rejected device text adds nothing";
    SimDevice* d = loop.With([](SimLoop& l) { return l.AtAddress(2); });
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->deviceId, 0x123u);
    EXPECT_EQ(d->tag, "TT-2");
    EXPECT_EQ(d->faults.busy, 3);
    const SimFaults f = loop.With([](SimLoop& l) { return l.AtAddress(6)->faults; });
    EXPECT_EQ(f.commError, -1);
    EXPECT_EQ(f.commErrorCode, 0x20);
}

TEST(SimConfigWords, LoopFile) {
    QTemporaryFile f;
    ASSERT_TRUE(f.open());
    f.write("[line]\nbaud=1200\nturnaround=30\n[device1]\nmodel=KP520\naddress=1\nid=0x10\n"
            "[device2]\nmodel=KF610\naddress=2\nsilent=-1\n");
    f.flush();
    SimLoop loop;
    QString error;
    ASSERT_TRUE(LoadLoopFile(loop, f.fileName(), &error)) << error.toStdString();
    EXPECT_EQ(loop.Timing().baudRate, 1200);
    EXPECT_EQ(loop.Timing().turnaroundMs, 30);
    EXPECT_EQ(loop.With([](SimLoop& l) { return l.AtAddress(2)->faults.silent; }), -1);
    EXPECT_FALSE(LoadLoopFile(loop, "/nonexistent/loop.ini", &error));
}

TEST(SimModelsTable, EveryModelIsKnownAndKorvexOnesAnswerAsTheMaker) {
    for (const QString& m : ModelNames()) {
        SimDevice d;
        ASSERT_TRUE(ApplyModel(d, m)) << m.toStdString();
        EXPECT_LT(d.lowerRange, d.upperRange) << m.toStdString();
        EXPECT_EQ(d.IsKorvex(), m != "3051") << m.toStdString();
    }
}

TEST(SimCommandTable, ACommandHasOneHandlerAndTheProgramsTableBuilds) {
    sim::CommandTable t;
    t.Add(210, [](sim::SimDevice&, const sim::Request&) { return sim::Ok(); });
    EXPECT_THROW(t.Add(210, [](sim::SimDevice&, const sim::Request&) { return sim::Ok(); }), std::logic_error);
    // Every group's handlers together: a command two groups both answer stops this.
    EXPECT_NO_THROW(sim::Commands());
    EXPECT_TRUE(sim::Commands().Has(210));
}

TEST(SimLoopLine, AnAnswerAfterTheMasterHungUpDoesNotKillTheProcess) {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    SimLoop loop;
    SimDevice& d = loop.AddDevice("KP510", 0, 0xA1);
    loop.With([&](SimLoop&) { return d.faults.slowMs = 4000; });
    loop.Start(fds[1]);
    const std::uint8_t command0[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x80, 0x00, 0x00, 0x82};
    ASSERT_EQ(::write(fds[0], command0, sizeof command0), static_cast<ssize_t>(sizeof command0));
    ASSERT_TRUE(testing_support::SpinUntil([&] { return loop.Answering(); }));
    ::close(fds[0]); // the modem goes while the device is still answering
    // The answer goes to a socket nobody reads: without care this raises SIGPIPE and ends the test
    // program here.
    EXPECT_TRUE(testing_support::SpinUntil([&] { return !loop.Answering(); }));
    loop.Stop();
    ::close(fds[1]);
}
