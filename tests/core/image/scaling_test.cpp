#include <gtest/gtest.h>

#include <random>

#include "image/image_info.h"
#include "image/scaling_resample.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::argb_pixels;
using test::make_argb;

// The resampler written the plain way: one channel, one line at a time, the
// columns walked as columns. The fast path must agree with it bit for bit.
std::vector<uint8_t> plain_line(const std::vector<uint8_t>& in, int m) {
    const int n = static_cast<int>(in.size());
    std::vector<uint8_t> out(static_cast<size_t>(m));
    if (n == m) return in;
    if (n < m) {
        const float s = static_cast<float>(n) / static_cast<float>(m);
        for (int i = 0; i < m; ++i) {
            const float c = (static_cast<float>(i) + 0.5f) * s;
            const int i0 = static_cast<int>(c - 0.5f);
            const int i1 = static_cast<int>(c + 0.5f);
            const float p0 = in[i0];
            const float p1 = i1 >= n ? p0 : in[i1];
            if (i0 == i1) {
                out[i] = in[i0];
                continue;
            }
            const float w0 = 1.0f - (c - (static_cast<float>(i0) + 0.5f));
            const float w1 = 1.0f - ((static_cast<float>(i1) + 0.5f) - c);
            out[i] = static_cast<uint8_t>(static_cast<int>(p1 * w1 + p0 * w0 + 0.5f));
        }
        return out;
    }
    const float r = static_cast<float>(m) / static_cast<float>(n);
    std::vector<float> acc(static_cast<size_t>(m), 0.0f);
    for (int j = 0; j < n; ++j) {
        const float a = static_cast<float>(j) * r, b = static_cast<float>(j + 1) * r;
        const int o0 = static_cast<int>(a);
        int o1 = static_cast<int>(b);
        if (o1 >= m) o1 = m - 1;
        const float ch = in[j];
        if (o0 == o1) {
            acc[o0] += ch * r;
        } else {
            const float f = (static_cast<float>(o1) - a) / r;
            acc[o0] += ch * r * f;
            acc[o1] += ch * r * (1.0f - f);
        }
    }
    for (int i = 0; i < m; ++i)
        out[i] = static_cast<uint8_t>(static_cast<int>(acc[i] + 0.5f));
    return out;
}

std::vector<uint32_t> plain_resample(const std::vector<uint32_t>& src, int w, int h, int nw,
                                     int nh) {
    std::vector<uint32_t> mid(static_cast<size_t>(nw) * h), out(static_cast<size_t>(nw) * nh);
    for (int shift = 0; shift < 32; shift += 8) {
        for (int y = 0; y < h; ++y) {
            std::vector<uint8_t> line(w);
            for (int x = 0; x < w; ++x)
                line[x] = (src[y * w + x] >> shift) & 0xFF;
            auto res = plain_line(line, nw);
            for (int x = 0; x < nw; ++x)
                mid[y * nw + x] |= uint32_t(res[x]) << shift;
        }
        for (int x = 0; x < nw; ++x) {
            std::vector<uint8_t> line(h);
            for (int y = 0; y < h; ++y)
                line[y] = (mid[y * nw + x] >> shift) & 0xFF;
            auto res = plain_line(line, nh);
            for (int y = 0; y < nh; ++y)
                out[y * nw + x] |= uint32_t(res[y]) << shift;
        }
    }
    return out;
}

class Scaling : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }
};

TEST_F(Scaling, GrowingALineInterpolatesBetweenCentres) {
    // 2 → 4: p0, 0.75 p0 + 0.25 p1, 0.25 p0 + 0.75 p1, p1 (rounded), both ways.
    const std::vector<uint32_t> want = {0x00000000u, 0x32323232u, 0x96969696u, 0xC8C8C8C8u};
    auto row = make_argb(2, 1, {0x00000000u, 0xC8C8C8C8u});
    ASSERT_EQ(row.image_scaling(4, 1), 0);
    EXPECT_EQ(argb_pixels(row), want);
    auto column = make_argb(1, 2, {0x00000000u, 0xC8C8C8C8u});
    ASSERT_EQ(column.image_scaling(1, 4), 0);
    EXPECT_EQ(argb_pixels(column), want);

    // 2 → 3: the middle is the rounded mean, the ends repeat the edge pixels.
    auto three = make_argb(2, 1, {0x00000000u, 0xC9C9C9C9u});
    ASSERT_EQ(three.image_scaling(3, 1), 0);
    EXPECT_EQ(argb_pixels(three), (std::vector<uint32_t>{0x00000000u, 0x65656565u, 0xC9C9C9C9u}));
}

