// Merging two colour groups and the two pair tests of a merge pass.
#include <cstddef>
#include <cstdint>

#include "reduce/candidate_list.h"
#include "reduce/reduction_state.h"

namespace mevra {
namespace {

inline void add_weighted(wxyz& sum, float count, const wxyz& v) {
    sum.a = sum.a + count * v.a;
    sum.y = sum.y + count * v.y;
    sum.cb = sum.cb + count * v.cb;
    sum.cr = sum.cr + count * v.cr;
}

// The squared distance of two centres in the merge order: Cr, Cb, A, then the
// luma term already squared by the caller.
inline float merge_distance(const wxyz& gi, const wxyz& gj, float dy2) {
    const float dcr = gj.cr - gi.cr;
    const float dcb = gj.cb - gi.cb;
    const float da = gj.a - gi.a;
    return dcr * dcr + dcb * dcb + da * da + dy2;
}

}  // namespace

reduction_state& reduction() {
    static reduction_state state;
    return state;
}

void reduction_state::release_groups() {
    gcoltable = {};
    gcolor_xyz = {};
    member_next = {};
    member_count = {};
}

void set_colgrp_union(int a, int b) {
    reduction_state& st = reduction();
    colorgroup& ga = st.gcoltable[static_cast<size_t>(a)];
    colorgroup& gb = st.gcoltable[static_cast<size_t>(b)];
    const wxyz* colours = st.gcolor_xyz.data();

    wxyz sum{};
    int64_t weight = 0;
    if (st.reference_path) {
        // Splice first, then sum over the whole member list from the start.
        st.member_next[static_cast<size_t>(ga.member_tail)] = gb.member_head;
        ga.member_tail = gb.member_tail;
        for (int32_t m = ga.member_head; m >= 0; m = st.member_next[static_cast<size_t>(m)]) {
            const int32_t c = st.member_count[static_cast<size_t>(m)];
            add_weighted(sum, static_cast<float>(c), colours[m]);
            weight += c;
        }
    } else {
        // a's members come first, so their partial sum is a's running sum: only
        // b's members need adding, in their list order.
        sum = ga.weighted_sum;
        weight = ga.pix_num;
        for (int32_t m = gb.member_head; m >= 0; m = st.member_next[static_cast<size_t>(m)]) {
            const int32_t c = st.member_count[static_cast<size_t>(m)];
            add_weighted(sum, static_cast<float>(c), colours[m]);
            weight += c;
        }
        st.member_next[static_cast<size_t>(ga.member_tail)] = gb.member_head;
        ga.member_tail = gb.member_tail;
    }
    ga.same_alpha =
        ga.same_alpha && gb.same_alpha && colours[ga.member_head].a == colours[gb.member_head].a;
    ga.member_num += gb.member_num;
    ga.pix_num += gb.pix_num;
    ga.weighted_sum = sum;

    const float inverse = 1.0f / static_cast<float>(weight);
    ga.centre = {inverse * sum.a, inverse * sum.y, inverse * sum.cb, inverse * sum.cr};
    // Members that all share one alpha keep it exactly: the float mean can fall
    // a rounding error short (255 -> 254.99998), which alpha truncation would
    // turn into a visibly translucent palette entry.
    if (ga.same_alpha) ga.centre.a = colours[ga.member_head].a;
    ga.union_flg = 1;

    gb.member_num = 0;
    gb.pix_num = 0;
    gb.reach = 0.0f;
    gb.union_flg = 1;
}

int diff_and_set_min_color(int i, int j) {
    reduction_state& st = reduction();
    const colorgroup& gi = st.gcoltable[static_cast<size_t>(i)];
    const colorgroup& gj = st.gcoltable[static_cast<size_t>(j)];
    if (gi.nuki) return -1;
    // A key group is passed over, not treated as the end of the scan: stopping
    // here would keep the groups on either side of it apart for good.
    if (gj.nuki) return 0;
    const float dy = gj.centre.y - gi.centre.y;
    const float rr = gj.reach * gi.reach;
    const float dy2 = dy * dy;
    if (rr < dy2) return -1;
    const float d = merge_distance(gi.centre, gj.centre, dy2);
    if (rr < d) return 0;
    record_candidate(d, i, j);
    return 1;
}

int diff_and_set_min_color2(int i, int j) {
    reduction_state& st = reduction();
    const colorgroup& gi = st.gcoltable[static_cast<size_t>(i)];
    const colorgroup& gj = st.gcoltable[static_cast<size_t>(j)];
    if (gi.nuki) return -1;
    if (gj.nuki) return 0;
    const float dy = gj.centre.y - gi.centre.y;
    if (st.colreach < dy) return -1;
    const float d = merge_distance(gi.centre, gj.centre, dy * dy);
    if (st.colreach * st.colreach < d) return 0;
    set_colgrp_union(i, j);
    return 1;
}

}  // namespace mevra
