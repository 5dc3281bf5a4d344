#include "formats/dds_dxt_block.h"

#include <array>

#include "formats/dds_header.h"
#include "reduce/color_space.h"

namespace mevra::dds {
namespace {

// The 5- and 6-bit levels expressed as 8-bit values. The factors are the
// single-precision 1/8.23 and 1/4.05, so the levels run 0, 8, ..., 246, 255
// (red, blue) and 0, 4, ..., 251, 255 (green).
struct level_tables {
    std::array<uint8_t, 256> rb, g;
    level_tables() {
        for (int v = 0; v < 256; ++v) {
            const int r5 = trunc_to_int(static_cast<float>(v + 4) * 0.12150669f);
            const int g6 = trunc_to_int(static_cast<float>(v + 2) * 0.24691357f);
            rb[v] = static_cast<uint8_t>(trunc_to_int(static_cast<float>(r5) * 8.23f));
            g[v] = static_cast<uint8_t>(trunc_to_int(static_cast<float>(g6) * 4.05f));
        }
    }
};

const level_tables& levels() {
    static const level_tables tables;
    return tables;
}

inline bool transparent(uint32_t argb) {
    return (argb >> 24) == 0;
}

// Position of the encoder palette -> stored 2-bit code.
constexpr uint32_t ofs[4] = {0, 2, 3, 1};

}  // namespace

uint32_t quantize_565(uint32_t c) {
    const level_tables& t = levels();
    return (c & 0xFF000000u) | uint32_t{t.rb[(c >> 16) & 0xFF]} << 16 |
           uint32_t{t.g[(c >> 8) & 0xFF]} << 8 | t.rb[c & 0xFF];
}

uint32_t pack_565(uint32_t c) {
    return ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
}

void prepare_block(const uint32_t pixels[16], dxt_block& b) {
    int clear = 0;
    for (int p = 0; p < 16; ++p)
        clear += transparent(pixels[p]) ? 1 : 0;
    // A block that is entirely (or all but one pixel) transparent has no
    // colours worth keeping apart from the transparent ones.
    b.partial = clear >= 1 && clear <= 14;
    b.candidates = 0;
    for (int p = 0; p < 16; ++p) {
        b.c[p] = pixels[p];
        b.q[p] = quantize_565(pixels[p]);
        const wxyz w = conv_wxyz(b.q[p]);
        b.y[p] = w.y;
        b.cb[p] = w.cb;
        b.cr[p] = w.cr;
        if (!b.partial || !transparent(b.q[p])) b.candidates |= 1u << p;
    }
}

float pair_error(const dxt_block& b, int i, int j) {
    const float my = (b.y[i] + b.y[j]) * 0.5f;
    const float mcb = (b.cb[i] + b.cb[j]) * 0.5f;
    const float mcr = (b.cr[i] + b.cr[j]) * 0.5f;
    float error = 0.0f;
    for (int p = 0; p < 16; ++p) {
        const float di = dist_ycc(b.y[p], b.cb[p], b.cr[p], b.y[i], b.cb[i], b.cr[i]);
        const float dj = dist_ycc(b.y[p], b.cb[p], b.cr[p], b.y[j], b.cb[j], b.cr[j]);
        const float dm = dist_ycc(b.y[p], b.cb[p], b.cr[p], my, mcb, mcr);
        float nearest = di;
        if (dj < nearest) nearest = dj;
        if (dm < nearest) nearest = dm;
        error += nearest;
    }
    return error;
}

endpoint_pair search_endpoints_plain(const dxt_block& b) {
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int i = 0; i < 15; ++i) {
        if (!(b.candidates >> i & 1)) continue;
        for (int j = i + 1; j < 16; ++j) {
            if (!(b.candidates >> j & 1)) continue;
            const float error = pair_error(b, i, j);
            if (error < best) {  // ties keep the earlier pair
                best = error;
                pair = {i, j};
            }
        }
    }
    return pair;
}

