// Last stage of a reduction: the new palette from the group centres, every
// pixel mapped to its nearest entry (per colour, or per pixel with ordered or
// error-diffusion dithering), then the counts and the indexed image type.
#include <algorithm>

#include "image/image_info.h"
#include "reduce/dither_mapping.h"
#include "reduce/nearest_entry.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

constexpr uint32_t padding_colour = 0xFF000000u;
constexpr float undithered_start = 102400000000.0f;

// Without dithering every pixel of one old colour gets the same entry, so the
// search runs once per colour.
void map_without_dither(image_info& img, const nearest_entry_finder& finder, bool reference) {
    const size_t old_colours = static_cast<size_t>(std::max(img.color_num, 0));
    std::vector<int32_t> new_index(std::max(old_colours, img.color.size()), 0);
    for (size_t k = 0; k < old_colours && k < img.color.size(); ++k) {
        const wxyz v = conv_wxyz(img.color[k]);
        new_index[k] =
            reference ? finder.find_plain(v, undithered_start) : finder.find(v, undithered_start);
    }
    for (auto& index : img.index_buff)
        index = static_cast<size_t>(index) < new_index.size()
                    ? new_index[static_cast<size_t>(index)]
                    : 0;
}

}  // namespace

void image_info::image_to_index_post(int target, int mode) {
    reduction_state& st = reduction();
    const int target_ncol = std::max(st.target_ncol, 0);
    const size_t palette_size = static_cast<size_t>(std::max(target_ncol, 256));
    const int groups = static_cast<int>(st.gcoltable.size());
    const int real_entries =
        std::min(mode == 1 ? target_ncol : std::min(st.colorgroup_num, target_ncol), groups);

    // Entries past the groups are filler: (0, 0, 0, 0) in the float palette but
    // opaque black in the table. They are never searched, so no pixel can land
    // on a black entry that was never one of its candidates.
    const int filled = std::min(mode == 1 ? target_ncol : st.colorgroup_num, groups);
    std::vector<wxyz> float_palette(palette_size, wxyz{0.0f, 0.0f, 0.0f, 0.0f});
    std::vector<uint32_t> new_table(palette_size, padding_colour);
    for (int i = 0; i < filled && static_cast<size_t>(i) < palette_size; ++i) {
        float_palette[static_cast<size_t>(i)] = st.gcoltable[static_cast<size_t>(i)].centre;
        new_table[static_cast<size_t>(i)] = conv_argb(st.gcoltable[static_cast<size_t>(i)].centre);
    }

    const nearest_entry_finder finder(float_palette, real_entries);
    dither_settings dither{settings().dither_type, settings().dither_level};
    std::vector<wxyz> old_values(color.size());
    for (size_t k = 0; k < color.size(); ++k)
        old_values[k] = conv_wxyz(color[k]);
    switch (dither.type) {
        case 1:
        case 2:
            map_error_diffusion(*this, old_values, float_palette, finder, dither,
                                st.reference_path);
            break;
        case 3:
            map_pattern_dither(*this, old_values, finder, dither, st.reference_path);
            break;
        default:
            map_without_dither(*this, finder, st.reference_path);
            break;
    }

    color_cnt.assign(palette_size, 0);
    for (int32_t index : index_buff)
        ++color_cnt[static_cast<size_t>(index)];
    st.release_groups();

    const int type_count = mode == 1 ? st.reserve_color_num : target;
    image_type = type_count <= 16 ? IMGTYP_16 : IMGTYP_256;
    color = std::move(new_table);
    color_num = target_ncol;
    flag = 2;
}

}  // namespace mevra
