// The cell grid must name exactly the entry of the index-order search, ties,
// cell borders, colours outside the grid and many alpha values included.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "reduce/nearest_cells.h"
#include "reduce/nearest_entry.h"

namespace mevra {
namespace {

constexpr float dithered_start = 1099511627776.0f;  // 2^40

std::vector<wxyz> random_palette(std::mt19937& rng, int count, bool translucent) {
    std::uniform_real_distribution<float> luma(0.0f, 255.0f), chroma(-127.0f, 127.0f);
    std::vector<wxyz> palette(static_cast<size_t>(std::max(count, 256)), wxyz{});
    for (int e = 0; e < count; ++e) {
        const float a = translucent ? static_cast<float>(rng() % 4 * 85) : 255.0f;
        palette[static_cast<size_t>(e)] = {a, luma(rng), chroma(rng), chroma(rng)};
    }
    return palette;
}

// Colours of every kind a diffusion produces: spread over the range, right on
// and a hair off the cell borders, just outside the grid, equal to an entry.
wxyz probe(std::mt19937& rng, const std::vector<wxyz>& palette, int count) {
    std::uniform_real_distribution<float> luma(-1.0f, 257.0f), chroma(-128.5f, 128.5f);
    wxyz v{255.0f, luma(rng), chroma(rng), chroma(rng)};
    switch (rng() % 6) {
        case 0:  // on a border, or one float step beside it
            v.y = static_cast<float>(rng() % 33 * 8);
            v.cb = static_cast<float>(rng() % 33 * 8) - 128.0f;
            if (rng() % 2) v.cb = std::nextafter(v.cb, -200.0f);
            if (rng() % 2) v.y = std::nextafter(v.y, 300.0f);
            break;
        case 1:  // an entry itself
            v = palette[rng() % static_cast<size_t>(count)];
            break;
        case 2:  // alpha of a translucent diffusion
            v.a = static_cast<float>(rng() % 256) + 0.25f;
            break;
        case 3:
            v.a = static_cast<float>(rng() % 4 * 85);
            break;
        default:
            break;
    }
    return v;
}

TEST(NearestCells, AgreeWithTheIndexOrderSearch) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const int count = round < 4 ? round + 1 : (round % 3 == 0 ? 256 : 5 + round * 6);
        const std::vector<wxyz> palette = random_palette(rng, count, round % 4 == 3);
        const nearest_entry_finder general(palette, count);
        nearest_cell_cache cells(palette, count, general);
        for (int k = 0; k < 10000; ++k) {
            const wxyz v = probe(rng, palette, count);
            ASSERT_EQ(cells.find(v, dithered_start), general.find_plain(v, dithered_start))
                << "round " << round << " colour " << v.a << ' ' << v.y << ' ' << v.cb << ' '
                << v.cr;
        }
    }
}

TEST(NearestCells, EqualDistancesGoToTheLowerIndex) {
    // Entries 1 and 3 repeat entries 0 and 2; entries 0 and 2 lie 3 apart in
    // luma on both sides of the cell border at 8, where the colour sits.
    const std::vector<wxyz> palette = {{255.0f, 5.0f, 0.0f, 0.0f},
                                       {255.0f, 5.0f, 0.0f, 0.0f},
                                       {255.0f, 11.0f, 0.0f, 0.0f},
                                       {255.0f, 11.0f, 0.0f, 0.0f},
                                       {255.0f, 200.0f, 50.0f, -50.0f}};
    const nearest_entry_finder general(palette, 5);
    nearest_cell_cache cells(palette, 5, general);
    EXPECT_EQ(cells.find({255.0f, 8.0f, 0.0f, 0.0f}, dithered_start), 0);
    EXPECT_EQ(cells.find({255.0f, 8.5f, 0.0f, 0.0f}, dithered_start), 2);
    EXPECT_EQ(cells.find({255.0f, 7.5f, 0.0f, 0.0f}, dithered_start), 0);
    // Nothing is strictly closer than a start distance of 0: entry 0.
    EXPECT_EQ(cells.find({255.0f, 200.0f, 50.0f, -50.0f}, 0.0f), 0);
}

}  // namespace
}  // namespace mevra
