#include "formats/bc7_encoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

namespace mevra::dds {
namespace {

// Channels of a pixel in the order the block stores them: R, G, B, A.
using block_pixels = int[16][4];

constexpr int weights2[4] = {0, 21, 43, 64};
constexpr int weights4[16] = {0, 4, 9, 13, 17, 21, 26, 30, 34, 38, 43, 47, 51, 55, 60, 64};

int interpolate(int e0, int e1, int weight) {
    return ((64 - weight) * e0 + weight * e1 + 32) >> 6;
}

int clamp_int(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

float clamp_255(float v) {
    return std::fmin(255.0f, std::fmax(0.0f, v));
}

// Fills the 128 bits of a block from bit 0 upwards.
struct bit_writer {
    uint8_t* out;
    int pos = 0;
    void put(uint32_t value, int bits) {
        for (int i = 0; i < bits; ++i, ++pos)
            if (value >> i & 1) out[pos >> 3] = static_cast<uint8_t>(out[pos >> 3] | 1 << (pos & 7));
    }
};

// Endpoints along the principal axis through the mean of channels
// [first, first + count), reaching the outermost pixels.
void principal_endpoints(const block_pixels px, int first, int count, float e0[4], float e1[4]) {
    float mean[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int p = 0; p < 16; ++p)
        for (int c = 0; c < count; ++c)
            mean[c] += static_cast<float>(px[p][first + c]);
    for (int c = 0; c < count; ++c)
        mean[c] *= 1.0f / 16.0f;
    float cov[4][4] = {};
    for (int p = 0; p < 16; ++p) {
        float d[4];
        for (int c = 0; c < count; ++c)
            d[c] = static_cast<float>(px[p][first + c]) - mean[c];
        for (int i = 0; i < count; ++i)
            for (int j = 0; j < count; ++j)
                cov[i][j] += d[i] * d[j];
    }
    // Power iteration from the row of the widest channel.
    int widest = 0;
    for (int c = 1; c < count; ++c)
        if (cov[c][c] > cov[widest][widest]) widest = c;
    float v[4] = {};
    for (int c = 0; c < count; ++c)
        v[c] = cov[widest][c];
    for (int round = 0; round < 4; ++round) {
        float w[4] = {};
        float top = 0.0f;
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < count; ++j)
                w[i] += cov[i][j] * v[j];
            top = std::fmax(top, std::fabs(w[i]));
        }
        if (!(top > 1e-12f)) break;
        for (int i = 0; i < count; ++i)
            v[i] = w[i] / top;
    }
    float len2 = 0.0f;
    for (int c = 0; c < count; ++c)
        len2 += v[c] * v[c];
    float lo = 0.0f, hi = 0.0f;
    if (len2 > 1e-12f) {
        const float inv_len = 1.0f / std::sqrt(len2);
        for (int c = 0; c < count; ++c)
            v[c] *= inv_len;
        for (int p = 0; p < 16; ++p) {
            float t = 0.0f;
            for (int c = 0; c < count; ++c)
                t += (static_cast<float>(px[p][first + c]) - mean[c]) * v[c];
            lo = std::fmin(lo, t);
            hi = std::fmax(hi, t);
        }
    }
    for (int c = 0; c < count; ++c) {
        e0[c] = clamp_255(mean[c] + v[c] * lo);
        e1[c] = clamp_255(mean[c] + v[c] * hi);
    }
}

// Picks for every pixel the step between the decoded endpoints (channels
// [first, first + count)) nearest to it: the step its projection onto the
// line rounds to, or a neighbour of it. Returns the squared error.
int assign_steps(const block_pixels px, int first, int count, const int end0[4], const int end1[4],
                 const int* weights, int steps, uint8_t step[16]) {
    int palette[16][4];
    for (int s = 0; s < steps; ++s)
        for (int c = 0; c < count; ++c)
            palette[s][c] = interpolate(end0[c], end1[c], weights[s]);
    int dir[4], dir2 = 0;
    for (int c = 0; c < count; ++c) {
        dir[c] = end1[c] - end0[c];
        dir2 += dir[c] * dir[c];
    }
    const float scale = dir2 > 0 ? static_cast<float>(steps - 1) / static_cast<float>(dir2) : 0.0f;
    int total = 0;
    for (int p = 0; p < 16; ++p) {
        int dot = 0;
        for (int c = 0; c < count; ++c)
            dot += (px[p][first + c] - end0[c]) * dir[c];
        const int guess = clamp_int(static_cast<int>(static_cast<float>(dot) * scale + 0.5f), 0,
                                    steps - 1);
        int best = INT_MAX, best_s = guess;
        for (int s = std::max(0, guess - 1); s <= std::min(steps - 1, guess + 1); ++s) {
            int d = 0;
            for (int c = 0; c < count; ++c) {
                const int e = px[p][first + c] - palette[s][c];
                d += e * e;
            }
            if (d < best) best = d, best_s = s;
        }
        step[p] = static_cast<uint8_t>(best_s);
        total += best;
    }
    return total;
}

// The endpoints that best reproduce the pixels with the steps as chosen, by
// least squares; false when the steps do not pin both down.
bool refit_endpoints(const block_pixels px, int first, int count, const uint8_t step[16],
                     const int* weights, float e0[4], float e1[4]) {
    float aa = 0.0f, ab = 0.0f, bb = 0.0f, ax[4] = {}, bx[4] = {};
    for (int p = 0; p < 16; ++p) {
        const float s1 = static_cast<float>(weights[step[p]]) * (1.0f / 64.0f), s0 = 1.0f - s1;
        aa += s0 * s0;
        ab += s0 * s1;
        bb += s1 * s1;
        for (int c = 0; c < count; ++c) {
            ax[c] += s0 * static_cast<float>(px[p][first + c]);
            bx[c] += s1 * static_cast<float>(px[p][first + c]);
        }
    }
    const float det = aa * bb - ab * ab;
    if (!(det > 1e-3f)) return false;
    const float inv = 1.0f / det;
    for (int c = 0; c < count; ++c) {
        e0[c] = clamp_255((bb * ax[c] - ab * bx[c]) * inv);
        e1[c] = clamp_255((aa * bx[c] - ab * ax[c]) * inv);
    }
    return true;
}

// ---- mode 6: RGBA endpoints of 7 bits plus one p-bit each, 4-bit steps ----

struct mode6_block {
    int q[2][4];  // 7-bit endpoint values
    int p[2];     // p-bits
    uint8_t step[16];
    int error = INT_MAX;
};

void try_mode6(const block_pixels px, const float e0[4], const float e1[4], bool opaque,
               mode6_block& best) {
    const float* ends[2] = {e0, e1};
    // An opaque block needs both p-bits set to keep alpha at 255.
    for (int pbits = opaque ? 3 : 0; pbits < 4; ++pbits) {
        mode6_block m;
        int decoded[2][4];
        for (int e = 0; e < 2; ++e) {
            m.p[e] = pbits >> e & 1;
            for (int c = 0; c < 4; ++c) {
                const float half = (ends[e][c] - static_cast<float>(m.p[e])) * 0.5f;
                m.q[e][c] = clamp_int(static_cast<int>(std::floor(half + 0.5f)), 0, 127);
                decoded[e][c] = m.q[e][c] << 1 | m.p[e];
            }
        }
        m.error = assign_steps(px, 0, 4, decoded[0], decoded[1], weights4, 16, m.step);
        if (m.error < best.error) best = m;
    }
}

int encode_mode6(const block_pixels px, bool opaque, uint8_t out[16]) {
    float e0[4], e1[4];
    principal_endpoints(px, 0, 4, e0, e1);
    mode6_block best;
    try_mode6(px, e0, e1, opaque, best);
    for (int round = 0; round < 2 && best.error > 0; ++round) {
        const int before = best.error;
        if (!refit_endpoints(px, 0, 4, best.step, weights4, e0, e1)) break;
        try_mode6(px, e0, e1, opaque, best);
        if (best.error >= before) break;
    }
    // The top bit of pixel 0's step is not stored: it must be 0.
    if (best.step[0] >= 8) {
        std::swap(best.q[0], best.q[1]);
        std::swap(best.p[0], best.p[1]);
        for (uint8_t& s : best.step)
            s = static_cast<uint8_t>(15 - s);
    }
    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << 6, 7);
    for (int c = 0; c < 4; ++c) {
        w.put(static_cast<uint32_t>(best.q[0][c]), 7);
        w.put(static_cast<uint32_t>(best.q[1][c]), 7);
    }
    w.put(static_cast<uint32_t>(best.p[0]), 1);
    w.put(static_cast<uint32_t>(best.p[1]), 1);
    for (int p = 0; p < 16; ++p)
        w.put(best.step[p], p == 0 ? 3 : 4);
    return best.error;
}

