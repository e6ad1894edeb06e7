// The response splitter: the field layout of every command it knows, the layouts that depend on
// the byte count or on a count in the answer, the receive-buffer end, the catch-all, and the
// device-record updates.
#include "common/SimFixture.h"
#include "hart/Codecs.h"
#include "hart/ResponseDecoder.h"
#include "link/FrameFormat.h"
#include "link/HartDevice.h"
#include "sim/SlaveFraming.h"

#include <numeric>

using namespace testing_support;

namespace {

using Lengths = std::vector<int>;

std::vector<std::uint8_t> LongAnswer(int command, const hart::Bytes& data) {
    sim::ResponseFrame f;
    f.longAddress = {0x86, 0x6B, 0x00, 0x12, 0x34};
    f.command = command;
    f.data = data;
    return sim::BuildResponse(f);
}

// A judged answer in a 256-byte receive buffer (on the heap, so reading past it is caught).
struct Received {
    std::vector<std::uint8_t> rx = std::vector<std::uint8_t>(hart::kReceiveBufferSize, 0);
    int dataIndex = 0;
    int byteCount = 0;
};

Received Receive(int command, const hart::Bytes& data) {
    const auto frame = LongAnswer(command, data);
    Received r;
    std::copy(frame.begin(), frame.end(), r.rx.begin());
    const hart::JudgedFrame j = hart::JudgeFrame(r.rx.data(), static_cast<int>(frame.size()), {});
    EXPECT_EQ(j.verdict, hart::Verdict::Accepted);
    r.dataIndex = j.dataIndex;
    r.byteCount = j.byteCount;
    return r;
}

struct Split {
    CHartDataList items;
    hart::DecodeContext ctx;
    CHartDevice record{0};
    bool applied = false;
    Lengths lengths() const {
        Lengths l;
        for (const auto& i : items)
            l.push_back(i->Length());
        return l;
    }
    QString hex(std::size_t n) const { return hart::HexText(items.at(n)->m_Data).trimmed(); }
};

Split Decode(const Received& r, int command) {
    Split s;
    s.applied = hart::DecodeResponse(command, r.rx.data(), r.dataIndex, r.byteCount, &s.record, s.ctx, s.items);
    return s;
}

Split Decode(int command, const hart::Bytes& data) { return Decode(Receive(command, data), command); }

// n data bytes 0x10, 0x11, ... with some positions set.
hart::Bytes Data(int n, std::initializer_list<std::pair<int, std::uint8_t>> set = {}) {
    hart::Bytes b(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x10 + i);
    for (const auto& [at, v] : set)
        b[static_cast<std::size_t>(at)] = v;
    return b;
}

Lengths Repeat(Lengths head, int times, Lengths entry) {
    for (int i = 0; i < times; ++i)
        head.insert(head.end(), entry.begin(), entry.end());
    return head;
}

int Sum(const Lengths& l) { return std::accumulate(l.begin(), l.end(), 0); }

} // namespace

TEST(ResponseDecoder, FixedLayoutsOfEveryCommandGroup) {
    struct Group {
        std::vector<int> commands;
        Lengths lengths;
    } groups[] = {
        {{0, 11}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 3}},
        {{1}, {1, 4}},
        {{2}, {4, 4}},
        {{6, 39, 44, 47, 59}, {1}},
        {{12, 17}, {24}},
        {{13, 18}, {6, 12, 1, 1, 1}},
        {{14}, {3, 1, 4, 4, 4}},
        {{15}, {1, 1, 1, 4, 4, 4, 1, 1}},
        {{16, 19, 49}, {3}},
        {{34, 40, 45, 46}, {4}},
        {{35}, {1, 4, 4}},
        {{140, 141, 148, 149, 156, 158, 159, 166, 167, 176, 177, 186, 187, 197, 199, 200, 207, 209, 219, 234, 237, 244,
          247},
         {1}},
        {{144, 145, 175, 185, 235, 245}, {1, 4}},
        {{231, 238, 241, 248}, {4, 4}},
        {{178, 188, 230, 236, 246}, {4}},
        {{179, 189, 232, 242}, {1, 4, 4}},
        {{142, 143}, {4, 4, 4}},
        {{146, 147}, {1, 4, 4, 4, 4}},
        {{152, 162, 198, 208}, {1, 1}},
        {{157}, {1, 1, 1, 1, 1}},
        {{170}, {1, 1, 3, 1}},
        {{191, 193, 194, 195, 201, 203, 204, 205}, {1, 1, 4, 4}},
        {{192, 196, 202, 206}, {1, 1, 4}},
        {{223, 224}, {1, 4, 4, 4, 4, 4, 4}},
        {{226}, {2, 2}},
        {{239, 249}, {2, 4, 4, 4, 4, 4}},
    };
    for (const auto& g : groups) {
        for (int command : g.commands) {
            const Split s = Decode(command, Data(std::min(Sum(g.lengths), 29)));
            EXPECT_TRUE(s.applied);
            EXPECT_FALSE(s.ctx.unknownCommand) << command;
            EXPECT_EQ(s.lengths(), g.lengths) << "command " << command;
            EXPECT_TRUE(hart::HasLayout(command)) << command;
        }
    }
    EXPECT_EQ(Decode(221, Data(3)).lengths(), Lengths{}) << "221 has no fields";
}

