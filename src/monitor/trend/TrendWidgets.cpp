#include "monitor/trend/TrendWidgets.h"

#include "monitor/RepaintCoalescer.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <algorithm>
#include <cmath>

namespace trend {

ColourChooser StandardColourChooser() {
    return [](QColor initial, QWidget* parent) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };
}

QIcon LegendIcon(QColor colour) {
    QPixmap pm(21, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(2, 6, 17, 8), Qt::black);
    p.fillRect(QRect(3, 7, 15, 6), colour);
    return QIcon(pm);
}

QLineEdit* MakeEdit(int id, bool readOnly, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::number(id));
    e->setReadOnly(readOnly);
    if (readOnly)
        e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignRight);
    return e;
}

namespace {
constexpr int kAlignRole = Qt::UserRole + 1;
constexpr int kCellPadding = 14; // the cell's margins on both sides and the grid line
} // namespace

QTableWidget* MakeDeviceList(int id, std::initializer_list<ListColumn> columns, QWidget* parent) {
    auto* list = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    list->setObjectName(QString::number(id));
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->setWordWrap(false);
    list->setIconSize(QSize(21, 20));
    int c = 0;
    for (const ListColumn& col : columns) {
        auto* header = new QTableWidgetItem(QString::fromLatin1(col.caption));
        header->setTextAlignment(col.align);
        header->setData(kAlignRole, static_cast<int>(col.align));
        list->setHorizontalHeaderItem(c, header);
        list->setColumnWidth(c, col.width);
        ++c;
    }
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

void SetCellText(QTableWidget* list, int row, int column, const QString& text) {
    QTableWidgetItem* item = list->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        if (QTableWidgetItem* header = list->horizontalHeaderItem(column))
            item->setTextAlignment(Qt::Alignment(header->data(kAlignRole).toInt()));
        list->setItem(row, column, item);
    }
    if (item->text() == text)
        return;
    item->setText(text);
    // A value with a long unit name widens its column rather than ending in an ellipsis; columns
    // never narrow, so the list does not jitter while values change. The last one stretches anyway.
    if (column == list->columnCount() - 1)
        return;
    const int needed = list->fontMetrics().horizontalAdvance(text) + kCellPadding;
    if (needed > list->columnWidth(column))
        list->setColumnWidth(column, needed);
}

int RowOfAddress(const QTableWidget* list, int address) {
    for (int r = 0; r < list->rowCount(); ++r)
        if (const QTableWidgetItem* item = list->item(r, 0); item && item->data(Qt::UserRole).toInt() == address)
            return r;
    return -1;
}

int AddDeviceRow(QTableWidget* list, int address, int addressColumn) {
    const int row = list->rowCount();
    list->insertRow(row);
    for (int c = 0; c < list->columnCount(); ++c)
        SetCellText(list, row, c, QString());
    list->item(row, 0)->setData(Qt::UserRole, address);
    SetCellText(list, row, addressColumn, QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')));
    return row;
}

bool IsBusyCode(int responseCode) { return responseCode >= 32 && responseCode <= 34; }

} // namespace trend

CSpinButton::CSpinButton(int id, QLineEdit* buddy, QWidget* parent) : CSpinArrows(id, 16, parent), m_buddy(buddy) {}

void CSpinButton::SetRange(int lower, int upper) {
    m_nLower = std::min(lower, upper);
    m_nUpper = std::max(lower, upper);
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
}

void CSpinButton::Step(int delta) {
    bool ok = false;
    const double shown = m_buddy->text().trimmed().toDouble(&ok);
    const int from = ok && std::abs(shown) < 1.0e9 ? static_cast<int>(std::lround(shown)) : m_nPos;
    m_nPos = std::clamp(from + delta, m_nLower, m_nUpper);
    m_buddy->setText(QString::number(m_nPos));
    emit stepped();
}

CMeterView::CMeterView(int id, CAnalogMeter& meter, QWidget* parent)
    : QWidget(parent), m_meter(meter), m_repaint(new CRepaintCoalescer(this)) {
    setObjectName(QString::number(id));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(60, 45);
}

bool CMeterView::UpdateNeedle(double value) {
    if (!m_meter.UpdateNeedle(value))
        return false;
    m_repaint->Request();
    return true;
}

bool CMeterView::IsRepaintPending() const { return m_repaint->IsPending(); }

QRect CMeterView::MeterRect() const {
    // The dial's layout follows the frame's height (labels) and width (radius): a frame of these
    // proportions keeps the labels and the value text inside it however the page is sized.
    const int side = std::min(width(), height());
    return QRect((width() - side) / 2, (height() - side) / 2, side, side);
}

void CMeterView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QRect meter = MeterRect();
    const QRegion around = QRegion(rect()).subtracted(meter);
    for (const QRect& r : around)
        p.fillRect(r, palette().window());
    m_meter.Draw(p, meter);
}
