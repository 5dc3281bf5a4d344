#pragma once
// The reduction colour space: alpha plus a luma / colour-difference form of
// red, green and blue, all in single precision. Shared by colour reduction and
// the DDS encoder. The coefficients are the program's own (close to, but not
// equal to, the usual JPEG ones); results must match them to the bit.
#include <cstdint>

namespace mevra {

// Cb and Cr lie in [-128, 128): this moves them to [0, 256).
inline constexpr float chroma_offset = 128.0f;

struct wxyz {
    float a;   // alpha, 0..255
    float y;   // luma
    float cb;  // blue difference
    float cr;  // red difference
};

// (A, Y, Cb, Cr) of channel values 0..255, whole or fractional (a mean colour).
inline wxyz wxyz_of_channels(float a, float r, float g, float b) {
    wxyz c;
    c.a = a;
    c.y = 0.2989f * r + 0.5866f * g + 0.1145f * b;
    c.cb = 0.5f * b - (0.1688f * r + 0.3312f * g);
    c.cr = 0.5f * r - 0.4184f * g - 0.0816f * b;
    return c;
}

inline wxyz conv_wxyz(uint32_t argb) {
    return wxyz_of_channels(
        static_cast<float>((argb >> 24) & 0xFF), static_cast<float>((argb >> 16) & 0xFF),
        static_cast<float>((argb >> 8) & 0xFF), static_cast<float>(argb & 0xFF));
}

// Clamps a channel already truncated toward zero to 0..255.
inline uint32_t clamp_channel(int v) {
    return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Truncates toward zero like a C cast, but safely for values far outside int.
inline int trunc_to_int(float v) {
    if (!(v > -2147483648.0f)) return v != v ? 0 : -2147483647 - 1;
    if (v >= 2147483648.0f) return 2147483647;
    return static_cast<int>(v);
}

inline uint32_t conv_argb(const wxyz& c) {
    const float r = c.y + 1.4022f * c.cr;
    const float g = c.y - 0.3456f * c.cb - 0.7145f * c.cr;
    const float b = c.y + 1.771f * c.cb;
    // Colour channels round (add 0.5, truncate); alpha only truncates.
    const uint32_t R = clamp_channel(trunc_to_int(r + 0.5f));
    const uint32_t G = clamp_channel(trunc_to_int(g + 0.5f));
    const uint32_t B = clamp_channel(trunc_to_int(b + 0.5f));
    const uint32_t A = clamp_channel(trunc_to_int(c.a));
    return (A << 24) | (R << 16) | (G << 8) | B;
}

// The 4 × 4 Bayer matrix, indexed by (y mod 4) × 4 + (x mod 4).
inline constexpr float dither_pattern[16] = {0.0f, 8.0f,  2.0f, 10.0f, 12.0f, 4.0f, 14.0f, 6.0f,
                                             3.0f, 11.0f, 1.0f, 9.0f,  15.0f, 7.0f, 13.0f, 5.0f};

}  // namespace mevra
