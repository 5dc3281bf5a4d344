// Mipmap chains in every layout: header, level sizes, offsets, pixels; the filter; alpha coverage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "dds_test_decoder.h"
#include "formats/dds_mip_chain.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "settings/clgbase.h"
#include "support/dds_test_files.h"
#include "support/test_support.h"

namespace mevra {
namespace {

size_t level_bytes(int layout, int w, int h) {  // from the format alone
    const size_t blocks = static_cast<size_t>((w + 3) / 4) * static_cast<size_t>((h + 3) / 4);
    if (layout <= FMT_A1R5G5B5) return static_cast<size_t>(w) * h * (layout == 0 ? 4 : 2);
    return blocks * (layout == FMT_DXT1 || layout == FMT_BC4 ? 8 : 16);
}

// PSNR over the channels a layout keeps (BC4: blue = luminance of a grey picture).
double layout_psnr(int layout, const std::vector<uint32_t>& want, const image_info& got) {
    const int first = layout == FMT_BC5 ? 1 : 0;
    const int last = layout == FMT_BC4 ? 0 : layout == FMT_BC5 || layout == FMT_DXT1 || layout == FMT_A1R5G5B5 ? 2 : 3;
    double sum = 0;
    for (size_t i = 0; i < want.size(); ++i)
        for (int c = first; c <= last; ++c) {
            const double d = static_cast<double>(want[i] >> (8 * c) & 255) -
                             (got.get_pos_color(static_cast<int64_t>(i)) >> (8 * c) & 255);
            sum += d * d;
        }
    return sum == 0 ? 99.0 : 10.0 * std::log10(65025.0 * static_cast<double>(want.size()) * (last - first + 1) / sum);
}

TEST(DdsMipmaps, EveryLayoutHoldsEveryLevelWhereTheFormatSays) {
    const int w = 1000, h = 600;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < px.size(); ++i)  // smooth grey, alpha from 130 up
        px[i] = static_cast<uint32_t>(130 + i / w * 125 / h) << 24 | static_cast<uint32_t>(i % w * 255 / w) * 0x010101u;
    const image_info img(w, h, px.data());
    const auto chain = dds::build_mip_chain(px.data(), w, h, -1);
    ASSERT_EQ(chain.size(), 9u);  // 500x300 ... 7x4, 3x2, 1x1: sizes checked below
    const double floor_db[9] = {99, 30, 34, 30, 30, 30, 32, 36, 36};
    test::temp_dir dir;
    for (int layout = FMT_A8R8G8B8; layout <= FMT_BC5; ++layout) {
        SCOPED_TRACE(layout);
        settings().dds_format = layout, settings().dds_mipmaps = 0;
        std::string error;
        ASSERT_EQ(img.file_save_dds(dir.file("m.dds"), error), 0) << error;
        const auto single = test::read_bytes(dir.file("m.dds"));
        settings().dds_mipmaps = 1;
        ASSERT_EQ(img.file_save_dds(dir.file("m.dds"), error), 0) << error;
        const auto f = test::read_bytes(dir.file("m.dds"));
        auto expected = single;
        test::put_le32_at(expected, 8, test::le32(single, 8) | 0x20000u);
        test::put_le32_at(expected, 28, 10);
        test::put_le32_at(expected, 108, test::le32(single, 108) | 0x400008u);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), f.begin()));
        size_t offset = layout == FMT_BC7 ? 148 : 128;
        for (int k = 0, lw = w, lh = h; k < 10; ++k, lw = std::max(1, lw / 2), lh = std::max(1, lh / 2)) {
            settings().dds_read_level = k;
            image_info back;
            byte_reader in(f);
            ASSERT_EQ(back.file_load_dds(in), 0);  // (one past the last: see the command line's test)
            ASSERT_EQ(back.width * 10000 + back.height, lw * 10000 + lh) << "level " << k;
            const auto& want = k == 0 ? px : chain[static_cast<size_t>(k - 1)].argb;
            EXPECT_GE(layout_psnr(layout, want, back), floor_db[layout] - (k >= 7 ? 6 : 0)) << "level " << k;
            // The test's own reader knows the uncompressed layouts: the level
            // cut out as a file of its own reads the same.
            if (layout <= FMT_A1R5G5B5) {
                std::vector<uint8_t> one(f.begin(), f.begin() + 128);
                test::put_le32_at(one, 12, static_cast<uint32_t>(lh));
                test::put_le32_at(one, 16, static_cast<uint32_t>(lw));
                one.insert(one.end(), f.begin() + static_cast<std::ptrdiff_t>(offset),
                           f.begin() + static_cast<std::ptrdiff_t>(offset + level_bytes(layout, lw, lh)));
                test::dds_image own;
                std::string why;
                ASSERT_TRUE(test::decode_dds(one, own, why)) << why;
                EXPECT_EQ(own.argb, test::argb_pixels(back));
            }
            offset += level_bytes(layout, lw, lh);
        }
        EXPECT_EQ(offset, f.size());
    }
    settings().dds_read_level = 0;
    settings().dds_format = settings().dds_mipmaps = 0;
}

TEST(DdsMipFilter, LinearLightAlphaWeightingOddSidesAndCoverage) {
    // Black and white average to the sRGB value of half the light, 188; a
    // transparent red beside opaque blue gives blue, half covered.
    const uint32_t bw[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u};
    EXPECT_EQ(dds::build_mip_chain(bw, 2, 2, -1)[0].argb[0], 0xFFBCBCBCu);
    const uint32_t rb[2] = {0x00FF0000u, 0xFF0000FFu};
    EXPECT_EQ(dds::build_mip_chain(rb, 2, 1, -1)[0].argb[0], 0x800000FFu);
    // An odd side (7 x 5 -> 3 x 2): a ramp stays in order, the rest flat.
    std::vector<uint32_t> ramp(7 * 5);
    for (int i = 0; i < 35; ++i)
        ramp[static_cast<size_t>(i)] = 0xFF000055u | static_cast<uint32_t>(30 * (i % 7)) << 8;
    const auto odd = dds::build_mip_chain(ramp.data(), 7, 5, -1)[0].argb;
    ASSERT_EQ(odd.size(), 6u);
    EXPECT_TRUE(odd[0] < odd[1] && odd[1] < odd[2] && odd[2] == odd[5] && (odd[0] & 0xFFFF00FFu) == 0xFF000055u);

    // Grass blades: one column in four mostly opaque, the rest mostly clear,
    // which plain filtering averages to little that an alpha test at 128 keeps.
    const int w = 512, h = 256;
    std::mt19937 rng(7);
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = (i % 4 == 0 ? 140 + rng() % 116 : rng() % 100) << 24 | 0x208020u;
    const float top = dds::alpha_coverage(px.data(), px.size(), 128);
    const auto plain = dds::build_mip_chain(px.data(), w, h, -1);
    EXPECT_LT(dds::alpha_coverage(plain[2].argb.data(), plain[2].argb.size(), 128), top / 2);
    for (const auto& level : dds::build_mip_chain(px.data(), w, h, 128)) {
        if (level.width * level.height < 256) continue;  // a pixel is more than 0.4 %
        EXPECT_NEAR(dds::alpha_coverage(level.argb.data(), level.argb.size(), 128), top, 0.01f) << level.width;
    }
}

}  // namespace
}  // namespace mevra
