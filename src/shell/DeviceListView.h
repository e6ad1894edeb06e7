#pragma once
// The found-device list (right, top): one row per device found by the search with its polling
// address, manufacturer, product type and date. The device tree keeps it in step.
#include <QTableWidget>

class CHartComm;

class CVMC70View : public QTableWidget {
public:
    explicit CVMC70View(CHartComm& comm, QWidget* parent = nullptr);

    void AddDevice(int address);
    void ClearDevices();
    // The row of `oldAddress` now shows the device record at `newAddress`.
    void ChangeAddress(int oldAddress, int newAddress);
    // Row of an address, -1 when there is none.
    int RowOf(int address) const;

private:
    void FillRow(int row, int address);
    CHartComm& m_comm;
};
