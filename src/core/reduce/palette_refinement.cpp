#include "reduce/palette_refinement.h"

#include <algorithm>
#include <numeric>

#include "image/image_info.h"
#include "platform/parallel_for.h"
#include "platform/worker_threads.h"
#include "reduce/nearest_cells.h"
#include "reduce/nearest_entry.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

// The start distance of the mapping without dithering, so a colour goes to
// the entry the mapping will give it.
constexpr float search_start = 102400000000.0f;
constexpr int32_t not_assigned = -1;
constexpr size_t colours_per_chunk = 4096;

bool counted(const refinement_census& census, size_t k) {
    return census.counts[k] > 0 && (census.key.empty() || census.key[k] == 0);
}

// The nearest entry of every counted colour; -1 for the others. Each thread
// keeps its own grid of cells; the answers do not depend on the split.
void assign_colours(const std::vector<wxyz>& centres, const refinement_census& census,
                    unsigned threads, std::vector<int32_t>& nearest) {
    const int count = static_cast<int>(centres.size());
    const nearest_entry_finder finder(centres, count);
    parallel_for_on(threads, nearest.size(), colours_per_chunk, [&](size_t begin, size_t end) {
        nearest_cell_cache cells(centres, count, finder);
        int hint = -1;
        for (size_t k = begin; k < end; ++k) {
            if (!counted(census, k)) {
                nearest[k] = not_assigned;
                continue;
            }
            hint = cells.find(conv_wxyz(census.colours[k]), search_start, hint);
            nearest[k] = hint;
        }
    });
}

// Channel sums of one entry's colours, exact in integers whatever their order.
struct channel_sums {
    int64_t a = 0, r = 0, g = 0, b = 0, weight = 0;
};

// sum / weight in single precision, as whole part plus remainder, so equal
// channels (every alpha 255) give exactly their own value.
float channel_mean(int64_t sum, int64_t weight) {
    const int64_t whole = sum / weight;
    return static_cast<float>(whole) +
           static_cast<float>(sum - whole * weight) / static_cast<float>(weight);
}

// Entries left without colours take, in entry order, the counted colours of
// largest count × distance to their entry (the lower index among equals);
// only colours that are off their entry at all. Returns true if any moved.
bool reseed_empty(std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                  const std::vector<channel_sums>& sums, const refinement_census& census,
                  const std::vector<int32_t>& nearest) {
    std::vector<int> empty;
    for (size_t e = 0; e < centres.size(); ++e)
        if (fixed[e] == 0 && sums[e].weight == 0) empty.push_back(static_cast<int>(e));
    if (empty.empty()) return false;
    std::vector<float> error(nearest.size(), 0.0f);
    std::vector<int32_t> order;
    for (size_t k = 0; k < nearest.size(); ++k) {
        if (nearest[k] == not_assigned) continue;
        const float d = palette_distance(conv_wxyz(census.colours[k]),
                                         centres[static_cast<size_t>(nearest[k])]);
        error[k] = static_cast<float>(census.counts[k]) * d;
        if (error[k] > 0.0f) order.push_back(static_cast<int32_t>(k));
    }
    const size_t take = std::min(empty.size(), order.size());
    auto larger = [&](int32_t x, int32_t y) {
        const float ex = error[static_cast<size_t>(x)], ey = error[static_cast<size_t>(y)];
        return ex != ey ? ex > ey : x < y;
    };
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(take), order.end(),
                      larger);
    for (size_t s = 0; s < take; ++s)
        centres[static_cast<size_t>(empty[s])] =
            conv_wxyz(census.colours[static_cast<size_t>(order[s])]);
    return take > 0;
}

}  // namespace

