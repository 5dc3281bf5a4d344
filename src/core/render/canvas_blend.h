#pragma once
// The blend arithmetic of the canvas: the display modes' factor pairs applied to
// 8-bit channels. The scalar functions are the reference; blend_row is the fast
// path and gives the same result for every input.
#include <cstdint>

namespace mevra::render_detail {

// n / 255 rounded to the nearest integer, for 0 <= n <= 65025.
constexpr uint32_t div255(uint32_t n) {
    return (n + 127) / 255;
}

// What the canvas stores for an image pixel before blending: the pixel itself,
// or in the alpha-only mode its alpha as a grey level.
constexpr uint32_t stored_pixel(int draw_type, uint32_t argb) {
    if (draw_type != 2) return argb;
    const uint32_t a = argb >> 24;
    return a << 16 | a << 8 | a;
}

// One stored pixel `src` (0xAARRGGBB) blended over `dst` with the factors of
// display mode `draw_type` (0..4):
//   0: src * src_alpha + dst * (1 - src_alpha)
//   1, 2: src (one, zero)
//   3: src * src_colour + dst (additive, clamped)
//   4: dst * (1 - src_colour) (subtractive)
// The result's alpha byte is 0xFF.
uint32_t blend_pixel(int draw_type, uint32_t src, uint32_t dst);

// out[i] = blend_pixel(draw_type, src[i], dst[i]) for i < n. `out` may be `src`.
void blend_row(int draw_type, const uint32_t* src, const uint32_t* dst, uint32_t* out, int n);

// out[i] = blend_pixel(draw_type, colour, out[i]) for i < n: a horizontal line.
void blend_span(int draw_type, uint32_t colour, uint32_t* out, int n);

}  // namespace mevra::render_detail
