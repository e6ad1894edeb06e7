#pragma once
// One typed field of a request or an answer, holding its bytes in frame order.
#include <cstdint>
#include <memory>
#include <vector>

class CHartData {
public:
    explicit CHartData(short offset = 0) : m_nOffset(offset) {}
    short Offset() const { return m_nOffset; }
    short Length() const { return static_cast<short>(m_Data.size()); }
    bool HasBytes() const { return !m_Data.empty(); }
    const std::uint8_t* Bytes() const { return m_Data.data(); }

    short m_nOffset;
    std::vector<std::uint8_t> m_Data; // empty: the item holds no bytes
};

using CHartDataList = std::vector<std::unique_ptr<CHartData>>;
