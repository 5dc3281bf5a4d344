// One merge pass of the palette clustering: sort and compact the groups, then
// merge the closest pairs within reach (or, with very many groups, merge
// greedily at a fixed radius), widening the radius when few pairs qualify.
#include <algorithm>
#include <cmath>

#include "image/image_info.h"
#include "reduce/candidate_list.h"
#include "reduce/pair_scan.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

// Above this many groups a pass merges at once instead of collecting candidates.
constexpr int max_groups_for_candidates = 9600;

// A group's radius shrinks with the pixels it covers, by the chosen priority.
float group_reach(float colreach, int conv_mode, int32_t pixels) {
    switch (conv_mode) {
        case 0:
            return colreach / static_cast<float>(pixels);
        case 1:
            return colreach / static_cast<float>(std::sqrt(static_cast<double>(pixels)));
        case 2:
            return colreach / static_cast<float>(ilog2(pixels));
        default:
            return colreach;
    }
}

void merge_recorded_candidates() {
    reduction_state& st = reduction();
    std::stable_sort(st.ri.begin(), st.ri.begin() + st.min_num, reachinfo_compare);
    for (int p = 0; p < st.min_num; ++p) {
        const reachinfo c = st.ri[static_cast<size_t>(p)];
        if (c.grp1 == -1) continue;
        const colorgroup& a = st.gcoltable[static_cast<size_t>(c.grp1)];
        const colorgroup& b = st.gcoltable[static_cast<size_t>(c.grp2)];
        if (a.union_flg == 0 && b.union_flg == 0 && a.member_num != 0 && b.member_num != 0)
            set_colgrp_union(c.grp1, c.grp2);
    }
}

}  // namespace

int candidate_budget(int excess) {
    if (excess > 2048) return std::min(excess / 4, reduction_state::ri_capacity);
    return std::max(excess / ilog2(excess), 1);
}

int ilog2(int n) {
    if (n < 4) return 2;
    int k = 0;
    while ((n >> (k + 1)) != 0)
        ++k;
    return k;
}

bool colorgroup_compare(const colorgroup& a, const colorgroup& b) {
    const bool a_empty = a.member_num == 0, b_empty = b.member_num == 0;
    if (a_empty || b_empty) return !a_empty && b_empty;
    if (a.centre.a != b.centre.a) return a.centre.a < b.centre.a;
    if (a.centre.y != b.centre.y) return a.centre.y < b.centre.y;
    if (a.centre.cb != b.centre.cb) return a.centre.cb < b.centre.cb;
    return a.centre.cr < b.centre.cr;
}

bool reachinfo_compare(const reachinfo& a, const reachinfo& b) {
    return a.dist < b.dist;
}

int image_info::image_to_index_core() {
    reduction_state& st = reduction();
    auto first = st.gcoltable.begin();
    std::stable_sort(first, first + st.colorgroup_num, colorgroup_compare);
    int groups = 0;
    while (groups < st.colorgroup_num && st.gcoltable[static_cast<size_t>(groups)].member_num != 0)
        ++groups;
    st.colorgroup_num = groups;
    if (groups <= st.target_ncol) return groups;

    st.min_num = candidate_budget(groups - st.target_ncol);
    for (colorgroup& g : st.gcoltable)
        g.union_flg = 0;
    reset_candidates(st.min_num);

    int within = 0;
    if (groups <= max_groups_for_candidates) {
        const int conv_mode = settings().conv_mode;
        for (int i = 0; i < groups; ++i) {
            colorgroup& g = st.gcoltable[static_cast<size_t>(i)];
            g.reach = group_reach(st.colreach, conv_mode, g.pix_num);
        }
        within = scan_candidates(groups);
        merge_recorded_candidates();
    } else {
        within = st.reference_path ? scan_immediate(groups) : scan_immediate_fast(groups);
    }
    if (within - st.min_num <= 2 * st.min_num) st.colreach = st.colreach * 1.5f;
    return groups;
}

}  // namespace mevra