void encode_colour_half(const dxt_block& b, endpoint_pair e, uint8_t out[8]) {
    uint32_t c0 = b.q[e.i], c1 = b.q[e.j];
    uint32_t p0 = pack_565(c0), p1 = pack_565(c1);
    // The order of the endpoints tells a decoder which mode the block is in:
    // p0 > p1 four colours, p0 <= p1 three colours plus transparent.
    if (b.partial ? p0 >= p1 : p0 < p1) {
        std::swap(c0, c1);
        std::swap(p0, p1);
    }

    // Encoder palette, channel by channel with truncating division.
    const int positions = b.partial ? 3 : 4;
    wxyz palette[4];
    for (int t = 0; t < positions; ++t) {
        uint32_t colour = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int v0 = static_cast<int>((c0 >> shift) & 0xFF);
            const int v1 = static_cast<int>((c1 >> shift) & 0xFF);
            const int step = (v1 - v0) * t;
            colour |= static_cast<uint32_t>(v0 + (b.partial ? step / 2 : step / 3)) << shift;
        }
        palette[t] = conv_wxyz(colour);
    }

    // Nearest palette position per pixel. The loops run position by position
    // over all 16 pixels without branches, so the compiler can keep the
    // pixels in vector lanes; each pixel still sees the positions in order.
    float py[16], pcb[16], pcr[16], best[16];
    int position[16];
    for (int p = 0; p < 16; ++p) {
        const wxyz w = conv_wxyz(b.c[p]);
        py[p] = w.y;
        pcb[p] = w.cb;
        pcr[p] = w.cr;
        best[p] = 67108864.0f;
        position[p] = 0;
    }
    for (int t = 0; t < positions; ++t) {
        for (int p = 0; p < 16; ++p) {
            const float d =
                dist_ycc(py[p], pcb[p], pcr[p], palette[t].y, palette[t].cb, palette[t].cr);
            const bool nearer = d < best[p];  // ties keep the lower position
            best[p] = nearer ? d : best[p];
            position[p] = nearer ? t : position[p];
        }
    }

    uint32_t codes = 0;
    for (int p = 0; p < 16; ++p) {
        int pos = position[p];
        if (b.partial) {
            if (pos == 2) pos = 3;             // c1 takes the code of the far endpoint
            if (transparent(b.c[p])) pos = 2;  // the transparent code
        }
        codes |= ofs[pos] << (2 * p);
    }
    put_le16(out, p0);
    put_le16(out + 2, p1);
    put_le32(out + 4, codes);
}

void encode_alpha_explicit(const uint32_t pixels[16], uint8_t out[8]) {
    int a4[16];
    for (int p = 0; p < 16; ++p) {
        // Centred on 7.4 rather than 7.5, so the dither leans slightly upward.
        const float d = (dither_pattern[p] - 7.4f) * (1.0f / 15.0f) * 16.1f;
        const float alpha = static_cast<float>(pixels[p] >> 24);
        const int v = (trunc_to_int(alpha + d) + 8) / 17;
        a4[p] = v < 0 ? 0 : (v > 15 ? 15 : v);
    }
    for (int k = 0; k < 8; ++k)
        out[k] = static_cast<uint8_t>(a4[2 * k] | a4[2 * k + 1] << 4);
}

void encode_alpha_interpolated(const uint32_t pixels[16], uint8_t out[8]) {
    int a0 = 0, a1 = 255;
    for (int p = 0; p < 16; ++p) {
        const int a = static_cast<int>(pixels[p] >> 24);
        if (a > a0) a0 = a;
        if (a < a1) a1 = a;
    }
    int level[8] = {a0, a1};
    for (int k = 2; k < 8; ++k)
        level[k] = ((8 - k) * a0 + (k - 1) * a1) / 7;

    uint64_t codes = 0;
    for (int p = 0; p < 16; ++p) {
        const int a = static_cast<int>(pixels[p] >> 24);
        int best = 65536;
        uint64_t code = 0;
        for (int k = 0; k < 8; ++k) {
            const int d = (a - level[k]) * (a - level[k]);
            if (d < best) {  // ties keep the lower code
                best = d;
                code = static_cast<uint64_t>(k);
            }
        }
        codes |= code << (3 * p);
    }
    out[0] = static_cast<uint8_t>(a0);
    out[1] = static_cast<uint8_t>(a1);
    for (int k = 0; k < 6; ++k)
        out[2 + k] = static_cast<uint8_t>(codes >> (8 * k));
}

}  // namespace mevra::dds
