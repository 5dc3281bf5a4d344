#include "app/ini_layout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace mevra::gui {
namespace {

QRect placed_rect(const QWidget* window, const placement& stored) {
    const QRect now = window->geometry();
    return QRect(stored.left.value_or(now.x()), stored.top.value_or(now.y()),
                 stored.width.value_or(now.width()), stored.height.value_or(now.height()));
}

// Top-level windows only: a sub-window lives in the MDI area, which scrolls.
QRect on_screen(const QWidget* window, const QRect& rect) {
    if (!window->isWindow()) return rect;
    const std::vector<screen_rect> screens = screen_areas();
    const screen_rect kept =
        keep_on_screen({rect.x(), rect.y(), rect.width(), rect.height()}, screens);
    return QRect(kept.left, kept.top, kept.width, kept.height);
}

}  // namespace

std::vector<screen_rect> screen_areas() {
    std::vector<screen_rect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&areas](const QScreen* screen) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x(), r.y(), r.width(), r.height()});
    };
    if (primary) add(primary);
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) add(screen);
    return areas;
}

void apply_placement(QWidget* window, const placement& stored) {
    if (stored.left || stored.top || stored.width || stored.height)
        window->setGeometry(on_screen(window, placed_rect(window, stored)));
    if (stored.visible) window->setVisible(*stored.visible);
}

void keep_reachable(QWidget* subwindow, QSize reach) {
    const QWidget* area = subwindow->parentWidget();
    if (!area) return;
    const QRect r = subwindow->geometry();
    if (r.intersects(QRect(QPoint(0, 0), reach.expandedTo(area->size())))) return;
    const screen_rect inside{0, 0, area->width(), area->height()};
    const screen_rect kept = keep_on_screen({r.x(), r.y(), r.width(), r.height()}, {&inside, 1});
    subwindow->move(kept.left, kept.top);
}

placement collect_placement(const QWidget* window, bool with_size, bool with_visibility) {
    const QRect r = window->geometry();
    placement p;
    p.left = r.x();
    p.top = r.y();
    if (with_size) {
        p.width = r.width();
        p.height = r.height();
    }
    if (with_visibility) p.visible = window->isVisible();
    return p;
}

void apply_main_window(QWidget* main, const placement& bounds, std::optional<int> state) {
    placement normal = bounds;
    normal.visible.reset();  // the caller shows the main window when it is ready
    apply_placement(main, normal);
    if (!state) return;
    Qt::WindowStates states = main->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (*state == state_minimised) states |= Qt::WindowMinimized;
    if (*state == state_maximised) states |= Qt::WindowMaximized;
    main->setWindowState(states);
}

void collect_main_window(const QWidget* main, placement& bounds, std::optional<int>& state) {
    const bool minimised = main->isMinimized(), maximised = main->isMaximized();
    state = minimised ? state_minimised : maximised ? state_maximised : state_normal;
    // Maximised or minimised, the window's restore bounds are what comes back.
    const QRect r = (minimised || maximised) ? main->normalGeometry() : main->geometry();
    bounds = placement{};
    if (r.isValid()) {
        bounds.left = r.x();
        bounds.top = r.y();
        bounds.width = r.width();
        bounds.height = r.height();
    }
}

void apply_layout(const layout_windows& windows, const window_layout& layout) {
    if (windows.main) apply_main_window(windows.main, layout.main_window, layout.main_state);
    if (windows.palette) apply_placement(windows.palette, layout.palette);
    if (windows.listview) apply_placement(windows.listview, layout.listview);
    if (windows.avi_player) apply_placement(windows.avi_player, layout.avi_player);
    if (windows.option_dialog) apply_placement(windows.option_dialog, layout.option_dialog);
}

window_layout collect_layout(const layout_windows& windows) {
    window_layout layout;
    if (windows.main) collect_main_window(windows.main, layout.main_window, layout.main_state);
    if (windows.palette) layout.palette = collect_placement(windows.palette, false, true);
    if (windows.listview) layout.listview = collect_placement(windows.listview, false, true);
    if (windows.avi_player) layout.avi_player = collect_placement(windows.avi_player, true, true);
    if (windows.option_dialog)
        layout.option_dialog = collect_placement(windows.option_dialog, false, false);
    return layout;
}

}  // namespace mevra::gui
