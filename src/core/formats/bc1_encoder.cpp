#include "formats/bc1_encoder.h"

#include <climits>
#include <cmath>
#include <utility>

#include "formats/bc_decode.h"
#include "formats/dds_header.h"

namespace mevra::dds {
namespace {

// The block as the encoder sees it: 8-bit channels, which pixels must come
// out transparent.
struct block_input {
    int rgb[16][3];
    bool transparent[16];
    int opaque;
};

// One way of storing the block, with its squared RGB error over the opaque
// pixels as a decoder will show them.
struct candidate {
    uint32_t p0 = 0, p1 = 0;
    uint8_t code[16] = {};
    int error = INT_MAX;
};

// Share of endpoint 0 in the colour of each code.
constexpr float four_colour_share[4] = {1.0f, 0.0f, 2.0f / 3.0f, 1.0f / 3.0f};
constexpr float three_colour_share[4] = {1.0f, 0.0f, 0.5f, 0.0f};

// Plain comparisons rather than fmin/fmax, which are calls without
// -ffast-math; every value here is a number.
float smaller(float a, float b) {
    return b < a ? b : a;
}

float larger(float a, float b) {
    return b > a ? b : a;
}

int quantise_channel(float v, int levels) {
    const float q = v * (static_cast<float>(levels) / 255.0f) + 0.5f;
    if (!(q > 0.0f)) return 0;
    return q >= static_cast<float>(levels) ? levels : static_cast<int>(q);
}

uint32_t pack_565(const float e[3]) {
    return static_cast<uint32_t>(quantise_channel(e[0], 31) << 11 |
                                 quantise_channel(e[1], 63) << 5 | quantise_channel(e[2], 31));
}

// The colours a decoder makes of the endpoints, as channels.
void block_palette(uint32_t p0, uint32_t p1, bool four, int pal[4][3]) {
    uint32_t colours[4];
    bc1_palette(p0, p1, four, colours);
    for (int i = 0; i < 4; ++i) {
        pal[i][0] = static_cast<int>(colours[i] >> 16 & 255);
        pal[i][1] = static_cast<int>(colours[i] >> 8 & 255);
        pal[i][2] = static_cast<int>(colours[i] & 255);
    }
}

// Stores the endpoints in the order the block's form needs, picks each
// opaque pixel's nearest colour and keeps the result if it beats `best`.
void try_endpoints(const block_input& b, const float e0[3], const float e1[3], bool four,
                   candidate& best) {
    uint32_t p0 = pack_565(e0), p1 = pack_565(e1);
    if (four) {
        if (p0 < p1) std::swap(p0, p1);
        // Equal endpoints would read as a 3-colour block: move the second
        // one step down (or the first up) and let the codes pick.
        if (p0 == p1) {
            if (p1 > 0)
                --p1;
            else
                p0 = 1;
        }
    } else if (p0 > p1) {
        std::swap(p0, p1);
    }
    // The same endpoints again (a refit that moved them less than a level)
    // would give the same codes.
    if (p0 == best.p0 && p1 == best.p1 && best.error != INT_MAX) return;
    int pal[4][3];
    block_palette(p0, p1, four, pal);
    const int entries = four ? 4 : 3;
    candidate c;
    c.p0 = p0;
    c.p1 = p1;
    c.error = 0;
    for (int p = 0; p < 16; ++p) {
        if (b.transparent[p]) {
            c.code[p] = 3;
            continue;
        }
        int best_d = INT_MAX, best_e = 0;
        for (int e = 0; e < entries; ++e) {
            const int dr = b.rgb[p][0] - pal[e][0], dg = b.rgb[p][1] - pal[e][1],
                      db = b.rgb[p][2] - pal[e][2];
            const int d = dr * dr + dg * dg + db * db;
            if (d < best_d) best_d = d, best_e = e;
        }
        c.code[p] = static_cast<uint8_t>(best_e);
        c.error += best_d;
    }
    if (c.error < best.error) best = c;
}

// Endpoints along the block's principal axis through its mean, reaching the
// outermost opaque pixels.
void axis_endpoints(const block_input& b, float e0[3], float e1[3]) {
    float mean[3] = {0.0f, 0.0f, 0.0f};
    for (int p = 0; p < 16; ++p)
        if (!b.transparent[p])
            for (int ch = 0; ch < 3; ++ch)
                mean[ch] += static_cast<float>(b.rgb[p][ch]);
    const float inv_n = 1.0f / static_cast<float>(b.opaque);
    for (float& m : mean)
        m *= inv_n;
    float cov[3][3] = {};
    for (int p = 0; p < 16; ++p) {
        if (b.transparent[p]) continue;
        float d[3];
        for (int ch = 0; ch < 3; ++ch)
            d[ch] = static_cast<float>(b.rgb[p][ch]) - mean[ch];
        for (int i = 0; i < 3; ++i)
            for (int j = i; j < 3; ++j)
                cov[i][j] += d[i] * d[j];
    }
    cov[1][0] = cov[0][1], cov[2][0] = cov[0][2], cov[2][1] = cov[1][2];

    // Power iteration from the row of the widest channel, which never starts
    // orthogonal to the axis the way a fixed start vector can.
    int widest = 0;
    for (int ch = 1; ch < 3; ++ch)
        if (cov[ch][ch] > cov[widest][widest]) widest = ch;
    float v[3] = {cov[widest][0], cov[widest][1], cov[widest][2]};
    for (int round = 0; round < 4; ++round) {
        float w[3];
        for (int i = 0; i < 3; ++i)
            w[i] = cov[i][0] * v[0] + cov[i][1] * v[1] + cov[i][2] * v[2];
        const float top = larger(std::fabs(w[0]), larger(std::fabs(w[1]), std::fabs(w[2])));
        if (!(top > 1e-12f)) break;
        for (int i = 0; i < 3; ++i)
            v[i] = w[i] / top;
    }
    const float len2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    if (!(len2 > 1e-12f)) {  // one colour
        for (int ch = 0; ch < 3; ++ch)
            e0[ch] = e1[ch] = mean[ch];
        return;
    }
    const float inv_len = 1.0f / std::sqrt(len2);
    for (float& x : v)
        x *= inv_len;
    float lo = 0.0f, hi = 0.0f;
    for (int p = 0; p < 16; ++p) {
        if (b.transparent[p]) continue;
        float t = 0.0f;
        for (int ch = 0; ch < 3; ++ch)
            t += (static_cast<float>(b.rgb[p][ch]) - mean[ch]) * v[ch];
        lo = smaller(lo, t);
        hi = larger(hi, t);
    }
    for (int ch = 0; ch < 3; ++ch) {
        e0[ch] = mean[ch] + v[ch] * hi;
        e1[ch] = mean[ch] + v[ch] * lo;
    }
}

// The endpoints that best reproduce the pixels with the codes as chosen, by
// least squares; false when the codes do not pin both down.
bool refit_endpoints(const block_input& b, const candidate& c, bool four, float e0[3],
                     float e1[3]) {
    const float* share = four ? four_colour_share : three_colour_share;
    float aa = 0.0f, ab = 0.0f, bb = 0.0f, ax[3] = {}, bx[3] = {};
    for (int p = 0; p < 16; ++p) {
        if (b.transparent[p]) continue;
        const float s0 = share[c.code[p]], s1 = 1.0f - s0;
        aa += s0 * s0;
        ab += s0 * s1;
        bb += s1 * s1;
        for (int ch = 0; ch < 3; ++ch) {
            ax[ch] += s0 * static_cast<float>(b.rgb[p][ch]);
            bx[ch] += s1 * static_cast<float>(b.rgb[p][ch]);
        }
    }
    const float det = aa * bb - ab * ab;
    if (!(det > 1e-3f)) return false;
    const float inv = 1.0f / det;
    for (int ch = 0; ch < 3; ++ch) {
        e0[ch] = smaller(255.0f, larger(0.0f, (bb * ax[ch] - ab * bx[ch]) * inv));
        e1[ch] = smaller(255.0f, larger(0.0f, (aa * bx[ch] - ab * ax[ch]) * inv));
    }
    return true;
}

void store(const candidate& c, uint8_t out[8]) {
    put_le16(out, c.p0);
    put_le16(out + 2, c.p1);
    for (int row = 0; row < 4; ++row) {
        uint32_t byte = 0;
        for (int x = 0; x < 4; ++x)
            byte |= uint32_t{c.code[row * 4 + x]} << (2 * x);
        out[4 + row] = static_cast<uint8_t>(byte);
    }
}

}  // namespace

void encode_bc1_block(const uint32_t pixels[16], uint8_t out[8]) {
    block_input b;
    b.opaque = 0;
    for (int p = 0; p < 16; ++p) {
        b.rgb[p][0] = static_cast<int>(pixels[p] >> 16 & 255);
        b.rgb[p][1] = static_cast<int>(pixels[p] >> 8 & 255);
        b.rgb[p][2] = static_cast<int>(pixels[p] & 255);
        b.transparent[p] = (pixels[p] >> 24) < 128;
        if (!b.transparent[p]) ++b.opaque;
    }
    candidate best;
    if (b.opaque == 0) {  // equal endpoints: 3-colour form, every pixel code 3
        for (uint8_t& code : best.code)
            code = 3;
        store(best, out);
        return;
    }
    const bool four = b.opaque == 16;
    float e0[3], e1[3];
    axis_endpoints(b, e0, e1);
    try_endpoints(b, e0, e1, four, best);
    // Two rounds of refitting the endpoints to the chosen codes; a round that
    // does not improve the block ends the search.
    for (int round = 0; round < 2 && best.error > 0; ++round) {
        const int before = best.error;
        if (!refit_endpoints(b, best, four, e0, e1)) break;
        try_endpoints(b, e0, e1, four, best);
        if (best.error >= before) break;
    }
    store(best, out);
}

}  // namespace mevra::dds
