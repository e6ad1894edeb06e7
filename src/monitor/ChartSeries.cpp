#include "monitor/ChartSeries.h"

void CChartSeries::AddSample(float value) {
    Write(value);
    m_fPrevious = m_bHasSample ? m_fLatest : value;
    m_fLatest = value;
    m_bHasSample = true;
}

void CChartSeries::Write(float value) {
    m_history[static_cast<std::size_t>(m_nNext)] = value;
    m_nNext = (m_nNext + 1) % kSlots;
    if (m_nNext == m_nOldest) {
        m_nOldest = (m_nOldest + 1) % kSlots;
        m_nRead = m_nOldest;
    }
}

bool CChartSeries::Read(float& value) {
    if (m_nRead == m_nNext)
        return false;
    value = m_history[static_cast<std::size_t>(m_nRead)];
    m_nRead = (m_nRead + 1) % kSlots;
    return true;
}

std::vector<float> CChartSeries::Values() const {
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(Count()));
    for (int i = m_nOldest; i != m_nNext; i = (i + 1) % kSlots)
        out.push_back(m_history[static_cast<std::size_t>(i)]);
    return out;
}
