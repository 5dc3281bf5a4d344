#pragma once
// The largest picture any reader or transform accepts. Checked before every
// allocation that a file header or a computed size decides.
#include <cstdint>

namespace mevra {

inline constexpr int64_t max_image_side = 32768;
inline constexpr int64_t max_image_pixels = int64_t{1} << 28;

inline bool image_size_ok(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= max_image_side && height <= max_image_side &&
           width * height <= max_image_pixels;
}

}  // namespace mevra