// ---- mode 5: 7-bit colour and 8-bit alpha on separate lines, 2-bit steps ----

int expand7(int q) {
    return q << 1 | q >> 6;
}

struct mode5_part {
    int q[2][4];        // colour: 7-bit values in channels 0..2; alpha: 8-bit in channel 3
    uint8_t step[16];
    int error = INT_MAX;
};

void try_mode5_colour(const block_pixels px, const float e0[3], const float e1[3],
                      mode5_part& best) {
    mode5_part m;
    int decoded[2][4];
    const float* ends[2] = {e0, e1};
    for (int e = 0; e < 2; ++e)
        for (int c = 0; c < 3; ++c) {
            m.q[e][c] = clamp_int(static_cast<int>(ends[e][c] * (127.0f / 255.0f) + 0.5f), 0, 127);
            decoded[e][c] = expand7(m.q[e][c]);
        }
    m.error = assign_steps(px, 0, 3, decoded[0], decoded[1], weights2, 4, m.step);
    if (m.error < best.error) best = m;
}

void try_mode5_alpha(const block_pixels px, float a0, float a1, mode5_part& best) {
    mode5_part m;
    m.q[0][0] = clamp_int(static_cast<int>(a0 + 0.5f), 0, 255);
    m.q[1][0] = clamp_int(static_cast<int>(a1 + 0.5f), 0, 255);
    m.error = assign_steps(px, 3, 1, m.q[0], m.q[1], weights2, 4, m.step);
    if (m.error < best.error) best = m;
}

