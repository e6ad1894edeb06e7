#pragma once
// The frame's menu bar, tool bar, accelerators and the tree's pop-up menu, built from the menu
// resources. Every item routes its command identifier to one handler; the frame decides which
// commands are available, checked or captioned how.
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
namespace res {
struct MenuItem;
}

class CFrameMenus {
public:
    using Handler = std::function<void(int id)>;

    // menuResource: IDR_MENU_USER or IDR_MENU_ADMIN.
    CFrameMenus(QMainWindow& frame, int menuResource, Handler handler);
    ~CFrameMenus();

    QToolBar* ToolBar() const { return m_toolBar; }
    QMenu* TreePopup() const { return m_treePopup; }

    // Every action that issues a command (menu item, tool bar button, accelerator, pop-up item).
    std::vector<QAction*> Actions(int id) const;
    // The menu item of a command in this variant's menu bar; null when the menu has none.
    QAction* MenuAction(int id) const;
    // The top-level item at a position of the menu bar.
    QAction* TopLevel(int position) const;

    void SetEnabled(int id, bool on);
    void SetChecked(int id, bool on);
    void SetCaption(int id, const QString& caption);
    void SetTopLevelEnabled(int position, bool on);
    std::vector<int> CommandIds() const;

private:
    QAction* Make(int id, const QString& caption, QObject* owner);
    void AddItems(QMenu* menu, const std::vector<res::MenuItem>& items);

    Handler m_handler;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_treePopup = nullptr;
    std::vector<QAction*> m_topLevel;
    std::map<int, QAction*> m_menuActions;
    std::multimap<int, QAction*> m_all;
};
