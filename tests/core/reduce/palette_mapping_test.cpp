#include <gtest/gtest.h>

#include "image/image_info.h"
#include "reduce/color_space.h"
#include "reduce/nearest_entry.h"
#include "reduce/palette_mapping.h"
#include "reduce/shared_census.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

// A published 16-colour palette (PICO-8).
const std::vector<uint32_t> pico8 = {0xFF000000u, 0xFF1D2B53u, 0xFF7E2553u, 0xFF008751u,
                                     0xFFAB5236u, 0xFF5F574Fu, 0xFFC2C3C7u, 0xFFFFF1E8u,
                                     0xFFFF004Du, 0xFFFFA300u, 0xFFFFEC27u, 0xFF00E436u,
                                     0xFF29ADFFu, 0xFF83769Cu, 0xFFFF77A8u, 0xFFFFCCAAu};

class PaletteMapping : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }
};

TEST_F(PaletteMapping, WithoutDitherEveryPixelTakesTheNearestEntryAndTheTableIsThePalette) {
    settings().dither_type = 0;
    const image_info source = test::make_photo_like(96, 64, 7, true);
    image_info img = source;
    ASSERT_EQ(map_to_palette(img, pico8), 0);
    EXPECT_EQ(img.flag, 2);
    EXPECT_EQ(img.image_type, IMGTYP_16);
    EXPECT_EQ(img.color_num, 16);
    EXPECT_EQ(palette_of(img), pico8);
    const auto before = test::argb_pixels(source);
    for (size_t p = 0; p < before.size(); ++p) {
        const wxyz v = conv_wxyz(before[p]);
        int best = 0;
        for (int e = 1; e < 16; ++e)
            if (palette_distance(v, conv_wxyz(pico8[static_cast<size_t>(e)])) <
                palette_distance(v, conv_wxyz(pico8[static_cast<size_t>(best)])))
                best = e;
        ASSERT_EQ(img.index_buff[p], best) << "pixel " << p;
    }
}

TEST_F(PaletteMapping, EveryDitherKeepsTheTableAndIndexedImagesAreRemapped) {
    const std::vector<uint32_t> three = {0xFFFFFFFFu, 0xFF000000u, 0xFF808080u};
    for (int dither = 1; dither <= 3; ++dither) {
        settings().dither_type = dither;
        settings().dither_level = 10;
        image_info img = test::make_photo_like(40, 30, 3);
        ASSERT_EQ(map_to_palette(img, three), 0);
        EXPECT_EQ(palette_of(img), three);
        int64_t counted = 0;
        for (int i = 0; i < 3; ++i)
            counted += img.color_cnt[static_cast<size_t>(i)];
        EXPECT_EQ(counted, img.pixel_count());
    }
    // An indexed image is mapped through its colour table.
    settings().dither_type = 0;
    image_info indexed = test::make_indexed(IMGTYP_256, 2, 1, {0xFFF0F0F0u, 0xFF101010u}, {1, 0});
    ASSERT_EQ(map_to_palette(indexed, three), 0);
    EXPECT_EQ(indexed.index_buff, (std::vector<int32_t>{1, 0}));
    image_info untouched = test::make_photo_like(4, 4, 1);
    EXPECT_EQ(map_to_palette(untouched, {}), -1);
    EXPECT_EQ(untouched.image_type, IMGTYP_RGB);
}

TEST_F(PaletteMapping, ReplacingATableKeepsIndicesAndEntriesStillInUse) {
    image_info img = test::make_indexed(IMGTYP_16, 3, 1, {1, 2, 3, 4}, {0, 3, 1});
    ASSERT_EQ(replace_palette(img, {0xFFAA0000u, 0xFF00BB00u}), 0);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{0, 3, 1}));
    EXPECT_EQ(std::vector<uint32_t>(img.color.begin(), img.color.begin() + 4),
              (std::vector<uint32_t>{0xFFAA0000u, 0xFF00BB00u, 3, 4}));
    EXPECT_EQ(img.color_num, 4);
    ASSERT_EQ(replace_palette(img, std::vector<uint32_t>(40, 0xFF123456u)), 0);
    EXPECT_EQ(img.image_type, IMGTYP_256);
    EXPECT_EQ(img.color_num, 40);
    image_info argb = test::make_photo_like(4, 4, 1);
    EXPECT_EQ(replace_palette(argb, {0xFF000000u}), -1);
}

TEST_F(PaletteMapping, SharedCensusAddsCountsAsIfTheImagesWereOne) {
    // Two pictures under the first-appearance census, stacked into one: the
    // shared palette is the palette the stacked picture is reduced to.
    image_info a = test::make_photo_like(64, 60, 11);
    image_info b = test::make_photo_like(64, 60, 12);
    auto pixels = test::argb_pixels(a);
    const auto lower = test::argb_pixels(b);
    pixels.insert(pixels.end(), lower.begin(), lower.end());
    image_info stacked = test::make_argb(64, 120, pixels);
    shared_census census;
    census.add(a);
    census.add(b);
    std::vector<uint32_t> shared;
    ASSERT_TRUE(census.build_palette(48, shared));
    stacked.image_to_index(48);
    EXPECT_EQ(shared, palette_of(stacked));

    // Beyond 65536 colours the census is coarsened first; the counts go along.
    image_info wide = test::make_argb_by(
        512, 160, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(y * 512 + x); });
    shared_census big;
    big.add(wide);
    ASSERT_GT(big.colour_count(), 65536u);
    ASSERT_TRUE(big.build_palette(16, shared));
    EXPECT_EQ(shared.size(), 16u);
}

}  // namespace
}  // namespace mevra