int encode_mode5(const block_pixels px, uint8_t out[16]) {
    float e0[4], e1[4];
    principal_endpoints(px, 0, 3, e0, e1);
    mode5_part colour;
    try_mode5_colour(px, e0, e1, colour);
    for (int round = 0; round < 2 && colour.error > 0; ++round) {
        const int before = colour.error;
        if (!refit_endpoints(px, 0, 3, colour.step, weights2, e0, e1)) break;
        try_mode5_colour(px, e0, e1, colour);
        if (colour.error >= before) break;
    }
    float lo = 255.0f, hi = 0.0f;
    for (int p = 0; p < 16; ++p) {
        lo = std::fmin(lo, static_cast<float>(px[p][3]));
        hi = std::fmax(hi, static_cast<float>(px[p][3]));
    }
    mode5_part alpha;
    try_mode5_alpha(px, lo, hi, alpha);
    float a0[4], a1[4];
    if (alpha.error > 0 && refit_endpoints(px, 3, 1, alpha.step, weights2, a0, a1))
        try_mode5_alpha(px, a0[0], a1[0], alpha);

    // The top bit of pixel 0's steps is not stored: it must be 0.
    for (mode5_part* part : {&colour, &alpha})
        if (part->step[0] >= 2) {
            std::swap(part->q[0], part->q[1]);
            for (uint8_t& s : part->step)
                s = static_cast<uint8_t>(3 - s);
        }
    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << 5, 6);
    w.put(0, 2);  // no channel rotation
    for (int c = 0; c < 3; ++c) {
        w.put(static_cast<uint32_t>(colour.q[0][c]), 7);
        w.put(static_cast<uint32_t>(colour.q[1][c]), 7);
    }
    w.put(static_cast<uint32_t>(alpha.q[0][0]), 8);
    w.put(static_cast<uint32_t>(alpha.q[1][0]), 8);
    for (const mode5_part* part : {&colour, &alpha})
        for (int p = 0; p < 16; ++p)
            w.put(part->step[p], p == 0 ? 1 : 2);
    return colour.error + alpha.error;
}

}  // namespace

void encode_bc7_block(const uint32_t pixels[16], uint8_t out[16]) {
    int px[16][4];
    bool opaque = true;
    for (int p = 0; p < 16; ++p) {
        px[p][0] = static_cast<int>(pixels[p] >> 16 & 255);
        px[p][1] = static_cast<int>(pixels[p] >> 8 & 255);
        px[p][2] = static_cast<int>(pixels[p] & 255);
        px[p][3] = static_cast<int>(pixels[p] >> 24);
        opaque = opaque && px[p][3] == 255;
    }
    const int error6 = encode_mode6(px, opaque, out);
    if (opaque || error6 == 0) return;
    uint8_t mode5[16];
    if (encode_mode5(px, mode5) < error6) std::memcpy(out, mode5, 16);
}

}  // namespace mevra::dds
