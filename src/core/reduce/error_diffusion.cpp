// Error-diffusion mapping: each pixel takes its nearest entry and passes the
// remaining error on to the neighbours ahead of it.
#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

#include "image/image_info.h"
#include "platform/thread_start.h"
#include "reduce/dither_mapping.h"
#include "reduce/nearest_cells.h"
#include "platform/worker_threads.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace mevra {
namespace {


// One neighbour of a kernel.
struct kernel_tap {
    int dx, dy;
    float weight;
};

// Floyd–Steinberg (A) and Jarvis–Judice–Ninke (B), neighbours in visiting order.
std::vector<kernel_tap> kernel_taps(int type) {
    if (type == 1)
        return {{1, 0, 7.0f / 16.0f},
                {-1, 1, 3.0f / 16.0f},
                {0, 1, 5.0f / 16.0f},
                {1, 1, 1.0f / 16.0f}};
    return {{1, 0, 7.0f / 48.0f},  {2, 0, 5.0f / 48.0f},  {-2, 1, 3.0f / 48.0f},
            {-1, 1, 5.0f / 48.0f}, {0, 1, 7.0f / 48.0f},  {1, 1, 5.0f / 48.0f},
            {2, 1, 3.0f / 48.0f},  {-2, 2, 1.0f / 48.0f}, {-1, 2, 3.0f / 48.0f},
            {0, 2, 5.0f / 48.0f},  {1, 2, 3.0f / 48.0f},  {2, 2, 1.0f / 48.0f}};
}

inline float clamp_to(float v, float lo, float hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

// Adds a weighted share of the error to a neighbour, then holds it to its range.
inline void diffuse_into(wxyz& n, float weight, const wxyz& e) {
    n.a = clamp_to(n.a + weight * e.a, 0.0f, 255.0f);
    n.y = clamp_to(n.y + weight * e.y, 0.0f, 255.0f);
    n.cb = clamp_to(n.cb + weight * e.cb, -127.0f, 127.0f);
    n.cr = clamp_to(n.cr + weight * e.cr, -127.0f, 127.0f);
}

// The same four lane-wise operations with 128-bit vectors: add, multiply, then
// max(low, v) and min(high, v), which are exactly "v < low ? low : v" and
// "v > high ? high : v" per lane.
inline void diffuse_into_fast(wxyz& n, float weight, const wxyz& e) {
#if defined(__SSE2__)
    static_assert(sizeof(wxyz) == 4 * sizeof(float));
    const __m128 low = _mm_setr_ps(0.0f, 0.0f, -127.0f, -127.0f);
    const __m128 high = _mm_setr_ps(255.0f, 255.0f, 127.0f, 127.0f);
    float* cell = &n.a;
    __m128 v = _mm_add_ps(_mm_loadu_ps(cell), _mm_mul_ps(_mm_set1_ps(weight), _mm_loadu_ps(&e.a)));
    v = _mm_min_ps(high, _mm_max_ps(low, v));
    _mm_storeu_ps(cell, v);
#else
    diffuse_into(n, weight, e);
#endif
}

class diffusion {
  public:
    diffusion(image_info& img, const std::vector<wxyz>& old_values,
              const std::vector<wxyz>& float_palette, const nearest_entry_finder& finder,
              const dither_settings& dither)
        : img_(img),
          old_values_(old_values),
          palette_(float_palette),
          finder_(finder),
          taps_(kernel_taps(dither.type)),
          width_(img.width),
          height_(img.height),
          row_len_(static_cast<size_t>(img.width)) {
        for (kernel_tap& t : taps_)
            t.weight = t.weight * static_cast<float>(dither.level) * 0.1f;
    }

    // A ring of three rows, row y in ring row y mod 3, one pixel after the other.
    void run_reference() {
        ring_rows_ = 3;
        ring_.assign(3 * row_len_, wxyz{});
        for (int y = 0; y < 3 && y < height_; ++y)
            load_row(y);
        for (int y = 0; y < height_; ++y) {
            const row_window w = window(y);
            for (int x = 0; x < width_; ++x) {
                const wxyz v = w.rows[0][x];
                map_pixel<false>(w, x, y, v, finder_.find_plain(v, dithered_start));
            }
            if (y + 3 < height_) load_row(y + 3);
        }
    }

    // Rows go in pairs, pairs alternate between two threads, and every row
    // stays at least five pixels behind the row above it. Every working value
    // then receives its shares in exactly the order of the one-pixel-at-a-time
    // pass: all shares from row y - 1 to any cell reach it before the first
    // share from row y does, since row y - 1 has passed every pixel that
    // touches it. Within a pair one thread alternates between the two rows, so
    // the processor works on two independent pixels at a time instead of
    // waiting for each pixel's error before it can start the next one.
    //
    // A ring of eight rows leaves room for the rows in flight: a pair loads
    // the two rows below it, which held the pair three before it; that pair
    // has finished, since this thread's previous pair could not have finished
    // without it.
    void run_fast() {
        ring_rows_ = 8;
        ring_.assign(8 * row_len_, wxyz{});
        for (int y = 0; y < 2 && y < height_; ++y)
            load_row(y);
        progress_ = std::make_unique<row_progress[]>(static_cast<size_t>(height_));
        for (int y = 0; y < height_; ++y)
            progress_[static_cast<size_t>(y)].done.store(0);
        const bool two = worker_threads() >= 2 && height_ >= 3 && width_ >= 64;
        if (!two) {
            run_pairs(0, 1);
            return;
        }
        std::thread helper;
        if (!start_thread(helper, [this] { run_pairs(1, 2); })) {
            run_pairs(0, 1);  // no helper to be had: every pair on this thread
            return;
        }
        run_pairs(0, 2);
        helper.join();
    }

  private:
    static constexpr int lead_pixels = 5;
    // A row tells how far it is only every this many pixels: each report moves
    // a cache line to the other core, so one per pixel would cost more than
    // the pixel itself.
    static constexpr int report_every = 32;

    // Pixels done in one row, on a cache line of its own so that the two
    // threads' neighbouring rows do not share one.
    struct alignas(64) row_progress {
        std::atomic<int> done{0};
    };

    wxyz& cell(int x, int y) {
        return ring_[static_cast<size_t>(y % ring_rows_) * row_len_ + static_cast<size_t>(x)];
    }

    void load_row(int y) {
        wxyz* dst = &cell(0, y);
        const size_t colours = old_values_.size();
        for (size_t x = 0; x < row_len_; ++x) {
            const size_t k =
                static_cast<size_t>(img_.index_buff[static_cast<size_t>(y) * row_len_ + x]);
            dst[x] = old_values_[k < colours ? k : 0];
        }
    }

    // The ring rows of image rows y, y + 1 and y + 2 (null past the bottom).
    struct row_window {
        wxyz* rows[3];
    };
    row_window window(int y) {
        row_window w{};
        for (int dy = 0; dy < 3; ++dy)
            w.rows[dy] = y + dy < height_ ? &cell(0, y + dy) : nullptr;
        return w;
    }

    template <bool fast>
    void map_pixel(const row_window& w, int x, int y, const wxyz& v, int p) {
        img_.index_buff[static_cast<size_t>(y) * row_len_ + static_cast<size_t>(x)] = p;
        const wxyz& entry = palette_[static_cast<size_t>(p)];
        const wxyz e{v.a - entry.a, v.y - entry.y, v.cb - entry.cb, v.cr - entry.cr};
        // Away from the edges every neighbour exists: no test per share.
        if (fast && x >= 2 && x + 2 < width_ && w.rows[taps_.back().dy] != nullptr) {
            for (const kernel_tap& t : taps_)
                diffuse_into_fast(w.rows[t.dy][x + t.dx], t.weight, e);
            return;
        }
        for (const kernel_tap& t : taps_) {
            const int nx = x + t.dx;
            wxyz* row = w.rows[t.dy];
            if (nx < 0 || nx >= width_ || row == nullptr) continue;
            if constexpr (fast)
                diffuse_into_fast(row[nx], t.weight, e);
            else
                diffuse_into(row[nx], t.weight, e);
        }
    }

    // Waits until the row above has done at least `needed` pixels.
    void wait_for(std::atomic<int>* above, int& above_done, int needed) {
        for (int spins = 0; above_done < needed; ++spins) {
            if (spins > 64) std::this_thread::yield();
            above_done = above->load(std::memory_order_acquire);
        }
    }

    // Pairs first, first + stride, ... (pair k is rows 2k and 2k + 1).
    void run_pairs(int first, int stride) {
        nearest_cell_cache nearest(palette_, finder_.count(), finder_);
        int upper_hint = -1, lower_hint = -1;
        for (int y = 2 * first; y < height_; y += 2 * stride) {
            if (y + 2 < height_) load_row(y + 2);
            if (y + 3 < height_) load_row(y + 3);
            const bool has_lower = y + 1 < height_;
            const row_window upper = window(y);
            const row_window lower = has_lower ? window(y + 1) : row_window{};
            std::atomic<int>* above = y > 0 ? &progress_[static_cast<size_t>(y - 1)].done : nullptr;
            int above_done = above ? above->load(std::memory_order_acquire) : width_;
            // Only the lower row's progress is read, by the next pair; the
            // upper row is always ahead of it.
            std::atomic<int>& lower_done =
                progress_[static_cast<size_t>(has_lower ? y + 1 : y)].done;
            const int steps = width_ + (has_lower ? lead_pixels : 0);
            for (int i = 0; i < steps; ++i) {
                if (i < width_) {
                    if (above) wait_for(above, above_done, std::min(width_, i + lead_pixels));
                    const wxyz v = upper.rows[0][i];
                    upper_hint = nearest.find(v, dithered_start, upper_hint);
                    map_pixel<true>(upper, i, y, v, upper_hint);
                }
                const int x = i - lead_pixels;
                if (!has_lower || x < 0) continue;
                const wxyz v = lower.rows[0][x];
                lower_hint = nearest.find(v, dithered_start, lower_hint);
                map_pixel<true>(lower, x, y + 1, v, lower_hint);
                if ((x + 1) % report_every == 0 || x + 1 == width_)
                    lower_done.store(x + 1, std::memory_order_release);
            }
            if (!has_lower) lower_done.store(width_, std::memory_order_release);
        }
    }

    image_info& img_;
    const std::vector<wxyz>& old_values_;
    const std::vector<wxyz>& palette_;
    const nearest_entry_finder& finder_;
    std::vector<kernel_tap> taps_;
    int width_, height_;
    size_t row_len_;
    int ring_rows_ = 3;
    std::vector<wxyz> ring_;
    std::unique_ptr<row_progress[]> progress_;
};

}  // namespace

void map_error_diffusion(image_info& img, const std::vector<wxyz>& old_values,
                         const std::vector<wxyz>& float_palette, const nearest_entry_finder& finder,
                         const dither_settings& dither, bool reference) {
    diffusion job(img, old_values, float_palette, finder, dither);
    if (reference)
        job.run_reference();
    else
        job.run_fast();
}

}  // namespace mevra
