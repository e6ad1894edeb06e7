#pragma once
// HART data-link framing as the master uses it: building requests and judging answers. Pure
// functions over bytes, so every rule can be checked with exact frames.
#include <array>
#include <cstdint>
#include <vector>

namespace hart {

inline constexpr int kFrameBufferSize = 256;
inline constexpr std::uint8_t kShortRequest = 0x02;
inline constexpr std::uint8_t kLongRequest = 0x82;
inline constexpr std::uint8_t kShortResponse = 0x06;
inline constexpr std::uint8_t kLongResponse = 0x86;

// XOR of buf[from .. end).
std::uint8_t CalculateCheckByte(const std::uint8_t* buf, int end, int from);

struct RequestAddress {
    bool shortFrame = false;
    std::uint8_t shortAddress = 0;             // master bit already applied
    std::array<std::uint8_t, 5> longAddress{}; // as stored, master bit included
};

// Builds a request into a zeroed 256-byte buffer; returns the frame length. Data that would not
// fit in the buffer is cut off rather than overrunning it.
int BuildRequestFrame(std::uint8_t* buf, int preambles, const RequestAddress& address, int command, int byteCount,
                      const std::vector<std::uint8_t>& data);

// The receive rule: noise before the preambles is dropped (a byte is kept only once two bytes are
// stored or when it is 0xFF), and nothing is kept past the buffer. Returns true when kept.
bool StoreReceivedByte(std::uint8_t* buf, int& size, std::uint8_t byte);

enum class FrameProgress {
    NeedMore, // could still become a complete answer
    Complete, // its byte count says every byte is here
    Damaged,  // can never be a valid answer; judge it once the line is quiet
};
FrameProgress CheckProgress(const std::uint8_t* buf, int size);

enum class Verdict { Accepted, Rejected, DeviceCommError };

struct JudgeContext {
    int masterType = 0;  // 0 primary, 1 secondary
    int lastCommand = -1; // last command sent to the addressed device
};

struct JudgedFrame {
    Verdict verdict = Verdict::Rejected;
    int preambles = 0;      // 0xFF run before the delimiter (stored in the record when >= 2)
    int delimiterIndex = -1;
    bool shortFrame = false;
    int shortAddress = -1;  // polling address of a short-frame answer
    int command = -1;
    int byteCount = -1;
    int dataIndex = -1;     // first data byte after the two status bytes
    int responseCode = 0;
    int deviceStatus = 0;
};

JudgedFrame JudgeFrame(const std::uint8_t* buf, int size, const JudgeContext& ctx);

} // namespace hart