TEST(ResponseDecoder, LayoutsThatDependOnTheAnswer) {
    const Lengths sixteen = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    struct Case {
        const char* what;
        int command;
        hart::Bytes data;
        Lengths lengths;
    } cases[] = {
        {"3, byte count 11: PV only", 3, Data(9), {4, 1, 4}},
        {"3, byte count 16: SV, no TV", 3, Data(14), {4, 1, 4, 1, 4}},
        {"3, byte count 21: TV", 3, Data(19), {4, 1, 4, 1, 4, 1, 4}},
        {"3, byte count 26: FV", 3, Data(24), {4, 1, 4, 1, 4, 1, 4, 1, 4}},
        {"210 is cut as 3", 210, Data(14), {4, 1, 4, 1, 4}},
        {"48, byte count 8", 48, Data(6), {1, 1, 1, 1, 1, 1}},
        {"48, byte count 11", 48, Data(9), {1, 1, 1, 1, 1, 1, 1, 1, 3}},
        {"48, byte count 14", 48, Data(12), {1, 1, 1, 1, 1, 1, 1, 1, 3, 3}},
        {"48, byte count 27", 48, Data(25), Repeat({1, 1, 1, 1, 1, 1, 1, 1, 3, 3}, 11, {1})},
        {"151, two entries", 151, Data(22, {{3, 2}}), Repeat({1, 1, 1, 1}, 2, {1, 4, 4})},
        {"161, no entry", 161, Data(4, {{3, 0}}), {1, 1, 1, 1}},
        {"173, one entry", 173, Data(13, {{3, 1}}), Repeat({1, 1, 1, 1}, 1, {1, 4, 4})},
        {"183, two entries", 183, Data(22, {{3, 2}}), Repeat({1, 1, 1, 1}, 2, {1, 4, 4})},
        {"153, count after seven fields", 153, Data(20, {{10, 1}}), Repeat({1, 1, 1, 1, 4, 1, 1, 1}, 1, {1, 4, 4})},
        {"163, two entries", 163, Data(29, {{10, 2}}), Repeat({1, 1, 1, 1, 4, 1, 1, 1}, 2, {1, 4, 4})},
        {"171, count after six fields", 171, Data(19, {{9, 1}}), Repeat({1, 1, 1, 4, 1, 1, 1}, 1, {1, 4, 4})},
        {"181, no entry", 181, Data(10, {{9, 0}}), {1, 1, 1, 4, 1, 1, 1}},
        {"154, fourth byte 243: four points", 154, Data(20, {{3, 243}}), {1, 1, 1, 1, 4, 4, 4, 4}},
        {"164, fourth byte 240: one point", 164, Data(8, {{3, 240}}), {1, 1, 1, 1, 4}},
        {"172, fourth byte 200: none", 172, Data(8, {{3, 200}}), {1, 1, 1, 1}},
        {"182, fourth byte 239: none", 182, Data(8, {{3, 239}}), {1, 1, 1, 1}},
        {"155, byte count 3", 155, Data(1), {1, 1, 1}},
        {"165, byte count 4", 165, Data(2), {1, 1, 1, 1, 1}},
        {"160, twelfth byte 's', byte count 20", 160, Data(18, {{11, 's'}}), Repeat(sixteen, 6, {1})},
        {"160, twelfth byte 'S', byte count 31", 160, Data(29, {{11, 'S'}}), Repeat(sixteen, 17, {1})},
        {"160, twelfth byte 'x'", 160, Data(16, {{11, 'x'}}), Repeat(sixteen, 1, {4})},
        {"174, 8 data bytes: one entry", 174, Data(8), {1, 1, 1, 1, 4}},
        {"174, 14 data bytes: still one", 174, Data(14), {1, 1, 1, 1, 4}},
        {"174, 15 data bytes: two", 174, Data(15), {1, 1, 1, 1, 4, 1, 1, 1, 4}},
        {"174, 7 data bytes: none", 174, Data(7), {1}},
        {"212, three one-byte values", 212, Data(6, {{0, 3}}), {1, 2, 1, 1, 1}},
        {"222, none", 222, Data(3, {{0, 0}}), {1, 2}},
        {"220, two and three", 220, Data(16, {{0, 2}, {1, 3}}), {1, 1, 1, 1, 4, 4, 4}},
        {"233, first byte 249", 233, Data(29, {{0, 249}}), {1, 4, 4, 1, 1, 1, 1, 1, 1, 1, 4, 4, 4, 4}},
        {"243, first byte other", 243, Data(26, {{0, 248}}), {1, 4, 4, 1, 4, 4, 4, 4}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.command, c.data).lengths(), c.lengths) << c.what;
}

