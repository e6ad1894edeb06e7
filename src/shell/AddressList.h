#pragma once
// A list of 32-bit integers in two roles: an ascending set (the ticked polling addresses) and a
// command queue of a page (each command at most once).
#include <algorithm>
#include <cstdint>
#include <vector>

class CAddressList {
public:
    // Set: inserted in ascending order; a value already present is ignored.
    void AddSorted(std::int32_t value) {
        auto it = std::lower_bound(m_values.begin(), m_values.end(), value);
        if (it == m_values.end() || *it != value)
            m_values.insert(it, value);
    }
    // Removes the first occurrence; false when the value was not there.
    bool RemoveValue(std::int32_t value) {
        auto it = std::find(m_values.begin(), m_values.end(), value);
        if (it == m_values.end())
            return false;
        m_values.erase(it);
        return true;
    }
    bool Contains(std::int32_t value) const {
        return std::find(m_values.begin(), m_values.end(), value) != m_values.end();
    }
    // The value at an index; -1 past the end.
    std::int32_t GetAt(int index) const {
        return index >= 0 && index < GetCount() ? m_values[static_cast<std::size_t>(index)] : -1;
    }
    int GetCount() const { return static_cast<int>(m_values.size()); }
    bool IsEmpty() const { return m_values.empty(); }
    void RemoveAll() { m_values.clear(); }

    // Queue: appended unless already queued.
    void AddTail(std::int32_t value) {
        if (!Contains(value))
            m_values.push_back(value);
    }
    // Queue: put first (a command that must jump the queue); moved there when already queued.
    void AddHead(std::int32_t value) {
        RemoveValue(value);
        m_values.insert(m_values.begin(), value);
    }
    // Queue: takes the head off; -1 when empty.
    std::int32_t RemoveHead() {
        if (m_values.empty())
            return -1;
        const std::int32_t v = m_values.front();
        m_values.erase(m_values.begin());
        return v;
    }
    std::int32_t GetHead() const { return GetAt(0); }

    const std::vector<std::int32_t>& Values() const { return m_values; }
    bool operator==(const std::vector<std::int32_t>& v) const { return m_values == v; }

private:
    std::vector<std::int32_t> m_values;
};
