#pragma once
// The pair scans of a merge pass over the first `groups` sorted groups. Both
// return the number of pairs found within reach. The candidate scan is shared
// by the reference and the fast path; the immediate scan has a fast twin,
// because on very colourful photographs it is most of a reduction's time.

namespace mevra {

// Records candidates with diff_and_set_min_color (up to 9600 groups).
int scan_candidates(int groups);
// Merges at once with diff_and_set_min_color2 (above 9600 groups).
int scan_immediate(int groups);
// The same merges, counts and float results as scan_immediate, testing only
// the pairs near enough in luma and chroma to be within reach.
int scan_immediate_fast(int groups);

}  // namespace mevra
