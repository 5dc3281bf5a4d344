// The candidate slots of a merge pass. The replacement rule needs the slot with
// the largest distance at every record; the reference path scans all slots, the
// fast path keeps a tournament tree so each record costs O(log min_num).
#include "reduce/candidate_list.h"

#include <cstddef>

#include "reduce/reduction_state.h"

namespace mevra {
namespace {

constexpr float empty_candidate_dist = 102400000000.0f;

// The winner of two slots: larger distance, the lower slot among equals.
inline int32_t larger_slot(const reduction_state& st, int32_t p, int32_t q) {
    if (q < 0) return p;
    if (p < 0) return q;
    const float dp = st.ri[static_cast<size_t>(p)].dist;
    const float dq = st.ri[static_cast<size_t>(q)].dist;
    if (dq > dp) return q;
    if (dp > dq) return p;
    return p < q ? p : q;
}

void rebuild_tree(reduction_state& st, int slots) {
    int leaves = 1;
    while (leaves < slots)
        leaves *= 2;
    st.ri_tree_leaves = leaves;
    st.ri_max_tree.assign(static_cast<size_t>(2 * leaves), -1);
    for (int p = 0; p < slots; ++p)
        st.ri_max_tree[static_cast<size_t>(leaves + p)] = p;
    for (int node = leaves - 1; node >= 1; --node)
        st.ri_max_tree[static_cast<size_t>(node)] =
            larger_slot(st, st.ri_max_tree[static_cast<size_t>(2 * node)],
                        st.ri_max_tree[static_cast<size_t>(2 * node + 1)]);
}

void update_tree(reduction_state& st, int slot) {
    size_t node = static_cast<size_t>(st.ri_tree_leaves + slot) / 2;
    for (; node >= 1; node /= 2)
        st.ri_max_tree[node] =
            larger_slot(st, st.ri_max_tree[2 * node], st.ri_max_tree[2 * node + 1]);
}

int largest_slot_by_scan(const reduction_state& st) {
    int best = 0;
    for (int p = 1; p < st.min_num; ++p)
        if (st.ri[static_cast<size_t>(p)].dist > st.ri[static_cast<size_t>(best)].dist) best = p;
    return best;
}

}  // namespace

void reset_candidates(int min_num) {
    reduction_state& st = reduction();
    for (int p = 0; p < min_num; ++p)
        st.ri[static_cast<size_t>(p)] = {empty_candidate_dist, -1, -1};
    if (!st.reference_path) rebuild_tree(st, min_num);
}

void record_candidate(float d, int i, int j) {
    reduction_state& st = reduction();
    if (st.min_num <= 0) return;
    int slot;
    if (st.reference_path) {
        for (int p = 0; p < st.min_num; ++p)
            if (st.ri[static_cast<size_t>(p)].grp1 == i && st.ri[static_cast<size_t>(p)].grp2 == j)
                return;
        slot = largest_slot_by_scan(st);
    } else {
        // A pass tests each pair once, so the "already recorded" case cannot
        // arise here; only the largest slot is needed.
        slot = st.ri_max_tree[1];
    }
    reachinfo& entry = st.ri[static_cast<size_t>(slot)];
    if (entry.dist == 0.0f) return;
    entry = {d, i, j};
    if (!st.reference_path) update_tree(st, slot);
}

}  // namespace mevra
