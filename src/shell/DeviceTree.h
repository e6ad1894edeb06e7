#pragma once
// The device tree (left, top): a root row "Online"/"Offline" and one row per found device, each
// with a mark. Marks keep the frame's selection set in step; the last device marked or clicked
// becomes the current device (the link's polling address). Messages: WM_TREE_DEVICE,
// WM_TREE_CHECK, WM_TREE_RENAME, WM_TREE_UNCHECK and WM_HART_CONNECT.
#include "platform/MessageTarget.h"

#include <QTreeWidget>
#include <functional>

class IPageHost;
class CVMC70View;
class QMenu;

class CLeftView : public QTreeWidget, public vmc::MessageTarget {
public:
    CLeftView(IPageHost& host, CVMC70View& list, QWidget* parent = nullptr);
    ~CLeftView() override;

    // The pop-up menu of a device row (built by the frame from resource 138).
    void SetPopupMenu(QMenu* menu) { m_popup = menu; }

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

    // Operations behind the messages.
    void ClearDevices();
    int AddDevice(int address);
    void CheckDevice(int address, bool mark);
    void UncheckDevice(int address);
    void ChangeAddress(int oldAddress, int newAddress);
    void RefreshNames();
    void ResetRoot(bool online);

    QTreeWidgetItem* Root() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }
    QTreeWidgetItem* RowOf(int address) const;
    static bool IsMarked(const QTreeWidgetItem* item);
    // Where the mark of a row is drawn (clicks there flip it).
    QRect MarkRect(const QTreeWidgetItem* item) const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    QString RowText(int address) const;
    void SetMark(QTreeWidgetItem* item, bool marked);
    void FlipMark(QTreeWidgetItem* item);
    void MakeCurrent(int address);
    void OnSelectionChanged();
    static int AddressOf(const QTreeWidgetItem* item);

    IPageHost& m_host;
    CVMC70View& m_list;
    QMenu* m_popup = nullptr;
};
