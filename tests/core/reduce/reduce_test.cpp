#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "image/image_info.h"
#include "reduce/color_space.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::argb_pixels;
using test::make_argb;
using test::make_argb_by;

// Every test starts from default settings and leaves them so.
class Reduce : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }
};

std::set<uint32_t> used_colours(const image_info& img) {
    std::set<uint32_t> used;
    for (int32_t i : img.index_buff)
        used.insert(img.color[static_cast<size_t>(i)]);
    return used;
}

TEST(ColorSpace, RoundTripsEveryColourAndMapsGreyToZeroChroma) {
    for (uint32_t c = 0; c < (1u << 24); c += 4099) {
        for (uint32_t a : {0u, 1u, 128u, 254u, 255u}) {
            const uint32_t argb = (a << 24) | c;
            ASSERT_EQ(conv_argb(conv_wxyz(argb)), argb) << std::hex << argb;
        }
    }
    const wxyz grey = conv_wxyz(0xFF808080u);
    EXPECT_EQ(grey.a, 255.0f);
    EXPECT_NEAR(grey.y, 128.0f, 1e-4f);
    EXPECT_NEAR(grey.cb, 0.0f, 1e-4f);
    EXPECT_NEAR(grey.cr, 0.0f, 1e-4f);
    // Out-of-range values clamp; alpha truncates instead of rounding.
    EXPECT_EQ(conv_argb(wxyz{254.9f, 300.0f, 0.0f, 0.0f}), 0xFEFFFFFFu);
    EXPECT_EQ(conv_argb(wxyz{-3.0f, -20.0f, 0.0f, 0.0f}), 0x00000000u);
}

TEST(ClusterRules, LogarithmAndCandidateBudget) {
    EXPECT_EQ(ilog2(0), 2);
    EXPECT_EQ(ilog2(3), 2);
    EXPECT_EQ(ilog2(7), 2);
    EXPECT_EQ(ilog2(8), 3);
    EXPECT_EQ(ilog2(31), 4);
    EXPECT_EQ(ilog2(1 << 30), 30);
    EXPECT_EQ(candidate_budget(1), 1);
    EXPECT_EQ(candidate_budget(3), 1);
    EXPECT_EQ(candidate_budget(100), 16);
    EXPECT_EQ(candidate_budget(2048), 186);
    EXPECT_EQ(candidate_budget(3000), 750);
    EXPECT_EQ(candidate_budget(40000), 8192);
}

// A photo-like picture made without library random numbers, so that it is
// the same with every standard library: smooth gradients under a fixed,
// hashed noise of about ±6 levels, some 10,000 colours.
image_info photo_without_rng(int width, int height) {
    return make_argb_by(width, height, [=](int x, int y) {
        const auto noise = [x, y](uint32_t salt) {
            uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
                         salt * 83492791u;
            h ^= h >> 13;
            h *= 0x5bd1e995u;
            h ^= h >> 15;
            return static_cast<int>(h % 13u) - 6;
        };
        const auto level = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
        const int r = x * 255 / (width - 1) + noise(1);
        const int g = y * 255 / (height - 1) + noise(2);
        const int b = (x + y) * 127 / (width + height - 2) + 64 + noise(3);
        return 0xFF000000u | level(r) << 16 | level(g) << 8 | level(b);
    });
}

// FNV-1a over the palette in use and every index.
uint64_t reduction_checksum(const image_info& img) {
    uint64_t h = 0xcbf29ce484222325u;
    const auto mix = [&h](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            h ^= (v >> shift) & 0xFFu;
            h *= 0x100000001b3u;
        }
    };
    mix(static_cast<uint32_t>(img.color_num));
    for (int i = 0; i < img.color_num; ++i)
        mix(img.color[static_cast<size_t>(i)]);
    for (int32_t index : img.index_buff)
        mix(static_cast<uint32_t>(index));
    return h;
}

// One realistic reduction with the default options (256 colours, medium
// background emphasis, pattern dither at level 5), pinned to the exact result:
// a change anywhere in census, clustering or mapping that moves one palette
// entry or one index shows here.
TEST_F(Reduce, DefaultReductionOfAPhotoIsPinned) {
    image_info img = photo_without_rng(128, 96);
    EXPECT_GT(img.argb_to_color_index(), 5000);
    img = photo_without_rng(128, 96);
    img.image_to_index(settings().target_color);
    ASSERT_EQ(img.image_type, IMGTYP_256);
    EXPECT_EQ(img.color_num, 256);
    EXPECT_EQ(reduction_checksum(img), 0xc7b1f0f559f08c1aU);
}

