#include "image/scaling_resample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace mevra {
namespace {

// A byte from a sum that was already rounded by + 0.5f: truncation, and a
// clamp that only guards against single-precision drift past the ends.
inline uint8_t to_byte(float v) {
    const int i = static_cast<int>(v);
    return static_cast<uint8_t>(i < 0 ? 0 : (i > 255 ? 255 : i));
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
        t.i0 = static_cast<int>(c - 0.5f);
        const int i1 = static_cast<int>(c + 0.5f);
        t.single = t.i0 == i1;
        t.w0 = 1.0f - (c - (static_cast<float>(t.i0) + 0.5f));
        t.w1 = 1.0f - ((static_cast<float>(i1) + 0.5f) - c);
        t.i1 = i1 >= n ? t.i0 : i1;
        t.i0 = std::min(t.i0, n - 1);
    }
    return plan;
}

// Shrinking a line of n pixels to m: source pixel j spreads over outputs o0 and
// o1 with the shares f and 1 - f of its weight r = m / n.
struct shrink_tap {
    int o0, o1;
    bool single;
    float f, g;  // g = 1 - f
};

struct shrink_plan {
    float r = 0.0f;
    float scaled[256];  // channel × r for every channel value
    std::vector<shrink_tap> taps;
};

shrink_plan make_shrink_plan(int n, int m) {
    shrink_plan p;
    p.r = static_cast<float>(m) / static_cast<float>(n);
    for (int v = 0; v < 256; ++v)
        p.scaled[v] = static_cast<float>(v) * p.r;
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

// --- one line along a row (pixels next to each other) ---

void grow_row(const uint8_t* src, uint8_t* dst, const std::vector<grow_tap>& plan) {
    for (size_t i = 0; i < plan.size(); ++i) {
        const grow_tap& t = plan[i];
        const uint8_t* p0 = src + 4 * static_cast<size_t>(t.i0);
        uint8_t* out = dst + 4 * i;
        if (t.single) {
            std::memcpy(out, p0, 4);
            continue;
        }
        const uint8_t* p1 = src + 4 * static_cast<size_t>(t.i1);
        for (int ch = 0; ch < 4; ++ch)
            out[ch] = to_byte(static_cast<float>(p1[ch]) * t.w1 +
                              static_cast<float>(p0[ch]) * t.w0 + 0.5f);
    }
}

void shrink_row(const uint8_t* src, uint8_t* dst, int m, const shrink_plan& plan,
                std::vector<float>& acc) {
    acc.assign(4 * static_cast<size_t>(m), 0.0f);
    for (size_t j = 0; j < plan.taps.size(); ++j) {
        const shrink_tap& t = plan.taps[j];
        const uint8_t* p = src + 4 * j;
        float* a0 = acc.data() + 4 * static_cast<size_t>(t.o0);
        if (t.single) {
            for (int ch = 0; ch < 4; ++ch)
                a0[ch] += plan.scaled[p[ch]];
        } else {
            float* a1 = acc.data() + 4 * static_cast<size_t>(t.o1);
            for (int ch = 0; ch < 4; ++ch) {
                a0[ch] += plan.scaled[p[ch]] * t.f;
                a1[ch] += plan.scaled[p[ch]] * t.g;
            }
        }
    }
    for (size_t k = 0; k < acc.size(); ++k)
        dst[k] = to_byte(acc[k] + 0.5f);
}

// The horizontal pass, one row at a time, with the two most recent rows kept:
// the vertical pass asks for rows in ascending order, at most two at once.
class row_pass {
  public:
    row_pass(const std::vector<uint32_t>& src, int w, int new_w) : src_(src), w_(w), new_w_(new_w) {
        if (new_w > w) grow_ = grow_plan(w, new_w);
        if (new_w < w) shrink_ = make_shrink_plan(w, new_w);
        for (auto& slot : slots_)
            slot.pixels.resize(static_cast<size_t>(new_w));
    }

    const uint32_t* row(int y) {
        for (int i = 0; i < 2; ++i) {
            if (slots_[i].y != y) continue;
            next_ = i ^ 1;  // the other slot is now the older one
            return slots_[i].pixels.data();
        }
        slot& s = slots_[next_];
        next_ ^= 1;
        s.y = y;
        const uint32_t* in = src_.data() + static_cast<size_t>(y) * static_cast<size_t>(w_);
        auto* out = reinterpret_cast<uint8_t*>(s.pixels.data());
        auto* bytes = reinterpret_cast<const uint8_t*>(in);
        if (new_w_ > w_)
            grow_row(bytes, out, grow_);
        else if (new_w_ < w_)
            shrink_row(bytes, out, new_w_, shrink_, acc_);
        else
            std::memcpy(out, in, 4 * static_cast<size_t>(w_));
        return s.pixels.data();
    }

  private:
    struct slot {
        int y = -1;
        std::vector<uint32_t> pixels;
    };
    const std::vector<uint32_t>& src_;
    int w_, new_w_;
    std::vector<grow_tap> grow_;
    shrink_plan shrink_;
    std::vector<float> acc_;
    slot slots_[2];
    int next_ = 0;
};

// --- the vertical pass, worked on whole rows: every byte of a row is one
// channel of one column, and each column sees exactly the arithmetic of a line ---

void grow_columns(row_pass& rows, uint32_t* dst, int h, int new_h, size_t row_bytes) {
    const std::vector<grow_tap> plan = grow_plan(h, new_h);
    for (int i = 0; i < new_h; ++i) {
        const grow_tap& t = plan[static_cast<size_t>(i)];
        auto* out = reinterpret_cast<uint8_t*>(dst + static_cast<size_t>(i) * (row_bytes / 4));
        if (t.single) {
            std::memcpy(out, rows.row(t.i0), row_bytes);
            continue;
        }
        const auto* p0 = reinterpret_cast<const uint8_t*>(rows.row(t.i0));
        const auto* p1 = reinterpret_cast<const uint8_t*>(rows.row(t.i1));
        const float w0 = t.w0, w1 = t.w1;
        for (size_t k = 0; k < row_bytes; ++k)
            out[k] =
                to_byte(static_cast<float>(p1[k]) * w1 + static_cast<float>(p0[k]) * w0 + 0.5f);
    }
}

void shrink_columns(row_pass& rows, uint32_t* dst, int h, int new_h, size_t row_bytes) {
    const shrink_plan plan = make_shrink_plan(h, new_h);
    // Accumulator rows for the output rows from `first` on; rows below the
    // current source row's first output are complete and written out.
    std::vector<std::vector<float>> acc;
    int first = 0;
    auto flush_below = [&](int o) {
        while (first < o) {
            auto* out =
                reinterpret_cast<uint8_t*>(dst + static_cast<size_t>(first) * (row_bytes / 4));
            if (acc.empty()) {
                std::memset(out, 0, row_bytes);  // no source row reached it
            } else {
                for (size_t k = 0; k < row_bytes; ++k)
                    out[k] = to_byte(acc.front()[k] + 0.5f);
                acc.erase(acc.begin());
            }
            ++first;
        }
    };
    auto acc_row = [&](int o) -> float* {
        while (static_cast<int>(acc.size()) <= o - first)
            acc.emplace_back(row_bytes, 0.0f);
        return acc[static_cast<size_t>(o - first)].data();
    };
    for (int j = 0; j < h; ++j) {
        const shrink_tap& t = plan.taps[static_cast<size_t>(j)];
        flush_below(t.o0);
        const auto* p = reinterpret_cast<const uint8_t*>(rows.row(j));
        float* a0 = acc_row(t.o0);
        if (t.single) {
            for (size_t k = 0; k < row_bytes; ++k)
                a0[k] += plan.scaled[p[k]];
        } else {
            float* a1 = acc_row(t.o1);
            a0 = acc_row(t.o0);  // acc_row may have moved the rows
            const float f = t.f, g = t.g;
            for (size_t k = 0; k < row_bytes; ++k) {
                a0[k] += plan.scaled[p[k]] * f;
                a1[k] += plan.scaled[p[k]] * g;
            }
        }
    }
    flush_below(new_h);
}

}  // namespace

std::vector<uint32_t> resample_argb(const std::vector<uint32_t>& src, int w, int h, int new_w,
                                    int new_h) {
    std::vector<uint32_t> out(static_cast<size_t>(new_w) * static_cast<size_t>(new_h));
    row_pass rows(src, w, new_w);
    const size_t row_bytes = 4 * static_cast<size_t>(new_w);
    if (new_h > h) {
        grow_columns(rows, out.data(), h, new_h, row_bytes);
    } else if (new_h < h) {
        shrink_columns(rows, out.data(), h, new_h, row_bytes);
    } else {
        for (int y = 0; y < h; ++y)
            std::memcpy(out.data() + static_cast<size_t>(y) * new_w, rows.row(y), row_bytes);
    }
    return out;
}

}  // namespace mevra
