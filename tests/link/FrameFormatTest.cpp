#include "link/FrameFormat.h"

#include <gtest/gtest.h>
#include <vector>

using namespace hart;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Build(int preambles, const RequestAddress& a, int cmd, int count, const Bytes& data) {
    std::uint8_t buf[kFrameBufferSize];
    const int n = BuildRequestFrame(buf, preambles, a, cmd, count, data);
    return Bytes(buf, buf + n);
}

RequestAddress Short(std::uint8_t addr) {
    RequestAddress a;
    a.shortFrame = true;
    a.shortAddress = addr;
    return a;
}

RequestAddress Long(std::array<std::uint8_t, 5> addr) {
    RequestAddress a;
    a.longAddress = addr;
    return a;
}

// A slave answer with a correct check byte.
Bytes Answer(int preambles, Bytes addressPart, int cmd, Bytes statusAndData, std::uint8_t delimiter = kLongResponse) {
    Bytes f(static_cast<std::size_t>(preambles), 0xFF);
    const std::size_t d = f.size();
    f.push_back(delimiter);
    f.insert(f.end(), addressPart.begin(), addressPart.end());
    f.push_back(static_cast<std::uint8_t>(cmd));
    f.push_back(static_cast<std::uint8_t>(statusAndData.size()));
    f.insert(f.end(), statusAndData.begin(), statusAndData.end());
    std::uint8_t x = 0;
    for (std::size_t i = d; i < f.size(); ++i)
        x ^= f[i];
    f.push_back(x);
    return f;
}

const Bytes kAddr = {0x86, 0x6B, 0x00, 0x12, 0x34};

} // namespace

TEST(FrameBuild, ExactRequests) {
    struct Case {
        const char* name;
        Bytes frame;
        Bytes expected;
    } cases[] = {
        {"command 0, address 3, primary", Build(5, Short(0x83), 0, 0, {}),
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x83, 0x00, 0x00, 0x81}},
        {"command 0, address 3, secondary", Build(5, Short(0x03), 0, 0, {}),
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x03, 0x00, 0x00, 0x01}},
        {"long frame, no data", Build(5, Long({0x86, 0x6B, 0x00, 0x12, 0x34}), 3, 0, {}),
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x82, 0x86, 0x6B, 0x00, 0x12, 0x34, 0x03, 0x00,
          static_cast<std::uint8_t>(0x82 ^ 0x86 ^ 0x6B ^ 0x00 ^ 0x12 ^ 0x34 ^ 0x03 ^ 0x00)}},
        {"long frame with data, byte count as given", Build(2, Long({0x86, 0x6B, 0, 0, 1}), 130, 7, {0x05, 0x3F, 0xC0}),
         {0xFF, 0xFF, 0x82, 0x86, 0x6B, 0x00, 0x00, 0x01, 130, 0x07, 0x05, 0x3F, 0xC0,
          static_cast<std::uint8_t>(0x82 ^ 0x86 ^ 0x6B ^ 0x01 ^ 130 ^ 0x07 ^ 0x05 ^ 0x3F ^ 0xC0)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.frame, c.expected) << c.name;
    EXPECT_EQ(Build(5, Long({0x86, 0x6B, 0, 0x12, 0x34}), 3, 0, {}).size(), 14u);
}

TEST(FrameBuild, OversizedDataStopsAtTheBufferEnd) {
    const Bytes data(400, 0x55);
    const Bytes f = Build(20, Long({1, 2, 3, 4, 5}), 1, 255, data);
    EXPECT_EQ(f.size(), static_cast<std::size_t>(kFrameBufferSize));
    EXPECT_EQ(f.back(), CalculateCheckByte(f.data(), kFrameBufferSize - 1, 20));
}

TEST(ReceiveRule, NoiseIsDroppedAndTheBufferNeverOverflows) {
    std::uint8_t buf[kFrameBufferSize] = {};
    int n = 0;
    for (std::uint8_t b : {0x00, 0x41, 0x7E})
        EXPECT_FALSE(StoreReceivedByte(buf, n, b));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(StoreReceivedByte(buf, n, 0xFF));
    EXPECT_FALSE(StoreReceivedByte(buf, n, 0x12)) << "one 0xFF stored: noise is still dropped";
    EXPECT_TRUE(StoreReceivedByte(buf, n, 0xFF));
    EXPECT_TRUE(StoreReceivedByte(buf, n, 0x12)) << "two bytes stored: everything is kept";
    while (n < kFrameBufferSize)
        StoreReceivedByte(buf, n, 0x33);
    EXPECT_FALSE(StoreReceivedByte(buf, n, 0x44));
    EXPECT_EQ(n, kFrameBufferSize);
}

