// The colour reduction command: census, grouping, merge passes, mapping.
#include "image/image_info.h"
#include "reduce/palette_refinement.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {

int image_info::image_to_index_groups(int target) {
    if (image_to_index_pre(target, 0) < 0) return -1;
    reduction_state& st = reduction();
    st.last_pass_count = 0;
    while (st.colorgroup_num > st.target_ncol) {
        image_to_index_core();
        ++st.last_pass_count;
    }
    refine_reduction_palette(*this, settings().refine_passes);
    return 0;
}

void image_info::image_to_index(int target) {
    if (flag == 0 || target < 2 || target > 256) return;
    const int n = argb_to_color_index();
    if (n > 0) color_num = n;
    if (image_to_index_groups(target) < 0) {
        // Refused: an image that came in as ARGB goes back to ARGB unchanged.
        if (image_type == IMGTYP_RGB) image_to_argb();
        return;
    }
    image_to_index_post(target, 0);
}

}  // namespace mevra
