#pragma once
// Keeps a restored window reachable: a position stored on a screen that is no
// longer attached (or a damaged settings file) must not open a window where
// nobody can see or grab it.
#include <span>

namespace mevra {

struct screen_rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const screen_rect&) const = default;
};

// `window` is the window's frame; `screens` lists the available screen areas,
// the primary one first. A window whose top strip (its title bar, 32 pixels
// or the whole window when lower) lies on one screen with at least 32 pixels
// (or its whole width when narrower) is left where it is. Any other window is
// moved onto the primary screen, as near to its old place as fits; a window
// larger than that screen goes to its top left corner. The size is never
// changed. Without screens the window stays as it is.
screen_rect keep_on_screen(const screen_rect& window, std::span<const screen_rect> screens);

}  // namespace mevra