TEST(ResponseDecoder, ItemsHoldTheFrameBytesAndALongerLayoutTakesWhatFollows) {
    const Split id = Decode(0, {254, 134, 107, 5, 5, 1, 2, 3, 0, 0x00, 0x12, 0x34});
    ASSERT_EQ(id.items.size(), 10u);
    EXPECT_EQ(id.hex(1), "86");
    EXPECT_EQ(id.hex(9), "00 12 34");

    // Command 1 with two data bytes: the value takes the second byte, the check byte and zeros.
    const Received r = Receive(1, {12, 0x41});
    const std::uint8_t check = r.rx[static_cast<std::size_t>(r.dataIndex + 2)];
    const Split s = Decode(r, 1);
    EXPECT_EQ(s.items[1]->m_Data, (hart::Bytes{0x41, check, 0, 0}));
}

TEST(ResponseDecoder, AnswerWithoutALayoutIsOneItemOfExactlyItsDataBytes) {
    const Split s = Decode(130, {0x01, 0x02, 0x03, 0x04, 0x05});
    EXPECT_TRUE(s.applied);
    EXPECT_TRUE(s.ctx.unknownCommand);
    ASSERT_EQ(s.items.size(), 1u);
    // All five data bytes, neither the last one dropped nor the check byte taken.
    EXPECT_EQ(s.hex(0), "01 02 03 04 05");
    EXPECT_EQ(s.record.m_nManufacturerCode, 0) << "no record update";
    EXPECT_FALSE(hart::HasLayout(130));
    EXPECT_FALSE(hart::HasLayout(38));
}

TEST(ResponseDecoder, NothingIsSplitWithoutARecordOrData) {
    const Received r = Receive(1, {12, 0, 0, 0, 0});
    CHartDataList items;
    hart::DecodeContext ctx;
    EXPECT_FALSE(hart::DecodeResponse(1, r.rx.data(), r.dataIndex, r.byteCount, nullptr, ctx, items));
    EXPECT_TRUE(items.empty());
    CHartDevice rec(0);
    EXPECT_FALSE(hart::DecodeResponse(1, r.rx.data(), r.dataIndex, 0, &rec, ctx, items));
    EXPECT_TRUE(items.empty());
}

