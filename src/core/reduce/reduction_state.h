#pragma once
// The program-wide reduction state shared by the three stages of a colour
// reduction (grouping, merging, mapping) and by the re-indexing onto a reserve
// palette after a resize. One reduction runs at a time.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "reduce/color_space.h"

namespace mevra {

// One colour group. The members form a singly linked list over colour indices
// (`reduction_state::member_next`), so absorbing a group is a splice; the pixel
// count of a member is `reduction_state::member_count[index]`.
struct colorgroup {
    uint8_t nuki = 0;  // key colour, never merged
    wxyz centre{};     // pixel-weighted mean of the members (A, Y, Cb, Cr)
    int32_t pix_num = 0;
    float reach = 0.0f;
    int32_t union_flg = 0;
    int32_t member_num = 0;  // 0 marks an empty group
    int32_t member_head = -1;
    int32_t member_tail = -1;
    // Running sums of count × colour over the member list, in list order, so a
    // merge only adds the absorbed members (same float sequence as a full sum).
    wxyz weighted_sum{};
    // True while every member has the same alpha; the centre then keeps it exactly.
    bool same_alpha = true;
};

// A merge candidate: squared distance and the two groups (-1 for an empty slot).
struct reachinfo {
    float dist = 0.0f;
    int32_t grp1 = -1;
    int32_t grp2 = -1;
};

struct reduction_state {
    static constexpr int ri_capacity = 8192;
    static constexpr int reserve_capacity = 65536;

    std::vector<colorgroup> gcoltable;
    std::vector<wxyz> gcolor_xyz;       // (A, Y, Cb, Cr) of each colour-table entry
    std::vector<int32_t> member_next;   // next member after a colour index, -1 at the end
    std::vector<int32_t> member_count;  // pixel count each colour brings to its group
    int32_t colorgroup_num = 0;
    int32_t target_ncol = 0;
    int32_t min_num = 0;
    std::array<reachinfo, ri_capacity> ri{};
    // Tournament tree over ri[0 .. min_num): each node holds the slot with the
    // largest distance below it (the first slot among equals).
    std::vector<int32_t> ri_max_tree;
    int32_t ri_tree_leaves = 0;
    float colreach = 1.0f;
    std::vector<uint32_t> reserve_color_buf = std::vector<uint32_t>(reserve_capacity, 0);
    int32_t reserve_color_num = 0;

    // Selects the straightforward implementation of every stage instead of the
    // accelerated one; both give identical results (kept to prove exactly that).
    bool reference_path = false;
    // Passes run by the last `image_to_index` (for measurements).
    int last_pass_count = 0;

    // Releases the groups, member lists and colour values of a finished reduction.
    void release_groups();
};

// The one reduction state of the program.
reduction_state& reduction();

// Largest k with 2^k <= n, but 2 for every n below 4.
int ilog2(int n);

// How many candidate pairs a pass may merge for a given excess of groups.
int candidate_budget(int excess);

// The group order of a merge pass: non-empty groups first, then ascending
// centres compared A, Y, Cb, Cr. Returns true when a sorts before b.
bool colorgroup_compare(const colorgroup& a, const colorgroup& b);
// The candidate order: ascending distance.
bool reachinfo_compare(const reachinfo& a, const reachinfo& b);

// Merges group b into group a (indices into gcoltable).
void set_colgrp_union(int a, int b);
// The pair tests of a merge pass: -1 ends the scan for i, 0 not within reach,
// 1 within reach (recorded as a candidate, or merged at once).
int diff_and_set_min_color(int i, int j);
int diff_and_set_min_color2(int i, int j);

}  // namespace mevra
