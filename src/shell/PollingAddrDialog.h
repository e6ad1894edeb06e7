#pragma once
// "Polling Addr": sixteen boxes "Address 0" to "Address 15"; opened with the addresses to tick,
// "Apply" hands back one 0/1 flag per address.
#include <QDialog>
#include <array>
#include <vector>

class QCheckBox;

class CPollingAddrDlg : public QDialog {
public:
    explicit CPollingAddrDlg(const std::vector<int>& preset, QWidget* parent = nullptr);

    // Valid after "Apply": flags in address order.
    const std::array<int, 16>& Flags() const { return m_flags; }
    QCheckBox* Box(int address) const { return m_boxes.at(static_cast<std::size_t>(address)); }

private:
    std::array<QCheckBox*, 16> m_boxes{};
    std::array<int, 16> m_flags{};
};
