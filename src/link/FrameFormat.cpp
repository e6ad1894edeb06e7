#include "link/FrameFormat.h"

#include <algorithm>

namespace hart {

std::uint8_t CalculateCheckByte(const std::uint8_t* buf, int end, int from) {
    std::uint8_t x = 0;
    for (int i = std::max(from, 0); i < end && i < kFrameBufferSize; ++i)
        x ^= buf[i];
    return x;
}

int BuildRequestFrame(std::uint8_t* buf, int preambles, const RequestAddress& address, int command, int byteCount,
                      const std::vector<std::uint8_t>& data) {
    std::fill(buf, buf + kFrameBufferSize, std::uint8_t{0});
    // Room for the header and the check byte must stay whatever the preamble count.
    preambles = std::clamp(preambles, 0, 20);
    int i = 0;
    while (i < preambles)
        buf[i++] = 0xFF;
    const int delimiter = i;
    buf[i++] = address.shortFrame ? kShortRequest : kLongRequest;
    if (address.shortFrame) {
        buf[i++] = address.shortAddress;
    } else {
        for (std::uint8_t b : address.longAddress)
            buf[i++] = b;
    }
    buf[i++] = static_cast<std::uint8_t>(command);
    buf[i++] = static_cast<std::uint8_t>(byteCount);
    for (std::uint8_t b : data) {
        if (i >= kFrameBufferSize - 1)
            break;
        buf[i++] = b;
    }
    buf[i] = CalculateCheckByte(buf, i, delimiter);
    return i + 1;
}

bool StoreReceivedByte(std::uint8_t* buf, int& size, std::uint8_t byte) {
    if (size >= kFrameBufferSize)
        return false;
    if (size >= 2 || byte == 0xFF) {
        buf[size++] = byte;
        return true;
    }
    return false;
}

namespace {

struct Layout {
    bool ok = false;
    int preambles = 0;
    int delimiterIndex = 0;
    bool shortFrame = false;
    int countIndex = 0; // index of the byte-count byte
};

// Locates the header; ok=false when the stored bytes cannot (yet) show it.
Layout Locate(const std::uint8_t* buf, int size) {
    Layout l;
    int i = 0;
    while (i < size && buf[i] != 0xFF)
        ++i;
    const int start = i;
    while (i < size && buf[i] == 0xFF)
        ++i;
    l.preambles = i - start;
    if (i >= size)
        return l; // the run reaches the end of the data: no delimiter yet
    l.delimiterIndex = i;
    l.shortFrame = buf[i] == kShortResponse;
    l.countIndex = i + (l.shortFrame ? 1 : 5) + 2;
    l.ok = true;
    return l;
}

} // namespace

FrameProgress CheckProgress(const std::uint8_t* buf, int size) {
    const Layout l = Locate(buf, size);
    if (!l.ok)
        return FrameProgress::NeedMore;
    const std::uint8_t delimiter = buf[l.delimiterIndex];
    if (l.preambles < 2 || (delimiter != kShortResponse && delimiter != kLongResponse))
        return FrameProgress::Damaged;
    if (size <= l.countIndex)
        return FrameProgress::NeedMore;
    const int count = buf[l.countIndex];
    const int command = buf[l.countIndex - 1];
    if (count < 2 || (count > 0x1F && command != 220))
        return FrameProgress::Damaged;
    if (l.countIndex + count + 2 > kFrameBufferSize)
        return FrameProgress::Damaged; // would not fit in the buffer: it can never complete
    return size >= l.countIndex + count + 2 ? FrameProgress::Complete : FrameProgress::NeedMore;
}

JudgedFrame JudgeFrame(const std::uint8_t* buf, int size, const JudgeContext& ctx) {
    JudgedFrame f;
    const Layout l = Locate(buf, size);
    f.preambles = l.preambles;
    if (!l.ok || l.preambles < 2)
        return f;
    f.delimiterIndex = l.delimiterIndex;
    int i = l.delimiterIndex;
    const std::uint8_t delimiter = buf[i++];
    if (delimiter == kLongResponse) {
        i += 5;
    } else if (delimiter == kShortResponse) {
        if (ctx.lastCommand != 0)
            return f;
        if (i >= size)
            return f;
        const std::uint8_t a = buf[i++];
        f.shortFrame = true;
        f.shortAddress = ctx.masterType == 0 ? (a ^ 0x80) : a;
    } else {
        return f;
    }
    if (i + 1 >= size)
        return f;
    f.command = buf[i++];
    const int countIndex = i;
    f.byteCount = buf[i++];
    if (f.byteCount < 2 || (f.byteCount > 0x1F && f.command != 220))
        return f;
    if (size < countIndex + f.byteCount + 2)
        return f;
    const int checkIndex = countIndex + 1 + f.byteCount;
    if (CalculateCheckByte(buf, checkIndex, l.delimiterIndex) != buf[checkIndex])
        return f;
    f.responseCode = buf[countIndex + 1];
    f.deviceStatus = buf[countIndex + 2];
    f.dataIndex = countIndex + 3;
    f.verdict = (f.responseCode & 0x80) ? Verdict::DeviceCommError : Verdict::Accepted;
    return f;
}

} // namespace hart
