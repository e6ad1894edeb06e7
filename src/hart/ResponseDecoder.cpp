#include "hart/ResponseDecoder.h"

#include "hart/Codecs.h"
#include "link/HartDevice.h"

#include <algorithm>
#include <initializer_list>

namespace hart {
namespace {

// Cuts fields from the receive buffer. A fixed layout may run past the received data into the
// rest of the buffer (check byte, then zeros); nothing is ever read past the buffer's end.
class Cutter {
public:
    Cutter(const std::uint8_t* rx, int pos, CHartDataList& out) : m_rx(rx), m_pos(pos), m_out(out) {}

    void Take(int len) {
        auto item = std::make_unique<CHartData>(static_cast<short>(m_out.size()));
        item->m_Data.resize(static_cast<std::size_t>(len));
        for (int i = 0; i < len; ++i) {
            const int at = m_pos + i;
            item->m_Data[static_cast<std::size_t>(i)] = at < kReceiveBufferSize ? m_rx[at] : 0;
        }
        m_pos += len;
        m_out.push_back(std::move(item));
    }
    void Take(std::initializer_list<int> lens) {
        for (int l : lens)
            Take(l);
    }
    // Entry loops stop where an entry would run past the buffer.
    bool Fits(int len) const { return m_pos + len <= kReceiveBufferSize; }
    std::uint8_t Peek(int offsetFromPos) const {
        const int at = m_pos + offsetFromPos;
        return at >= 0 && at < kReceiveBufferSize ? m_rx[at] : 0;
    }
    std::uint8_t Last(int back = 1) const { return m_out.empty() ? 0 : m_out[m_out.size() - back]->m_Data[0]; }
    void Entries(int count, std::initializer_list<int> lens, int maxEntries = 256) {
        int size = 0;
        for (int l : lens)
            size += l;
        for (int e = 0; e < count && e < maxEntries && Fits(size); ++e)
            Take(lens);
    }
    int Pos() const { return m_pos; }

private:
    const std::uint8_t* m_rx;
    int m_pos;
    CHartDataList& m_out;
};

bool In(int cmd, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), cmd) != set.end(); }

// Current and dynamic variables: command 3 and its maker's twin 210.
void DynamicVariables(Cutter& c, int bc) {
    c.Take({4, 1, 4});
    if (bc > 11)
        c.Take({1, 4});
    if (bc > 16)
        c.Take({1, 4});
    if (bc > 21)
        c.Take({1, 4});
}

