#pragma once

#include "ui/Artwork.h"

#include <QList>
#include <QString>

namespace app {

/// One item of a main-window menu: a command, or a separator line.
struct MenuItemDef {
    QString component; // the action's objectName and command key; empty for a separator
    QString caption;
    bool visible = true;
    bool enabled = true;
};

struct MenuDef {
    QString caption;
    QList<MenuItemDef> items;
};

/// One tool-bar button: its picture above its caption, running a menu item's command.
struct ToolButtonDef {
    QString component;
    QString caption;
    ui::artwork::ToolPicture picture;
    QString command;
    bool dividerBefore = false;
};

/// The main window's menus, items in order.
const QList<MenuDef>& mainMenus();
/// The tool-bar buttons, left to right.
const QList<ToolButtonDef>& toolButtons();

} // namespace app
