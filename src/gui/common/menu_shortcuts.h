#pragma once
// Keeps the menu bar's shortcuts working inside MDI sub-windows. Qt gives
// every sub-window a system menu whose Close item takes the platform's close
// keys (Ctrl+W on X11, Ctrl+F4 elsewhere); with the menu bar's own Ctrl+W
// both match while a sub-window has the focus, Qt reports an ambiguous
// shortcut and runs neither.
#include <QKeySequence>
#include <QList>

class QMdiSubWindow;
class QMenuBar;

namespace mevra::gui {

// Every shortcut of the menus under `bar`, submenus included.
QList<QKeySequence> menu_shortcuts(const QMenuBar* bar);

// Takes the keys in `taken` off the items of the sub-window's system menu,
// which keep their other keys.
void give_way_to_menu_shortcuts(QMdiSubWindow* window, const QList<QKeySequence>& taken);

}  // namespace mevra::gui
