// The size helpers and trimming: the old pixels placed on a new canvas, cut
// where they fall outside it and padded where it is larger.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image_info.h"
#include "image/trim_size_check.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

// Copies the old picture onto a canvas of new_w × new_h filled with `outside`,
// its top-left pixel landing at (left, top).
template <class T>
std::vector<T> place_on_canvas(const std::vector<T>& src, int w, int h, int64_t left, int64_t top,
                               int new_w, int new_h, T outside) {
    std::vector<T> out(static_cast<size_t>(new_w) * static_cast<size_t>(new_h), outside);
    // Columns of the new canvas that show old pixels: x - left in 0 .. w-1.
    const int64_t x0 = std::max<int64_t>(0, left);
    const int64_t x1 = std::min<int64_t>(new_w, left + w);
    if (x0 >= x1) return out;
    for (int64_t y = std::max<int64_t>(0, top); y < std::min<int64_t>(new_h, top + h); ++y) {
        const T* row = src.data() + static_cast<size_t>(y - top) * static_cast<size_t>(w);
        std::copy(row + (x0 - left), row + (x1 - left),
                  out.begin() + static_cast<std::ptrdiff_t>(y * new_w + x0));
    }
    return out;
}

}  // namespace

int image_info::trim_size(int size, int percent) {
    const int64_t t = int64_t{size} * percent;
    const int64_t q = t / 100;
    // The single-precision test keeps the rounding of the original arithmetic:
    // for ordinary sizes it is "round up".
    const bool up = static_cast<float>(t) * 0.01f > static_cast<float>(q);
    return saturate_to_int(up ? q + 1 : q);
}

int image_info::ruijo_size(int n) {
    int64_t p = 1;
    while (p < n)
        p <<= 1;
    return saturate_to_int(p);
}

int image_info::image_triming(int left, int top, int new_width, int new_height) {
    if (flag == 0 || (argb_buff.empty() && index_buff.empty())) return -1;
    if (!accept_new_size(new_width, new_height)) return -1;
    if (!argb_buff.empty()) {
        argb_buff = place_on_canvas(argb_buff, width, height, left, top, new_width, new_height,
                                    settings().back_color);
    } else {
        index_buff = place_on_canvas(index_buff, width, height, left, top, new_width, new_height,
                                     int32_t{0});
    }
    width = new_width;
    height = new_height;
    set_color_cnt();
    return 0;
}

}  // namespace mevra
