#pragma once
// Between the settings file's window_layout and real windows: the main window
// calls these when it starts (apply) and at a confirmed exit (collect).
//
// Positions and sizes are those of QWidget::geometry(): the window's area
// without the window manager's frame, relative to the screen for top-level
// windows and to the parent (the MDI area) for sub-windows. Applying never
// resizes a window whose record has no size, and a top-level window that
// would land off every screen is moved onto the primary one.
#include <QSize>
#include <optional>
#include <vector>

#include "settings/ini_file.h"
#include "settings/screen_fit.h"

class QWidget;

namespace mevra::gui {

// The available area of every screen, the primary one first.
std::vector<screen_rect> screen_areas();

// Moves the window to the stored left and top, resizes it when the record has
// a width and height, and shows or hides it when the record says which. Fields
// without a value keep the window's own.
void apply_placement(QWidget* window, const placement& stored);

// The window's left and top, its width and height when `with_size`, and its
// visibility when `with_visibility`.
placement collect_placement(const QWidget* window, bool with_size, bool with_visibility);

// A sub-window lying wholly outside the first `reach` pixels of its MDI
// area (a place saved on a larger screen, or a damaged settings file) is moved
// back into the area as it is now, so that its title bar can be grabbed. Any
// other sub-window stays: the area scrolls to it.
void keep_reachable(QWidget* subwindow, QSize reach);

// The main window: normal bounds first, then the state (0 normal, 1
// minimised, 2 maximised), so a maximised window keeps its restore bounds.
// Only records the state; showing the window stays with the caller.
void apply_main_window(QWidget* main, const placement& bounds, std::optional<int> state);

// The main window's bounds (its restore bounds when maximised or minimised)
// and its state.
void collect_main_window(const QWidget* main, placement& bounds, std::optional<int>& state);

// The five windows the settings file places; any may be null (not built yet).
struct layout_windows {
    QWidget* main = nullptr;
    QWidget* palette = nullptr;  // the palette's MDI sub-window
    QWidget* listview = nullptr;
    QWidget* avi_player = nullptr;  // the AVI player's MDI sub-window
    QWidget* option_dialog = nullptr;
};

// Places every window as the layout says (the list-view folders stay with the
// caller, which owns the dialog that shows them).
void apply_layout(const layout_windows& windows, const window_layout& layout);

// Collects the layout of every window (without the list-view folders).
window_layout collect_layout(const layout_windows& windows);

}  // namespace mevra::gui
