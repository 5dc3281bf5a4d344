#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "dds_test_decoder.h"
#include "formats/dds_dxt_block.h"
#include "formats/dds_dxt_encoder.h"
#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using dds::dxt_alpha;
using test::le16;
using test::le32;

struct encoded_block {
    uint8_t bytes[16];
    uint32_t p0() const { return bytes[8] | uint32_t{bytes[9]} << 8; }
    uint32_t p1() const { return bytes[10] | uint32_t{bytes[11]} << 8; }
    uint32_t code(int p) const { return (bytes[12 + p / 4] >> (2 * (p % 4))) & 3; }
    uint32_t alpha_code(int p) const {
        uint64_t bits = 0;
        for (int k = 0; k < 6; ++k)
            bits |= uint64_t{bytes[2 + k]} << (8 * k);
        return (bits >> (3 * p)) & 7;
    }
    uint32_t alpha_nibble(int p) const { return (bytes[p / 2] >> (4 * (p & 1))) & 15; }
};

encoded_block encode(const uint32_t (&px)[16], dxt_alpha alpha) {
    encoded_block b;
    dds::encode_block(px, alpha, dds::search_kind::plain, b.bytes);
    return b;
}

void fill(uint32_t (&px)[16], uint32_t c) {
    for (auto& p : px)
        p = c;
}

TEST(DdsQuantise, LevelsAreTheListedOnes) {
    // 32 levels for red and blue, 64 for green, every one reachable and
    // each the quantised value's top bits.
    std::vector<int> rb, g;
    for (uint32_t v = 0; v < 256; ++v) {
        const uint32_t q = dds::quantize_565(0xFF000000u | v << 16 | v << 8 | v);
        const uint32_t r = q >> 16 & 255, gg = q >> 8 & 255, b = q & 255;
        EXPECT_EQ(r, b);
        if (rb.empty() || rb.back() != static_cast<int>(r)) rb.push_back(static_cast<int>(r));
        if (g.empty() || g.back() != static_cast<int>(gg)) g.push_back(static_cast<int>(gg));
        EXPECT_EQ(q >> 24, 255u);
    }
    ASSERT_EQ(rb.size(), 32u);
    ASSERT_EQ(g.size(), 64u);
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(rb[k], static_cast<int>(k * 8.23f)) << k;
        EXPECT_EQ(rb[k] >> 3, k);
    }
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(g[k], static_cast<int>(k * 4.05f)) << k;
        EXPECT_EQ(g[k] >> 2, k);
    }
    EXPECT_EQ(dds::quantize_565(0x12345678u) >> 24, 0x12u);
    EXPECT_EQ(dds::pack_565(0xFFFFFFFFu), 0xFFFFu);
    EXPECT_EQ(dds::pack_565(0x00F80000u), 0xF800u);
}

TEST(DdsBlock, UniformOpaqueBlock) {
    uint32_t px[16];
    fill(px, 0xFF4080C0u);
    const uint32_t q = dds::pack_565(dds::quantize_565(px[0]));
    for (dxt_alpha alpha : {dxt_alpha::interpolated, dxt_alpha::explicit4}) {
        const encoded_block b = encode(px, alpha);
        EXPECT_EQ(b.p0(), q);
        EXPECT_EQ(b.p1(), q);
        for (int p = 0; p < 16; ++p)
            EXPECT_EQ(b.code(p), 0u) << p;
        if (alpha == dxt_alpha::interpolated) {
            EXPECT_EQ(b.bytes[0], 255);
            EXPECT_EQ(b.bytes[1], 255);
            for (int p = 0; p < 16; ++p)
                EXPECT_EQ(b.alpha_code(p), 0u);
        } else {
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(b.bytes[k], 0xFF);
        }
    }
}

TEST(DdsBlock, TwoColourBlockIsExact) {
    // Two colours whose 5:6:5 levels a reader expands back to the same values.
    const uint32_t a = 0xFF0008FFu, b = 0xFFFF0400u;
    uint32_t px[16];
    for (int p = 0; p < 16; ++p)
        px[p] = (p == 2 || p % 5 == 3) ? b : a;
    const encoded_block e = encode(px, dxt_alpha::interpolated);
    EXPECT_GT(e.p0(), e.p1());  // four-colour order
    test::dds_image img;
    std::vector<uint8_t> file(128, 0);
    file.insert(file.end(), e.bytes, e.bytes + 16);
    file[0] = 'D', file[1] = 'D', file[2] = 'S', file[3] = ' ';
    file[12] = 4, file[16] = 4, file[80] = 4;
    file[84] = 'D', file[85] = 'X', file[86] = 'T', file[87] = '5';
    std::string why;
    ASSERT_TRUE(test::decode_dds(file, img, why)) << why;
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(img.argb[static_cast<size_t>(p)], px[p]) << p;
        EXPECT_LE(e.code(p), 1u);
    }
}

