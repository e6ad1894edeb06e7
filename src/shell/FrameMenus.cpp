#include "shell/FrameMenus.h"

#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/Strings.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

const std::map<int, QKeySequence>& AcceleratorKeys() {
    static const std::map<int, QKeySequence> keys = [] {
        std::map<int, QKeySequence> m;
        for (const auto& a : res::Accelerators())
            m[a.id] = a.key;
        return m;
    }();
    return keys;
}

} // namespace

CFrameMenus::CFrameMenus(QMainWindow& frame, int menuResource, Handler handler)
    : m_handler(std::move(handler)) {
    QMenuBar* bar = frame.menuBar();
    for (const res::MenuItem& top : res::Menu(menuResource)) {
        if (top.IsPopup()) {
            QMenu* menu = bar->addMenu(top.caption);
            AddItems(menu, top.items);
            m_topLevel.push_back(menu->menuAction());
        } else {
            QAction* a = Make(top.id, top.caption, bar);
            a->setIcon(QIcon()); // a menu bar shows an icon instead of the caption
            bar->addAction(a);
            m_menuActions[top.id] = a;
            m_topLevel.push_back(a);
        }
    }

    // Accelerators act on the window whatever the state of the menu that lists the command.
    for (const res::Accelerator& acc : res::Accelerators()) {
        QAction* a = Make(acc.id, QString(), &frame);
        a->setShortcut(acc.key);
        a->setShortcutContext(Qt::WindowShortcut);
        frame.addAction(a);
    }

    m_toolBar = frame.addToolBar(QStringLiteral("Tool Bar"));
    m_toolBar->setObjectName(QString::number(res::IDR_TOOLBAR));
    m_toolBar->setIconSize(QSize(40, 40));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : res::ToolBarButtons()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        // Buttons of their own: a button stays usable while the menu that lists its command is
        // greyed.
        m_toolBar->addAction(Make(id, res::CommandTip(id), m_toolBar));
    }

    const auto& popup = res::Menu(res::IDR_MENU_TREE_POPUP);
    m_treePopup = new QMenu(&frame);
    m_treePopup->setObjectName(QString::number(res::IDR_MENU_TREE_POPUP));
    if (!popup.empty())
        AddItems(m_treePopup, popup.front().items);
}

CFrameMenus::~CFrameMenus() = default;

QAction* CFrameMenus::Make(int id, const QString& caption, QObject* owner) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::number(id));
    a->setData(id);
    const QString icon = res::CommandIconPath(id);
    if (!icon.isEmpty())
        a->setIcon(QIcon(icon));
    a->setStatusTip(res::CommandPrompt(id));
    const QString tip = res::CommandTip(id);
    a->setToolTip(tip.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : tip);
    QObject::connect(a, &QAction::triggered, owner, [this, id] {
        if (m_handler)
            m_handler(id);
    });
    m_all.emplace(id, a);
    return a;
}

void CFrameMenus::AddItems(QMenu* menu, const std::vector<res::MenuItem>& items) {
    for (const res::MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            AddItems(menu->addMenu(item.caption), item.items);
        } else {
            QAction* a = Make(item.id, item.caption, menu);
            if (auto key = AcceleratorKeys().find(item.id); key != AcceleratorKeys().end())
                a->setText(item.caption + QLatin1Char('\t') + key->second.toString(QKeySequence::NativeText));
            menu->addAction(a);
            if (menu != m_treePopup && !m_menuActions.count(item.id))
                m_menuActions[item.id] = a;
        }
    }
}

std::vector<QAction*> CFrameMenus::Actions(int id) const {
    std::vector<QAction*> out;
    auto [from, to] = m_all.equal_range(id);
    for (auto it = from; it != to; ++it)
        out.push_back(it->second);
    return out;
}

QAction* CFrameMenus::MenuAction(int id) const {
    auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

QAction* CFrameMenus::TopLevel(int position) const {
    return position >= 0 && position < static_cast<int>(m_topLevel.size())
               ? m_topLevel[static_cast<std::size_t>(position)]
               : nullptr;
}

void CFrameMenus::SetEnabled(int id, bool on) {
    for (QAction* a : Actions(id))
        a->setEnabled(on);
}

void CFrameMenus::SetChecked(int id, bool on) {
    for (QAction* a : Actions(id)) {
        a->setCheckable(true);
        a->setChecked(on);
    }
}

void CFrameMenus::SetCaption(int id, const QString& caption) {
    QAction* a = MenuAction(id);
    if (!a)
        return;
    const int tab = a->text().indexOf(QLatin1Char('\t'));
    a->setText(tab < 0 ? caption : caption + a->text().mid(tab));
}

void CFrameMenus::SetTopLevelEnabled(int position, bool on) {
    if (QAction* a = TopLevel(position))
        a->setEnabled(on);
}

std::vector<int> CFrameMenus::CommandIds() const {
    std::vector<int> ids;
    for (const auto& [id, a] : m_all)
        if (ids.empty() || ids.back() != id)
            ids.push_back(id);
    return ids;
}