TEST_F(Reduce, MergedCentreIsThePixelWeightedMean) {
    const uint32_t x = 0xFF204060u, y = 0xFFA0C0E0u;
    image_info img = make_argb(4, 1, {x, x, x, y});
    img.color_num = img.argb_to_color_index();
    ASSERT_EQ(img.image_to_index_pre(2, 0), 0);
    set_colgrp_union(0, 1);
    const colorgroup& g = reduction().gcoltable[0];
    const wxyz vx = conv_wxyz(x), vy = conv_wxyz(y);
    EXPECT_NEAR(g.centre.y, (3 * vx.y + vy.y) / 4, 1e-3f);
    EXPECT_NEAR(g.centre.cb, (3 * vx.cb + vy.cb) / 4, 1e-3f);
    EXPECT_NEAR(g.centre.cr, (3 * vx.cr + vy.cr) / 4, 1e-3f);
    EXPECT_EQ(g.centre.a, 255.0f);
    EXPECT_EQ(g.pix_num, 4);
    EXPECT_EQ(g.member_num, 2);
    EXPECT_EQ(reduction().gcoltable[1].member_num, 0);
    reduction().release_groups();
}

TEST_F(Reduce, FirstPassRadiusCountsAlphaLikeLuma) {
    settings().conv_mode = 3;
    // Alpha 1 apart: d = 1 is within the starting radius 1.
    image_info img = make_argb(2, 1, {0xFF102030u, 0xFE102030u});
    img.color_num = img.argb_to_color_index();
    ASSERT_EQ(img.image_to_index_pre(1, 0), 0);
    img.image_to_index_core();
    EXPECT_EQ(reduction().gcoltable[0].member_num + reduction().gcoltable[1].member_num, 2);
    EXPECT_TRUE(reduction().gcoltable[0].member_num == 0 ||
                reduction().gcoltable[1].member_num == 0);
    reduction().release_groups();

    // Luma 2 apart: d = 4 is not; nothing merges and the radius grows by half.
    image_info grey = make_argb(2, 1, {0xFF000000u, 0xFF020202u});
    grey.color_num = grey.argb_to_color_index();
    ASSERT_EQ(grey.image_to_index_pre(1, 0), 0);
    grey.image_to_index_core();
    EXPECT_EQ(reduction().gcoltable[0].member_num, 1);
    EXPECT_EQ(reduction().gcoltable[1].member_num, 1);
    EXPECT_EQ(reduction().colreach, 1.5f);
    reduction().release_groups();
}

TEST_F(Reduce, FewColoursKeepTheirValuesOrderAndGetBlackPadding) {
    settings().dither_type = 0;
    const std::vector<uint32_t> px = {0xFF112233u, 0xFF445566u, 0x80778899u, 0xFFAABBCCu};
    image_info img = make_argb(2, 2, px);
    img.image_to_index(4);
    EXPECT_EQ(img.flag, 2);
    EXPECT_EQ(img.color_num, 4);
    EXPECT_EQ(img.image_type, IMGTYP_16);
    ASSERT_EQ(img.color.size(), 256u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(img.color[i], px[i]);
    for (size_t i = 4; i < 256; ++i)
        ASSERT_EQ(img.color[i], 0xFF000000u);
    EXPECT_EQ(argb_pixels(img), px);
    EXPECT_EQ(img.color_cnt[0], 1);

    image_info wide = make_argb(2, 2, px);
    wide.image_to_index(17);
    EXPECT_EQ(wide.image_type, IMGTYP_256);
    EXPECT_EQ(wide.color_num, 17);
    image_info narrow = make_argb(2, 2, px);
    narrow.image_to_index(16);
    EXPECT_EQ(narrow.image_type, IMGTYP_16);
}

TEST_F(Reduce, TooManyKeyColoursRefusesAndRestoresTheImage) {
    settings().transparency_mode = 1;
    settings().nuki_flg_alpha0 = 1;
    const std::vector<uint32_t> px = {0x00000000u, 0x00FF0000u, 0x0000FF00u,
                                      0xFF123456u, 0xFF654321u, 0xFFABCDEFu};
    test::recording_ui ui;
    image_info img = make_argb(3, 2, px);
    img.image_to_index(3);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "抜き色が減色する色数以上なので減色できません。");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.argb_buff, px);
    EXPECT_TRUE(img.index_buff.empty());

    image_info ok = make_argb(3, 2, px);
    ok.image_to_index(4);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ok.flag, 2);
    const auto used = used_colours(ok);
    for (uint32_t key : {0x00000000u, 0x00FF0000u, 0x0000FF00u})
        EXPECT_EQ(used.count(key), 1u);
    EXPECT_LE(used.size(), 4u);
}

