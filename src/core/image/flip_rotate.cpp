// Rotation by 90° and mirroring: a pure permutation of the pixel array. The
// colour table and its counts stay as they are.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image_info.h"

namespace mevra {
namespace {

// Rotations walk the destination in square tiles so that both the rows read and
// the rows written stay in cache; a plain row-by-row walk touches a new cache
// line for every pixel of a 12-megapixel picture.
constexpr int tile = 64;

enum rotate_mode { rotate_right = 0, rotate_left = 1, flip_vertical = 2, mirror = 3 };

template <class T>
void rotate_pixels(std::vector<T>& pixels, size_t W, size_t H, int mode) {
    std::vector<T> out(pixels.size());
    const T* src = pixels.data();
    T* dst = out.data();
    // Source (x, y) goes to row x, column H-1-y (right) or to row W-1-x,
    // column y (left) of the H-wide result.
    for (size_t y0 = 0; y0 < H; y0 += tile) {
        const size_t y1 = std::min(H, y0 + tile);
        for (size_t x0 = 0; x0 < W; x0 += tile) {
            const size_t x1 = std::min(W, x0 + tile);
            for (size_t y = y0; y < y1; ++y) {
                const T* row = src + y * W;
                if (mode == rotate_right) {
                    for (size_t x = x0; x < x1; ++x)
                        dst[x * H + (H - 1 - y)] = row[x];
                } else {
                    for (size_t x = x0; x < x1; ++x)
                        dst[(W - 1 - x) * H + y] = row[x];
                }
            }
        }
    }
    pixels = std::move(out);
}

// Flipping and mirroring only exchange pairs of pixels, so they work in place.
template <class T>
void permute_pixels(std::vector<T>& pixels, int w, int h, int mode) {
    const size_t W = static_cast<size_t>(w);
    const size_t H = static_cast<size_t>(h);
    T* p = pixels.data();
    switch (mode) {
        case rotate_right:
        case rotate_left:
            rotate_pixels(pixels, W, H, mode);
            break;
        case flip_vertical:
            for (size_t y = 0; y < H / 2; ++y)
                std::swap_ranges(p + y * W, p + (y + 1) * W, p + (H - 1 - y) * W);
            break;
        case mirror:
            for (size_t y = 0; y < H; ++y)
                std::reverse(p + y * W, p + (y + 1) * W);
            break;
        default:
            break;
    }
}

}  // namespace

void image_info::flip_and_rotate(int mode) {
    if (flag == 0 || mode < rotate_right || mode > mirror) return;
    if (!argb_buff.empty()) {
        permute_pixels(argb_buff, width, height, mode);
    } else if (!index_buff.empty()) {
        permute_pixels(index_buff, width, height, mode);
    } else {
        return;
    }
    if (mode == rotate_right || mode == rotate_left) std::swap(width, height);
}

}  // namespace mevra
