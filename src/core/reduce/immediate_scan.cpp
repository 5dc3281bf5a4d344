// The immediate-merging scan of a pass with very many groups, fast: the same
// pairs tested with the same arithmetic, in the same order, as scan_immediate,
// but without visiting the pairs that cannot be within reach.
//
// The plain scan walks every later group until one ends the scan on the luma
// gap. On a colourful photograph tens of thousands of groups share each luma
// window, and nearly all of them are far away in chroma: the scan then costs
// groups × window tests per pass. Here the end of the scan comes from a
// max-tree over the luma of the groups that can end it, and the pairs to test
// come from a grid over (Cb, Cr) whose cells are a little wider than the
// radius, so only the 3 × 3 cells around the scanning group hold any pair that
// the distance test could accept.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "reduce/pair_scan.h"
#include "reduce/reduction_state.h"

namespace mevra {
namespace {

constexpr float absent_luma = std::numeric_limits<float>::lowest();

// Largest luma over index ranges, of the groups that can still end a scan
// (alive and not key groups); absent ones hold the lowest float.
class luma_max_tree {
  public:
    explicit luma_max_tree(int n) : n_(n) {
        while (leaves_ < n)
            leaves_ *= 2;
        max_.assign(static_cast<size_t>(2 * leaves_), absent_luma);
    }
    void set(int k, float y) {
        size_t node = static_cast<size_t>(leaves_ + k);
        max_[node] = y;
        for (node /= 2; node >= 1; node /= 2)
            max_[node] = std::max(max_[2 * node], max_[2 * node + 1]);
    }
    void remove(int k) { set(k, absent_luma); }
    // The first index after `from` whose luma passes `ends` (a test that holds
    // for every luma above one that passes); n when there is none.
    template <class Test>
    int first_after(int from, const Test& ends) const {
        const int found = search(1, 0, leaves_, from, ends);
        return found < 0 ? n_ : found;
    }

  private:
    template <class Test>
    int search(int node, int lo, int hi, int from, const Test& ends) const {
        if (hi <= from + 1 || !ends(max_[static_cast<size_t>(node)])) return -1;
        if (hi - lo == 1) return lo;
        const int mid = (lo + hi) / 2;
        const int left = search(2 * node, lo, mid, from, ends);
        return left >= 0 ? left : search(2 * node + 1, mid, hi, from, ends);
    }

    int n_;
    int leaves_ = 1;
    std::vector<float> max_;
};

// The groups of a pass by (Cb, Cr) cell, each cell's groups in ascending index.
class chroma_grid {
  public:
    chroma_grid(const std::vector<colorgroup>& table, int groups, float radius) {
        // Wider than the radius by far more than the float rounding of the
        // distance test, so a pair in reach never lies two cells apart.
        cell_ = radius * 1.01f + 0.01f;
        per_axis_ = std::clamp(static_cast<int>(256.0f / cell_) + 2, 1, 1024);
        start_.assign(static_cast<size_t>(per_axis_ * per_axis_ + 1), 0);
        cells_.resize(static_cast<size_t>(groups));
        for (int k = 0; k < groups; ++k) {
            const wxyz& c = table[static_cast<size_t>(k)].centre;
            cells_[static_cast<size_t>(k)] = cell_of(axis(c.cb), axis(c.cr));
            ++start_[static_cast<size_t>(cells_[static_cast<size_t>(k)]) + 1];
        }
        for (size_t c = 1; c < start_.size(); ++c)
            start_[c] += start_[c - 1];
        members_.resize(static_cast<size_t>(groups));
        std::vector<int32_t> fill(start_.begin(), start_.end() - 1);
        for (int k = 0; k < groups; ++k)
            members_[static_cast<size_t>(
                fill[static_cast<size_t>(cells_[static_cast<size_t>(k)])]++)] = k;
    }

