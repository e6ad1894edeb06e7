#include "sim/SlaveFraming.h"

namespace sim {

ParseStatus ParseRequest(const std::uint8_t* buf, std::size_t size, ParsedRequest& out, std::size_t* consumed) {
    std::size_t i = 0;
    while (i < size && buf[i] != 0xFF)
        ++i;
    if (i > 0) {
        *consumed = i;
        return ParseStatus::Skip;
    }
    while (i < size && buf[i] == 0xFF)
        ++i;
    if (i == size)
        return ParseStatus::NeedMore;
    if (i < 2) {
        *consumed = i;
        return ParseStatus::Skip;
    }
    const std::size_t delimiter = i;
    const std::uint8_t d = buf[i++];
    if (d != 0x02 && d != 0x82) {
        *consumed = i;
        return ParseStatus::Skip;
    }
    const bool isShort = d == 0x02;
    const std::size_t header = delimiter + 1 + (isShort ? 1 : 5) + 2;
    if (size < header)
        return ParseStatus::NeedMore;
    ParsedRequest r;
    r.shortFrame = isShort;
    if (isShort) {
        r.primaryMaster = (buf[i] & 0x80) != 0;
        r.shortAddress = buf[i] & 0x3F;
        ++i;
    } else {
        for (auto& b : r.longAddress)
            b = buf[i++];
        r.primaryMaster = (r.longAddress[0] & 0x80) != 0;
    }
    r.command = buf[i++];
    r.byteCount = buf[i++];
    const std::size_t end = i + static_cast<std::size_t>(r.byteCount) + 1;
    if (size < end)
        return ParseStatus::NeedMore;
    std::uint8_t x = 0;
    for (std::size_t k = delimiter; k < end - 1; ++k)
        x ^= buf[k];
    if (x != buf[end - 1]) {
        *consumed = end; // a damaged request is ignored, as a real device does
        return ParseStatus::Skip;
    }
    r.data.assign(buf + i, buf + i + r.byteCount);
    out = std::move(r);
    *consumed = end;
    return ParseStatus::Frame;
}

std::vector<std::uint8_t> BuildResponse(const ResponseFrame& r) {
    std::vector<std::uint8_t> f(static_cast<std::size_t>(r.preambles), 0xFF);
    const std::size_t delimiter = f.size();
    f.push_back(r.shortFrame ? 0x06 : 0x86);
    if (r.shortFrame)
        f.push_back(r.shortAddress);
    else
        f.insert(f.end(), r.longAddress.begin(), r.longAddress.end());
    f.push_back(static_cast<std::uint8_t>(r.command));
    f.push_back(static_cast<std::uint8_t>(r.data.size() + 2));
    f.push_back(r.responseCode);
    f.push_back(r.deviceStatus);
    f.insert(f.end(), r.data.begin(), r.data.end());
    std::uint8_t x = 0;
    for (std::size_t k = delimiter; k < f.size(); ++k)
        x ^= f[k];
    f.push_back(x);
    return f;
}

} // namespace sim
