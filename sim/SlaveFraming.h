#pragma once
// The field-device side of HART framing: finding a master's request in the byte stream and
// framing the answer.
#include <array>
#include <cstdint>
#include <vector>

namespace sim {

struct ParsedRequest {
    bool shortFrame = false;
    std::uint8_t shortAddress = 0; // polling address, master bit removed
    std::array<std::uint8_t, 5> longAddress{};
    bool primaryMaster = true;
    int command = 0;
    int byteCount = 0;
    std::vector<std::uint8_t> data;
};

enum class ParseStatus { NeedMore, Frame, Skip };

// Looks at the start of buf. Frame: a whole request with a good check byte, *consumed bytes long.
// Skip: the first *consumed bytes can never start a request (noise, bad check byte).
ParseStatus ParseRequest(const std::uint8_t* buf, std::size_t size, ParsedRequest& out, std::size_t* consumed);

struct ResponseFrame {
    int preambles = 5;
    bool shortFrame = false;
    std::uint8_t shortAddress = 0; // with the master bit as it came
    std::array<std::uint8_t, 5> longAddress{};
    int command = 0;
    std::uint8_t responseCode = 0;
    std::uint8_t deviceStatus = 0;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> BuildResponse(const ResponseFrame& r);

} // namespace sim
