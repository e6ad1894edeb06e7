#pragma once
// The record the link keeps for each polling address it has talked to.
#include <QString>
#include <array>
#include <cstdint>

class CHartDevice {
public:
    explicit CHartDevice(short pollingAddress) : m_nPollingAddress(pollingAddress) {}

    // Rebuilds the unique identifier and the long address from the identity codes. The master
    // bit is fixed now and stays with the address, whatever the master type later becomes.
    void BuildAddresses(int masterType) {
        m_UniqueId = {static_cast<std::uint8_t>(m_nManufacturerCode & 0x3F), m_nDeviceTypeCode,
                      static_cast<std::uint8_t>(m_nDeviceId >> 16), static_cast<std::uint8_t>(m_nDeviceId >> 8),
                      static_cast<std::uint8_t>(m_nDeviceId)};
        m_LongAddress = m_UniqueId;
        if (masterType == 0)
            m_LongAddress[0] |= 0x80;
    }

    short m_nPollingAddress;
    std::uint8_t m_nManufacturerCode = 0;
    std::uint8_t m_nDeviceTypeCode = 0;
    std::uint32_t m_nDeviceId = 0; // 24 bits
    std::array<std::uint8_t, 5> m_UniqueId{};
    std::array<std::uint8_t, 5> m_LongAddress{};
    QString m_strTag;
    QString m_strDescriptor;
    short m_nRequestPreambles = 5;
    short m_nResponsePreambles = 5;
    std::uint8_t m_nUniversalRevision = 0;
    std::uint8_t m_nDeviceRevision = 0;
    std::uint8_t m_nSoftwareRevision = 0;
    std::uint8_t m_nHardwareRevision = 0;
    std::uint8_t m_nFlags = 0;
    short m_nDateYear = 1900;
    short m_nDateMonth = 1;
    short m_nDateDay = 1;
    short m_nLastCommand = -1;
    short m_nCount220OneByte = 0;
    short m_nCount220FourByte = 0;
    short m_nCount212OneByte = 0;
};
