#include "image/scaling_resample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <deque>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mevra {
namespace {

// The four channels of one pixel side by side. Each lane is computed with
// exactly the single-precision operations of the per-channel formula (the
// build allows no fused multiply-add), so working four at once changes speed,
// not results.
using f32x4 = float __attribute__((vector_size(16)));
using i32x4 = int32_t __attribute__((vector_size(16)));
using u8x4 = uint8_t __attribute__((vector_size(4)));

inline f32x4 splat(float v) {
    return f32x4{v, v, v, v};
}

// Converting between bytes and floats: SSE2 has direct instructions for what
// the generic vector code would do one lane at a time.
inline f32x4 load_pixel(const uint32_t* p) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(*p));
    const __m128i words = _mm_unpacklo_epi8(bytes, zero);
    return reinterpret_cast<f32x4>(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero)));
#else
    u8x4 bytes;
    std::memcpy(&bytes, p, 4);
    return __builtin_convertvector(bytes, f32x4);
#endif
}

// A byte per lane: truncation toward zero, kept in 0..255. The clamp only
// guards against single-precision drift past the ends.
inline uint32_t to_pixel(f32x4 v) {
#if defined(__SSE2__)
    // The saturating packs are exactly the clamp to 0..255.
    const __m128i i = _mm_cvttps_epi32(reinterpret_cast<__m128>(v));
    const __m128i words = _mm_packs_epi32(i, i);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
    i32x4 i = __builtin_convertvector(v, i32x4);
    i &= ~(i < 0);
    const i32x4 high = i > 255;
    i = (i & ~high) | (i32x4{255, 255, 255, 255} & high);
    const u8x4 bytes = __builtin_convertvector(i, u8x4);
    uint32_t p;
    std::memcpy(&p, &bytes, 4);
    return p;
#endif
}

// The same byte values, kept as floats for the next pass (exact: 0..255).
// Clamping before truncating gives the same bytes as clamping after.
inline f32x4 to_channel_floats(f32x4 v) {
#if defined(__SSE2__)
    const __m128 clamped =
        _mm_min_ps(_mm_max_ps(reinterpret_cast<__m128>(v), _mm_setzero_ps()), _mm_set1_ps(255.0f));
    return reinterpret_cast<f32x4>(_mm_cvtepi32_ps(_mm_cvttps_epi32(clamped)));
#else
    const uint32_t p = to_pixel(v);
    return load_pixel(&p);
#endif
}

// Growing a line of n pixels to m: for output i, the two source pixels around
// its centre and their weights.
struct grow_tap {
    int i0, i1;   // i1 already replaced by i0 past the end
    bool single;  // i0 == i1: the pixel is copied
    float w0, w1;
};

std::vector<grow_tap> grow_plan(int n, int m) {
    std::vector<grow_tap> plan(static_cast<size_t>(m));
    const float s = static_cast<float>(n) / static_cast<float>(m);
    for (int i = 0; i < m; ++i) {
        const float c = (static_cast<float>(i) + 0.5f) * s;
        grow_tap& t = plan[static_cast<size_t>(i)];
        // Truncation toward zero: the first centres, left of 0.5, give i0 = 0.
        const int i0 = static_cast<int>(c - 0.5f);
        const int i1 = static_cast<int>(c + 0.5f);
        t.single = i0 == i1;
        t.w0 = 1.0f - (c - (static_cast<float>(i0) + 0.5f));
        t.w1 = 1.0f - ((static_cast<float>(i1) + 0.5f) - c);
        t.i0 = std::min(i0, n - 1);
        t.i1 = i1 >= n ? t.i0 : i1;
    }
    return plan;
}

// Shrinking a line of n pixels to m: source pixel j spreads its weight r = m / n
// over outputs o0 and o1 with the shares f and 1 - f.
struct shrink_tap {
    int o0, o1;
    bool single;
    float f, g;  // g = 1 - f
};

struct shrink_plan {
    float r = 0.0f;
    std::vector<shrink_tap> taps;
};

shrink_plan make_shrink_plan(int n, int m) {
    shrink_plan p;
    p.r = static_cast<float>(m) / static_cast<float>(n);
    p.taps.resize(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) {
        const float a = static_cast<float>(j) * p.r;
        const float b = static_cast<float>(j + 1) * p.r;
        shrink_tap& t = p.taps[static_cast<size_t>(j)];
        t.o0 = std::min(static_cast<int>(a), m - 1);
        t.o1 = std::min(static_cast<int>(b), m - 1);
        t.single = t.o0 == t.o1;
        t.f = (static_cast<float>(t.o1) - a) / p.r;
        t.g = 1.0f - t.f;
    }
    return p;
}

// Adds one source pixel's share to the accumulators: channel × r, then × f.
inline void spread(const f32x4& ch, const shrink_plan& plan, const shrink_tap& t, f32x4& a0,
                   f32x4& a1) {
    const f32x4 cr = ch * splat(plan.r);
    if (t.single) {
        a0 += cr;
    } else {
        a0 += cr * splat(t.f);
        a1 += cr * splat(t.g);
    }
}

// The horizontal pass, one row at a time. Rows come out as four floats per
// pixel, ready for the vertical pass; the two most recently used are kept,
// since the vertical pass asks for rows in ascending order, at most two at once.
class row_pass {
  public:
    row_pass(const std::vector<uint32_t>& src, int w, int new_w) : src_(src), w_(w), new_w_(new_w) {
        if (new_w > w) grow_ = grow_plan(w, new_w);
        if (new_w < w) shrink_ = make_shrink_plan(w, new_w);
        line_.resize(static_cast<size_t>(std::max(w, new_w)));
        for (auto& s : slots_)
            s.pixels.resize(static_cast<size_t>(new_w));
    }

