#pragma once
// The request and response field lists with their typed setters and getters. Windows describe a
// request as fields set in order and read an answer field by field; they never touch frame bytes.
#include "hart/HartData.h"

#include <QString>
#include <cstdint>
#include <vector>

class CHartFields {
public:
    CHartFields() = default;
    virtual ~CHartFields() = default;
    CHartFields(const CHartFields&) = delete;
    CHartFields& operator=(const CHartFields&) = delete;

    // Request side: offset 0 starts a new request; items go into the frame in creation order.
    void SetRequestOffset(int n);
    void SetXInt8(int value);
    void SetInt16(int value);
    void SetXInt24(std::int32_t value);
    void SetInt24(std::int32_t value);
    void SetULONG(std::uint32_t value);
    void SetFloat(float value);
    void SetXStringLength(int n) { m_nXStringLength = static_cast<short>(n); }
    void SetXString(const QString& text);

    // Response side: selects the n-th field of the last answer (none when the list is shorter).
    void SetResponseOffset(int n);
    std::uint16_t GetXInt8() const;
    std::int16_t GetInt16() const;
    std::int32_t GetXInt24() const;
    std::int32_t GetInt24() const;
    std::uint32_t GetULONG() const;
    float GetFloat() const;
    QString GetXString() const;
    QString GetResponseHexText() const;

    // Bytes of every request item in creation order (the data field of the next frame).
    std::vector<std::uint8_t> RequestBytes() const;
    void DeleteRequestItems();
    void DeleteResponseItems();
    // Installs a freshly split answer.
    void SetResponseItems(CHartDataList items);

    const CHartDataList& RequestItems() const { return m_RequestDataList; }
    const CHartDataList& ResponseItems() const { return m_ResponseDataList; }
    int ResponseItemCount() const { return static_cast<int>(m_ResponseDataList.size()); }
    // Used by the splitter, which leaves the selection on a given item for some answers.
    void SelectResponseItem(int n) { SetResponseOffset(n); }

protected:
    CHartDataList m_RequestDataList;
    CHartDataList m_ResponseDataList;
    CHartData* m_pCurrentData = nullptr;
    short m_nXStringLength = 0;

private:
    const std::uint8_t* CurrentBytes(int need) const;
    void SetCurrent(std::vector<std::uint8_t> bytes);
};
