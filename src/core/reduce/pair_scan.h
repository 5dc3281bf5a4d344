#pragma once
// The pair scans of a merge pass over the first `groups` sorted groups. Both
// return the number of pairs found within reach.

namespace mevra {

// Records candidates with diff_and_set_min_color (up to 9600 groups).
int scan_candidates(int groups, bool reference);
// Merges at once with diff_and_set_min_color2 (above 9600 groups).
int scan_immediate(int groups, bool reference);

}  // namespace mevra
