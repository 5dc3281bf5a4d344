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

// Whether `compressed_bytes` of deflate data can hold `raw_bytes`: deflate
// expands at most about 1032:1, so a tiny file that declares a huge picture
// is refused before any buffer of the declared size is touched. The slack
// covers the stream's header, check value and a last partial block.
inline bool deflate_can_fill(uint64_t compressed_bytes, uint64_t raw_bytes) {
    constexpr uint64_t max_expansion = 1032;
    return raw_bytes / max_expansion <= compressed_bytes + 64;
}

}  // namespace mevra
