#pragma once
// The merge candidates of one pass: `min_num` slots in `reduction().ri`.

namespace mevra {

// Fills the first `min_num` slots with empty candidates at a distance larger
// than any real one.
void reset_candidates(int min_num);
// Records pair (i, j) at squared distance d: it replaces the slot with the
// largest distance (the first such slot), unless that distance is already 0.
void record_candidate(float d, int i, int j);

}  // namespace mevra