TEST_F(Scaling, ShrinkingALineAveragesAreas) {
    // 4 → 2: means of pixels 0,1 and 2,3; 100 and 201 round up to 151.
    auto row = make_argb(4, 1, {0x0A0A0A0Au, 0x1E1E1E1Eu, 0x64646464u, 0xC9C9C9C9u});
    ASSERT_EQ(row.image_scaling(2, 1), 0);
    EXPECT_EQ(argb_pixels(row), (std::vector<uint32_t>{0x14141414u, 0x97979797u}));

    // 3 → 2: the middle pixel is shared half and half: (30 + 30) / 1.5, (30 + 90) / 1.5.
    auto column = make_argb(1, 3, {0x1E1E1E1Eu, 0x3C3C3C3Cu, 0x5A5A5A5Au});
    ASSERT_EQ(column.image_scaling(1, 2), 0);
    EXPECT_EQ(argb_pixels(column), (std::vector<uint32_t>{0x28282828u, 0x50505050u}));
}

TEST_F(Scaling, MatchesThePlainResamplerOnManyImagesAndSizes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> side(1, 40);
    for (int round = 0; round < 300; ++round) {
        const int w = side(rng), h = side(rng), nw = side(rng), nh = side(rng);
        std::vector<uint32_t> px(static_cast<size_t>(w) * h);
        for (auto& p : px)
            p = rng();
        ASSERT_EQ(resample_argb(px, w, h, nw, nh), plain_resample(px, w, h, nw, nh))
            << w << "x" << h << " -> " << nw << "x" << nh;
    }
    // Lengths whose single-precision positions run close to whole numbers.
    for (auto [n, m] : {std::pair{1000, 999}, {999, 1000}, {4093, 4091}, {3, 4096}}) {
        std::vector<uint32_t> px(static_cast<size_t>(n) * 2);
        for (auto& p : px)
            p = rng();
        ASSERT_EQ(resample_argb(px, n, 2, m, 3), plain_resample(px, n, 2, m, 3)) << n;
        ASSERT_EQ(resample_argb(px, 2, n, 3, m), plain_resample(px, 2, n, 3, m)) << n;
    }
}

TEST_F(Scaling, IndexedImagesWithoutKeepPaletteBecomeFullColour) {
    auto img = test::make_indexed(IMGTYP_256, 2, 1, {0xFF000000u, 0xFFC8C8C8u}, {0, 1});
    ASSERT_EQ(img.image_scaling(4, 2), 0);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_TRUE(img.index_buff.empty());
    EXPECT_EQ(img.color_num, 0);
    EXPECT_EQ(argb_pixels(img)[5], 0xFF323232u);
}

TEST_F(Scaling, KeepPaletteMapsBackOntoTheFormerPalette) {
    settings().trim_palette_reserve = 1;
    settings().dither_type = 0;
    auto img = test::make_indexed(IMGTYP_16, 4, 1, {0xFF000000u, 0xFFFFFFFFu}, {0, 0, 1, 1});
    ASSERT_EQ(img.image_scaling(8, 2), 0);
    EXPECT_EQ(img.image_type, IMGTYP_16);
    EXPECT_TRUE(img.argb_buff.empty());
    EXPECT_EQ(img.color[0], 0xFF000000u);
    EXPECT_EQ(img.color[1], 0xFFFFFFFFu);
    // The grey of 64 at x = 3 goes to black, the 192 at x = 4 to white.
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{0, 0, 0, 0, 1, 1, 1, 1,  //
                                                    0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(img.color_cnt[0], 8);
}

TEST_F(Scaling, KeepPaletteReservesEveryEntryOfTheImageType) {
    settings().trim_palette_reserve = 1;
    auto img =
        test::make_indexed(IMGTYP_256, 2, 2, {0xFF102030u, 0xFF405060u, 0xFF708090u}, {0, 1, 2, 1});
    ASSERT_EQ(img.image_scaling(3, 3), 0);
    EXPECT_EQ(img.image_type, IMGTYP_256);
    const reduction_state& st = reduction();
    EXPECT_EQ(st.reserve_color_num, 256);
    EXPECT_EQ(st.reserve_color_buf[2], 0xFF708090u);
    EXPECT_EQ(st.reserve_color_buf[3], 0u);
    EXPECT_EQ(img.color[2], 0xFF708090u);
    for (int32_t index : img.index_buff)
        EXPECT_TRUE(index >= 0 && index < 3) << index;
}

TEST_F(Scaling, RefusesSizesThatCannotBeBuilt) {
    test::recording_ui ui;
    auto img = test::make_indexed(IMGTYP_256, 2, 1, {0xFF000000u, 0xFFC8C8C8u}, {0, 1});
    EXPECT_EQ(img.image_scaling(0, 5), -1);
    EXPECT_EQ(img.image_scaling(5, 40000), -1);
    EXPECT_EQ(img.image_scaling(32768, 32768), -1);
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(img.image_type, IMGTYP_256);  // not even turned into ARGB
    EXPECT_EQ(img.width, 2);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{0, 1}));
}

}  // namespace
}  // namespace mevra
