#include "reduce/nearest_entry.h"

#include <algorithm>
#include <numeric>

namespace mevra {

nearest_entry_finder::nearest_entry_finder(const std::vector<wxyz>& palette, int count)
    : palette_(palette), count_(std::clamp(count, 0, static_cast<int>(palette.size()))) {
    sorted_index_.resize(static_cast<size_t>(count_));
    std::iota(sorted_index_.begin(), sorted_index_.end(), 0);
    std::stable_sort(sorted_index_.begin(), sorted_index_.end(), [&](int32_t a, int32_t b) {
        return palette_[static_cast<size_t>(a)].y < palette_[static_cast<size_t>(b)].y;
    });
    sorted_y_.resize(static_cast<size_t>(count_));
    for (int k = 0; k < count_; ++k)
        sorted_y_[static_cast<size_t>(k)] =
            palette_[static_cast<size_t>(sorted_index_[static_cast<size_t>(k)])].y;
}

int nearest_entry_finder::find_plain(const wxyz& v, float start) const {
    float best = start;
    int found = 0;
    for (int e = 0; e < count_; ++e) {
        const float d = palette_distance(v, palette_[static_cast<size_t>(e)]);
        if (d < best) {
            best = d;
            found = e;
        }
    }
    return found;
}

int nearest_entry_finder::find(const wxyz& v, float start, int hint) const {
    float best = start;
    int found = -1;
    // Ordering by (distance, index) reproduces the index-order scan exactly.
    auto consider = [&](int e) {
        const float d = palette_distance(v, palette_[static_cast<size_t>(e)]);
        if (d < best || (d == best && found >= 0 && e < found)) {
            best = d;
            found = e;
        }
    };
    if (hint >= 0 && hint < count_) consider(hint);

    const float* ys = sorted_y_.data();
    int up = static_cast<int>(std::lower_bound(ys, ys + count_, v.y) - ys);
    int down = up - 1;
    bool up_open = up < count_, down_open = down >= 0;
    while (up_open || down_open) {
        float up_term = 0.0f, down_term = 0.0f;
        if (up_open) {
            const float dy = v.y - ys[up];
            up_term = dy * dy;
            if (up_term > best) up_open = false;
        }
        if (down_open) {
            const float dy = v.y - ys[down];
            down_term = dy * dy;
            if (down_term > best) down_open = false;
        }
        // Visit the nearer side first so the bound tightens as fast as possible.
        if (up_open && (!down_open || up_term <= down_term)) {
            consider(sorted_index_[static_cast<size_t>(up)]);
            up_open = ++up < count_;
        } else if (down_open) {
            consider(sorted_index_[static_cast<size_t>(down)]);
            down_open = --down >= 0;
        }
    }
    return found < 0 ? 0 : found;
}

}  // namespace mevra
