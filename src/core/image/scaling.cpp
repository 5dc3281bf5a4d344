// Scaling: the picture is resampled in full colour. An indexed picture whose
// owner asked to keep its palette is mapped back onto that palette afterwards,
// with the current dither settings.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/image_info.h"
#include "image/scaling_resample.h"
#include "image/trim_size_check.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

// Loads the image's palette as the reserve palette of colour reduction. A
// 256- or 16-colour image reserves all 256 or 16 slots; slots beyond its
// palette hold 0x00000000.
void reserve_palette_of(const image_info& img) {
    reduction_state& st = reduction();
    std::fill(st.reserve_color_buf.begin(), st.reserve_color_buf.end(), 0u);
    const int n = std::min<int>(img.color_num, static_cast<int>(img.color.size()));
    std::copy_n(img.color.begin(), n, st.reserve_color_buf.begin());
    if (img.image_type == IMGTYP_256)
        st.reserve_color_num = 256;
    else if (img.image_type == IMGTYP_16)
        st.reserve_color_num = 16;
    else
        st.reserve_color_num = img.color_num;
}

}  // namespace

int image_info::image_scaling(int new_width, int new_height) {
    if (flag == 0 || (argb_buff.empty() && index_buff.empty())) return -1;
    // Checked before anything changes, so a refused size leaves the image as it was.
    if (!accept_new_size(new_width, new_height)) return -1;

    // The reserve palette holds at most 65536 colours; a larger table (which no
    // reader produces) is left in full colour rather than mapped onto a stale palette.
    const bool keep_palette = settings().trim_palette_reserve == 1 && image_type != IMGTYP_RGB &&
                              color_num > 0 && color_num <= reduction_state::reserve_capacity;
    if (keep_palette) reserve_palette_of(*this);

    image_to_argb();
    if (new_width != width || new_height != height)
        argb_buff = resample_argb(argb_buff, width, height, new_width, new_height);
    width = new_width;
    height = new_height;

    if (keep_palette) {
        color_num = argb_to_color_index();
        if (image_to_index_pre(0, 1) == 0)
            image_to_index_post(0, 1);
        else
            image_to_argb();  // never leave the census form behind
    }
    return 0;
}

}  // namespace mevra
