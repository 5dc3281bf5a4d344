#include "formats/bc7_endpoint_fit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace mevra::dds::bc7_fit {
namespace {

int bits_of(const line_shape& shape, int i) {
    return shape.first + i < 3 ? shape.colour_bits : shape.alpha_bits;
}

bool pinned_opaque(const line_shape& shape, int i) {
    return shape.first + i == shape.opaque_channel;
}

// For every stored width (4 to 8 bits) and P-bit (none, 0, 1), the largest
// stored value whose widened value is at most v, for every 8-bit v (0 when
// none is).
struct floor_tables {
    uint8_t below[5][3][256];
};

const floor_tables& stored_floors() {
    static const floor_tables tables = [] {
        floor_tables t{};
        for (int bits = 4; bits <= 8; ++bits)
            for (int p = -1; p <= (bits < 8 ? 1 : -1); ++p) {  // no mode has 8 bits and a P-bit
                uint8_t* below = t.below[bits - 4][p + 1];
                int q = 0;
                for (int v = 0; v < 256; ++v) {
                    while (q + 1 < (1 << bits) && dequantize(q + 1, p, bits) <= v)
                        ++q;
                    below[v] = static_cast<uint8_t>(q);
                }
            }
        return t;
    }();
    return tables;
}

int stored_below(float t, int p, int bits) {
    return stored_floors().below[bits - 4][p + 1][std::clamp(static_cast<int>(t), 0, 255)];
}

// The stored value whose widened value is nearest to t (0 <= t <= 255): the
// largest one at most t or the next.
int nearest_stored(float t, int p, int bits) {
    const int q = stored_below(t, p, bits);
    if (q + 1 >= 1 << bits) return q;
    const float low = static_cast<float>(dequantize(q, p, bits));
    const float high = static_cast<float>(dequantize(q + 1, p, bits));
    return high - t < t - low ? q + 1 : q;
}

// Rounds both float endpoints to stored values, with the P-bits whose
// values land nearest: chosen for each endpoint alone when they are
// unique, for both together when shared, set when a channel must stay 255.
void quantize_nearest(const line_shape& shape, const float e0[4], const float e1[4], line_fit& out) {
    bool pinned = false;
    for (int i = 0; i < shape.count; ++i)
        pinned = pinned || pinned_opaque(shape, i);
    const int p_first = shape.pbits == pbit_kind::none ? -1 : pinned ? 1 : 0;
    const int p_last = shape.pbits == pbit_kind::none ? -1 : 1;
    int q[2][2][4];  // by P-bit choice, endpoint, channel
    float miss[2][2] = {{0.0f, 0.0f}, {0.0f, 0.0f}};
    for (int p = p_first; p <= p_last; ++p) {
        const int k = p < 0 ? 0 : p;
        for (int e = 0; e < 2; ++e)
            for (int i = 0; i < shape.count; ++i) {
                const int bits = bits_of(shape, i);
                const float t = e == 0 ? e0[i] : e1[i];
                q[k][e][i] = pinned_opaque(shape, i) ? (1 << bits) - 1 : nearest_stored(t, p, bits);
                const float d = static_cast<float>(dequantize(q[k][e][i], p, bits)) - t;
                miss[k][e] += d * d;
            }
    }
    int pick[2];
    if (p_first == p_last) {
        pick[0] = pick[1] = p_first < 0 ? 0 : p_first;
    } else if (shape.pbits == pbit_kind::shared) {
        pick[0] = pick[1] = miss[1][0] + miss[1][1] < miss[0][0] + miss[0][1] ? 1 : 0;
    } else {
        pick[0] = miss[1][0] < miss[0][0] ? 1 : 0;
        pick[1] = miss[1][1] < miss[0][1] ? 1 : 0;
    }
    for (int e = 0; e < 2; ++e) {
        out.p[e] = p_first < 0 ? -1 : pick[e];
        for (int i = 0; i < shape.count; ++i)
            out.q[e][i] = q[pick[e]][e][i];
    }
}

void decode_ends(const line_shape& shape, const line_fit& f, int d0[4], int d1[4]) {
    for (int i = 0; i < shape.count; ++i) {
        d0[i] = dequantize(f.q[0][i], f.p[0], bits_of(shape, i));
        d1[i] = dequantize(f.q[1][i], f.p[1], bits_of(shape, i));
    }
}

// With the steps fixed every channel's error depends on that channel's two
// endpoint values alone, so each channel is searched on its own: the stored
// values either side of the least-squares ones, with the P-bits that land
// nearest those. Returns the squared error of the best, exact for these steps.
int best_ends_for_steps(const pixel4* px, int n, const line_shape& shape, const uint8_t* step,
                        const float f0[4], const float f1[4], line_fit& out) {
    const int* weights = weights_for(shape.index_bits);
    int used[16], used_count = 0;
    int in_step[16], sum[4][16], squares[4] = {0, 0, 0, 0};
    for (int p = 0; p < n; ++p) {
        const int s = step[p];
        if (!std::count(used, used + used_count, s)) {
            used[used_count++] = s;
            in_step[s] = 0;
            for (int i = 0; i < shape.count; ++i)
                sum[i][s] = 0;
        }
        ++in_step[s];
        for (int i = 0; i < shape.count; ++i) {
            const int x = px[p][shape.first + i];
            sum[i][s] += x;
            squares[i] += x * x;
        }
    }
    if (shape.pbits == pbit_kind::none)
        out.p[0] = out.p[1] = -1;
    else
        quantize_nearest(shape, f0, f1, out);  // for its P-bits
    const int p0 = out.p[0], p1 = out.p[1];
    int total = 0;
    for (int i = 0; i < shape.count; ++i) {
        const int bits = bits_of(shape, i), top = (1 << bits) - 1;
        int a_lo = stored_below(f0[i], p0, bits), b_lo = stored_below(f1[i], p1, bits);
        int a_hi = std::min(a_lo + 1, top), b_hi = std::min(b_lo + 1, top);
        if (pinned_opaque(shape, i)) a_lo = a_hi = b_lo = b_hi = top;
        int best = INT_MAX;
        for (int a = a_lo; a <= a_hi; ++a) {
            const int da = dequantize(a, p0, bits);
            for (int b = b_lo; b <= b_hi; ++b) {
                const int db = dequantize(b, p1, bits);
                int err = squares[i];
                for (int u = 0; u < used_count; ++u) {
                    const int s = used[u], v = interpolate(da, db, weights[s]);
                    err += in_step[s] * v * v - 2 * v * sum[i][s];
                }
                if (err < best) best = err, out.q[0][i] = a, out.q[1][i] = b;
            }
        }
        total += best;
    }
    out.error = total;
    return total;
}

}  // namespace

