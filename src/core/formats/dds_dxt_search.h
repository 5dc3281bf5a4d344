#pragma once
// Fast versions of the endpoint search. Each returns exactly the pair that
// search_endpoints_plain returns: the sums keep the same operations in the
// same order, only spread over vector lanes (one lane per second endpoint),
// and the pruning only drops pairs that provably cannot win.
#include "formats/dds_dxt_block.h"

namespace mevra::dds {

enum class search_kind {
    plain,   // the reference loop
    pruned,  // scalar, with a shared distance table and early exits
    avx2,    // 8 pairs at a time
    avx512,  // 16 pairs at a time
};

// Whether this processor can run a search kind.
bool search_supported(search_kind kind);
// The fastest kind this processor runs.
search_kind fastest_search();

endpoint_pair search_endpoints(const dxt_block& b, search_kind kind);

// An error that the best pair cannot exceed: the exact error of a likely good
// pair (the darkest and the brightest candidate). Pairs whose running sum
// passes it cannot win, which lets the fast searches stop early.
float winning_error_bound(const dxt_block& b);

// The vector searches; call only when search_supported says so.
endpoint_pair search_endpoints_pruned(const dxt_block& b);
endpoint_pair search_endpoints_avx2(const dxt_block& b);
endpoint_pair search_endpoints_avx512(const dxt_block& b);

}  // namespace mevra::dds
