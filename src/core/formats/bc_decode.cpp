// BC1 to BC5: the S3TC colour and alpha halves and the RGTC single-channel
// blocks they share.
#include "formats/bc_decode.h"

namespace mevra::dds {
namespace {

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

uint32_t le16(const uint8_t* p) {
    return p[0] | uint32_t{p[1]} << 8;
}

// The 48 bits of sixteen 3-bit codes, pixel 0 lowest.
uint64_t le48(const uint8_t* p) {
    uint64_t bits = 0;
    for (int k = 0; k < 6; ++k)
        bits |= uint64_t{p[k]} << (8 * k);
    return bits;
}

// (wa × a + wb × b) / (wa + wb), rounded to nearest, per 8-bit channel.
uint32_t blend(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb) {
    const uint32_t sum = wa + wb;
    return (wa * a + wb * b + sum / 2) / sum;
}

struct rgb {
    uint32_t r, g, b;
};

rgb expand_565(uint32_t v) {
    const uint32_t r = v >> 11 & 31, g = v >> 5 & 63, b = v & 31;
    return {r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2};
}

rgb blend(rgb x, rgb y, uint32_t wx, uint32_t wy) {
    return {blend(x.r, y.r, wx, wy), blend(x.g, y.g, wx, wy), blend(x.b, y.b, wx, wy)};
}

// The colour half of a BC1/BC2/BC3 block. BC2 and BC3 always use the
// four-colour interpretation, whatever the endpoint order.
void decode_colour_half(const uint8_t* half, bool allow_three_colour, uint32_t out[16]) {
    const uint32_t e0 = le16(half), e1 = le16(half + 2);
    uint32_t palette[4];
    bc1_palette(e0, e1, e0 > e1 || !allow_three_colour, palette);
    for (int p = 0; p < 16; ++p)
        out[p] = palette[half[4 + p / 4] >> (2 * (p % 4)) & 3];
}

// One interpolated 8-bit channel (BC3 alpha, BC4, each half of BC5).
void decode_channel(const uint8_t* half, uint8_t out[16]) {
    uint32_t levels[8];
    channel_levels(half[0], half[1], levels);
    const uint64_t codes = le48(half + 2);
    for (int p = 0; p < 16; ++p)
        out[p] = static_cast<uint8_t>(levels[codes >> (3 * p) & 7]);
}

}  // namespace

void channel_levels(uint32_t v0, uint32_t v1, uint32_t out[8]) {
    out[0] = v0;
    out[1] = v1;
    if (v0 > v1) {
        for (uint32_t k = 1; k < 7; ++k)
            out[k + 1] = blend(v0, v1, 7 - k, k);
    } else {
        for (uint32_t k = 1; k < 5; ++k)
            out[k + 1] = blend(v0, v1, 5 - k, k);
        out[6] = 0;
        out[7] = 255;
    }
}

void decode_bc1_block(const uint8_t block[8], uint32_t out[16]) {
    decode_colour_half(block, true, out);
}

void decode_bc2_block(const uint8_t block[16], uint32_t out[16]) {
    decode_colour_half(block + 8, false, out);
    for (int p = 0; p < 16; ++p) {
        const uint32_t a4 = block[p / 2] >> (4 * (p & 1)) & 15;
        out[p] = (out[p] & 0xFFFFFFu) | (a4 * 17) << 24;
    }
}

void decode_bc3_block(const uint8_t block[16], uint32_t out[16]) {
    decode_colour_half(block + 8, false, out);
    uint8_t alpha[16];
    decode_channel(block, alpha);
    for (int p = 0; p < 16; ++p)
        out[p] = (out[p] & 0xFFFFFFu) | uint32_t{alpha[p]} << 24;
}

void decode_bc4_block(const uint8_t block[8], uint32_t out[16]) {
    uint8_t grey[16];
    decode_channel(block, grey);
    for (int p = 0; p < 16; ++p)
        out[p] = argb(255, grey[p], grey[p], grey[p]);
}

void decode_bc5_block(const uint8_t block[16], uint32_t out[16]) {
    uint8_t red[16], green[16];
    decode_channel(block, red);
    decode_channel(block + 8, green);
    for (int p = 0; p < 16; ++p)
        out[p] = argb(255, red[p], green[p], 0);
}

void bc1_palette(uint32_t e0, uint32_t e1, bool four_colour, uint32_t out[4]) {
    const rgb c0 = expand_565(e0), c1 = expand_565(e1);
    out[0] = argb(255, c0.r, c0.g, c0.b);
    out[1] = argb(255, c1.r, c1.g, c1.b);
    if (four_colour) {
        const rgb c2 = blend(c0, c1, 2, 1), c3 = blend(c0, c1, 1, 2);
        out[2] = argb(255, c2.r, c2.g, c2.b);
        out[3] = argb(255, c3.r, c3.g, c3.b);
    } else {
        const rgb c2 = blend(c0, c1, 1, 1);
        out[2] = argb(255, c2.r, c2.g, c2.b);
        out[3] = 0;
    }
}

}  // namespace mevra::dds