TEST_F(Reduce, KeyColoursAreOrdinaryWhenProtectionIsOff) {
    settings().nuki_flg_alpha0 = 1;
    test::recording_ui ui;
    image_info img = make_argb(3, 1, {0x00000000u, 0x00FF0000u, 0xFF123456u});
    img.image_to_index(2);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(img.flag, 2);
    EXPECT_LE(used_colours(img).size(), 2u);
}

TEST_F(Reduce, KeyGroupBetweenOthersDoesNotBlockTheTarget) {
    // The key colour sorts between the dark and the light colours.
    settings().transparency_mode = 1;
    settings().nuki_flg_color = 1;
    settings().nuki_color = 0xFF808080u;
    settings().dither_type = 0;
    image_info img = make_argb_by(8, 4, [](int x, int) {
        return x < 3 ? 0xFF101010u + static_cast<uint32_t>(x) : (x < 5 ? 0xFF808080u : 0xFFE0E0E0u);
    });
    img.image_to_index(2);
    ASSERT_EQ(img.flag, 2);
    const auto used = used_colours(img);
    EXPECT_EQ(used.size(), 2u);
    EXPECT_EQ(used.count(0xFF808080u), 1u);
    EXPECT_EQ(img.color_num, 2);
}

TEST_F(Reduce, EqualAlphaMembersKeepTheirAlphaExactly) {
    for (int dither = 0; dither < 4; ++dither) {
        settings().dither_type = dither;
        image_info img = test::make_photo_like(64, 48, 7);
        img.image_to_index(16);
        for (uint32_t c : used_colours(img))
            ASSERT_EQ(c >> 24, 0xFFu) << std::hex << c;
    }
}

TEST_F(Reduce, NearlyTransparentDarkPixelsNeverTakeThePadding) {
    // Three colours and target 256: 253 padding entries of opaque black. The
    // dark transparent pixel sits next to (0, 0, 0, 0) once dithered.
    settings().dither_type = 3;
    const std::vector<uint32_t> px = {0x000A0A0Au, 0xFFFFFFFFu, 0xFF808080u, 0x000A0A0Au};
    image_info img =
        make_argb_by(8, 8, [&](int x, int y) { return px[static_cast<size_t>((x + y) % 4)]; });
    const auto before = argb_pixels(img);
    img.image_to_index(256);
    EXPECT_EQ(argb_pixels(img), before);
    for (size_t i = 3; i < 256; ++i)
        EXPECT_EQ(img.color_cnt[i], 0);
}

TEST_F(Reduce, PrequantisesOnlyAbove65536Colours) {
    settings().dither_type = 0;
    auto distinct = [](int count) {
        return make_argb_by(256, 257, [count](int x, int y) {
            const int n = std::min(y * 256 + x, count - 1);
            return 0xFF000000u | static_cast<uint32_t>(n) * 97u % 0x1000000u;
        });
    };
    image_info exact = distinct(65536);
    exact.image_to_index(256);
    for (uint32_t c : used_colours(exact))
        ASSERT_EQ(c >> 24, 0xFFu);

    image_info coarse = distinct(65537);
    coarse.image_to_index(256);
    for (uint32_t c : used_colours(coarse))
        ASSERT_EQ(c >> 24, 252u) << std::hex << c;
}

TEST_F(Reduce, UnusedPaletteEntriesAndRepeatedReductions) {
    settings().dither_type = 0;
    image_info img =
        test::make_indexed(IMGTYP_256, 4, 2, {0xFF000000u, 0xFF00FF00u, 0xFFFF0000u, 0xFF0000FFu},
                           {0, 0, 2, 2, 3, 3, 0, 2});
    img.color_num = 4;
    img.image_to_index(2);
    ASSERT_EQ(img.flag, 2);
    EXPECT_EQ(img.color_num, 2);
    EXPECT_LE(used_colours(img).size(), 2u);
    int total = 0;
    for (int i = 0; i < img.color_num; ++i)
        total += img.color_cnt[static_cast<size_t>(i)];
    EXPECT_EQ(total, 8);

    image_info photo = test::make_photo_like(40, 30, 3);
    photo.image_to_index(64);
    const auto first = argb_pixels(photo);
    photo.image_to_index(64);  // already within the target: mapped onto itself
    EXPECT_EQ(argb_pixels(photo), first);
    photo.image_to_index(8);
    EXPECT_LE(used_colours(photo).size(), 8u);
    EXPECT_EQ(photo.color_num, 8);
}

