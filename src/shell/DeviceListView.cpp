#include "shell/DeviceListView.h"

#include "link/HartComm.h"

#include <QHeaderView>

namespace {
constexpr int kAddressRole = Qt::UserRole;
}

CVMC70View::CVMC70View(CHartComm& comm, QWidget* parent) : QTableWidget(0, 4, parent), m_comm(comm) {
    setObjectName(QStringLiteral("deviceList"));
    setHorizontalHeaderLabels({QStringLiteral("Polling Addr"), QStringLiteral("Manufacturer"),
                               QStringLiteral("Product Type"), QStringLiteral("Date")});
    const int widths[] = {70, 100, 80, 90};
    for (int c = 0; c < 4; ++c)
        setColumnWidth(c, widths[c]);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CVMC70View::FillRow(int row, int address) {
    const QString texts[] = {QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')),
                             m_comm.GetManufacturerName(address), m_comm.GetDeviceTypeName(address),
                             m_comm.GetDateText(address)};
    for (int c = 0; c < 4; ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setData(kAddressRole, address);
        setItem(row, c, item);
    }
}

void CVMC70View::AddDevice(int address) {
    const int row = rowCount();
    insertRow(row);
    FillRow(row, address);
}

void CVMC70View::ClearDevices() { setRowCount(0); }

int CVMC70View::RowOf(int address) const {
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0) && item(r, 0)->data(kAddressRole).toInt() == address)
            return r;
    return -1;
}

void CVMC70View::ChangeAddress(int oldAddress, int newAddress) {
    const int row = RowOf(oldAddress);
    if (row >= 0)
        FillRow(row, newAddress);
}
