// Scaling: the picture is resampled in full colour. An indexed picture whose
// owner asked to keep its palette is mapped back onto that palette afterwards,
// with the current dither settings.
#include <cstdint>
#include <vector>

#include "image/image_info.h"
#include "image/scaling_resample.h"
#include "image/trim_size_check.h"
#include "settings/clgbase.h"

namespace mevra {

int image_info::image_scaling(int new_width, int new_height) {
    if (flag == 0 || (argb_buff.empty() && index_buff.empty())) return -1;
    // Checked before anything changes, so a refused size leaves the image as it was.
    if (!accept_new_size(new_width, new_height)) return -1;

    image_to_argb();
    if (new_width != width || new_height != height)
        argb_buff = resample_argb(argb_buff, width, height, new_width, new_height);
    width = new_width;
    height = new_height;
    return 0;
}

}  // namespace mevra
