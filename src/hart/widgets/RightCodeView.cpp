#include "hart/widgets/RightCodeView.h"

#include "hart/LinkRelay.h"
#include "platform/MessageBox.h"

#include <QHeaderView>
#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr int kImageRole = Qt::UserRole;
constexpr int kConfigChangedRow = 1;

struct RowText {
    const char* commError;
    int commBit; // bit of the first status byte, 0: none
    const char* deviceStatus;
    int statusBit;
};

constexpr RowText kRows[CRightCodeView::kRowCount] = {
    {"No Communication Error", 0, "Field Device Malfunction", 0x80},
    {"Vertical Parity Error", 0x40, "Configuration Changed", 0x40},
    {"Overrun Error", 0x20, "Cold Start", 0x20},
    {"Framing Error", 0x10, "More Status Available", 0x10},
    {"Longitudinal Parity Error", 0x08, "Primary Variable Analog Output Fixed", 0x08},
    {"Reserved", 0x04, "Primary Variable Analog Output Saturated", 0x04},
    {"Buffer Overflow", 0x02, "Non-Primary Variable Out of Limits", 0x02},
    {"Undefined", 0x01, "Primary Variable Out of Limits", 0x01},
};

// A lamp: lit red for a set bit, grey for a clear one.
QIcon DrawLamp(bool lit) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(12.0, 11.0), 17.0);
    glow.setColorAt(0.0, lit ? QColor(255, 190, 180) : QColor(245, 245, 245));
    glow.setColorAt(1.0, lit ? QColor(200, 20, 10) : QColor(150, 155, 160));
    p.setPen(QPen(QColor(70, 70, 70), 1.5));
    p.setBrush(glow);
    p.drawEllipse(QRectF(4.5, 4.5, 23.0, 23.0));
    return QIcon(pixmap);
}

} // namespace

CRightCodeView::CRightCodeView(CLinkRelay& relay, QWidget* parent)
    : QTreeWidget(parent), m_relay(relay.Handle()), m_images{DrawLamp(true), DrawLamp(false)} {
    setObjectName(QStringLiteral("RightCodeView"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Communication Error"), QStringLiteral("Field Device Status")});
    header()->resizeSection(0, 200);
    header()->resizeSection(1, 290);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setIconSize(QSize(32, 32));
    for (const RowText& r : kRows) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromLatin1(r.commError));
        item->setText(1, QString::fromLatin1(r.deviceStatus));
    }
    for (int row = 0; row < kRowCount; ++row)
        for (int column = 0; column < 2; ++column)
            SetImage(row, column, kClearImage);
}

CRightCodeView::~CRightCodeView() {
    if (CLinkRelay* relay = Relay(); relay && relay->CodeView() == Handle())
        relay->SetCodeView({});
}

CLinkRelay* CRightCodeView::Relay() const { return dynamic_cast<CLinkRelay*>(m_relay.Target()); }

void CRightCodeView::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    if (m_bRegistered)
        return;
    m_bRegistered = true;
    if (CLinkRelay* relay = Relay())
        relay->SetCodeView(Handle());
}

int CRightCodeView::ImageOf(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(column, kImageRole).toInt() : -1;
}

void CRightCodeView::SetImage(int row, int column, Image image) {
    QTreeWidgetItem* item = topLevelItem(row);
    item->setIcon(column, m_images[image]);
    item->setData(column, kImageRole, static_cast<int>(image));
}

void CRightCodeView::ShowStatus(int responseCode, int deviceStatus) {
    if (responseCode & 0x80) {
        SetImage(0, 0, kClearImage);
        for (int row = 1; row < kRowCount; ++row)
            SetImage(row, 0, (responseCode & kRows[row].commBit) ? kSetImage : kClearImage);
        return;
    }
    for (int row = 0; row < kRowCount; ++row) {
        SetImage(row, 0, kClearImage);
        SetImage(row, 1, (deviceStatus & kRows[row].statusBit) ? kSetImage : kClearImage);
    }
    m_bConfigChanged = (deviceStatus & 0x40) != 0;
}

void CRightCodeView::ResetStatus() {
    for (int row = 0; row < kRowCount; ++row) {
        SetImage(row, 0, kClearImage);
        if (row != kConfigChangedRow)
            SetImage(row, 1, kClearImage);
    }
    CLinkRelay* relay = Relay();
    if (!m_bConfigChanged || !relay || relay->Comm().GetMasterType() != 0)
        return;
    relay->SetReceiver(Handle());
    CHartComm& comm = relay->Comm();
    comm.DeleteRequestItems(); // command 38 carries no data, whatever a failed write left behind
    if (!comm.Request(38, 0))
        ReportRequestFailure(comm, 38);
}

vmc::LRESULT CRightCodeView::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    switch (msg) {
    case vmc::WM_HART_STATUSCODE:
        ShowStatus(static_cast<int>(wParam), static_cast<int>(lParam));
        break;
    case vmc::WM_HART_STATUSRESET:
        ResetStatus();
        break;
    case vmc::WM_HART_RECEIVE:
        if (wParam == 38)
            SetImage(kConfigChangedRow, 1, kClearImage);
        break;
    case vmc::WM_HART_FAIL:
        ShowLinkFailure(static_cast<int>(wParam));
        break;
    default:
        break;
    }
    return 0;
}