    const f32x4* row(int y) {
        for (int i = 0; i < 2; ++i) {
            if (slots_[i].y != y) continue;
            next_ = i ^ 1;  // the other slot is now the older one
            return slots_[i].pixels.data();
        }
        slot& s = slots_[next_];
        next_ ^= 1;
        s.y = y;
        const uint32_t* in = src_.data() + static_cast<size_t>(y) * static_cast<size_t>(w_);
        f32x4* out = s.pixels.data();
        if (new_w_ > w_) {
            for (int x = 0; x < w_; ++x)
                line_[static_cast<size_t>(x)] = load_pixel(in + x);
            for (size_t i = 0; i < grow_.size(); ++i) {
                const grow_tap& t = grow_[i];
                const f32x4 p0 = line_[static_cast<size_t>(t.i0)];
                if (t.single) {
                    out[i] = p0;
                } else {
                    const f32x4 p1 = line_[static_cast<size_t>(t.i1)];
                    out[i] = to_channel_floats(p1 * splat(t.w1) + p0 * splat(t.w0) + splat(0.5f));
                }
            }
        } else if (new_w_ < w_) {
            std::fill_n(line_.begin(), new_w_, splat(0.0f));
            for (size_t j = 0; j < shrink_.taps.size(); ++j) {
                const shrink_tap& t = shrink_.taps[j];
                spread(load_pixel(in + j), shrink_, t, line_[static_cast<size_t>(t.o0)],
                       line_[static_cast<size_t>(t.o1)]);
            }
            for (int x = 0; x < new_w_; ++x)
                out[x] = to_channel_floats(line_[static_cast<size_t>(x)] + splat(0.5f));
        } else {
            for (int x = 0; x < w_; ++x)
                out[x] = load_pixel(in + x);
        }
        return out;
    }

  private:
    struct slot {
        int y = -1;
        std::vector<f32x4> pixels;
    };
    const std::vector<uint32_t>& src_;
    int w_, new_w_;
    std::vector<grow_tap> grow_;
    shrink_plan shrink_;
    std::vector<f32x4> line_;  // the source row as floats, or the accumulators
    slot slots_[2];
    int next_ = 0;
};

// --- the vertical pass, worked on whole rows: each lane of a row is one
// channel of one column and sees exactly the arithmetic of a column line ---

void grow_columns(row_pass& rows, uint32_t* dst, int h, int new_h, size_t new_w) {
    const std::vector<grow_tap> plan = grow_plan(h, new_h);
    for (int i = 0; i < new_h; ++i) {
        const grow_tap& t = plan[static_cast<size_t>(i)];
        uint32_t* out = dst + static_cast<size_t>(i) * new_w;
        const f32x4* p0 = rows.row(t.i0);
        if (t.single) {
            for (size_t x = 0; x < new_w; ++x)
                out[x] = to_pixel(p0[x]);
            continue;
        }
        const f32x4* p1 = rows.row(t.i1);
        const f32x4 w0 = splat(t.w0), w1 = splat(t.w1), half = splat(0.5f);
        for (size_t x = 0; x < new_w; ++x)
            out[x] = to_pixel(p1[x] * w1 + p0[x] * w0 + half);
    }
}

void shrink_columns(row_pass& rows, uint32_t* dst, int h, int new_h, size_t new_w) {
    const shrink_plan plan = make_shrink_plan(h, new_h);
    // Accumulator rows for the output rows from `first` on. Output rows below
    // the current source row's first output are complete and written out.
    std::deque<std::vector<f32x4>> acc;
    int first = 0;
    auto flush_below = [&](int o) {
        for (; first < o; ++first) {
            uint32_t* out = dst + static_cast<size_t>(first) * new_w;
            if (acc.empty()) {
                std::fill_n(out, new_w, 0u);  // no source row reached this one
                continue;
            }
            const std::vector<f32x4>& a = acc.front();
            for (size_t x = 0; x < new_w; ++x)
                out[x] = to_pixel(a[x] + splat(0.5f));
            acc.pop_front();
        }
    };
    auto acc_row = [&](int o) -> f32x4* {
        while (static_cast<int>(acc.size()) <= o - first)
            acc.emplace_back(new_w, splat(0.0f));
        return acc[static_cast<size_t>(o - first)].data();
    };
    for (int j = 0; j < h; ++j) {
        const shrink_tap& t = plan.taps[static_cast<size_t>(j)];
        flush_below(t.o0);
        const f32x4* p = rows.row(j);
        f32x4* a1 = acc_row(t.o1);  // deque growth keeps earlier rows in place
        f32x4* a0 = acc_row(t.o0);
        if (t.single) {
            for (size_t x = 0; x < new_w; ++x)
                a0[x] += p[x] * splat(plan.r);
        } else {
            for (size_t x = 0; x < new_w; ++x)
                spread(p[x], plan, t, a0[x], a1[x]);
        }
    }
    flush_below(new_h);
}

}  // namespace

std::vector<uint32_t> resample_argb(const std::vector<uint32_t>& src, int w, int h, int new_w,
                                    int new_h) {
    std::vector<uint32_t> out(static_cast<size_t>(new_w) * static_cast<size_t>(new_h));
    row_pass rows(src, w, new_w);
    const size_t width = static_cast<size_t>(new_w);
    if (new_h > h) {
        grow_columns(rows, out.data(), h, new_h, width);
    } else if (new_h < h) {
        shrink_columns(rows, out.data(), h, new_h, width);
    } else {
        for (int y = 0; y < h; ++y) {
            const f32x4* p = rows.row(y);
            uint32_t* o = out.data() + static_cast<size_t>(y) * width;
            for (size_t x = 0; x < width; ++x)
                o[x] = to_pixel(p[x]);
        }
    }
    return out;
}

}  // namespace mevra
