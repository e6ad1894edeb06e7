#pragma once
// Menus, tool bar and accelerators as data: the frame builds its widgets from these tables, so the
// two program variants differ only in the menu resource they name.
#include <QKeySequence>
#include <QString>
#include <vector>

namespace res {

struct MenuItem {
    QString caption;              // empty with id 0: a separator
    int id = 0;                   // command; 0 for a pop-up
    std::vector<MenuItem> items;  // a pop-up's items

    bool IsSeparator() const { return id == 0 && caption.isEmpty(); }
    bool IsPopup() const { return id == 0 && !caption.isEmpty(); }
};

// The top-level items of a menu bar (IDR_MENU_ADMIN, IDR_MENU_USER) or the single pop-up of the
// tree's context menu (IDR_MENU_TREE_POPUP). Empty for an unknown id.
const std::vector<MenuItem>& Menu(int resourceId);

struct Accelerator {
    QKeySequence key;
    int id;
};
// Tables 128 and 139 are identical.
const std::vector<Accelerator>& Accelerators();

// Tool bar 129 from left to right; 0 is a separator.
const std::vector<int>& ToolBarButtons();
// Icon of a tool bar command (a resource path), empty when it has none.
QString CommandIconPath(int commandId);

// Top-level positions the frame enables and disables by link state.
inline constexpr int kTransmitterMenuPosition = 2;
inline constexpr int kDataTrendMenuPosition = 3;

} // namespace res
