#include "shell/DeviceTree.h"

#include "shell/DeviceListView.h"
#include "shell/PageHost.h"

#include <QContextMenuEvent>
#include <QIcon>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr int kAllRows = 255;

QIcon RootIcon() { return QIcon(QStringLiteral(":/icons/tree_root.svg")); }

// Image 1, and image 2 while the row is selected.
QIcon DeviceIcon() {
    QIcon icon(QStringLiteral(":/icons/tree_device.svg"));
    icon.addFile(QStringLiteral(":/icons/tree_device_selected.svg"), QSize(32, 17), QIcon::Selected);
    return icon;
}

} // namespace

CLeftView::CLeftView(IPageHost& host, CVMC70View& list, QWidget* parent)
    : QTreeWidget(parent), m_host(host), m_list(list) {
    setObjectName(QStringLiteral("deviceTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(32, 17));
    setRootIsDecorated(true);
    setDragEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    ResetRoot(false);
}

CLeftView::~CLeftView() = default;

int CLeftView::AddressOf(const QTreeWidgetItem* item) {
    return item && item->parent() ? item->data(0, kAddressRole).toInt() : 0;
}

bool CLeftView::IsMarked(const QTreeWidgetItem* item) { return item && item->checkState(0) == Qt::Checked; }

QTreeWidgetItem* CLeftView::RowOf(int address) const {
    QTreeWidgetItem* root = Root();
    for (int i = 0; root && i < root->childCount(); ++i)
        if (root->child(i)->data(0, kAddressRole).toInt() == address)
            return root->child(i);
    return nullptr;
}

QRect CLeftView::MarkRect(const QTreeWidgetItem* item) const {
    const QModelIndex index = indexFromItem(item);
    if (!index.isValid())
        return {};
    QStyleOptionViewItem opt;
    opt.initFrom(viewport());
    opt.rect = visualRect(index);
    opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration |
                   QStyleOptionViewItem::HasDisplay;
    opt.decorationSize = iconSize();
    opt.checkState = item->checkState(0);
    opt.text = item->text(0);
    opt.index = index;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, viewport());
}

QString CLeftView::RowText(int address) const {
    CHartComm& comm = m_host.Comm();
    const QString name = m_host.DetectMode() == 2 ? comm.GetUniqueIdText(address) : comm.GetTag(address);
    return QStringLiteral("%1: %2").arg(address, 2, 10, QLatin1Char('0')).arg(name).left(49);
}

void CLeftView::SetMark(QTreeWidgetItem* item, bool marked) {
    if (item)
        item->setCheckState(0, marked ? Qt::Checked : Qt::Unchecked);
}

void CLeftView::MakeCurrent(int address) {
    m_host.Comm().SetPollingAddress(address);
    m_host.UpdatePollingPane();
}

void CLeftView::ResetRoot(bool online) {
    const QSignalBlocker block(this);
    clear();
    auto* root = new QTreeWidgetItem(this, {online ? QStringLiteral("Online") : QStringLiteral("Offline")});
    root->setIcon(0, RootIcon());
    root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    root->setCheckState(0, Qt::Unchecked);
}

void CLeftView::ClearDevices() {
    const QSignalBlocker block(this);
    if (QTreeWidgetItem* root = Root())
        qDeleteAll(root->takeChildren());
    m_list.ClearDevices();
}

int CLeftView::AddDevice(int address) {
    QTreeWidgetItem* root = Root();
    if (!root)
        return 0;
    auto* row = new QTreeWidgetItem({RowText(address)});
    row->setIcon(0, DeviceIcon());
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    row->setCheckState(0, Qt::Unchecked);
    row->setData(0, kAddressRole, address);
    root->addChild(row);
    m_list.AddDevice(address);
    root->setExpanded(true);
    root->sortChildren(0, Qt::AscendingOrder);
    return 1;
}

void CLeftView::FlipMark(QTreeWidgetItem* item) {
    if (!item)
        return;
    const bool marked = !IsMarked(item);
    SetMark(item, marked);
    CAddressList& selected = m_host.SelectedDevices();
    if (!item->parent()) {
        if (!marked)
            selected.RemoveAll();
        for (int i = 0; i < item->childCount(); ++i) {
            SetMark(item->child(i), marked);
            if (marked)
                selected.AddSorted(AddressOf(item->child(i)));
        }
        item->setExpanded(true);
        return;
    }
    const int address = AddressOf(item);
    if (marked) {
        selected.AddSorted(address);
        MakeCurrent(address);
        return;
    }
    SetMark(Root(), false);
    selected.RemoveValue(address);
    if (m_host.CurrentDevice() == address) {
        const int first = selected.GetAt(0);
        if (first >= 0 && first <= 15)
            MakeCurrent(first);
    }
}

void CLeftView::CheckDevice(int address, bool mark) {
    QTreeWidgetItem* root = Root();
    CAddressList& selected = m_host.SelectedDevices();
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* row = root->child(i);
        const int a = AddressOf(row);
        if (address != kAllRows && a != address)
            continue;
        SetMark(row, mark);
        if (mark) {
            MakeCurrent(a);
            selected.AddSorted(a);
            if (address == kAllRows)
                setCurrentItem(row);
        } else {
            selected.RemoveValue(a);
        }
        if (address != kAllRows)
            return;
    }
}

