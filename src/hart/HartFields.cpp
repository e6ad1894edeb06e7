#include "hart/HartFields.h"

#include "hart/Codecs.h"

void CHartFields::SetRequestOffset(int n) {
    if (n < 0)
        return;
    if (n == 0)
        DeleteRequestItems();
    m_RequestDataList.push_back(std::make_unique<CHartData>(static_cast<short>(n)));
    m_pCurrentData = m_RequestDataList.back().get();
}

void CHartFields::SetResponseOffset(int n) {
    if (n < 0)
        return;
    m_pCurrentData = n < static_cast<int>(m_ResponseDataList.size()) ? m_ResponseDataList[n].get() : nullptr;
}

void CHartFields::SetCurrent(std::vector<std::uint8_t> bytes) {
    if (m_pCurrentData)
        m_pCurrentData->m_Data = std::move(bytes);
}

void CHartFields::SetXInt8(int value) { SetCurrent({static_cast<std::uint8_t>(value)}); }

void CHartFields::SetInt16(int value) {
    hart::Bytes b;
    hart::AppendU16(b, static_cast<unsigned>(value));
    SetCurrent(std::move(b));
}

void CHartFields::SetXInt24(std::int32_t value) {
    hart::Bytes b;
    hart::AppendU24(b, static_cast<std::uint32_t>(value));
    SetCurrent(std::move(b));
}

void CHartFields::SetInt24(std::int32_t value) {
    hart::Bytes b;
    hart::AppendU32(b, static_cast<std::uint32_t>(value));
    SetCurrent(std::move(b));
}

void CHartFields::SetULONG(std::uint32_t value) {
    hart::Bytes b;
    hart::AppendU32(b, value);
    SetCurrent(std::move(b));
}

void CHartFields::SetFloat(float value) {
    hart::Bytes b;
    hart::AppendFloat(b, value);
    SetCurrent(std::move(b));
}

void CHartFields::SetXString(const QString& text) {
    if (m_nXStringLength <= 0)
        return;
    SetCurrent(hart::PackAscii(text, m_nXStringLength));
}

const std::uint8_t* CHartFields::CurrentBytes(int need) const {
    if (!m_pCurrentData || static_cast<int>(m_pCurrentData->m_Data.size()) < need)
        return nullptr;
    return m_pCurrentData->m_Data.data();
}

std::uint16_t CHartFields::GetXInt8() const {
    const auto* p = CurrentBytes(1);
    return p ? p[0] : 0xFFFF;
}

std::int16_t CHartFields::GetInt16() const {
    const auto* p = CurrentBytes(2);
    return p ? static_cast<std::int16_t>(hart::GetU16(p)) : std::int16_t{-1};
}

std::int32_t CHartFields::GetXInt24() const {
    const auto* p = CurrentBytes(3);
    return p ? static_cast<std::int32_t>(hart::GetU24(p)) : -1;
}

std::int32_t CHartFields::GetInt24() const {
    if (!m_pCurrentData)
        return 0;
    const auto* p = CurrentBytes(4);
    return p ? static_cast<std::int32_t>(hart::GetU32(p)) : -1;
}

std::uint32_t CHartFields::GetULONG() const {
    const auto* p = CurrentBytes(4);
    return p ? hart::GetU32(p) : 0u;
}

float CHartFields::GetFloat() const {
    const auto* p = CurrentBytes(4);
    return p ? hart::GetFloatBE(p) : -1.0f;
}

QString CHartFields::GetXString() const {
    if (!m_pCurrentData || m_pCurrentData->m_Data.empty())
        return {};
    return hart::UnpackAscii(m_pCurrentData->m_Data);
}

QString CHartFields::GetResponseHexText() const {
    QString out;
    for (const auto& item : m_ResponseDataList)
        out += hart::HexText(item->m_Data);
    return out;
}

std::vector<std::uint8_t> CHartFields::RequestBytes() const {
    std::vector<std::uint8_t> out;
    for (const auto& item : m_RequestDataList)
        out.insert(out.end(), item->m_Data.begin(), item->m_Data.end());
    return out;
}

void CHartFields::DeleteRequestItems() {
    for (const auto& item : m_RequestDataList)
        if (item.get() == m_pCurrentData)
            m_pCurrentData = nullptr;
    m_RequestDataList.clear();
}

void CHartFields::DeleteResponseItems() {
    for (const auto& item : m_ResponseDataList)
        if (item.get() == m_pCurrentData)
            m_pCurrentData = nullptr;
    m_ResponseDataList.clear();
}

void CHartFields::SetResponseItems(CHartDataList items) {
    DeleteResponseItems();
    m_ResponseDataList = std::move(items);
}
