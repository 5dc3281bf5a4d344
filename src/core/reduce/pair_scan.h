#pragma once
// The pair scans of a merge pass over the first `groups` sorted groups. Both
// return the number of pairs found within reach. They are shared by the
// reference and the fast path: measured, they cost a small share of a
// reduction, so they stay in their plain form.

namespace mevra {

// Records candidates with diff_and_set_min_color (up to 9600 groups).
int scan_candidates(int groups);
// Merges at once with diff_and_set_min_color2 (above 9600 groups).
int scan_immediate(int groups);

}  // namespace mevra
