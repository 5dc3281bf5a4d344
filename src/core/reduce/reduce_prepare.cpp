// First stage of a reduction: the key-colour check, the coarse pre-quantisation
// of very colourful images, and one group per colour (or per reserve colour).
#include <algorithm>
#include <span>

#include "image/image_info.h"
#include "image/radix_sort.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

constexpr int max_groups_without_prequantisation = 65536;

// The 6-bit-per-channel key of a colour.
uint32_t coarse_key(uint32_t argb) {
    const uint32_t a = (argb >> 24) & 0xFF, r = (argb >> 16) & 0xFF;
    const uint32_t g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return (a >> 2) << 18 | (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
}

uint32_t colour_of_key(uint32_t key) {
    const uint32_t a = (key >> 18) & 63, r = (key >> 12) & 63;
    const uint32_t g = (key >> 6) & 63, b = key & 63;
    return (a << 2) << 24 | (r << 2) << 16 | (g << 2) << 8 | (b << 2);
}

struct coarse_table {
    std::vector<uint32_t> colours;          // distinct coarse keys in ascending order
    std::vector<int32_t> new_index_of_old;  // coarse entry of every old colour
};

// The distinct coarse keys of the colour table in ascending order, so a very
// colourful image keeps a bounded number of groups. Channels lose their low
// two bits.
coarse_table make_coarse_table(const image_info& img, bool reference) {
    const size_t colours = static_cast<size_t>(img.color_num);
    std::vector<uint32_t> keys(colours);
    for (size_t i = 0; i < colours; ++i)
        keys[i] = coarse_key(img.color[i]);

    std::vector<int32_t> new_index_of_old(colours);
    std::vector<uint32_t> table;
    if (!reference) {
        // Numbering the distinct keys in ascending order by sorting them: the
        // same numbers as marking a 2^24 table, without touching 64 MiB.
        std::vector<uint64_t> by_key(colours), scratch;
        for (size_t i = 0; i < colours; ++i)
            by_key[i] = uint64_t{keys[i]} << 32 | i;
        sort_by_high_half(by_key, scratch);
        for (uint64_t entry : by_key) {
            const uint32_t colour = colour_of_key(static_cast<uint32_t>(entry >> 32));
            if (table.empty() || table.back() != colour) table.push_back(colour);
            new_index_of_old[entry & 0xFFFFFFFFu] = static_cast<int32_t>(table.size() - 1);
        }
    } else {
        std::vector<int32_t> key_number(size_t{1} << 24, -1);
        for (uint32_t key : keys)
            key_number[key] = 0;
        int32_t count = 0;
        for (uint32_t key = 0; key < (1u << 24); ++key) {
            if (key_number[key] != 0) continue;
            key_number[key] = count++;
            table.push_back(colour_of_key(key));
        }
        for (size_t i = 0; i < colours; ++i)
            new_index_of_old[i] = key_number[keys[i]];
    }
    return {std::move(table), std::move(new_index_of_old)};
}

// Replaces the colour table by the coarse one and re-points every pixel.
void prequantise(image_info& img, bool reference) {
    const size_t colours = static_cast<size_t>(img.color_num);
    coarse_table coarse = make_coarse_table(img, reference);
    std::vector<uint32_t>& table = coarse.colours;
    for (auto& index : img.index_buff)
        index = coarse.new_index_of_old[static_cast<size_t>(index)];

    img.color_num = static_cast<int>(table.size());
    table.resize(std::max<size_t>(table.size(), 256), 0);
    img.color = std::move(table);
    if (img.index_buff.empty()) {
        // A census without pixels (several images' counts added together)
        // carries its counts over to the coarse colours.
        std::vector<int32_t> counts(img.color.size(), 0);
        for (size_t i = 0; i < colours && i < img.color_cnt.size(); ++i)
            counts[static_cast<size_t>(coarse.new_index_of_old[i])] += img.color_cnt[i];
        img.color_cnt = std::move(counts);
        return;
    }
    img.color_cnt.assign(img.color.size(), 0);
    for (int32_t index : img.index_buff)
        ++img.color_cnt[static_cast<size_t>(index)];
}

colorgroup single_colour_group(const wxyz& value, int32_t index, int32_t count) {
    colorgroup g;
    g.centre = value;
    g.pix_num = count;
    g.member_num = count != 0 ? 1 : 0;
    g.member_head = index;
    g.member_tail = index;
    g.union_flg = 0;
    const float c = static_cast<float>(count);
    g.weighted_sum = {0.0f + c * value.a, 0.0f + c * value.y, 0.0f + c * value.cb,
                      0.0f + c * value.cr};
    g.same_alpha = true;
    return g;
}

int count_key_colours(const image_info& img) {
    int keys = 0;
    for (int i = 0; i < img.color_num; ++i)
        keys += settings().nukicheck(img.image_type, i, img.color[static_cast<size_t>(i)]);
    return keys;
}

int prepare_normal(image_info& img, int target) {
    reduction_state& st = reduction();
    const bool protect_keys = settings().transparency_mode != 0;
    if (protect_keys && target < count_key_colours(img) + 1) {
        show_message(ui_text("reduce", "抜き色が減色する色数以上なので減色できません。"), "");
        return -1;
    }
    st.target_ncol = target;
    // A table shorter than color_num would be a broken image; never read past it.
    const size_t table_size = std::min(
        {static_cast<size_t>(std::max(img.color_num, 0)), img.color.size(), img.color_cnt.size()});
    std::span<const uint32_t> colours(img.color.data(), table_size);
    std::span<const int32_t> counts(img.color_cnt.data(), table_size);
    coarse_table coarse;
    std::vector<int32_t> coarse_counts;
    if (img.color_num > max_groups_without_prequantisation) {
        if (settings().refine_passes <= 0) {
            prequantise(img, st.reference_path);
            colours =
                std::span<const uint32_t>(img.color.data(), static_cast<size_t>(img.color_num));
            counts = std::span<const int32_t>(img.color_cnt.data(), colours.size());
        } else {
            // The refinement and the mapping work on the exact colours, so the
            // image keeps its table; only the groups start from the coarse one.
            coarse = make_coarse_table(img, st.reference_path);
            coarse_counts.assign(coarse.colours.size(), 0);
            for (size_t k = 0; k < table_size; ++k)
                coarse_counts[static_cast<size_t>(coarse.new_index_of_old[k])] += counts[k];
            colours = coarse.colours;
            counts = coarse_counts;
        }
    }
    const size_t n = colours.size();
    st.gcolor_xyz.assign(n, wxyz{});
    st.gcoltable.assign(n, colorgroup{});
    st.member_next.assign(n, -1);
    st.member_count.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t colour = colours[i];
        const int32_t count = counts[i];
        st.gcolor_xyz[i] = conv_wxyz(colour);
        st.member_count[i] = count;
        colorgroup g = single_colour_group(st.gcolor_xyz[i], static_cast<int32_t>(i), count);
        g.nuki =
            protect_keys && settings().nukicheck(img.image_type, static_cast<int>(i), colour) == 1;
        st.gcoltable[i] = g;
    }
    st.colorgroup_num = static_cast<int32_t>(n);
    st.colreach = 1.0f;
    return 0;
}

int prepare_reserve() {
    reduction_state& st = reduction();
    const int n = std::clamp(st.reserve_color_num, 0, reduction_state::reserve_capacity);
    st.target_ncol = n;
    st.gcolor_xyz.assign(static_cast<size_t>(n), wxyz{});
    st.gcoltable.assign(static_cast<size_t>(n), colorgroup{});
    st.member_next.assign(static_cast<size_t>(n), -1);
    st.member_count.assign(static_cast<size_t>(n), 1);
    for (int i = 0; i < n; ++i) {
        const wxyz value = conv_wxyz(st.reserve_color_buf[static_cast<size_t>(i)]);
        st.gcolor_xyz[static_cast<size_t>(i)] = value;
        st.gcoltable[static_cast<size_t>(i)] = single_colour_group(value, i, 1);
    }
    st.colreach = 1.0f;
    return 0;
}

}  // namespace

int image_info::image_to_index_pre(int target, int mode) {
    return mode == 1 ? prepare_reserve() : prepare_normal(*this, target);
}

}  // namespace mevra
