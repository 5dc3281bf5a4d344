#include "formats/dds_mip_chain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace mevra::dds {
namespace {

// Premultiplied linear-light RGBA, all in 0..1.
struct linear_pixel {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

const std::array<float, 256>& srgb_to_linear() {
    static const auto table = [] {
        std::array<float, 256> t{};
        for (int v = 0; v < 256; ++v) {
            const float s = static_cast<float>(v) / 255.0f;
            t[static_cast<size_t>(v)] =
                s <= 0.04045f ? s / 12.92f : std::pow((s + 0.055f) / 1.055f, 2.4f);
        }
        return t;
    }();
    return table;
}

int linear_to_srgb(float l) {
    l = std::clamp(l, 0.0f, 1.0f);
    const float s = l <= 0.0031308f ? l * 12.92f : 1.055f * std::pow(l, 1.0f / 2.4f) - 0.055f;
    return std::clamp(static_cast<int>(s * 255.0f + 0.5f), 0, 255);
}

float lanczos2(float x) {
    if (x < 0.0f) x = -x;
    if (x >= 2.0f) return 0.0f;
    if (x < 1e-6f) return 1.0f;
    const float px = std::numbers::pi_v<float> * x;
    return 2.0f * std::sin(px) * std::sin(px * 0.5f) / (px * px);
}

// Per output position along one side: the first input taken and the
// normalised weights of the inputs from there on.
struct tap_row {
    int first = 0;
    std::vector<float> weight;
};

std::vector<tap_row> taps(int in, int out) {
    std::vector<tap_row> rows(static_cast<size_t>(out));
    if (in == 2 * out) {
        for (int o = 0; o < out; ++o)
            rows[static_cast<size_t>(o)] = {2 * o, {0.5f, 0.5f}};
        return rows;
    }
    const float scale = static_cast<float>(in) / static_cast<float>(out);
    const float radius = 2.0f * scale;
    for (int o = 0; o < out; ++o) {
        const float centre = (static_cast<float>(o) + 0.5f) * scale;
        const int lo = std::max(0, static_cast<int>(std::floor(centre - radius)));
        const int hi = std::min(in - 1, static_cast<int>(std::ceil(centre + radius)));
        tap_row& row = rows[static_cast<size_t>(o)];
        row.first = lo;
        float sum = 0.0f;
        for (int i = lo; i <= hi; ++i) {
            const float w = lanczos2((static_cast<float>(i) + 0.5f - centre) / scale);
            row.weight.push_back(w);
            sum += w;
        }
        for (float& w : row.weight)
            w /= sum;
    }
    return rows;
}

linear_pixel to_linear(uint32_t c) {
    const auto& lin = srgb_to_linear();
    const float a = static_cast<float>(c >> 24) / 255.0f;
    return {lin[c >> 16 & 255] * a, lin[c >> 8 & 255] * a, lin[c & 255] * a, a};
}

uint32_t from_linear(const linear_pixel& p) {
    const float a = std::clamp(p.a, 0.0f, 1.0f);
    const int alpha = std::clamp(static_cast<int>(a * 255.0f + 0.5f), 0, 255);
    // Fully transparent: no colour to keep.
    if (a <= 0.0f) return static_cast<uint32_t>(alpha) << 24;
    return static_cast<uint32_t>(alpha) << 24 |
           static_cast<uint32_t>(linear_to_srgb(p.r / a)) << 16 |
           static_cast<uint32_t>(linear_to_srgb(p.g / a)) << 8 |
           static_cast<uint32_t>(linear_to_srgb(p.b / a));
}

void accumulate(linear_pixel& sum, const linear_pixel& p, float w) {
    sum.r += p.r * w;
    sum.g += p.g * w;
    sum.b += p.b * w;
    sum.a += p.a * w;
}

// `exact_alpha`, when given, receives each pixel's alpha (0..255) before it is
// rounded: the coverage search needs values that rounding has not made equal.
mip_level half_of(const uint32_t* src, int width, int height, std::vector<float>* exact_alpha) {
    mip_level out;
    out.width = std::max(1, width / 2);
    out.height = std::max(1, height / 2);
    const auto across = out.width == width ? std::vector<tap_row>{} : taps(width, out.width);
    const auto down = out.height == height ? std::vector<tap_row>{} : taps(height, out.height);
    // Across first, into linear light, then down.
    std::vector<linear_pixel> rows(static_cast<size_t>(out.width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uint32_t* line = src + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < out.width; ++x) {
            linear_pixel& sum = rows[static_cast<size_t>(y) * static_cast<size_t>(out.width) +
                                     static_cast<size_t>(x)];
            if (across.empty()) {
                sum = to_linear(line[x]);
                continue;
            }
            const tap_row& t = across[static_cast<size_t>(x)];
            for (size_t k = 0; k < t.weight.size(); ++k)
                accumulate(sum, to_linear(line[t.first + static_cast<int>(k)]), t.weight[k]);
        }
    }
    out.argb.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    if (exact_alpha) exact_alpha->resize(out.argb.size());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            linear_pixel sum;
            if (down.empty()) {
                sum = rows[static_cast<size_t>(y) * static_cast<size_t>(out.width) +
                           static_cast<size_t>(x)];
            } else {
                const tap_row& t = down[static_cast<size_t>(y)];
                for (size_t k = 0; k < t.weight.size(); ++k)
                    accumulate(sum,
                               rows[static_cast<size_t>(t.first + static_cast<int>(k)) *
                                        static_cast<size_t>(out.width) +
                                    static_cast<size_t>(x)],
                               t.weight[k]);
            }
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(out.width) +
                              static_cast<size_t>(x);
            out.argb[at] = from_linear(sum);
            if (exact_alpha) (*exact_alpha)[at] = std::clamp(sum.a, 0.0f, 1.0f) * 255.0f;
        }
    return out;
}

// Pixels of equal alpha cross the reference together under any scale: box
// filtered integer alphas take few values, so the nearest coverage a factor
// reaches can still be a few per cent off. Moving just enough of the pixels
// one step below the reference up by one (or one step above down by one),
// spread evenly over the picture, brings it to the nearest pixel.
void settle_ties(mip_level& level, int reference, float wanted) {
    if (reference <= 0 || reference > 255) return;
    const size_t n = level.argb.size();
    const auto want = static_cast<size_t>(std::lround(static_cast<double>(wanted) * static_cast<double>(n)));
    size_t kept = 0;
    for (uint32_t c : level.argb)
        kept += static_cast<int>(c >> 24) >= reference ? 1u : 0u;
    if (kept == want) return;
    const int from = kept < want ? reference - 1 : reference;
    const uint32_t to = static_cast<uint32_t>(kept < want ? reference : reference - 1);
    std::vector<size_t> at;
    for (size_t i = 0; i < n; ++i)
        if (static_cast<int>(level.argb[i] >> 24) == from) at.push_back(i);
    const size_t moves = std::min(at.size(), kept < want ? want - kept : kept - want);
    for (size_t j = 0; j < moves; ++j) {
        uint32_t& c = level.argb[at[j * at.size() / moves]];
        c = (c & 0xFFFFFFu) | to << 24;
    }
}

// Scales the level's alpha by the factor (found by bisection) whose coverage
// comes closest to `wanted`. The factor applies to the alpha before rounding:
// rounded first, many pixels would share a value and cross the reference
// together, and the coverage could only move in large steps.
void keep_coverage(mip_level& level, const std::vector<float>& exact_alpha, int reference,
                   float wanted) {
    std::vector<uint32_t> filtered = level.argb;
    auto scaled = [&](float factor) {
        for (size_t i = 0; i < filtered.size(); ++i) {
            const float a = exact_alpha[i] * factor;
            const auto alpha = static_cast<uint32_t>(std::clamp(a + 0.5f, 0.0f, 255.0f));
            level.argb[i] = (filtered[i] & 0xFFFFFFu) | alpha << 24;
        }
        return alpha_coverage(level.argb.data(), level.argb.size(), reference);
    };
    float lo = 0.0f, hi = 256.0f;
    float best_factor = 1.0f, best_gap = std::fabs(scaled(1.0f) - wanted);
    for (int step = 0; step < 24; ++step) {
        const float mid = (lo + hi) * 0.5f;
        const float coverage = scaled(mid);
        const float gap = std::fabs(coverage - wanted);
        if (gap < best_gap) {
            best_gap = gap;
            best_factor = mid;
        }
        if (coverage < wanted)
            lo = mid;
        else
            hi = mid;
    }
    scaled(best_factor);
    settle_ties(level, reference, wanted);
}

}  // namespace