    // Where each cell's members above a group begin, for groups taken in
    // ascending order: the cursors only move forward, so finding them costs
    // one step per member over the whole pass instead of a search per scan.
    std::vector<int32_t> cursors() const { return {start_.begin(), start_.end() - 1}; }
    const int32_t* first_above(std::vector<int32_t>& cursor, int cell, int group) const {
        int32_t& at = cursor[static_cast<size_t>(cell)];
        const int32_t end = start_[static_cast<size_t>(cell) + 1];
        while (at < end && members_[static_cast<size_t>(at)] <= group)
            ++at;
        return members_.data() + at;
    }

    int axis(float v) const {
        const float u = std::floor((v + chroma_offset) / cell_);
        if (!(u >= 0.0f)) return 0;
        return u >= static_cast<float>(per_axis_ - 1) ? per_axis_ - 1 : static_cast<int>(u);
    }
    int per_axis() const { return per_axis_; }
    int cell_of(int cb, int cr) const { return cb * per_axis_ + cr; }
    const int32_t* end(int cell) const {
        return members_.data() + start_[static_cast<size_t>(cell) + 1];
    }

  private:
    float cell_ = 1.0f;
    int per_axis_ = 1;
    std::vector<int32_t> start_, cells_, members_;
};

bool alive(const colorgroup& g) {
    return g.union_flg == 0 && g.member_num != 0;
}

}  // namespace

int scan_immediate_fast(int groups) {
    reduction_state& st = reduction();
    const float colreach = st.colreach;
    luma_max_tree ends(groups);
    // Alive and not a key group, kept beside the scan so that testing a member
    // does not read its whole group; a merge takes both groups out.
    std::vector<uint8_t> scannable(static_cast<size_t>(groups), 0);
    for (int k = 0; k < groups; ++k) {
        const colorgroup& g = st.gcoltable[static_cast<size_t>(k)];
        if (alive(g) && !g.nuki) {
            ends.set(k, g.centre.y);
            scannable[static_cast<size_t>(k)] = 1;
        }
    }
    const chroma_grid grid(st.gcoltable, groups, colreach);
    std::vector<int32_t> cursor = grid.cursors();

    int within = 0;
    std::vector<int32_t> pairs;
    for (int i = 0; i < groups - 1; ++i) {
        const colorgroup& gi = st.gcoltable[static_cast<size_t>(i)];
        // A key group ends its own scan at the first later group: no pair.
        if (scannable[static_cast<size_t>(i)] == 0) continue;
        int from = i;
        for (;;) {
            // The centre moves with every merge, and with it the end of the scan.
            const float yi = gi.centre.y;
            const int stop = ends.first_after(from, [&](float y) { return colreach < y - yi; });
            const int cb = grid.axis(gi.centre.cb), cr = grid.axis(gi.centre.cr);
            pairs.clear();
            for (int u = std::max(cb - 1, 0); u <= std::min(cb + 1, grid.per_axis() - 1); ++u)
                for (int v = std::max(cr - 1, 0); v <= std::min(cr + 1, grid.per_axis() - 1); ++v) {
                    const int cell = grid.cell_of(u, v);
                    const int32_t* above_i = grid.first_above(cursor, cell, i);
                    for (const int32_t* m = from == i
                                                ? above_i
                                                : std::upper_bound(above_i, grid.end(cell), from);
                         m != grid.end(cell) && *m < stop; ++m)
                        if (scannable[static_cast<size_t>(*m)] != 0) pairs.push_back(*m);
                }
            std::sort(pairs.begin(), pairs.end());
            int merged_at = -1;
            for (int32_t j : pairs) {
                const int r = diff_and_set_min_color2(i, j);
                if (r == 1) {
                    ++within;
                    ends.remove(j);
                    scannable[static_cast<size_t>(i)] = scannable[static_cast<size_t>(j)] = 0;
                    merged_at = j;
                    break;
                }
            }
            if (merged_at < 0) break;
            from = merged_at;
        }
    }
    return within;
}

}  // namespace mevra