TEST(DdsBlock, CodesFollowThePaletteOrder) {
    // A grey ramp over four levels: c0 the brightest, c1 the darkest, the two
    // thirds in between take codes 2 (near c0) and 3 (near c1).
    const uint32_t ramp[4] = {0xFF000000u, 0xFF525252u, 0xFFA5A5A5u, 0xFFFFFFFFu};
    uint32_t px[16];
    for (int p = 0; p < 16; ++p)
        px[p] = ramp[p % 4];
    const encoded_block e = encode(px, dxt_alpha::interpolated);
    EXPECT_EQ(e.p0(), 0xFFFFu);
    EXPECT_EQ(e.p1(), 0x0000u);
    const uint32_t want[4] = {1, 3, 2, 0};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(e.code(p), want[p % 4]) << p;
}

TEST(DdsBlock, OneTransparentPixelSwitchesToThreeColours) {
    uint32_t px[16];
    for (int p = 0; p < 16; ++p)
        px[p] = p < 8 ? 0xFFFF0000u : 0xFF0000FFu;
    px[5] = 0x00FFFFFFu;  // fully transparent, bright: must not become an endpoint
    const encoded_block e = encode(px, dxt_alpha::interpolated);
    EXPECT_LE(e.p0(), e.p1());
    EXPECT_EQ(e.p0(), 0x001Fu);  // blue is the smaller 5:6:5 value
    EXPECT_EQ(e.p1(), 0xF800u);
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(e.code(p), p == 5 ? 3u : (p < 8 ? 1u : 0u)) << p;

    // The midpoint of the two endpoints gets code 2 in this mode.
    uint32_t mid[16];
    for (int p = 0; p < 16; ++p)
        mid[p] = p % 3 == 0 ? 0xFF000000u : 0xFFFFFFFFu;
    mid[1] = 0xFF808080u;
    mid[2] = 0x00000000u;
    const encoded_block m = encode(mid, dxt_alpha::explicit4);
    EXPECT_EQ(m.p0(), 0x0000u);
    EXPECT_EQ(m.p1(), 0xFFFFu);
    EXPECT_EQ(m.code(1), 2u);
    EXPECT_EQ(m.code(2), 3u);
    EXPECT_EQ(m.code(0), 0u);
    EXPECT_EQ(m.code(4), 1u);
}

TEST(DdsBlock, FullyOrAlmostFullyTransparentBlocksStayInFourColours) {
    uint32_t px[16];
    for (int p = 0; p < 16; ++p)
        px[p] = (p & 1) ? 0x00FF0000u : 0x000000FFu;
    encoded_block e = encode(px, dxt_alpha::interpolated);
    EXPECT_GT(e.p0(), e.p1());
    px[3] = 0xFF00FF00u;  // 15 transparent, one opaque
    e = encode(px, dxt_alpha::interpolated);
    EXPECT_GE(e.p0(), e.p1());
    EXPECT_EQ(e.bytes[0], 255);
    EXPECT_EQ(e.bytes[1], 0);
}

TEST(DdsAlpha, ExplicitAlphaIsDitheredAroundTheTrueValue) {
    uint32_t px[16];
    fill(px, 0x00000000u);
    encoded_block e = encode(px, dxt_alpha::explicit4);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(e.bytes[k], 0);
    // Alpha 17 stays on level 1 everywhere only because the dither is centred
    // on 7.4: centred on 7.5, pixel 0 (matrix value 0) would drop to level 0.
    fill(px, 0x11FFFFFFu);
    e = encode(px, dxt_alpha::explicit4);
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(e.alpha_nibble(p), 1u) << p;
    fill(px, 0x10FFFFFFu);  // 16: pixel 0 drops to level 0
    e = encode(px, dxt_alpha::explicit4);
    EXPECT_EQ(e.alpha_nibble(0), 0u);
    // Over a block the dithered levels average close to the true alpha.
    for (int a = 0; a < 256; a += 5) {
        fill(px, static_cast<uint32_t>(a) << 24 | 0x123456u);
        e = encode(px, dxt_alpha::explicit4);
        double sum = 0;
        for (int p = 0; p < 16; ++p)
            sum += e.alpha_nibble(p) * 17.0;
        EXPECT_NEAR(sum / 16, a, 2.2) << a;
    }
}

