#include "formats/bc45_encoder.h"

#include "formats/bc_decode.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mevra::dds {
namespace {

constexpr int search_radius = 1;

// Endpoints as stored, the codes chosen for them and the squared error.
struct channel_choice {
    int v0 = 0, v1 = 0;
    uint8_t code[16] = {};
    int error = -1;
};

// Codes each pixel with its nearest level (ties keep the lower code) and
// keeps the result when it beats `best`.
void try_endpoints(const uint8_t values[16], int v0, int v1, channel_choice& best) {
    uint32_t levels[8];
    channel_levels(static_cast<uint32_t>(v0), static_cast<uint32_t>(v1), levels);
    channel_choice c;
    c.v0 = v0;
    c.v1 = v1;
    c.error = 0;
    for (int p = 0; p < 16; ++p) {
        int nearest = 1 << 20;
        for (int k = 0; k < 8; ++k) {
            const int d = static_cast<int>(values[p]) - static_cast<int>(levels[k]);
            if (d * d < nearest) {
                nearest = d * d;
                c.code[p] = static_cast<uint8_t>(k);
            }
        }
        c.error += nearest;
    }
    if (best.error < 0 || c.error < best.error) best = c;
}

// Where a code sits between the first endpoint (0) and the second (1); -1
// for the fixed 0 and 255 of the six-level mode.
float code_weight(int code, bool eight_levels) {
    if (code <= 1) return static_cast<float>(code);
    if (eight_levels) return static_cast<float>(code - 1) / 7.0f;
    return code <= 5 ? static_cast<float>(code - 1) / 5.0f : -1.0f;
}

// Least-squares endpoints for the codes of `c`; false when the codes do not
// pin them down (one weight only).
bool refit(const uint8_t values[16], const channel_choice& c, bool eight_levels, int& v0,
           int& v1) {
    float aa = 0.0f, ab = 0.0f, bb = 0.0f, av = 0.0f, bv = 0.0f;
    for (int p = 0; p < 16; ++p) {
        const float w = code_weight(c.code[p], eight_levels);
        if (w < 0.0f) continue;
        const float a = 1.0f - w;
        const float v = static_cast<float>(values[p]);
        aa += a * a;
        ab += a * w;
        bb += w * w;
        av += a * v;
        bv += w * v;
    }
    const float det = aa * bb - ab * ab;
    if (det < 1e-3f) return false;
    const float e0 = (av * bb - bv * ab) / det;
    const float e1 = (bv * aa - av * ab) / det;
    v0 = std::clamp(static_cast<int>(std::floor(e0 + 0.5f)), 0, 255);
    v1 = std::clamp(static_cast<int>(std::floor(e1 + 0.5f)), 0, 255);
    return true;
}

// The best pair of one mode: the range's ends, then two least-squares refits
// of the codes found. (Searching the pairs around the ends as well gained
// about 0.7 dB on photographs for five times the time.)
void search_mode(const uint8_t values[16], int lo, int hi, bool eight_levels,
                 channel_choice& best) {
    channel_choice mode;
    if (eight_levels && hi > lo) try_endpoints(values, hi, lo, mode);
    if (!eight_levels && lo <= hi) try_endpoints(values, lo, hi, mode);
    for (int round = 0; round < 2 && mode.error > 0; ++round) {
        int v0 = 0, v1 = 0;
        if (!refit(values, mode, eight_levels, v0, v1)) break;
        // Each mode is named by the order of its endpoints.
        if (eight_levels ? v0 <= v1 : v0 > v1) std::swap(v0, v1);
        if (eight_levels && v0 == v1) break;
        const int before = mode.error;
        try_endpoints(values, v0, v1, mode);
        if (mode.error >= before) break;
    }
    if (mode.error >= 0 && (best.error < 0 || mode.error < best.error)) best = mode;
}

}  // namespace

void encode_channel_half(const uint8_t values[16], uint8_t out[8]) {
    int lo = 255, hi = 0, inner_lo = 255, inner_hi = 0;
    for (int p = 0; p < 16; ++p) {
        const int v = values[p];
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        // The six-level mode has 0 and 255 for free; its endpoints span the rest.
        if (v != 0 && v != 255) {
            inner_lo = std::min(inner_lo, v);
            inner_hi = std::max(inner_hi, v);
        }
    }
    channel_choice best;
    if (lo == hi) {
        try_endpoints(values, lo, lo, best);  // six-level mode, level 0 is the value itself
    } else {
        search_mode(values, lo, hi, true, best);
        if (inner_lo > inner_hi) inner_lo = inner_hi = lo;
        search_mode(values, inner_lo, inner_hi, false, best);
    }
    out[0] = static_cast<uint8_t>(best.v0);
    out[1] = static_cast<uint8_t>(best.v1);
    uint64_t codes = 0;
    for (int p = 0; p < 16; ++p)
        codes |= uint64_t{best.code[p]} << (3 * p);
    for (int k = 0; k < 6; ++k)
        out[2 + k] = static_cast<uint8_t>(codes >> (8 * k));
}

void encode_bc4_block(const uint32_t pixels[16], uint8_t out[8]) {
    uint8_t luma[16];
    for (int p = 0; p < 16; ++p) {
        const uint32_t r = pixels[p] >> 16 & 255, g = pixels[p] >> 8 & 255, b = pixels[p] & 255;
        // Weights 77 + 150 + 29 = 256, so R = G = B = v gives exactly v.
        luma[p] = static_cast<uint8_t>((77 * r + 150 * g + 29 * b + 128) >> 8);
    }
    encode_channel_half(luma, out);
}

void encode_bc5_block(const uint32_t pixels[16], uint8_t out[16]) {
    uint8_t red[16], green[16];
    for (int p = 0; p < 16; ++p) {
        red[p] = static_cast<uint8_t>(pixels[p] >> 16);
        green[p] = static_cast<uint8_t>(pixels[p] >> 8);
    }
    encode_channel_half(red, out);
    encode_channel_half(green, out + 8);
}

}  // namespace mevra::dds
