#include "reduce/dither_mapping.h"

#include <array>
#include <cstdint>

#include "image/image_info.h"
#include "platform/parallel_for.h"

namespace mevra {
namespace {

// Above this many old colours the per-colour result table would be too large.
constexpr size_t max_memo_colours = size_t{1} << 20;

// The luma offset of each Bayer cell value at the given strength.
std::array<float, 16> pattern_offsets(int level) {
    std::array<float, 16> offsets{};
    for (int c = 0; c < 16; ++c)
        offsets[static_cast<size_t>(c)] =
            (dither_pattern[c] - 7.5f) * static_cast<float>(level) * 0.2f;
    return offsets;
}

inline size_t old_index(const image_info& img, size_t pos, size_t colours) {
    const size_t k = static_cast<size_t>(img.index_buff[pos]);
    return k < colours ? k : 0;
}

}  // namespace

void map_pattern_dither(image_info& img, const std::vector<wxyz>& old_values,
                        const nearest_entry_finder& finder, const dither_settings& dither,
                        bool reference) {
    const std::array<float, 16> offsets = pattern_offsets(dither.level);
    const size_t width = static_cast<size_t>(img.width), height = static_cast<size_t>(img.height);
    const size_t colours = old_values.size();
    auto cell_of = [](size_t x, size_t y) { return (y % 4) * 4 + (x % 4); };
    auto dithered = [&](size_t k, size_t cell) {
        wxyz v = old_values[k];
        v.y = v.y + offsets[cell];
        return v;
    };

    // The table of results pays only where colours repeat over many pixels; a
    // picture of nearly as many colours as pixels (the exact colours of a
    // photograph, kept for a refined palette) would search as often for the
    // table and hold sixteen entries a colour.
    const bool memo = colours <= max_memo_colours && colours * 8 <= width * height;
    if (reference || !memo) {
        parallel_for(height, 16, [&](size_t y0, size_t y1) {
            for (size_t y = y0; y < y1; ++y)
                for (size_t x = 0; x < width; ++x) {
                    const size_t pos = y * width + x;
                    const wxyz v = dithered(old_index(img, pos, colours), cell_of(x, y));
                    img.index_buff[pos] = reference ? finder.find_plain(v, dithered_start)
                                                    : finder.find(v, dithered_start);
                }
        });
        return;
    }

    // The result depends only on the old colour and the Bayer cell: find each
    // combination that occurs once, then look the pixels up.
    std::vector<uint16_t> cells_used(colours, 0);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            cells_used[old_index(img, y * width + x, colours)] |=
                static_cast<uint16_t>(1u << cell_of(x, y));
    std::vector<int32_t> result(colours * 16, 0);
    parallel_for(colours, 256, [&](size_t k0, size_t k1) {
        for (size_t k = k0; k < k1; ++k) {
            int hint = -1;
            for (size_t cell = 0; cell < 16; ++cell) {
                if ((cells_used[k] >> cell & 1u) == 0) continue;
                hint = finder.find(dithered(k, cell), dithered_start, hint);
                result[k * 16 + cell] = hint;
            }
        }
    });
    parallel_for(height, 64, [&](size_t y0, size_t y1) {
        for (size_t y = y0; y < y1; ++y)
            for (size_t x = 0; x < width; ++x) {
                const size_t pos = y * width + x;
                img.index_buff[pos] = result[old_index(img, pos, colours) * 16 + cell_of(x, y)];
            }
    });
}

}  // namespace mevra
