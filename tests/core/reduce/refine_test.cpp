// Refinement passes over a reduced palette: what they lower, what they leave.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image_info.h"
#include "reduce/palette_refinement.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

struct census_and_plain_palette {
    image_info img;
    std::vector<wxyz> palette;
    census_and_plain_palette(const image_info& source, int colours) : img(source) {
        img.color_num = img.argb_to_color_index();
        image_info reduced = source;
        settings().reset_defaults();
        settings().dither_type = 0;
        reduced.image_to_index(colours);
        for (int e = 0; e < colours; ++e)
            palette.push_back(conv_wxyz(reduced.color[static_cast<size_t>(e)]));
    }
    refinement_census census() const {
        const size_t n = static_cast<size_t>(img.color_num);
        return {std::span<const uint32_t>(img.color).first(n),
                std::span<const int32_t>(img.color_cnt).first(n),
                {}};
    }
};

bool same_bits(const wxyz* a, const wxyz* b, size_t n) {
    return std::memcmp(a, b, n * sizeof(wxyz)) == 0;
}

TEST(Refine, PassesLowerTheErrorKeepFixedEntriesAndIgnoreTheThreadCount) {
    const census_and_plain_palette s(test::make_photo_like(400, 300, 31, true), 64);
    ASSERT_GT(s.img.color_num, 3 * 4096) << "too few colours for three threads";
    std::vector<uint8_t> fixed(s.palette.size(), 0);
    fixed[0] = fixed[9] = fixed[63] = 1;
    double previous = refinement_error(s.palette, s.census());
    std::vector<wxyz> one;
    for (int passes = 1; passes <= 6; ++passes) {
        one = s.palette;
        refine_centres(one, fixed, s.census(), passes, 1);
        const double error = refinement_error(one, s.census());
        EXPECT_LE(error, previous) << passes << " passes";
        previous = error;
        for (size_t e : {0u, 9u, 63u})
            EXPECT_TRUE(same_bits(&one[e], &s.palette[e], 1)) << e;
    }
    EXPECT_LT(previous, 0.9 * refinement_error(s.palette, s.census()));
    for (unsigned threads : {2u, 3u, 8u}) {
        std::vector<wxyz> many = s.palette;
        refine_centres(many, fixed, s.census(), 6, threads);
        EXPECT_TRUE(same_bits(one.data(), many.data(), one.size())) << threads << " threads";
    }
}

TEST(Refine, EmptyEntriesTakeTheWorstColourKeysStayOutAndTheyStopEarly) {
    // Two clusters of grey, one far colour, a key colour; blue gets no colours.
    const std::vector<uint32_t> colours = {0xFF101010u, 0xFF141414u, 0xFF808080u,
                                           0xFF848484u, 0xFFFF0000u, 0x00000000u};
    const std::vector<int32_t> counts = {5, 5, 5, 5, 3, 100};
    const std::vector<uint8_t> key = {0, 0, 0, 0, 0, 1};
    const refinement_census census{colours, counts, key};
    std::vector<wxyz> centres = {conv_wxyz(0xFF121212u), conv_wxyz(0xFF828282u),
                                 conv_wxyz(0xFF0000FFu)};
    centres[2].cb = 5000.0f;
    const int run = refine_centres(centres, {0, 0, 0}, census, 16, 1);
    EXPECT_EQ(conv_argb(centres[2]), 0xFFFF0000u);
    EXPECT_EQ(conv_argb(centres[0]), 0xFF121212u);
    EXPECT_EQ(conv_argb(centres[1]), 0xFF828282u);
    EXPECT_LT(run, 16) << "stops once nothing moves";
    // Each grey is 2 off its entry in luma (4 squared); red and the key add nothing.
    EXPECT_NEAR(refinement_error(centres, census), 4 * 5 * 4.0, 0.01);
}

TEST(Refine, ReductionWithPassesGetsCloserAndLeavesOwnColoursAlone) {
    // Over 65536 colours: with passes the exact colours are refined and mapped.
    const image_info noise = test::make_argb_by(320, 240, [](int x, int y) {
        return 0xFF000000u | (static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u) >> 8;
    });
    const census_and_plain_palette s(noise, 256);
    image_info refined = noise;
    settings().refine_passes = 6;
    refined.image_to_index(256);
    std::vector<wxyz> palette;
    for (size_t e = 0; e < 256; ++e)
        palette.push_back(conv_wxyz(refined.color[e]));
    EXPECT_LT(refinement_error(palette, s.census()), refinement_error(s.palette, s.census()));

    // A picture of fewer colours than the target keeps its own table exactly.
    image_info kept = test::make_photo_like(6, 5, 7), plain = kept;
    kept.image_to_index(64);
    settings().refine_passes = 0;
    plain.image_to_index(64);
    EXPECT_EQ(kept.color, plain.color);
    settings().reset_defaults();
}

TEST(Refine, RefinedAlphaRoundsToTheNearestStoredValue) {
    // One entry's colours average to alpha 254.9: stored as 255, not 254.
    std::vector<uint32_t> px(10, 0xFF80A0C0u);
    px[0] = 0xFE80A0C0u;  // and 5 of each of two dark greys
    px.insert(px.end(), 5, 0xFF000000u);
    px.insert(px.end(), 5, 0xFF020202u);
    image_info img = test::make_argb(20, 1, px);
    settings().reset_defaults();
    settings().dither_type = 0;
    settings().refine_passes = 4;
    img.image_to_index(2);
    settings().reset_defaults();
    EXPECT_TRUE(img.color[0] == 0xFF80A0C0u || img.color[1] == 0xFF80A0C0u)
        << std::hex << img.color[0] << " " << img.color[1];
}

}  // namespace
}  // namespace mevra
