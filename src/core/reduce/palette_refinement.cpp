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
constexpr size_t splits_per_pass = 16;

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
// Red, green and blue are also summed weighted by alpha: the colour of a
// nearly transparent pixel hardly shows, so it should hardly pull the mean.
struct channel_sums {
    int64_t a = 0, r = 0, g = 0, b = 0, weight = 0;
    int64_t seen_r = 0, seen_g = 0, seen_b = 0;  // weighted by count × alpha

    void add(uint32_t c, int64_t w) {
        const int64_t alpha = (c >> 24) & 0xFF;
        a += w * alpha;
        r += w * ((c >> 16) & 0xFF);
        g += w * ((c >> 8) & 0xFF);
        b += w * (c & 0xFF);
        weight += w;
        seen_r += w * alpha * ((c >> 16) & 0xFF);
        seen_g += w * alpha * ((c >> 8) & 0xFF);
        seen_b += w * alpha * (c & 0xFF);
    }
};

// sum / weight in single precision, as whole part plus remainder, so equal
// channels (every alpha 255) give exactly their own value.
float channel_mean(int64_t sum, int64_t weight) {
    const int64_t whole = sum / weight;
    return static_cast<float>(whole) +
           static_cast<float>(sum - whole * weight) / static_cast<float>(weight);
}

// Opaque colours (and wholly transparent ones) give the plain mean.
wxyz mean_of(const channel_sums& s) {
    const float a = channel_mean(s.a, s.weight);
    if (s.a == 0 || s.a == 255 * s.weight)
        return wxyz_of_channels(a, channel_mean(s.r, s.weight), channel_mean(s.g, s.weight),
                                channel_mean(s.b, s.weight));
    return wxyz_of_channels(a, channel_mean(s.seen_r, s.a), channel_mean(s.seen_g, s.a),
                            channel_mean(s.seen_b, s.a));
}

// One assignment of the census to the centres, with what it costs.
struct assignment {
    std::vector<int32_t> nearest;   // entry of each colour, or not_assigned
    std::vector<float> error;       // count × distance of each colour
    std::vector<channel_sums> sums;  // per entry
    std::vector<double> entry_error; // per entry
    double total = 0.0;
};

void assign(const std::vector<wxyz>& centres, const refinement_census& census, unsigned threads,
            assignment& out) {
    const size_t n = census.colours.size();
    out.nearest.assign(n, not_assigned);
    assign_colours(centres, census, threads, out.nearest);
    out.error.assign(n, 0.0f);
    out.sums.assign(centres.size(), channel_sums{});
    out.entry_error.assign(centres.size(), 0.0);
    out.total = 0.0;
    // In colour order on one thread: the totals do not depend on the split.
    for (size_t k = 0; k < n; ++k) {
        const int32_t e = out.nearest[k];
        if (e == not_assigned) continue;
        const uint32_t c = census.colours[k];
        out.error[k] = static_cast<float>(census.counts[k]) *
                       palette_distance(conv_wxyz(c), centres[static_cast<size_t>(e)]);
        out.sums[static_cast<size_t>(e)].add(c, census.counts[k]);
        out.entry_error[static_cast<size_t>(e)] += out.error[k];
        out.total += out.error[k];
    }
}

// Entries left without colours take, in entry order, the counted colours of
// largest count × distance to their entry (the lower index among equals);
// only colours that are off their entry at all. Returns true if any moved.
bool reseed_empty(std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                  const refinement_census& census, const assignment& now) {
    std::vector<int> empty;
    for (size_t e = 0; e < centres.size(); ++e)
        if (fixed[e] == 0 && now.sums[e].weight == 0) empty.push_back(static_cast<int>(e));
    if (empty.empty()) return false;
    std::vector<int32_t> order;
    for (size_t k = 0; k < now.nearest.size(); ++k)
        if (now.nearest[k] != not_assigned && now.error[k] > 0.0f)
            order.push_back(static_cast<int32_t>(k));
    const size_t take = std::min(empty.size(), order.size());
    auto larger = [&](int32_t x, int32_t y) {
        const float ex = now.error[static_cast<size_t>(x)], ey = now.error[static_cast<size_t>(y)];
        return ex != ey ? ex > ey : x < y;
    };
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(take), order.end(),
                      larger);
    for (size_t s = 0; s < take; ++s)
        centres[static_cast<size_t>(empty[s])] =
            conv_wxyz(census.colours[static_cast<size_t>(order[s])]);
    return take > 0;
}