int refine_centres(std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                   const refinement_census& census, int passes, unsigned threads) {
    const size_t n = std::min(census.colours.size(), census.counts.size());
    const refinement_census used{
        census.colours.first(n), census.counts.first(n),
        census.key.size() >= n ? census.key.first(n) : census.key.first(0)};
    std::vector<int32_t> nearest(n, not_assigned);
    int run = 0;
    while (run < passes && !centres.empty()) {
        ++run;
        assign_colours(centres, used, threads, nearest);
        std::vector<channel_sums> sums(centres.size());
        for (size_t k = 0; k < n; ++k) {
            if (nearest[k] == not_assigned) continue;
            const uint32_t c = used.colours[k];
            const int64_t w = used.counts[k];
            channel_sums& s = sums[static_cast<size_t>(nearest[k])];
            s.a += w * ((c >> 24) & 0xFF);
            s.r += w * ((c >> 16) & 0xFF);
            s.g += w * ((c >> 8) & 0xFF);
            s.b += w * (c & 0xFF);
            s.weight += w;
        }
        bool moved = false;
        for (size_t e = 0; e < centres.size(); ++e) {
            const channel_sums& s = sums[e];
            if (fixed[e] != 0 || s.weight == 0) continue;
            const wxyz mean =
                wxyz_of_channels(channel_mean(s.a, s.weight), channel_mean(s.r, s.weight),
                                 channel_mean(s.g, s.weight), channel_mean(s.b, s.weight));
            wxyz& c = centres[e];
            if (mean.a != c.a || mean.y != c.y || mean.cb != c.cb || mean.cr != c.cr) {
                c = mean;
                moved = true;
            }
        }
        if (reseed_empty(centres, fixed, sums, used, nearest)) moved = true;
        if (!moved) break;
    }
    return run;
}

double refinement_error(const std::vector<wxyz>& centres, const refinement_census& census) {
    const size_t n = std::min(census.colours.size(), census.counts.size());
    const nearest_entry_finder finder(centres, static_cast<int>(centres.size()));
    double total = 0.0;
    for (size_t k = 0; k < n; ++k) {
        if (!counted(census, k)) continue;
        const wxyz v = conv_wxyz(census.colours[k]);
        const int e = finder.find(v, search_start);
        total += static_cast<double>(census.counts[k]) *
                 static_cast<double>(palette_distance(v, centres[static_cast<size_t>(e)]));
    }
    return total;
}

void refine_reduction_palette(const image_info& img, int passes) {
    reduction_state& st = reduction();
    const size_t entries = static_cast<size_t>(std::clamp(
        std::min(st.colorgroup_num, st.target_ncol), 0, static_cast<int>(st.gcoltable.size())));
    passes = std::min(passes, max_refine_passes);
    if (passes <= 0 || entries == 0) return;
    std::vector<wxyz> centres(entries);
    std::vector<uint8_t> fixed(entries);
    for (size_t e = 0; e < entries; ++e) {
        centres[e] = st.gcoltable[e].centre;
        fixed[e] = st.gcoltable[e].nuki;
    }
    const size_t n = std::min(
        {static_cast<size_t>(std::max(img.color_num, 0)), img.color.size(), img.color_cnt.size()});
    std::vector<uint8_t> key;
    if (settings().transparency_mode != 0) {
        key.resize(n);
        for (size_t k = 0; k < n; ++k)
            key[k] = settings().nukicheck(img.image_type, static_cast<int>(k), img.color[k]) == 1;
    }
    const refinement_census census{std::span<const uint32_t>(img.color).first(n),
                                   std::span<const int32_t>(img.color_cnt).first(n), key};
    refine_centres(centres, fixed, census, passes, worker_threads());
    bool moved = false;
    for (size_t e = 0; e < entries; ++e) {
        // The mapping then searches the colours the palette will really hold,
        // so every colour goes to the nearest of those.
        if (fixed[e] == 0) centres[e] = conv_wxyz(conv_argb(centres[e]));
        wxyz& c = st.gcoltable[e].centre;
        moved = moved || c.a != centres[e].a || c.y != centres[e].y || c.cb != centres[e].cb ||
                c.cr != centres[e].cr;
        c = centres[e];
    }
    // Nothing moved (a palette of the image's own colours): its order stays.
    if (!moved) return;
    // The palette keeps its documented order: alpha, then luma, Cb, Cr.
    std::stable_sort(st.gcoltable.begin(),
                     st.gcoltable.begin() + static_cast<std::ptrdiff_t>(entries),
                     colorgroup_compare);
}

}  // namespace mevra