// Returns false when the command has no layout.
bool Split(int cmd, Cutter& c, int bc, DecodeContext& ctx) {
    if (In(cmd, {0, 11})) {
        c.Take({1, 1, 1, 1, 1, 1, 1, 1, 1, 3});
    } else if (cmd == 1) {
        c.Take({1, 4});
    } else if (cmd == 2) {
        c.Take({4, 4});
    } else if (cmd == 3 || cmd == 210) {
        DynamicVariables(c, bc);
    } else if (In(cmd, {6, 39, 44, 47, 59})) {
        c.Take(1);
    } else if (In(cmd, {12, 17})) {
        c.Take(24);
    } else if (In(cmd, {13, 18})) {
        c.Take({6, 12, 1, 1, 1});
        ctx.selectItemAfter = 1;
    } else if (cmd == 14) {
        c.Take({3, 1, 4, 4, 4});
    } else if (cmd == 15) {
        c.Take({1, 1, 1, 4, 4, 4, 1, 1});
    } else if (In(cmd, {16, 19, 49})) {
        c.Take(3);
    } else if (In(cmd, {34, 40, 45, 46, 178, 188, 230, 236, 246})) {
        c.Take(4);
    } else if (In(cmd, {35, 179, 189, 232, 242})) {
        c.Take({1, 4, 4});
    } else if (cmd == 48) {
        for (int k = 2; k <= 9; ++k)
            if (bc > k)
                c.Take(1);
        if (bc > 10)
            c.Take(3);
        if (bc > 13)
            c.Take(3);
        for (int k = 16; k <= 26; ++k)
            if (bc > k)
                c.Take(1);
    } else if (In(cmd, {140, 141, 148, 149, 156, 158, 159, 166, 167, 176, 177, 186, 187, 197, 199, 200, 207, 209,
                        219, 234, 237, 244, 247})) {
        c.Take(1);
    } else if (In(cmd, {144, 145, 175, 185, 235, 245})) {
        c.Take({1, 4});
    } else if (In(cmd, {231, 238, 241, 248})) {
        c.Take({4, 4});
    } else if (In(cmd, {142, 143})) {
        c.Take({4, 4, 4});
    } else if (In(cmd, {146, 147})) {
        c.Take({1, 4, 4, 4, 4});
    } else if (In(cmd, {151, 161, 173, 183})) {
        c.Take({1, 1, 1, 1});
        c.Entries(c.Last(), {1, 4, 4});
    } else if (In(cmd, {152, 162, 198, 208})) {
        c.Take({1, 1});
    } else if (In(cmd, {153, 163})) {
        c.Take({1, 1, 1, 1, 4, 1, 1, 1});
        c.Entries(c.Last(), {1, 4, 4});
    } else if (In(cmd, {154, 164, 172, 182})) {
        c.Take({1, 1, 1, 1});
        const int fourth = c.Last();
        if (fourth >= 240)
            c.Entries(fourth - 240 + 1, {4});
    } else if (In(cmd, {155, 165})) {
        c.Take({1, 1, 1});
        if (bc > 3)
            c.Take({1, 1});
    } else if (cmd == 157) {
        c.Take({1, 1, 1, 1, 1});
    } else if (cmd == 160) {
        c.Take({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
        const int twelfth = c.Last();
        if (twelfth == 's' || twelfth == 'S') {
            for (int i = 0; i < 20 && i + 14 < bc; ++i)
                c.Take(1);
        } else {
            c.Take(4);
        }
    } else if (cmd == 170) {
        c.Take({1, 1, 3, 1});
    } else if (In(cmd, {171, 181})) {
        c.Take({1, 1, 1, 4, 1, 1, 1});
        c.Entries(c.Last(), {1, 4, 4});
    } else if (cmd == 174) {
        c.Take(1);
        for (int e = 0; bc - 2 >= 8 + 7 * e && c.Fits(7); ++e)
            c.Take({1, 1, 1, 4});
    } else if (In(cmd, {191, 193, 194, 195, 201, 203, 204, 205})) {
        c.Take({1, 1, 4, 4});
    } else if (In(cmd, {192, 196, 202, 206})) {
        c.Take({1, 1, 4});
    } else if (In(cmd, {212, 222})) {
        c.Take({1, 2});
        const int count = c.Last(2);
        c.Entries(count, {1});
    } else if (cmd == 220) {
        c.Take({1, 1});
        const int a = c.Last(2), b = c.Last(1);
        c.Entries(a, {1});
        c.Entries(b, {4});
    } else if (cmd == 221) {
        // no fields
    } else if (In(cmd, {223, 224})) {
        c.Take({1, 4, 4, 4, 4, 4, 4});
    } else if (cmd == 226) {
        c.Take({2, 2});
    } else if (In(cmd, {233, 243})) {
        if (c.Peek(0) == 249)
            c.Take({1, 4, 4, 1, 1, 1, 1, 1, 1});
        else
            c.Take({1, 4, 4});
        c.Take({1, 4, 4, 4, 4});
    } else if (In(cmd, {239, 249})) {
        c.Take({2, 4, 4, 4, 4, 4});
    } else {
        return false;
    }
    return true;
}

std::uint8_t ItemByte(const CHartDataList& items, std::size_t n) {
    return n < items.size() && !items[n]->m_Data.empty() ? items[n]->m_Data[0] : 0;
}

void UpdateRecord(int cmd, const CHartDataList& items, CHartDevice& rec, DecodeContext& ctx) {
    if (cmd == 0 || cmd == 11) {
        rec.m_nManufacturerCode = ItemByte(items, 1);
        rec.m_nDeviceTypeCode = ItemByte(items, 2);
        const int pre = ItemByte(items, 3);
        rec.m_nRequestPreambles = static_cast<short>(pre >= 2 && pre <= 20 ? pre : 5);
        rec.m_nUniversalRevision = ItemByte(items, 4);
        rec.m_nDeviceRevision = ItemByte(items, 5);
        rec.m_nSoftwareRevision = ItemByte(items, 6);
        rec.m_nHardwareRevision = ItemByte(items, 7);
        rec.m_nFlags = ItemByte(items, 8);
        rec.m_nDeviceId = items.size() > 9 ? GetU24(items[9]->m_Data.data()) : 0;
        if (cmd == 0) {
            rec.BuildAddresses(ctx.masterType);
            if (ctx.useAddressTable && ctx.addressTable && ctx.addressIndex >= 0 && ctx.addressIndex < 48)
                ctx.addressTable[ctx.addressIndex] = rec.m_LongAddress;
        }
    } else if (cmd == 6) {
        rec.m_nPollingAddress = ItemByte(items, 0);
        if (ctx.pollingAddress)
            *ctx.pollingAddress = rec.m_nPollingAddress;
    } else if (cmd == 13 || cmd == 18) {
        rec.m_strTag = UnpackAscii(items[0]->m_Data);
        rec.m_strDescriptor = UnpackAscii(items[1]->m_Data);
        rec.m_nDateDay = ItemByte(items, 2);
        rec.m_nDateMonth = ItemByte(items, 3);
        rec.m_nDateYear = static_cast<short>(ItemByte(items, 4) + 1900);
    } else if (cmd == 59) {
        rec.m_nResponsePreambles = ItemByte(items, 0);
    } else if (cmd == 170) {
        rec.m_nManufacturerCode = ItemByte(items, 0);
        rec.m_nDeviceTypeCode = ItemByte(items, 1);
        rec.m_nDeviceId = GetU24(items[2]->m_Data.data());
        rec.BuildAddresses(ctx.masterType);
    } else if (cmd == 212 || cmd == 222) {
        rec.m_nCount212OneByte = ItemByte(items, 0);
    } else if (cmd == 220) {
        rec.m_nCount220OneByte = ItemByte(items, 0);
        rec.m_nCount220FourByte = ItemByte(items, 1);
    }
}

} // namespace

bool HasLayout(int command) {
    std::uint8_t rx[kReceiveBufferSize] = {};
    CHartDataList items;
    DecodeContext ctx;
    Cutter c(rx, 0, items);
    return Split(command, c, 2, ctx);
}

bool DecodeResponse(int command, const std::uint8_t* rx, int dataIndex, int byteCount, CHartDevice* record,
                    DecodeContext& ctx, CHartDataList& items) {
    items.clear();
    if (byteCount < 1 || !record)
        return false;
    Cutter c(rx, dataIndex, items);
    if (!Split(command, c, byteCount, ctx)) {
        // No layout: the whole data field as one item.
        ctx.unknownCommand = true;
        items.clear();
        Cutter all(rx, dataIndex, items);
        all.Take(std::clamp(byteCount - 2, 0, kReceiveBufferSize - std::min(dataIndex, kReceiveBufferSize)));
        return true;
    }
    UpdateRecord(command, items, *record, ctx);
    return true;
}

} // namespace hart
