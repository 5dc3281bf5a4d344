#include "common/menu_shortcuts.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace mevra::gui {
namespace {

void collect(const QList<QAction*>& actions, QList<QKeySequence>& keys) {
    for (const QAction* action : actions) {
        keys += action->shortcuts();
        if (action->menu()) collect(action->menu()->actions(), keys);
    }
}

}  // namespace

QList<QKeySequence> menu_shortcuts(const QMenuBar* bar) {
    QList<QKeySequence> keys;
    collect(bar->actions(), keys);
    return keys;
}

void give_way_to_menu_shortcuts(QMdiSubWindow* window, const QList<QKeySequence>& taken) {
    if (!window || !window->systemMenu()) return;
    for (QAction* action : window->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        const auto clashes = [&taken](const QKeySequence& key) { return taken.contains(key); };
        if (keys.removeIf(clashes) > 0) action->setShortcuts(keys);
    }
}

}  // namespace mevra::gui
