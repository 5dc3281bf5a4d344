#include "reduce/palette_mapping.h"

#include <algorithm>

#include "image/image_info.h"
#include "reduce/reduction_state.h"

namespace mevra {

int map_to_palette(image_info& img, const std::vector<uint32_t>& palette) {
    if (img.flag == 0 || (img.argb_buff.empty() && img.index_buff.empty())) return -1;
    if (palette.empty() || palette.size() > 256) return -1;
    const int n = img.argb_to_color_index();
    if (n > 0) img.color_num = n;
    // The reserve palette of the reduction is exactly this: entries mapped onto
    // as they are, never merged, with the image type from their number.
    reduction_state& st = reduction();
    std::fill(st.reserve_color_buf.begin(), st.reserve_color_buf.end(), 0u);
    std::copy(palette.begin(), palette.end(), st.reserve_color_buf.begin());
    st.reserve_color_num = static_cast<int32_t>(palette.size());
    img.image_to_index_pre(0, 1);
    img.image_to_index_post(0, 1);
    return 0;
}

int replace_palette(image_info& img, const std::vector<uint32_t>& palette) {
    const bool indexed = img.image_type == IMGTYP_16 || img.image_type == IMGTYP_256;
    if (img.flag == 0 || !indexed || palette.empty() || palette.size() > 256) return -1;
    int used = 0;
    for (int32_t index : img.index_buff)
        used = std::max(used, index + 1);
    const size_t entries = std::max<size_t>(palette.size(), static_cast<size_t>(used));
    if (img.color.size() < std::max<size_t>(entries, 256))
        img.color.resize(std::max<size_t>(entries, 256), 0xFF000000u);
    if (img.color_cnt.size() < img.color.size()) img.color_cnt.resize(img.color.size(), 0);
    std::copy(palette.begin(), palette.end(), img.color.begin());
    img.color_num = static_cast<int>(entries);
    if (entries > 16) img.image_type = IMGTYP_256;
    return 0;
}

std::vector<uint32_t>& fixed_reduction_palette() {
    static std::vector<uint32_t> palette;
    return palette;
}

std::vector<uint32_t> palette_of(const image_info& img) {
    const size_t n = static_cast<size_t>(std::clamp<int>(img.color_num, 0, 256));
    return {img.color.begin(),
            img.color.begin() + static_cast<std::ptrdiff_t>(std::min(n, img.color.size()))};
}

}  // namespace mevra