TEST_F(Reduce, ReservePaletteMappingWithPatternAndTies) {
    reduction_state& st = reduction();
    // Alpha 254 is exactly between the entries 255 and 253: the lower index wins.
    settings().dither_type = 0;
    std::fill(st.reserve_color_buf.begin(), st.reserve_color_buf.end(), 0u);
    st.reserve_color_buf[0] = 0xFF000000u;
    st.reserve_color_buf[1] = 0xFD000000u;
    st.reserve_color_num = 2;
    image_info tie = make_argb(2, 1, {0xFE000000u, 0xFE000000u});
    tie.color_num = tie.argb_to_color_index();
    ASSERT_EQ(tie.image_to_index_pre(0, 1), 0);
    tie.image_to_index_post(0, 1);
    EXPECT_EQ(tie.index_buff, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(tie.image_type, IMGTYP_16);
    EXPECT_EQ(tie.color_num, 2);

    // A flat grey halfway between two entries follows the Bayer matrix at level 10.
    settings().dither_type = 3;
    settings().dither_level = 10;
    st.reserve_color_buf[0] = 0xFF000000u;
    st.reserve_color_buf[1] = 0xFF202020u;
    image_info flat = make_argb_by(8, 8, [](int, int) { return 0xFF101010u; });
    flat.color_num = flat.argb_to_color_index();
    ASSERT_EQ(flat.image_to_index_pre(0, 1), 0);
    flat.image_to_index_post(0, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(flat.index_buff[static_cast<size_t>(y * 8 + x)],
                      dither_pattern[(y % 4) * 4 + x % 4] >= 8.0f ? 1 : 0);

    // A 256-colour palette of 200 entries: the rest of the reserve is zero.
    std::fill(st.reserve_color_buf.begin(), st.reserve_color_buf.end(), 0u);
    for (uint32_t i = 0; i < 200; ++i)
        st.reserve_color_buf[i] = 0xFF000000u | (i * 0x010101u);
    st.reserve_color_num = 256;
    image_info big = make_argb_by(16, 16, [](int x, int y) {
        return 0xFF000000u | static_cast<uint32_t>(x * 16 + y) * 0x010101u;
    });
    big.color_num = big.argb_to_color_index();
    ASSERT_EQ(big.image_to_index_pre(0, 1), 0);
    big.image_to_index_post(0, 1);
    EXPECT_EQ(big.image_type, IMGTYP_256);
    EXPECT_EQ(big.color_num, 256);
    for (size_t i = 200; i < 256; ++i)
        ASSERT_EQ(big.color[i], 0u);
}

TEST_F(Reduce, ErrorDiffusionOnTinyImagesAndEdges) {
    for (int type : {1, 2}) {
        settings().dither_type = type;
        image_info one = make_argb(1, 1, {0x80402010u});
        one.image_to_index(2);
        EXPECT_EQ(argb_pixels(one), (std::vector<uint32_t>{0x80402010u}));

        // A mid grey onto black and white: about half of each, the same every run.
        settings().dither_level = 10;
        reduction_state& st = reduction();
        st.reserve_color_buf[0] = 0xFF000000u;
        st.reserve_color_buf[1] = 0xFFFFFFFFu;
        st.reserve_color_num = 2;
        auto run = [] {
            image_info img = make_argb_by(16, 16, [](int, int) { return 0xFF808080u; });
            img.color_num = img.argb_to_color_index();
            img.image_to_index_pre(0, 1);
            img.image_to_index_post(0, 1);
            return img.index_buff;
        };
        const auto first = run();
        EXPECT_EQ(run(), first);
        int ones = 0;
        for (int32_t i : first)
            ones += i;
        EXPECT_GT(ones, 100);
        EXPECT_LT(ones, 156);
    }
}

}  // namespace
}  // namespace mevra