int mip_level_count(int width, int height) {
    int levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        ++levels;
    }
    return levels;
}

float alpha_coverage(const uint32_t* argb, size_t count, int reference) {
    if (count == 0) return 0.0f;
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i)
        kept += static_cast<int>(argb[i] >> 24) >= reference ? 1u : 0u;
    return static_cast<float>(kept) / static_cast<float>(count);
}

std::vector<mip_level> build_mip_chain(const uint32_t* top, int width, int height,
                                       int alpha_reference) {
    std::vector<mip_level> levels;
    const float wanted =
        alpha_reference >= 0
            ? alpha_coverage(top, static_cast<size_t>(width) * static_cast<size_t>(height),
                             alpha_reference)
            : 0.0f;
    const uint32_t* above = top;
    int w = width, h = height;
    std::vector<uint32_t> unscaled;  // the level above before its alpha was scaled
    std::vector<float> exact_alpha;
    const bool coverage = alpha_reference >= 0;
    while (w > 1 || h > 1) {
        mip_level next = half_of(above, w, h, coverage ? &exact_alpha : nullptr);
        levels.push_back(std::move(next));
        mip_level& level = levels.back();
        unscaled = level.argb;
        if (coverage) keep_coverage(level, exact_alpha, alpha_reference, wanted);
        w = level.width;
        h = level.height;
        above = unscaled.data();
    }
    return levels;
}

}  // namespace mevra::dds
