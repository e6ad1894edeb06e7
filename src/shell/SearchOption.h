#pragma once
// The search option form (left, bottom): which polling addresses 0..15 the search polls, a button
// that folds the form's pane, and "Search Now!".
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

class CSearchOption : public QWidget {
public:
    explicit CSearchOption(QWidget* parent = nullptr);

    // "Search Now!" runs this (the frame's search command).
    void SetSearchCommand(std::function<void()> f) { m_search = std::move(f); }
    // Called with the new collapsed flag when "SHOW"/"HIDE" is clicked.
    void SetCollapseHook(std::function<void(bool)> f) { m_collapse = std::move(f); }

    // Rebuilds the address list from the boxes (done on every click and when a search starts).
    void RecomputeAddressList();
    const std::array<int, 16>& AddressList() const { return m_nAddressList; }
    int AddressCount() const { return m_nAddressCount; }
    bool IsCollapsed() const { return m_bCollapsed; }

    QCheckBox* AutoSearching() const { return m_auto; }
    QCheckBox* AddressBox(int n) const { return m_boxes.at(static_cast<std::size_t>(n)); }

private:
    void ApplyEnableRule();
    void ToggleCollapsed();

    QCheckBox* m_auto;
    std::array<QCheckBox*, 16> m_boxes{};
    QPushButton* m_showHide;
    std::array<int, 16> m_nAddressList{};
    int m_nAddressCount = 16;
    bool m_bCollapsed = true;
    std::function<void()> m_search;
    std::function<void(bool)> m_collapse;
};