// Splits entry g's colours by one 2-means step seeded with its worst colour:
// the far part's mean goes to `to`, the rest stays with g. False when g has
// no colour off its centre.
bool split_entry(const std::vector<wxyz>& centres, const refinement_census& census,
                 const assignment& now, int32_t g, size_t to, std::vector<wxyz>& moved) {
    int64_t seed = -1;
    for (size_t k = 0; k < now.nearest.size(); ++k)
        if (now.nearest[k] == g && (seed < 0 || now.error[k] > now.error[static_cast<size_t>(seed)]))
            seed = static_cast<int64_t>(k);
    if (seed < 0 || now.error[static_cast<size_t>(seed)] <= 0.0f) return false;
    const wxyz far = conv_wxyz(census.colours[static_cast<size_t>(seed)]);
    const wxyz centre = centres[static_cast<size_t>(g)];
    channel_sums near_sums, far_sums;
    for (size_t k = 0; k < now.nearest.size(); ++k) {
        if (now.nearest[k] != g) continue;
        const uint32_t c = census.colours[k];
        const wxyz v = conv_wxyz(c);
        (palette_distance(v, far) < palette_distance(v, centre) ? far_sums : near_sums)
            .add(c, census.counts[k]);
    }
    moved[to] = mean_of(far_sums);
    if (near_sums.weight > 0) moved[static_cast<size_t>(g)] = mean_of(near_sums);
    return true;
}

// Lloyd passes only settle into the nearest local optimum. These moves leave
// it: the free entries that cost least to give up (their colours merged into
// the nearest other entry, by Ward's increase W1 W2 / (W1 + W2) × distance)
// split the free entries of largest error instead, as long as giving one up
// costs less than the error of the one it splits. False when no move exists.
bool propose_splits(const std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                    const refinement_census& census, const assignment& now, size_t most,
                    std::vector<wxyz>& moved) {
    const size_t entries = centres.size();
    std::vector<std::pair<double, size_t>> cost, error;
    for (size_t e = 0; e < entries; ++e) {
        if (fixed[e] != 0 || now.sums[e].weight == 0) continue;
        error.push_back({-now.entry_error[e], e});
        double least = -1.0;
        for (size_t f = 0; f < entries; ++f) {
            if (f == e || now.sums[f].weight == 0) continue;
            const double we = static_cast<double>(now.sums[e].weight);
            const double wf = static_cast<double>(now.sums[f].weight);
            const double c = we * wf / (we + wf) * palette_distance(centres[e], centres[f]);
            if (least < 0.0 || c < least) least = c;
        }
        if (least >= 0.0) cost.push_back({least, e});
    }
    std::sort(cost.begin(), cost.end());
    std::sort(error.begin(), error.end());
    moved = centres;
    std::vector<uint8_t> used(entries, 0);
    size_t made = 0, next_error = 0;
    for (const auto& [c, e] : cost) {
        if (made == most) break;
        if (used[e]) continue;
        while (next_error < error.size() && used[error[next_error].second]) ++next_error;
        if (next_error == error.size()) break;
        const auto [minus_error, g] = error[next_error];
        if (g == e || c >= -minus_error) break;
        used[e] = used[g] = 1;
        if (split_entry(centres, census, now, static_cast<int32_t>(g), e, moved)) ++made;
    }
    return made > 0;
}

}  // namespace

int refine_centres(std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                   const refinement_census& census, int passes, unsigned threads) {
    const size_t n = std::min(census.colours.size(), census.counts.size());
    const refinement_census used{
        census.colours.first(n), census.counts.first(n),
        census.key.size() >= n ? census.key.first(n) : census.key.first(0)};
    assignment now, tried;
    std::vector<wxyz> split;
    int run = 0;
    while (run < passes && !centres.empty()) {
        ++run;
        assign(centres, used, threads, now);
        // A split is kept only when it lowers the error of this assignment,
        // so no pass makes the palette worse.
        if (propose_splits(centres, fixed, used, now, splits_per_pass, split)) {
            assign(split, used, threads, tried);
            if (tried.total < now.total) {
                centres.swap(split);
                std::swap(now, tried);
            }
        }
        bool moved = false;
        for (size_t e = 0; e < centres.size(); ++e) {
            if (fixed[e] != 0 || now.sums[e].weight == 0) continue;
            const wxyz mean = mean_of(now.sums[e]);
            wxyz& c = centres[e];
            if (mean.a != c.a || mean.y != c.y || mean.cb != c.cb || mean.cr != c.cr) {
                c = mean;
                moved = true;
            }
        }
        if (reseed_empty(centres, fixed, used, now)) moved = true;
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
        // Alpha is rounded like the colour channels (the stored form of a
        // palette truncates it): a mean alpha of 254.9 is 255, not 254.
        if (fixed[e] == 0) {
            wxyz rounded = centres[e];
            rounded.a += 0.5f;
            centres[e] = conv_wxyz(conv_argb(rounded));
        }
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
