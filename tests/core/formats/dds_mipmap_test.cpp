// Mipmap chains in every layout written: header, level sizes and offsets,
// every level read back by the reader and by a small reader of the test's
// own, the filter's linear light and alpha weighting, and alpha coverage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "dds_test_decoder.h"
#include "formats/bc_decode.h"
#include "formats/dds_header.h"
#include "formats/dds_mip_chain.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

class DdsMipmaps : public ::testing::Test {
  protected:
    void SetUp() override { settings().dds_mipmaps = 1; }
    void TearDown() override {
        settings().dds_format = 0;
        settings().dds_mipmaps = 0;
        settings().dds_mip_alpha_reference = -1;
        settings().dds_read_level = 0;
    }
    test::temp_dir dir;
};

// Smooth colour, soft alpha and a transparent corner.
std::vector<uint32_t> rgba_picture(int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t a = x + y < 200 ? 0 : 120 + static_cast<uint32_t>(135 * y / h);
            px[static_cast<size_t>(y) * w + x] = a << 24 | static_cast<uint32_t>(255 * x / w) << 16 |
                                                 static_cast<uint32_t>(255 * y / h) << 8 |
                                                 static_cast<uint32_t>(128 + 100 * std::sin(x * 0.01f));
        }
    return px;
}

// Bytes of one level, worked out from the format alone.
size_t level_bytes(int layout, int w, int h) {
    const size_t blocks = static_cast<size_t>((w + 3) / 4) * static_cast<size_t>((h + 3) / 4);
    switch (layout) {
        case FMT_A8R8G8B8: return static_cast<size_t>(w) * h * 4;
        case FMT_A4R4G4B4:
        case FMT_A1R5G5B5: return static_cast<size_t>(w) * h * 2;
        case FMT_DXT1:
        case FMT_BC4: return blocks * 8;
        default: return blocks * 16;
    }
}

// PSNR over the channels a layout keeps, of pixels the layout keeps visible.
double layout_psnr(int layout, const std::vector<uint32_t>& want, const image_info& got) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const uint32_t a = want[i], b = got.get_pos_color(static_cast<int64_t>(i));
        int first = 0, last = 3;  // blue .. alpha
        if (layout == FMT_BC4) first = last = 0;
        if (layout == FMT_BC5) first = 1, last = 2;
        if ((layout == FMT_DXT1 || layout == FMT_A1R5G5B5) && (a >> 24) < 128) continue;
        if (layout == FMT_DXT1 || layout == FMT_A1R5G5B5) last = 2;
        uint32_t ref = a;
        if (layout == FMT_BC4) {
            const uint32_t r = a >> 16 & 255, g = a >> 8 & 255, bl = a & 255;
            ref = (77 * r + 150 * g + 29 * bl + 128) >> 8;
        }
        for (int c = first; c <= last; ++c, ++n) {
            const double d = static_cast<double>(ref >> (8 * c) & 255) - (b >> (8 * c) & 255);
            sum += d * d;
        }
    }
    return sum == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(n) / sum);
}