void CLeftView::UncheckDevice(int address) {
    if (address < 0 || address > 15)
        return;
    SetMark(RowOf(address), false);
    CAddressList& selected = m_host.SelectedDevices();
    selected.RemoveValue(address);
    if (m_host.CurrentDevice() == address) {
        const int first = selected.GetAt(0);
        if (first >= 0 && first <= 15)
            MakeCurrent(first);
    }
}

void CLeftView::ChangeAddress(int oldAddress, int newAddress) {
    QTreeWidgetItem* row = RowOf(oldAddress);
    if (!row)
        return;
    row->setData(0, kAddressRole, newAddress);
    row->setText(0, RowText(newAddress));
    m_list.ChangeAddress(oldAddress, newAddress);
    m_host.SelectedDevices().RemoveValue(oldAddress);
    m_host.SelectedDevices().AddSorted(newAddress);
}

void CLeftView::RefreshNames() {
    QTreeWidgetItem* root = Root();
    for (int i = 0; root && i < root->childCount(); ++i)
        root->child(i)->setText(0, RowText(AddressOf(root->child(i))));
}

void CLeftView::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> rows = selectedItems();
    if (rows.isEmpty()) {
        MakeCurrent(-1);
        return;
    }
    const int address = AddressOf(rows.front());
    if (m_host.SelectedDevices().Contains(address))
        MakeCurrent(address);
}

void CLeftView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        QTreeWidgetItem* item = itemAt(e->position().toPoint());
        if (item && MarkRect(item).contains(e->position().toPoint())) {
            FlipMark(item);
            e->accept();
            return;
        }
    }
    QTreeWidget::mousePressEvent(e);
}

void CLeftView::mouseDoubleClickEvent(QMouseEvent* e) {
    QTreeWidgetItem* item = itemAt(e->position().toPoint());
    if (item && MarkRect(item).contains(e->position().toPoint())) {
        e->accept(); // a quick second click on a mark is not a request to fold the tree
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(e);
}

void CLeftView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
        const QList<QTreeWidgetItem*> rows = selectedItems();
        if (!rows.isEmpty())
            FlipMark(rows.front());
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* e) {
    QTreeWidgetItem* item = itemAt(e->pos());
    if (!item || !item->parent() || item->text(0).isEmpty())
        return;
    const int address = AddressOf(item);
    setCurrentItem(item);
    SetMark(item, true);
    MakeCurrent(address);
    m_host.SelectedDevices().AddSorted(address);
    if (m_popup)
        m_popup->popup(e->globalPos());
}

vmc::LRESULT CLeftView::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    const int w = static_cast<int>(wParam);
    const int l = static_cast<int>(lParam);
    switch (msg) {
    case vmc::WM_TREE_DEVICE:
        if (w == 1) {
            ClearDevices();
            return 1;
        }
        return AddDevice(l);
    case vmc::WM_TREE_CHECK: CheckDevice(w, l == 1); return 1;
    case vmc::WM_TREE_RENAME:
        if (w == -1 || l == -1)
            RefreshNames();
        else
            ChangeAddress(w, l);
        return 1;
    case vmc::WM_TREE_UNCHECK: UncheckDevice(w); return 1;
    case vmc::WM_HART_CONNECT:
        if (w == vmc::HART_CONNECTED || w == vmc::HART_DISCONNECTED)
            ResetRoot(w == vmc::HART_CONNECTED);
        return 1;
    default: return 0;
    }
}