// Counts in an answer can ask for far more entries than the receive buffer holds; the loops stop
// at its end, and every field created lies inside it.
TEST(ResponseDecoder, EntryLoopsStopAtTheEndOfTheReceiveBuffer) {
    struct Case {
        int command;
        int dataIndex;
        int byteCount;
        std::initializer_list<std::pair<int, std::uint8_t>> set; // data positions
        Lengths head;
        int entries; // entries that fit
        Lengths entry;
    } cases[] = {
        // 256 - (20 + 4) = 232 bytes: 25 entries of 9.
        {173, 20, 255, {{3, 255}}, {1, 1, 1, 1}, 25, {1, 4, 4}},
        {151, 20, 255, {{3, 255}}, {1, 1, 1, 1}, 25, {1, 4, 4}},
        // 256 - (15 + 10) = 231: 25 entries.
        {171, 15, 255, {{9, 255}}, {1, 1, 1, 4, 1, 1, 1}, 25, {1, 4, 4}},
        // 256 - (15 + 11) = 230: 25 entries.
        {163, 15, 255, {{10, 255}}, {1, 1, 1, 1, 4, 1, 1, 1}, 25, {1, 4, 4}},
        // 256 - (20 + 1) = 235: 33 entries of 7, though the byte count asks for 36.
        {174, 20, 255, {}, {1}, 33, {1, 1, 1, 4}},
        // 256 - (15 + 3) = 238 one-byte values of 255.
        {212, 15, 255, {{0, 255}}, {1, 2}, 238, {1}},
        // 256 - (15 + 2) = 239 one-byte values; no room left for the four-byte ones.
        {220, 15, 255, {{0, 255}, {1, 255}}, {1, 1}, 239, {1}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> rx(hart::kReceiveBufferSize, 0x5A);
        for (const auto& [at, v] : c.set)
            rx[static_cast<std::size_t>(c.dataIndex + at)] = v;
        Split s;
        s.applied = hart::DecodeResponse(c.command, rx.data(), c.dataIndex, c.byteCount, &s.record, s.ctx, s.items);
        EXPECT_EQ(s.lengths(), Repeat(c.head, c.entries, c.entry)) << "command " << c.command;
        EXPECT_LE(c.dataIndex + Sum(s.lengths()), hart::kReceiveBufferSize) << "command " << c.command;
    }
}

TEST(ResponseDecoder, IdentityAnswersFillTheRecord) {
    const hart::Bytes answer{254, 134, 107, 5, 5, 1, 2, 3, 0, 0x00, 0x12, 0x34};
    Split s = Decode(0, answer);
    EXPECT_EQ(s.record.m_nManufacturerCode, 134);
    EXPECT_EQ(s.record.m_nDeviceTypeCode, 107);
    EXPECT_EQ(s.record.m_nRequestPreambles, 5);
    EXPECT_EQ(s.record.m_nUniversalRevision, 5);
    EXPECT_EQ(s.record.m_nDeviceRevision, 1);
    EXPECT_EQ(s.record.m_nSoftwareRevision, 2);
    EXPECT_EQ(s.record.m_nHardwareRevision, 3);
    EXPECT_EQ(s.record.m_nFlags, 0);
    EXPECT_EQ(s.record.m_nDeviceId, 0x1234u);
    EXPECT_EQ(s.record.m_LongAddress, (std::array<std::uint8_t, 5>{0x86, 0x6B, 0x00, 0x12, 0x34}));
    EXPECT_EQ(s.record.m_UniqueId, (std::array<std::uint8_t, 5>{0x06, 0x6B, 0x00, 0x12, 0x34}));

    // As secondary master the long address has no master bit.
    const Received r = Receive(0, answer);
    Split secondary;
    secondary.ctx.masterType = 1;
    hart::DecodeResponse(0, r.rx.data(), r.dataIndex, r.byteCount, &secondary.record, secondary.ctx, secondary.items);
    EXPECT_EQ(secondary.record.m_LongAddress[0], 0x06);

    // The request preamble count is taken only within 2..20.
    for (const auto& [sent, kept] : std::vector<std::pair<int, int>>{{25, 5}, {1, 5}, {0, 5}, {2, 2}, {20, 20}}) {
        hart::Bytes a = answer;
        a[3] = static_cast<std::uint8_t>(sent);
        EXPECT_EQ(Decode(0, a).record.m_nRequestPreambles, kept) << sent;
    }
}

TEST(ResponseDecoder, CommandElevenUpdatesTheCodesButNotTheAddress) {
    const Received r = Receive(11, {254, 38, 6, 7, 5, 7, 4, 0x28, 0, 0x30, 0x51, 0xA7});
    Split s;
    s.record.m_LongAddress = {0x86, 0x6B, 0x00, 0x12, 0x34};
    hart::DecodeResponse(11, r.rx.data(), r.dataIndex, r.byteCount, &s.record, s.ctx, s.items);
    EXPECT_EQ(s.record.m_nManufacturerCode, 38);
    EXPECT_EQ(s.record.m_nDeviceId, 0x3051A7u);
    EXPECT_EQ(s.record.m_nRequestPreambles, 7);
    EXPECT_EQ(s.record.m_LongAddress, (std::array<std::uint8_t, 5>{0x86, 0x6B, 0x00, 0x12, 0x34}));
}

TEST(ResponseDecoder, AddressTableTakesTheLongAddressOfCommandZeroOnly) {
    std::array<std::array<std::uint8_t, 5>, 48> table{};
    const Received zero = Receive(0, {254, 134, 97, 5, 5, 1, 1, 1, 0, 0x00, 0xAB, 0xCD});
    const Received moved = Receive(170, {134, 107, 0x00, 0x00, 0x77, 0});
    auto run = [&](const Received& r, int command, bool tableOn, int index) {
        Split s;
        s.ctx.useAddressTable = tableOn;
        s.ctx.addressIndex = index;
        s.ctx.addressTable = table.data();
        hart::DecodeResponse(command, r.rx.data(), r.dataIndex, r.byteCount, &s.record, s.ctx, s.items);
        return s;
    };
    run(zero, 0, false, 3);
    EXPECT_EQ(table[3], (std::array<std::uint8_t, 5>{}));
    run(zero, 0, true, 3);
    EXPECT_EQ(table[3], (std::array<std::uint8_t, 5>{0x86, 97, 0x00, 0xAB, 0xCD}));
    // Command 170 rebuilds the record's addresses but leaves the table alone.
    const Split s = run(moved, 170, true, 4);
    EXPECT_EQ(table[4], (std::array<std::uint8_t, 5>{}));
    EXPECT_EQ(s.record.m_nDeviceTypeCode, 107);
    EXPECT_EQ(s.record.m_nDeviceId, 0x77u);
    EXPECT_EQ(s.record.m_LongAddress, (std::array<std::uint8_t, 5>{0x86, 107, 0x00, 0x00, 0x77}));
    EXPECT_EQ(s.record.m_UniqueId, (std::array<std::uint8_t, 5>{0x06, 107, 0x00, 0x00, 0x77}));
}

TEST(ResponseDecoder, OtherRecordUpdates) {
    // 6: the record and the link follow the device to its new address.
    {
        const Received r = Receive(6, {5});
        Split s;
        short linkAddress = 2;
        s.record.m_nPollingAddress = 2;
        s.ctx.pollingAddress = &linkAddress;
        hart::DecodeResponse(6, r.rx.data(), r.dataIndex, r.byteCount, &s.record, s.ctx, s.items);
        EXPECT_EQ(s.record.m_nPollingAddress, 5);
        EXPECT_EQ(linkAddress, 5);
    }
    // 13 and 18: tag, descriptor, date; the selection is left on the descriptor.
    for (int command : {13, 18}) {
        hart::Bytes data = hart::PackAscii("PT-7", 8);
        hart::AppendAscii(data, "BOILER FEED", 16);
        data.insert(data.end(), {9, 6, 105});
        const Split s = Decode(command, data);
        EXPECT_EQ(s.record.m_strTag, "PT-7    ");
        EXPECT_EQ(s.record.m_strDescriptor, "BOILER FEED     ");
        EXPECT_EQ(s.record.m_nDateDay, 9);
        EXPECT_EQ(s.record.m_nDateMonth, 6);
        EXPECT_EQ(s.record.m_nDateYear, 2005);
        EXPECT_EQ(s.ctx.selectItemAfter, 1);
    }
    EXPECT_EQ(Decode(59, {9}).record.m_nResponsePreambles, 9);
    EXPECT_EQ(Decode(212, Data(6, {{0, 3}})).record.m_nCount212OneByte, 3);
    EXPECT_EQ(Decode(222, Data(5, {{0, 2}})).record.m_nCount212OneByte, 2);
    const Split s220 = Decode(220, Data(16, {{0, 2}, {1, 3}}));
    EXPECT_EQ(s220.record.m_nCount220OneByte, 2);
    EXPECT_EQ(s220.record.m_nCount220FourByte, 3);
}

namespace {
class DecoderOnLinkTest : public LinkOnSimTest {
protected:
    // Sends cmd to address 0 and answers it with the given long frame.
    void Exchange(int command, const std::vector<std::uint8_t>& answer) {
        comm().SetPollingAddress(0);
        ASSERT_EQ(comm().Request(command, 0), 1);
        line->FeedReceived(answer);
        ASSERT_TRUE(SpinUntil([&] { return comm().GetComState() == hart::IDLE_COM_STATE; }));
        QCoreApplication::processEvents();
    }
};
} // namespace

TEST_F(DecoderOnLinkTest, UnknownCommandKeepsAllItsDataAndSaysSo) {
    Connect();
    Exchange(130, LongAnswer(130, {0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(comm().GetResponseHexText(), "A1 B2 C3 ");
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "have not Command!!  ");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
}

TEST_F(DecoderOnLinkTest, AnAnswerWithOnlyStatusBytesLeavesTheLastFields) {
    Connect();
    Exchange(1, LongAnswer(1, {12, 0x41, 0x20, 0, 0}));
    ASSERT_EQ(comm().ResponseItemCount(), 2);
    Exchange(38, LongAnswer(38, {}));
    EXPECT_EQ(comm().ResponseItemCount(), 2);
    comm().SetResponseOffset(1);
    EXPECT_EQ(comm().GetFloat(), 10.0f);
    EXPECT_TRUE(Boxes().Boxes().empty());
}
