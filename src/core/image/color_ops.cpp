// The eight per-colour conversions. On an ARGB image they rewrite every pixel;
// on an indexed image the colour table, so the indices stay untouched. Two are
// different: filling transparent pixels needs real neighbours and therefore
// ARGB pixels, and moving the key colour to entry 0 rewrites indices.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image_info.h"
#include "reduce/color_space.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

enum color_op {
    luma_to_alpha = 0,
    all_opaque = 1,
    key_alpha0 = 2,
    monochrome = 3,
    invert = 4,
    fill_transparent = 5,
    key_to_back = 6,
    key_to_first = 7,
};

// The luma of the reduction colour space, truncated to a byte.
uint32_t luma_byte(uint32_t c) {
    const float y = conv_wxyz(c).y;
    const uint32_t v = y > 0.0f ? static_cast<uint32_t>(y) : 0u;
    return v > 255u ? 255u : v;
}

// One colour through one of the operations that act on a colour alone.
// `index` is the colour-table index, or -1 for an ARGB pixel, so that the
// "palette entry 0" key rule never fires on true-colour pixels.
uint32_t convert_one(int op, int type, int index, uint32_t c) {
    const clgbase& s = settings();
    switch (op) {
        case luma_to_alpha:
            return (luma_byte(c) << 24) | (c & 0x00FFFFFFu);
        case all_opaque:
            return c | 0xFF000000u;
        case key_alpha0:
            return s.nukicheck(type, index, c) ? (c & 0x00FFFFFFu) : c;
        case monochrome: {
            const uint32_t y = luma_byte(c);
            return (c & 0xFF000000u) | (y << 16) | (y << 8) | y;
        }
        case invert:
            return c ^ 0x00FFFFFFu;
        case key_to_back:
            return s.nukicheck(type, index, c) ? s.back_color : c;
        default:
            return c;
    }
}

struct neighbour {
    int dx, dy, weight;
};

// The 5 × 5 square without its centre, nearest ring first; weight (5-|dx|-|dy|)².
constexpr std::array<neighbour, 24> neighbours = {{
    {-1, 0, 16}, {1, 0, 16},  {0, -1, 16}, {0, 1, 16},                          // 0-3
    {-1, -1, 9}, {-1, 1, 9},  {1, -1, 9},  {1, 1, 9},                           // 4-7
    {-2, 0, 9},  {2, 0, 9},   {0, -2, 9},  {0, 2, 9},                           // 8-11
    {-2, -2, 1}, {-2, -1, 4}, {-2, 1, 4},  {-2, 2, 1}, {2, -2, 1}, {2, -1, 4},  // 12-17
    {2, 1, 4},   {2, 2, 1},                                                     // 18-19
    {-1, -2, 4}, {1, -2, 4},  {-1, 2, 4},  {1, 2, 4},                           // 20-23
}};
// After these many positions, a pixel that already found visible neighbours stops.
constexpr int first_stop = 4;
constexpr int second_stop = 12;

// Gives every fully transparent pixel the weighted colour of the visible pixels
// around it, nearest ring first. Reads only the unchanged picture, so colours
// written in this pass never spread further.
void fill_transparent_pixels(std::vector<uint32_t>& pixels, int w, int h) {
    const std::vector<uint32_t>& src = pixels;
    std::vector<uint32_t> out = pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t pos = static_cast<size_t>(y) * w + x;
            if ((src[pos] >> 24) != 0) continue;
            int total = 0, sr = 0, sg = 0, sb = 0;
            for (int k = 0; k < static_cast<int>(neighbours.size()); ++k) {
                if ((k == first_stop || k == second_stop) && total != 0) break;
                const int nx = x + neighbours[k].dx;
                const int ny = y + neighbours[k].dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const uint32_t c = src[static_cast<size_t>(ny) * w + nx];
                if ((c >> 24) == 0) continue;
                const int wt = neighbours[k].weight;
                total += wt;
                sr += wt * static_cast<int>((c >> 16) & 0xFF);
                sg += wt * static_cast<int>((c >> 8) & 0xFF);
                sb += wt * static_cast<int>(c & 0xFF);
            }
            if (total == 0) continue;
            out[pos] = (static_cast<uint32_t>(sr / total) << 16) |
                       (static_cast<uint32_t>(sg / total) << 8) | static_cast<uint32_t>(sb / total);
        }
    }
    pixels = std::move(out);
}

// Puts every key colour of an indexed image on entry 0: the first key entry
// found trades places with entry 0, later ones just hand their pixels over.
void move_key_to_first_entry(image_info& img) {
    const clgbase& s = settings();
    int found = 0;
    for (int i = 0; i < img.color_num; ++i) {
        if (!s.nukicheck(img.image_type, i, img.color[static_cast<size_t>(i)])) continue;
        ++found;
        if (i == 0) continue;
        if (found == 1) {
            std::swap(img.color[0], img.color[static_cast<size_t>(i)]);
            for (int32_t& index : img.index_buff) {
                if (index == i)
                    index = 0;
                else if (index == 0)
                    index = i;
            }
        } else {
            for (int32_t& index : img.index_buff)
                if (index == i) index = 0;
        }
    }
    img.set_color_cnt();
}

}  // namespace

void image_info::color_one_calc(int op) {
    if (flag == 0 || op < luma_to_alpha || op > key_to_first) return;
    if (op == fill_transparent) {
        image_to_argb();
        if (argb_buff.empty()) return;
        fill_transparent_pixels(argb_buff, width, height);
        return;
    }
    if (op == key_to_first) {
        if (image_type != IMGTYP_RGB && !index_buff.empty()) move_key_to_first_entry(*this);
        return;
    }
    if (!argb_buff.empty()) {
        for (uint32_t& c : argb_buff)
            c = convert_one(op, image_type, -1, c);
    } else {
        for (int i = 0; i < color_num && i < static_cast<int>(color.size()); ++i)
            color[static_cast<size_t>(i)] =
                convert_one(op, image_type, i, color[static_cast<size_t>(i)]);
    }
}

}  // namespace mevra