TEST(DdsAlpha, InterpolatedAlphaTakesTheLowestCodeOnTies) {
    uint32_t px[16];
    for (int p = 0; p < 16; ++p)
        px[p] = 0x00FFFFFFu | static_cast<uint32_t>(p % 15) << 24;
    // Alphas 0..14: a0 = 14, a1 = 0, levels 14, 0, 12, 10, 8, 6, 4, 2.
    const encoded_block e = encode(px, dxt_alpha::interpolated);
    EXPECT_EQ(e.bytes[0], 14);
    EXPECT_EQ(e.bytes[1], 0);
    const uint32_t want[15] = {1, 1, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 0, 0};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(e.alpha_code(p), want[p % 15]) << p;
}

// Encodes, decodes with the independent reader and measures the error.
struct dxt_round_trip {
    double mean_colour = 0, mean_alpha = 0;
    int worst_colour = 0, worst_alpha = 0;
};

dxt_round_trip encode_and_decode(const image_info& img, int layout) {
    test::temp_dir dir;
    const int saved = settings().dds_format;
    settings().dds_format = layout;
    std::string error;
    EXPECT_EQ(img.file_save_dds(dir.file("x.dds"), error), 0) << error;
    settings().dds_format = saved;
    test::dds_image back;
    std::string why;
    EXPECT_TRUE(test::decode_dds(test::read_bytes(dir.file("x.dds")), back, why)) << why;
    EXPECT_EQ(back.width, img.width);
    EXPECT_EQ(back.height, img.height);
    dxt_round_trip r;
    const auto want = test::argb_pixels(img);
    for (size_t i = 0; i < want.size() && i < back.argb.size(); ++i) {
        for (int s = 0; s < 24; s += 8) {
            const int d = std::abs(static_cast<int>(want[i] >> s & 255) -
                                   static_cast<int>(back.argb[i] >> s & 255));
            r.mean_colour += d;
            r.worst_colour = std::max(r.worst_colour, d);
        }
        const int d =
            std::abs(static_cast<int>(want[i] >> 24) - static_cast<int>(back.argb[i] >> 24));
        r.mean_alpha += d;
        r.worst_alpha = std::max(r.worst_alpha, d);
    }
    r.mean_colour /= 3.0 * static_cast<double>(want.size());
    r.mean_alpha /= static_cast<double>(want.size());
    return r;
}

TEST(DdsRoundTrip, PhotoDecodesCloseToTheOriginal) {
    const image_info photo = test::make_photo_like(96, 64, 21);
    for (int layout : {FMT_DXT5, FMT_DXT3}) {
        SCOPED_TRACE(layout);
        const dxt_round_trip r = encode_and_decode(photo, layout);
        EXPECT_LT(r.mean_colour, 3.5);
        EXPECT_LE(r.worst_colour, 24);
        EXPECT_EQ(r.worst_alpha, 0);
    }
}

TEST(DdsRoundTrip, AlphaSurvivesBothLayouts) {
    // Smooth alpha without fully transparent pixels.
    const image_info img = test::make_argb_by(64, 32, [](int x, int y) {
        return static_cast<uint32_t>(x * 4 + y % 3) << 24 | 0x406080u;
    });
    const dxt_round_trip dxt5 = encode_and_decode(img, FMT_DXT5);
    EXPECT_LE(dxt5.worst_alpha, 2);
    const dxt_round_trip dxt3 = encode_and_decode(img, FMT_DXT3);
    EXPECT_LT(dxt3.mean_alpha, 7.0);  // dithered: each pixel may be off by a level
    EXPECT_LE(dxt3.worst_alpha, 17);
    // Fully transparent pixels stay fully transparent.
    const image_info holes = test::make_photo_like(32, 32, 9, true);
    const int saved = settings().dds_format;
    for (int layout : {FMT_DXT5, FMT_DXT3}) {
        test::temp_dir dir;
        settings().dds_format = layout;
        std::string error;
        const int result = holes.file_save_dds(dir.file("h.dds"), error);
        settings().dds_format = saved;
        ASSERT_EQ(result, 0) << error;
        test::dds_image back;
        ASSERT_TRUE(test::decode_dds(test::read_bytes(dir.file("h.dds")), back, error));
        for (size_t i = 0; i < back.argb.size(); ++i)
            if (holes.argb_buff[i] >> 24 == 0) {
                EXPECT_EQ(back.argb[i] >> 24, 0u) << i;
            }
    }
}

TEST(DdsRoundTrip, BlocksAreStoredRowByRowFromTheTop) {
    // Each block a different flat colour: the decoder must find them in place.
    const image_info img = test::make_argb_by(16, 8, [](int x, int y) {
        const uint32_t k = static_cast<uint32_t>((y / 4) * 4 + x / 4);
        return 0xFF000000u | (k * 16) << 16 | (255 - k * 16) << 8 | (k * 8);
    });
    const dxt_round_trip r = encode_and_decode(img, FMT_DXT5);
    EXPECT_LE(r.worst_colour, 4);  // only the 5:6:5 rounding
}

}  // namespace
}  // namespace mevra
