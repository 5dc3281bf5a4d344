#include "reduce/shared_census.h"

#include <algorithm>
#include <limits>

#include "image/image_info.h"
#include "reduce/reduction_state.h"

namespace mevra {

void shared_census::add(image_info& img) {
    if (img.flag == 0) return;
    const int n = img.argb_to_color_index();
    if (n > 0) img.color_num = n;
    const size_t entries = std::min(
        {static_cast<size_t>(std::max(img.color_num, 0)), img.color.size(), img.color_cnt.size()});
    for (size_t i = 0; i < entries; ++i) {
        if (img.color_cnt[i] <= 0) continue;  // unused table entries add no colour
        const auto [it, fresh] =
            slot_.try_emplace(img.color[i], static_cast<uint32_t>(colours_.size()));
        if (fresh) {
            colours_.push_back(img.color[i]);
            counts_.push_back(0);
        }
        counts_[it->second] += img.color_cnt[i];
    }
}

bool shared_census::build_palette(int target, std::vector<uint32_t>& palette) const {
    if (colours_.empty() || target < 2 || target > 256) return false;
    // The grouping counts pixels in 32 bits; many large images together are
    // scaled down, each colour keeping at least one pixel.
    int64_t total = 0;
    for (int64_t c : counts_)
        total += c;
    const int64_t limit = std::numeric_limits<int32_t>::max() / 2;
    const int64_t divisor = total > limit ? total / limit + 1 : 1;

    image_info census;
    census.flag = 1;
    census.image_type = IMGTYP_RGB;  // no table position is special across images
    census.color = colours_;
    census.color.resize(std::max<size_t>(colours_.size(), 256), 0);
    census.color_cnt.assign(census.color.size(), 0);
    for (size_t i = 0; i < counts_.size(); ++i)
        census.color_cnt[i] = static_cast<int32_t>(std::max<int64_t>(counts_[i] / divisor, 1));
    census.color_num = static_cast<int>(colours_.size());
    if (census.image_to_index_groups(target) < 0) return false;

    reduction_state& st = reduction();
    const int real =
        std::min({st.colorgroup_num, st.target_ncol, static_cast<int>(st.gcoltable.size())});
    palette.clear();
    for (int i = 0; i < real; ++i)
        palette.push_back(conv_argb(st.gcoltable[static_cast<size_t>(i)].centre));
    st.release_groups();
    return true;
}

}  // namespace mevra
