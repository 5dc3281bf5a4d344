#pragma once
// Encoding one 4 × 4 block of the DXT3 / DXT5 layouts with the program's own
// encoder: the colour half picks two endpoints among the block's own pixels
// (after 5:6:5 quantisation) by trying every pair, the alpha half is either
// explicit 4-bit alpha with ordered dither (DXT3) or interpolated alpha (DXT5).
//
// Pixels of a block are numbered p = 0..15 row by row.
#include <cstdint>

namespace mevra::dds {

enum class dxt_alpha { explicit4, interpolated };  // DXT3, DXT5

// A block prepared for the endpoint search.
struct dxt_block {
    uint32_t c[16];               // the pixels as given
    uint32_t q[16];               // quantised to 5:6:5 levels (8-bit values), alpha kept
    float y[16], cb[16], cr[16];  // luma and colour differences of q
    // Partial-transparency mode: 1 to 14 pixels are fully transparent. Such
    // blocks store the transparent pixels with their own colour code and do
    // not pick transparent pixels as endpoints.
    bool partial;
    // Bit p set when pixel p may be an endpoint (all pixels in normal mode).
    uint32_t candidates;
};

// Every distance of the encoder is over luma and colour differences only
// (alpha is the alpha half's business), summed in this order.
inline float dist_ycc(float y0, float cb0, float cr0, float y1, float cb1, float cr1) {
    const float dy = y0 - y1;
    const float dcb = cb0 - cb1;
    const float dcr = cr0 - cr1;
    return dy * dy + dcb * dcb + dcr * dcr;
}

// Indices of the chosen endpoint pixels, i < j.
struct endpoint_pair {
    int i, j;
    bool operator==(const endpoint_pair&) const = default;
};

// The 5:6:5 level of a colour, as 8-bit channel values; alpha is kept.
uint32_t quantize_565(uint32_t argb);
// The 16-bit 5:6:5 value of a quantised colour.
uint32_t pack_565(uint32_t argb);

void prepare_block(const uint32_t pixels[16], dxt_block& b);

// The error of a pair as the search computes it: per pixel the smallest
// distance to either endpoint or their midpoint, summed in pixel order.
float pair_error(const dxt_block& b, int i, int j);

// Tries every candidate pair i < j in order and keeps the first with the
// smallest error. The reference the fast searches must match exactly.
endpoint_pair search_endpoints_plain(const dxt_block& b);

// Bytes 8..15 of a block: both endpoints and the 2-bit colour codes.
void encode_colour_half(const dxt_block& b, endpoint_pair e, uint8_t out[8]);
// Bytes 0..7 of a block.
void encode_alpha_explicit(const uint32_t pixels[16], uint8_t out[8]);
void encode_alpha_interpolated(const uint32_t pixels[16], uint8_t out[8]);

}  // namespace mevra::dds