TEST(FrameJudge, AcceptsAndRejectsByTheRules) {
    const JudgeContext afterCmd3{0, 3};
    const JudgeContext afterCmd0{0, 0};
    Bytes withTrailer = Answer(5, kAddr, 3, {0, 0, 1, 2});
    withTrailer.push_back(0x99);
    Bytes badCheck = Answer(5, kAddr, 3, {0, 0, 1, 2});
    badCheck.back() ^= 1;
    Bytes singlePreamble = Answer(1, kAddr, 3, {0, 0});
    Bytes noisy = {0x00, 0x13};
    const Bytes plain = Answer(2, kAddr, 3, {0, 0, 1});
    noisy.insert(noisy.end(), plain.begin(), plain.end());
    Bytes truncated = Answer(5, kAddr, 3, {0, 0, 1, 2});
    truncated.pop_back();

    struct Case {
        const char* name;
        Bytes frame;
        JudgeContext ctx;
        Verdict verdict;
        int command;
    } cases[] = {
        {"long answer", Answer(5, kAddr, 3, {0, 0x40, 1, 2}), afterCmd3, Verdict::Accepted, 3},
        {"bytes after the check byte are ignored", withTrailer, afterCmd3, Verdict::Accepted, 3},
        {"noise before the preambles", noisy, afterCmd3, Verdict::Accepted, 3},
        {"address bytes are not compared", Answer(5, {9, 9, 9, 9, 9}, 3, {0, 0}), afterCmd3, Verdict::Accepted, 3},
        {"answer to another command is delivered as such", Answer(5, kAddr, 13, {0, 0}), afterCmd3, Verdict::Accepted, 13},
        {"short answer after command 0", Answer(5, {0x83}, 0, {0, 0}, kShortResponse), afterCmd0, Verdict::Accepted, 0},
        {"short answer after another command", Answer(5, {0x83}, 0, {0, 0}, kShortResponse), afterCmd3, Verdict::Rejected, -1},
        {"single preamble", singlePreamble, afterCmd3, Verdict::Rejected, -1},
        {"unknown delimiter", Answer(5, kAddr, 3, {0, 0}, 0x81), afterCmd3, Verdict::Rejected, -1},
        {"bad check byte", badCheck, afterCmd3, Verdict::Rejected, 3},
        {"incomplete", truncated, afterCmd3, Verdict::Rejected, 3},
        {"byte count below 2", Answer(5, kAddr, 3, {0}), afterCmd3, Verdict::Rejected, 3},
        {"byte count 40 for command 220", Answer(5, kAddr, 220, Bytes(40, 1)), afterCmd3, Verdict::Accepted, 220},
        {"byte count 40 for command 3", Answer(5, kAddr, 3, Bytes(40, 1)), afterCmd3, Verdict::Rejected, 3},
        {"device-reported communication error", Answer(5, kAddr, 3, {0x88, 0}), afterCmd3, Verdict::DeviceCommError, 3},
    };
    for (const auto& c : cases) {
        const JudgedFrame f = JudgeFrame(c.frame.data(), static_cast<int>(c.frame.size()), c.ctx);
        EXPECT_EQ(f.verdict, c.verdict) << c.name;
        if (c.command >= 0) {
            EXPECT_EQ(f.command, c.command) << c.name;
        }
    }
}

TEST(FrameJudge, ShortAnswerCarriesThePollingAddress) {
    const Bytes f = Answer(5, {0x85}, 0, {0, 0, 1}, kShortResponse);
    EXPECT_EQ(JudgeFrame(f.data(), static_cast<int>(f.size()), {0, 0}).shortAddress, 5);
    const Bytes s = Answer(5, {0x05}, 0, {0, 0, 1}, kShortResponse);
    EXPECT_EQ(JudgeFrame(s.data(), static_cast<int>(s.size()), {1, 0}).shortAddress, 5);
}

TEST(FrameJudge, FieldsOfAnAcceptedAnswer) {
    const Bytes f = Answer(7, kAddr, 1, {0x00, 0x41, 12, 0x3F, 0x80, 0, 0});
    const JudgedFrame j = JudgeFrame(f.data(), static_cast<int>(f.size()), {0, 1});
    ASSERT_EQ(j.verdict, Verdict::Accepted);
    EXPECT_EQ(j.preambles, 7);
    EXPECT_EQ(j.byteCount, 7);
    EXPECT_EQ(j.responseCode, 0);
    EXPECT_EQ(j.deviceStatus, 0x41);
    EXPECT_EQ(f[static_cast<std::size_t>(j.dataIndex)], 12);
}

TEST(FrameProgress, CompleteOnlyWhenTheByteCountIsSatisfied) {
    const Bytes f = Answer(5, kAddr, 3, {0, 0, 1, 2, 3});
    for (std::size_t n = 0; n < f.size(); ++n)
        EXPECT_EQ(CheckProgress(f.data(), static_cast<int>(n)), FrameProgress::NeedMore) << n;
    EXPECT_EQ(CheckProgress(f.data(), static_cast<int>(f.size())), FrameProgress::Complete);
    const Bytes bad = Answer(5, kAddr, 3, {0, 0}, 0x33);
    EXPECT_EQ(CheckProgress(bad.data(), static_cast<int>(bad.size())), FrameProgress::Damaged);
    const Bytes big = Answer(5, kAddr, 3, Bytes(40, 0));
    EXPECT_EQ(CheckProgress(big.data(), 13), FrameProgress::Damaged);
}