const int* weights_for(int index_bits) {
    return index_bits == 2 ? weights2 : index_bits == 3 ? weights3 : weights4;
}

int fit_line(const pixel4* px, int n, const line_shape& shape, const float e0[4], const float e1[4],
             line_fit& out, uint8_t* step) {
    const int* weights = weights_for(shape.index_bits);
    const int steps = 1 << shape.index_bits;
    int d0[4], d1[4];
    quantize_nearest(shape, e0, e1, out);
    decode_ends(shape, out, d0, d1);
    out.error = assign_steps(px, n, shape.first, shape.count, d0, d1, weights, steps, step);
    // Two rounds: a third seldom moves anything.
    for (int round = 0; round < 2 && out.error > 0; ++round) {
        float f0[4], f1[4];
        if (!refit_endpoints(px, n, shape.first, shape.count, step, weights, f0, f1)) {
            // Every pixel on one step: search about the endpoints as they are.
            for (int i = 0; i < shape.count; ++i)
                f0[i] = static_cast<float>(d0[i]), f1[i] = static_cast<float>(d1[i]);
        }
        line_fit next;
        if (best_ends_for_steps(px, n, shape, step, f0, f1, next) >= out.error) break;
        // The new endpoints with the old steps already beat the old fit; new
        // steps are taken only where they do better still.
        decode_ends(shape, next, d0, d1);
        uint8_t moved[16];
        const int error = assign_steps(px, n, shape.first, shape.count, d0, d1, weights, steps, moved);
        if (error < next.error) {
            next.error = error;
            std::memcpy(step, moved, static_cast<size_t>(n));
        }
        out = next;
    }
    return out.error;
}

void mirror_line(line_fit& fit, int index_bits, uint8_t* step, int n) {
    std::swap(fit.q[0], fit.q[1]);
    std::swap(fit.p[0], fit.p[1]);
    const int top = (1 << index_bits) - 1;
    for (int p = 0; p < n; ++p)
        step[p] = static_cast<uint8_t>(top - step[p]);
}

}  // namespace mevra::dds::bc7_fit
