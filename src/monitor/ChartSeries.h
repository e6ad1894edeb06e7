#pragma once
// One plotted series of the strip chart: its colour, the range it was added with, and a fixed ring
// of its last values so the chart can redraw itself after a change of scale, colour or step.
#include <QColor>
#include <array>
#include <vector>

class CChartSeries {
public:
    static constexpr int kSlots = 300;
    static constexpr int kCapacity = kSlots - 1; // one slot always stays free

    CChartSeries(QColor colour, float upper, float lower) : m_colour(colour), m_fUpper(upper), m_fLower(lower) {}

    QColor Colour() const { return m_colour; }
    float Upper() const { return m_fUpper; }
    float Lower() const { return m_fLower; }

    // Records a sample: into the ring, and as the newest of the latest/previous pair. Before the
    // first sample there is no previous value, so the first one stands for both.
    void AddSample(float value);
    bool HasSample() const { return m_bHasSample; }
    float Latest() const { return m_fLatest; }
    float Previous() const { return m_fPrevious; }
    void SetLatest(float v) { m_fLatest = v; }
    void SetPrevious(float v) { m_fPrevious = v; }

    // The ring itself.
    void Write(float value);
    void RewindRead() { m_nRead = m_nOldest; }
    bool Read(float& value);
    int Count() const { return (m_nNext - m_nOldest + kSlots) % kSlots; }
    std::vector<float> Values() const; // oldest first

private:
    QColor m_colour;
    float m_fUpper;
    float m_fLower;
    std::array<float, kSlots> m_history{};
    int m_nOldest = 0;
    int m_nRead = 0;
    int m_nNext = 0;
    float m_fLatest = 0.0f;
    float m_fPrevious = 0.0f;
    bool m_bHasSample = false;
};
