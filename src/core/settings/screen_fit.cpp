#include "settings/screen_fit.h"

#include <algorithm>
#include <cstdint>

namespace mevra {
namespace {

constexpr int64_t grip = 32;

// 64-bit throughout: stored coordinates plus sizes may exceed int.
bool grabbable_on(const screen_rect& w, const screen_rect& s) {
    const int64_t strip = std::min<int64_t>(w.height, grip);
    const int64_t need = std::min<int64_t>(w.width, grip);
    if (strip <= 0 || need <= 0) return false;
    const int64_t top = w.top, bottom = int64_t{w.top} + strip;
    if (top < s.top || bottom > int64_t{s.top} + s.height) return false;
    const int64_t left = std::max<int64_t>(w.left, s.left);
    const int64_t right = std::min<int64_t>(int64_t{w.left} + w.width, int64_t{s.left} + s.width);
    return right - left >= need;
}

int fit(int pos, int size, int area_pos, int area_size) {
    const int64_t last = int64_t{area_pos} + area_size - size;
    if (last < area_pos) return area_pos;
    return static_cast<int>(std::clamp<int64_t>(pos, area_pos, last));
}

}  // namespace

screen_rect keep_on_screen(const screen_rect& window, std::span<const screen_rect> screens) {
    if (screens.empty()) return window;
    for (const screen_rect& s : screens)
        if (grabbable_on(window, s)) return window;
    const screen_rect& primary = screens.front();
    screen_rect moved = window;
    moved.left = fit(window.left, window.width, primary.left, primary.width);
    moved.top = fit(window.top, window.height, primary.top, primary.height);
    return moved;
}

}  // namespace mevra
