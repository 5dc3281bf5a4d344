#include "formats/bc7_line_fit.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace mevra::dds::bc7_fit {
namespace {

// Plain comparisons rather than fmin/fmax, which are calls without
// -ffast-math; every value here is a number.
float clamp_255(float v) {
    return v < 0.0f ? 0.0f : v > 255.0f ? 255.0f : v;
}

float smaller(float a, float b) {
    return b < a ? b : a;
}

float larger(float a, float b) {
    return b > a ? b : a;
}

}  // namespace

void principal_endpoints(const pixel4* px, int n, int first, int count, float e0[4], float e1[4]) {
    float mean[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int p = 0; p < n; ++p)
        for (int c = 0; c < count; ++c)
            mean[c] += static_cast<float>(px[p][first + c]);
    for (int c = 0; c < count; ++c)
        mean[c] *= 1.0f / static_cast<float>(n);
    float cov[4][4] = {};
    for (int p = 0; p < n; ++p) {
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
            top = larger(top, std::fabs(w[i]));
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
        for (int p = 0; p < n; ++p) {
            float t = 0.0f;
            for (int c = 0; c < count; ++c)
                t += (static_cast<float>(px[p][first + c]) - mean[c]) * v[c];
            lo = smaller(lo, t);
            hi = larger(hi, t);
        }
    }
    for (int c = 0; c < count; ++c) {
        e0[c] = clamp_255(mean[c] + v[c] * lo);
        e1[c] = clamp_255(mean[c] + v[c] * hi);
    }
}

int assign_steps(const pixel4* px, int n, int first, int count, const int end0[4],
                 const int end1[4], const int* weights, int steps, uint8_t* step) {
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
    for (int p = 0; p < n; ++p) {
        int dot = 0;
        for (int c = 0; c < count; ++c)
            dot += (px[p][first + c] - end0[c]) * dir[c];
        const int guess = std::clamp(static_cast<int>(static_cast<float>(dot) * scale + 0.5f), 0,
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

bool refit_endpoints(const pixel4* px, int n, int first, int count, const uint8_t* step,
                     const int* weights, float e0[4], float e1[4]) {
    float aa = 0.0f, ab = 0.0f, bb = 0.0f, ax[4] = {}, bx[4] = {};
    for (int p = 0; p < n; ++p) {
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

}  // namespace mevra::dds::bc7_fit
