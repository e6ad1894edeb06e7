#pragma once
// One point of a linearization table as the transmitter carries it: the point number in the low
// five bits of a byte whose bits 5 and 6 mark a point that is switched off, the value the
// transmitter produces now and the value that is to take its place.
#include <cstdint>

struct CPointRecord {
    short m_nPoint = 0;
    float m_fCurrent = 0.0f;
    float m_fModified = 0.0f;
    bool m_bUsed = false;
};

namespace lin {

inline constexpr int kPointMask = 0x1F;
inline constexpr int kNotUsedBits = 0x60;
// Points a write frame carries at most.
inline constexpr int kPointsPerFrame = 2;

inline std::uint8_t PointByte(int point, bool used) {
    return static_cast<std::uint8_t>((point & kPointMask) + (used ? 0 : kNotUsedBits));
}
// A point is in use only when neither off bit is set.
inline CPointRecord DecodePoint(int pointByte, float current, float modified) {
    return CPointRecord{static_cast<short>(pointByte & kPointMask), current, modified, (pointByte & kNotUsedBits) == 0};
}

} // namespace lin