TEST_F(DdsMipmaps, EveryLayoutHoldsEveryLevelWhereTheFormatSays) {
    const int w = 1000, h = 600;
    const auto px = rgba_picture(w, h);
    const image_info img(w, h, px.data());
    const auto chain = dds::build_mip_chain(px.data(), w, h, -1);
    ASSERT_EQ(dds::mip_level_count(w, h), 10);
    ASSERT_EQ(chain.size(), 9u);
    EXPECT_EQ(chain.back().width, 1);
    const double floor_db[9] = {99, 34, 38, 30, 30, 30, 32, 36, 36};
    for (int layout = FMT_A8R8G8B8; layout <= FMT_BC5; ++layout) {
        SCOPED_TRACE(layout);
        const std::string path = dir.file("m.dds");
        settings().dds_format = layout;
        settings().dds_mipmaps = 0;
        std::string error;
        ASSERT_EQ(img.file_save_dds(path, error), 0) << error;
        const auto single = test::read_bytes(path);
        settings().dds_mipmaps = 1;
        ASSERT_EQ(img.file_save_dds(path, error), 0) << error;
        const auto f = test::read_bytes(path);

        const size_t head = layout == FMT_BC7 ? 148 : 128;
        EXPECT_EQ(test::le32(f, 8), test::le32(single, 8) | 0x20000u);
        EXPECT_EQ(test::le32(f, 28), 10u);
        EXPECT_EQ(test::le32(f, 108), test::le32(single, 108) | 0x400008u);
        // The top level is today's file to the byte.
        EXPECT_TRUE(std::equal(single.begin() + 32, single.end(), f.begin() + 32));
        size_t offset = head, total = head;
        for (int k = 0, lw = w, lh = h; k < 10; ++k, lw = std::max(1, lw / 2), lh = std::max(1, lh / 2))
            total += level_bytes(layout, lw, lh);
        ASSERT_EQ(f.size(), total);

        for (int k = 0, lw = w, lh = h; k < 10; ++k) {
            SCOPED_TRACE(k);
            settings().dds_read_level = k;
            image_info back;
            byte_reader in(f);
            ASSERT_EQ(back.file_load_dds(in), 0);
            ASSERT_EQ(back.width, lw);
            ASSERT_EQ(back.height, lh);
            const auto& want = k == 0 ? px : chain[static_cast<size_t>(k - 1)].argb;
            // Level 0 of the uncompressed layouts is covered by their own tests.
            if (k > 0 || dds::is_block_layout(layout)) {
                EXPECT_GE(layout_psnr(layout, want, back), floor_db[layout] - (k >= 7 ? 6 : 0));
            }
            // The test's own reader, on the level cut out as a file of its own
            // (the layouts it knows: the uncompressed ones, DXT5 and DXT3).
            if (layout <= FMT_DXT3 && ((lw % 4 == 0 && lh % 4 == 0) || !dds::is_block_layout(layout))) {
                std::vector<uint8_t> one(f.begin(), f.begin() + 128);
                one[12] = static_cast<uint8_t>(lh), one[13] = static_cast<uint8_t>(lh >> 8);
                one[16] = static_cast<uint8_t>(lw), one[17] = static_cast<uint8_t>(lw >> 8);
                const size_t bytes = level_bytes(layout, lw, lh);
                one.insert(one.end(), f.begin() + static_cast<std::ptrdiff_t>(offset),
                           f.begin() + static_cast<std::ptrdiff_t>(offset + bytes));
                test::dds_image own;
                std::string why;
                ASSERT_TRUE(test::decode_dds(one, own, why)) << why;
                for (size_t i = 0; i < own.argb.size(); ++i)
                    ASSERT_EQ(own.argb[i], back.get_pos_color(static_cast<int64_t>(i))) << i;
            }
            offset += level_bytes(layout, lw, lh);
            lw = std::max(1, lw / 2);
            lh = std::max(1, lh / 2);
        }
        settings().dds_read_level = 10;
        image_info none;
        byte_reader in(f);
        EXPECT_EQ(none.file_load_dds(in), -2);
        settings().dds_read_level = 0;
    }
}

TEST(DdsMipFilter, LinearLightAlphaWeightingAndOddSides) {
    // Black and white average to the sRGB value of half the light, 188.
    const uint32_t bw[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u};
    auto chain = dds::build_mip_chain(bw, 2, 2, -1);
    ASSERT_EQ(chain.size(), 1u);
    EXPECT_EQ(chain[0].argb[0], 0xFFBCBCBCu);
    // A transparent red beside opaque blue: blue, half covered.
    const uint32_t rb[2] = {0x00FF0000u, 0xFF0000FFu};
    chain = dds::build_mip_chain(rb, 2, 1, -1);
    EXPECT_EQ(chain[0].argb[0], 0x800000FFu);
    // An odd side: a flat picture stays flat, a ramp stays in order.
    std::vector<uint32_t> ramp(7 * 5);
    for (int i = 0; i < 35; ++i)
        ramp[static_cast<size_t>(i)] = 0xFF000000u | static_cast<uint32_t>(30 * (i % 7)) << 8 | 0x55;
    chain = dds::build_mip_chain(ramp.data(), 7, 5, -1);
    ASSERT_EQ(chain[0].width, 3);
    ASSERT_EQ(chain[0].height, 2);
    for (uint32_t c : chain[0].argb)
        EXPECT_EQ(c & 0xFFFF00FFu, 0xFF000055u);
    EXPECT_LT(chain[0].argb[0] >> 8 & 255, chain[0].argb[1] >> 8 & 255);
    EXPECT_LT(chain[0].argb[1] >> 8 & 255, chain[0].argb[2] >> 8 & 255);
}

TEST(DdsMipFilter, CutOutsKeepTheirAlphaTestCoverage) {
    // Thin grass blades: one column in four mostly opaque, the rest mostly
    // clear, which plain filtering averages to little an alpha test at 128 keeps.
    const int w = 512, h = 256;
    std::mt19937 rng(7);
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t a = x % 4 == 0 ? 140 + rng() % 116 : rng() % 100;
            px[static_cast<size_t>(y) * w + x] = a << 24 | 0x208020u;
        }
    const float top = dds::alpha_coverage(px.data(), px.size(), 128);
    const auto plain = dds::build_mip_chain(px.data(), w, h, -1);
    EXPECT_LT(dds::alpha_coverage(plain[2].argb.data(), plain[2].argb.size(), 128), top / 2);
    const auto kept = dds::build_mip_chain(px.data(), w, h, 128);
    for (const auto& level : kept)
        if (level.width * level.height >= 256)
            EXPECT_NEAR(dds::alpha_coverage(level.argb.data(), level.argb.size(), 128), top, 0.01f)
                << level.width;
}

}  // namespace
}  // namespace mevra
