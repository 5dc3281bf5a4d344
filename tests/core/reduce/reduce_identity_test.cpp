// The accelerated reduction must give bit-identical results to the
// straightforward one on every kind of image, setting and dither.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "image/image_info.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

struct case_image {
    const char* name;
    image_info image;
};

// Few colours in large flat areas, with some translucency and a key colour.
image_info make_posterised(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> colours(40);
    for (auto& c : colours)
        c = rng() | 0xFF000000u;
    colours[3] = 0x00000000u;
    colours[5] = 0x80FF00FFu;
    return test::make_argb_by(width, height, [&](int x, int y) {
        return colours[static_cast<size_t>((x / 7 + y / 5 * 3) % 40)];
    });
}

// Many distinct colours, enough to take the immediate-merging passes.
image_info make_noisy(int width, int height, uint32_t seed, bool alpha) {
    std::mt19937 rng(seed);
    return test::make_argb_by(width, height, [&](int x, int y) {
        const uint32_t r = static_cast<uint32_t>(x * 2 + (rng() & 15)) & 0xFF;
        const uint32_t g = static_cast<uint32_t>(y * 3 + (rng() & 15)) & 0xFF;
        const uint32_t b = rng() & 0xFF;
        const uint32_t a = alpha ? (rng() & 3) * 85 : 255;
        return a << 24 | r << 16 | g << 8 | b;
    });
}

std::vector<case_image> images() {
    std::vector<case_image> out;
    out.push_back({"photo", test::make_photo_like(72, 54, 11)});
    out.push_back({"photo_alpha", test::make_photo_like(64, 40, 12, true)});
    out.push_back({"posterised", make_posterised(50, 30, 13)});
    out.push_back({"noisy", make_noisy(110, 96, 14, false)});
    out.push_back({"noisy_alpha", make_noisy(104, 96, 15, true)});
    out.push_back(
        {"indexed", test::make_indexed(IMGTYP_256, 6, 5,
                                       {0xFF000000u, 0xFF102030u, 0xFF204060u, 0xFFFFFFFFu,
                                        0x00000000u, 0xFF808080u, 0xFF7F8081u},
                                       {0, 1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6, 0,
                                        1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6, 6, 6})});
    out.back().image.color_num = 7;
    return out;
}

image_info reduce_with(const image_info& source, int target, bool reference) {
    image_info img = source;
    reduction().reference_path = reference;
    img.image_to_index(target);
    reduction().reference_path = false;
    return img;
}

// One test per picture and mode, so that the test shards share the work.
class ReduceIdentityOf : public testing::TestWithParam<std::tuple<size_t, int>> {};

TEST_P(ReduceIdentityOf, FastPathMatchesReferenceBitForBit) {
    settings().reset_defaults();
    const case_image c = images()[std::get<0>(GetParam())];
    const int mode = std::get<1>(GetParam());
    for (int dither = 0; dither < 4; ++dither) {
        for (int target : {mode % 2 == 0 ? 2 : 37, dither % 2 == 0 ? 16 : 256}) {
            settings().conv_mode = mode;
            settings().dither_type = dither;
            settings().dither_level = 1 + (mode * 4 + dither + target) % 10;
            settings().transparency_mode = (target + dither) % 3 == 0;
            settings().nuki_flg_alpha0 = 1;
            const image_info a = reduce_with(c.image, target, true);
            const image_info b = reduce_with(c.image, target, false);
            ASSERT_EQ(a.color, b.color) << c.name << " dither " << dither << " target " << target;
            ASSERT_EQ(a.index_buff, b.index_buff) << c.name << " dither " << dither;
            ASSERT_EQ(a.color_cnt, b.color_cnt);
            ASSERT_EQ(a.color_num, b.color_num);
            ASSERT_EQ(a.image_type, b.image_type);
        }
    }
    settings().reset_defaults();
}

INSTANTIATE_TEST_SUITE_P(
    EveryPictureAndMode, ReduceIdentityOf,
    testing::Combine(testing::Range<size_t>(0, images().size()), testing::Range(0, 4)),
    [](const testing::TestParamInfo<std::tuple<size_t, int>>& info) {
        return std::string(images()[std::get<0>(info.param)].name) + "_mode" +
               std::to_string(std::get<1>(info.param));
    });

TEST(ReduceIdentity, ColourfulImagesTakeTheSameCoarseTable) {
    // More than 65536 colours: the coarse pre-quantisation runs in both paths.
    settings().reset_defaults();
    const image_info source = make_noisy(320, 256, 16, true);
    for (int dither : {0, 3}) {
        settings().dither_type = dither;
        const image_info a = reduce_with(source, 256, true);
        const image_info b = reduce_with(source, 256, false);
        ASSERT_EQ(a.color, b.color) << "dither " << dither;
        ASSERT_EQ(a.index_buff, b.index_buff) << "dither " << dither;
    }
    settings().reset_defaults();
}

TEST(ReduceIdentity, ImmediateMergingSkipsOnlyPairsOutOfReach) {
    // Tens of thousands of groups, key groups (alpha 0) among them, every mode.
    settings().reset_defaults();
    settings().dither_type = 0;
    settings().nuki_flg_alpha0 = 1;
    const image_info source = make_noisy(220, 180, 17, true);
    for (int mode = 0; mode < 4; ++mode) {
        settings().conv_mode = mode;
        settings().transparency_mode = mode % 2;
        const image_info a = reduce_with(source, mode == 3 ? 7 : 256, true);
        const image_info b = reduce_with(source, mode == 3 ? 7 : 256, false);
        ASSERT_EQ(a.color, b.color) << "mode " << mode;
        ASSERT_EQ(a.index_buff, b.index_buff) << "mode " << mode;
    }
    settings().reset_defaults();
}

TEST(ReduceIdentity, ErrorDiffusionMatchesOnWideImages) {
    // Wide enough for rows on two threads and colourful enough for many cells
    // of the nearest-entry grid; odd sizes and one-row images included.
    settings().reset_defaults();
    struct sized {
        const char* name;
        image_info image;
    };
    const std::vector<sized> cases = {
        {"photo", test::make_photo_like(301, 67, 21)},
        {"photo_alpha", test::make_photo_like(130, 41, 22, true)},
        {"noisy", make_noisy(97, 33, 23, false)},
        {"one_row", test::make_photo_like(517, 1, 24)},
        {"two_rows", make_noisy(64, 2, 25, true)},
    };
    for (const sized& c : cases)
        for (int dither : {1, 2})
            for (int target : {256, 61, 2}) {
                settings().dither_type = dither;
                settings().dither_level = target == 61 ? 3 : target == 2 ? 1 : 10;
                const image_info a = reduce_with(c.image, target, true);
                const image_info b = reduce_with(c.image, target, false);
                ASSERT_EQ(a.color, b.color)
                    << c.name << " dither " << dither << " target " << target;
                ASSERT_EQ(a.index_buff, b.index_buff)
                    << c.name << " dither " << dither << " target " << target;
            }
    settings().reset_defaults();
}

}  // namespace
}  // namespace mevra
