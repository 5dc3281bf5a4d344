// The pair scans of a merge pass: every pair in scan order, as the pair tests
// define it.
#include "reduce/pair_scan.h"

#include "reduce/reduction_state.h"

namespace mevra {

int scan_candidates(int groups) {
    int within = 0;
    for (int i = 0; i < groups - 1; ++i) {
        for (int j = i + 1; j < groups; ++j) {
            const int r = diff_and_set_min_color(i, j);
            if (r == 1) ++within;
            if (r == -1) break;
        }
    }
    return within;
}

int scan_immediate(int groups) {
    reduction_state& st = reduction();
    int within = 0;
    for (int i = 0; i < groups - 1; ++i) {
        const colorgroup& gi = st.gcoltable[static_cast<size_t>(i)];
        if (gi.union_flg != 0 || gi.member_num == 0) continue;
        for (int j = i + 1; j < groups; ++j) {
            const colorgroup& gj = st.gcoltable[static_cast<size_t>(j)];
            if (gj.union_flg != 0 || gj.member_num == 0) continue;
            const int r = diff_and_set_min_color2(i, j);
            if (r == 1) ++within;
            if (r == -1) break;
        }
    }
    return within;
}

}  // namespace mevra
