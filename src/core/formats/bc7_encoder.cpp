#include "formats/bc7_encoder.h"

#include "formats/bc7_line_fit.h"
#include "formats/bc7_tables.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

namespace mevra::dds {
namespace {

using namespace bc7_fit;

// Channels of a pixel in the order the block stores them: R, G, B, A.
using block_pixels = pixel4[16];

int clamp_int(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
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
        m.error = assign_steps(px, 16, 0, 4, decoded[0], decoded[1], weights4, 16, m.step);
        if (m.error < best.error) best = m;
    }
}

int encode_mode6(const block_pixels px, bool opaque, uint8_t out[16]) {
    float e0[4], e1[4];
    principal_endpoints(px, 16, 0, 4, e0, e1);
    mode6_block best;
    try_mode6(px, e0, e1, opaque, best);
    for (int round = 0; round < 2 && best.error > 0; ++round) {
        const int before = best.error;
        if (!refit_endpoints(px, 16, 0, 4, best.step, weights4, e0, e1)) break;
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
    m.error = assign_steps(px, 16, 0, 3, decoded[0], decoded[1], weights2, 4, m.step);
    if (m.error < best.error) best = m;
}

void try_mode5_alpha(const block_pixels px, float a0, float a1, mode5_part& best) {
    mode5_part m;
    m.q[0][0] = clamp_int(static_cast<int>(a0 + 0.5f), 0, 255);
    m.q[1][0] = clamp_int(static_cast<int>(a1 + 0.5f), 0, 255);
    m.error = assign_steps(px, 16, 3, 1, m.q[0], m.q[1], weights2, 4, m.step);
    if (m.error < best.error) best = m;
}

int encode_mode5(const block_pixels px, uint8_t out[16]) {
    float e0[4], e1[4];
    principal_endpoints(px, 16, 0, 3, e0, e1);
    mode5_part colour;
    try_mode5_colour(px, e0, e1, colour);
    for (int round = 0; round < 2 && colour.error > 0; ++round) {
        const int before = colour.error;
        if (!refit_endpoints(px, 16, 0, 3, colour.step, weights2, e0, e1)) break;
        try_mode5_colour(px, e0, e1, colour);
        if (colour.error >= before) break;
    }
    float lo = 255.0f, hi = 0.0f;
    for (int p = 0; p < 16; ++p) {
        lo = std::min(lo, static_cast<float>(px[p][3]));
        hi = std::max(hi, static_cast<float>(px[p][3]));
    }
    mode5_part alpha;
    try_mode5_alpha(px, lo, hi, alpha);
    float a0[4], a1[4];
    if (alpha.error > 0 && refit_endpoints(px, 16, 3, 1, alpha.step, weights2, a0, a1))
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

// ---- mode 1: two subsets by partition, 6-bit RGB endpoints plus a p-bit
// shared by each subset, 3-bit steps ----

struct mode1_subset {
    int q[2][3];
    int p = 0;
    uint8_t step[16];  // of the subset's pixels, in pixel order
    int error = INT_MAX;
};

int expand_mode1(int q, int p) {
    const int v7 = q << 1 | p;
    return v7 << 1 | v7 >> 6;
}

// The p-bit of the subset is the one whose levels lie closer to both
// endpoints; only that choice is fitted.
void try_mode1_subset(const pixel4* px, int n, const float e0[4], const float e1[4],
                      mode1_subset& best) {
    const float* ends[2] = {e0, e1};
    mode1_subset m;
    int decoded[2][2][4];
    int q[2][2][3];
    float miss[2] = {0.0f, 0.0f};
    for (int p = 0; p < 2; ++p)
        for (int e = 0; e < 2; ++e)
            for (int c = 0; c < 3; ++c) {
                const float half = (ends[e][c] * (127.0f / 255.0f) - static_cast<float>(p)) * 0.5f;
                q[p][e][c] = clamp_int(static_cast<int>(std::floor(half + 0.5f)), 0, 63);
                decoded[p][e][c] = expand_mode1(q[p][e][c], p);
                const float d = static_cast<float>(decoded[p][e][c]) - ends[e][c];
                miss[p] += d * d;
            }
    m.p = miss[1] < miss[0] ? 1 : 0;
    std::memcpy(m.q, q[m.p], sizeof m.q);
    m.error = assign_steps(px, n, 0, 3, decoded[m.p][0], decoded[m.p][1], weights3, 8, m.step);
    if (m.error < best.error) best = m;
}

mode1_subset fit_mode1_subset(const pixel4* px, int n) {
    float e0[4], e1[4];
    principal_endpoints(px, n, 0, 3, e0, e1);
    mode1_subset best;
    try_mode1_subset(px, n, e0, e1, best);
    for (int round = 0; round < 2 && best.error > 0; ++round) {
        const int before = best.error;
        if (!refit_endpoints(px, n, 0, 3, best.step, weights3, e0, e1)) break;
        try_mode1_subset(px, n, e0, e1, best);
        if (best.error >= before) break;
    }
    return best;
}

// Per pixel and partition: 1 when the pixel is in subset 1. Laid out so that
// the ranking below runs over the 64 partitions in its inner loops.
struct partition_table {
    int32_t in_second[16][64];
};

const partition_table& partitions_by_pixel() {
    static const partition_table table = [] {
        partition_table t{};
        for (int p = 0; p < 16; ++p)
            for (int k = 0; k < 64; ++k)
                t.in_second[p][k] = static_cast<int32_t>(bc7::two_subset_masks[k] >> p & 1);
        return t;
    }();
    return table;
}

// Ranks the 64 partitions by the squared error of each subset's pixels about
// the subset's mean (a cheap stand-in for the fitted error) and returns the
// best few.
void rank_partitions(const block_pixels px, int* best, int wanted) {
    const partition_table& table = partitions_by_pixel();
    int32_t n1[64] = {}, sq1[64] = {}, sum1[3][64] = {};
    int64_t total_sq = 0, total[3] = {0, 0, 0};
    for (int p = 0; p < 16; ++p) {
        const int32_t sq = px[p][0] * px[p][0] + px[p][1] * px[p][1] + px[p][2] * px[p][2];
        total_sq += sq;
        for (int c = 0; c < 3; ++c)
            total[c] += px[p][c];
        const int32_t* in = table.in_second[p];
        for (int k = 0; k < 64; ++k) {
            n1[k] += in[k];
            sq1[k] += in[k] * sq;
            sum1[0][k] += in[k] * px[p][0];
            sum1[1][k] += in[k] * px[p][1];
            sum1[2][k] += in[k] * px[p][2];
        }
    }
    int64_t scores[64], sizes[64];
    for (int k = 0; k < 64; ++k) {
        const int64_t a = n1[k], b = 16 - a;
        int64_t mean_sq0 = 0, mean_sq1 = 0;
        for (int c = 0; c < 3; ++c) {
            const int64_t s0 = total[c] - sum1[c][k], s1 = sum1[c][k];
            mean_sq0 += s0 * s0;
            mean_sq1 += s1 * s1;
        }
        // n0 · n1 · (within-subset squared error), kept in integers; the
        // product of the subset sizes is divided out when comparing, so that
        // uneven splits get no advantage.
        scores[k] = ((total_sq - sq1[k]) * b - mean_sq0) * a + (sq1[k] * a - mean_sq1) * b;
        sizes[k] = a * b;
    }
    // scores[k] / sizes[k] < scores[j] / sizes[j], exactly (both sizes are positive)
    auto lower = [&](int k, int j) { return scores[k] * sizes[j] < scores[j] * sizes[k]; };
    for (int w = 0; w < wanted; ++w) {
        int pick = -1;
        for (int k = 0; k < 64; ++k) {
            bool taken = false;
            for (int v = 0; v < w; ++v)
                taken = taken || best[v] == k;
            if (!taken && (pick < 0 || lower(k, pick))) pick = k;
        }
        best[w] = pick;
    }
}

int encode_mode1(const block_pixels px, int partition, uint8_t out[16]) {
    const unsigned mask = bc7::two_subset_masks[partition];
    pixel4 members[2][16];
    int count[2] = {0, 0};
    for (int p = 0; p < 16; ++p) {
        const int s = mask >> p & 1;
        for (int c = 0; c < 4; ++c)
            members[s][count[s]][c] = px[p][c];
        ++count[s];
    }
    mode1_subset fit[2] = {fit_mode1_subset(members[0], count[0]),
                           fit_mode1_subset(members[1], count[1])};
    // Steps back in pixel order; the anchor of each subset must not need its
    // top step bit, which is not stored.
    const int anchor[2] = {0, bc7::two_subset_anchor[partition]};
    uint8_t step[16];
    int next[2] = {0, 0};
    for (int p = 0; p < 16; ++p) {
        const int s = mask >> p & 1;
        step[p] = fit[s].step[next[s]++];
    }
    for (int s = 0; s < 2; ++s)
        if (step[anchor[s]] >= 4) {
            std::swap(fit[s].q[0], fit[s].q[1]);
            for (int p = 0; p < 16; ++p)
                if (static_cast<int>(mask >> p & 1) == s) step[p] = static_cast<uint8_t>(7 - step[p]);
        }
    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << 1, 2);
    w.put(static_cast<uint32_t>(partition), 6);
    for (int c = 0; c < 3; ++c)
        for (int s = 0; s < 2; ++s) {
            w.put(static_cast<uint32_t>(fit[s].q[0][c]), 6);
            w.put(static_cast<uint32_t>(fit[s].q[1][c]), 6);
        }
    w.put(static_cast<uint32_t>(fit[0].p), 1);
    w.put(static_cast<uint32_t>(fit[1].p), 1);
    for (int p = 0; p < 16; ++p)
        w.put(step[p], p == anchor[0] || p == anchor[1] ? 2 : 3);
    return fit[0].error + fit[1].error;
}

// ---- one colour: mode 5 with endpoints chosen so that step 1 decodes to
// exactly the wanted value ----

// For every 8-bit value, the 7-bit endpoints (q0, q1) whose first inner step
// (weight 21) decodes to it, the pair nearest each other.
struct single_colour_pair {
    uint8_t q0, q1;
};

const single_colour_pair* single_colour_table() {
    static const auto table = [] {
        std::array<single_colour_pair, 256> t{};
        int spread[256];
        std::fill(spread, spread + 256, INT_MAX);
        for (int q0 = 0; q0 < 128; ++q0)
            for (int q1 = 0; q1 < 128; ++q1) {
                const int v = interpolate(q0 << 1 | q0 >> 6, q1 << 1 | q1 >> 6, weights2[1]);
                const int d = q0 > q1 ? q0 - q1 : q1 - q0;
                if (d < spread[v]) {
                    spread[v] = d;
                    t[static_cast<size_t>(v)] = {static_cast<uint8_t>(q0), static_cast<uint8_t>(q1)};
                }
            }
        return t;
    }();
    return table.data();
}

// A block of one colour, decoding exactly to it whatever its RGBA value: the
// colour through the table, alpha stored as both 8-bit endpoints.
void encode_solid_mode5(const int rgba[4], uint8_t out[16]) {
    const single_colour_pair* table = single_colour_table();
    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << 5, 6);
    w.put(0, 2);  // no channel rotation
    for (int c = 0; c < 3; ++c) {
        w.put(table[rgba[c]].q0, 7);
        w.put(table[rgba[c]].q1, 7);
    }
    w.put(static_cast<uint32_t>(rgba[3]), 8);
    w.put(static_cast<uint32_t>(rgba[3]), 8);
    for (int p = 0; p < 16; ++p)
        w.put(1, p == 0 ? 1 : 2);  // every colour step 1
    // alpha steps all 0
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
    bool solid = true;
    for (int p = 1; p < 16; ++p)
        solid = solid && std::equal(px[p], px[p] + 4, px[0]);
    if (solid) {
        encode_solid_mode5(px[0], out);
        return;
    }
    int best = encode_mode6(px, opaque, out);
    if (best == 0) return;
    uint8_t candidate[16];
    if (!opaque) {
        if (encode_mode5(px, candidate) < best) std::memcpy(out, candidate, 16);
        return;
    }
    // Opaque blocks that one line does not fit (an edge, two materials) may
    // do better split in two. Blocks one line already fits closely (a mean
    // squared error per channel up to 2) are not worth the search.
    if (best <= 16 * 3 * 2) return;
    int partitions[2];
    rank_partitions(px, partitions, 2);
    for (int k : partitions) {
        const int error = encode_mode1(px, k, candidate);
        if (error < best) {
            best = error;
            std::memcpy(out, candidate, 16);
        }
    }
}

}  // namespace mevra::dds
