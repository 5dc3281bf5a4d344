// BC4 and BC5 through the block decoders and the reader; one-colour blocks exact in BC4/BC5/BC7.
#include <gtest/gtest.h>

#include <random>

#include "dds_test_decoder.h"
#include "formats/bc45_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/bc_decode.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

TEST(SolidBlocks, EveryGreyAndRandomColoursAreExactInBc7Bc4AndBc5) {
    uint32_t px[16], out[16];
    uint8_t block[16];
    auto expect_all = [&](uint32_t want, const char* what, uint32_t v) {
        EXPECT_EQ(std::vector<uint32_t>(out, out + 16), std::vector<uint32_t>(16, want)) << what << v;
    };
    for (uint32_t v = 0; v < 256; ++v) {
        const uint32_t grey = 0xFF000000u | v * 0x010101u;
        std::fill(px, px + 16, grey);
        dds::encode_bc7_block(px, block);
        dds::decode_bc7_block(block, out);
        expect_all(grey, "BC7", v);
        dds::encode_bc4_block(px, block);
        dds::decode_bc4_block(block, out);
        expect_all(grey, "BC4", v);
        std::fill(px, px + 16, 0xFF000000u | v << 16 | (255 - v) << 8 | 77);
        dds::encode_bc5_block(px, block);
        dds::decode_bc5_block(block, out);
        expect_all(0xFF000000u | v << 16 | (255 - v) << 8, "BC5", v);
    }
    std::mt19937 rng(27);
    for (int k = 0; k < 4000; ++k) {
        std::fill(px, px + 16, rng());
        dds::encode_bc7_block(px, block);
        dds::decode_bc7_block(block, out);
        expect_all(px[0], "BC7", px[0]);
    }
}

TEST(Bc4Encode, HardMasksTakeTheSixLevelModeWhichAloneIsExact) {
    uint8_t values[16], half[8];
    uint32_t levels[8], back[16];
    for (int p = 0; p < 16; ++p)
        values[p] = static_cast<uint8_t>(p % 4 == 0 ? 0 : p % 4 == 1 ? 255 : p % 4 == 2 ? 100 : 120);
    dds::encode_channel_half(values, half);
    dds::decode_bc4_block(half, back);
    dds::channel_levels(half[0], half[1], levels);
    EXPECT_LE(half[0], half[1]);
    EXPECT_EQ(levels[2], (4u * half[0] + half[1] + 2) / 5);  // as the format defines it
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(back[p] & 255, values[p]);
}

TEST(Bc45File, HeadersSizesAndWhatTheReaderShows) {
    const image_info img = test::make_photo_like(24, 8, 5, true);
    const int saved = settings().dds_format;
    test::temp_dir dir;
    for (int layout : {FMT_BC4, FMT_BC5}) {
        settings().dds_format = layout;
        std::string error;
        ASSERT_EQ(img.file_save_dds(dir.file("t.dds"), error), 0) << error;
        const auto f = test::read_bytes(dir.file("t.dds"));
        const bool bc5 = layout == FMT_BC5;
        ASSERT_EQ(f.size(), 128 + size_t{bc5 ? 192u : 96u});
        EXPECT_EQ(std::string(f.begin() + 84, f.begin() + 88), bc5 ? "ATI2" : "ATI1");
        image_info back;
        byte_reader in(f);
        ASSERT_EQ(back.file_load_dds(in), 0);
        for (int64_t p = 0; p < img.pixel_count(); ++p) {
            const uint32_t c = img.get_pos_color(p), d = back.get_pos_color(p);
            const int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
            const int luma = (77 * r + 150 * g + 29 * b + 128) >> 8;
            EXPECT_NEAR(static_cast<int>(d >> 16 & 255), bc5 ? r : luma, 12) << p;
            EXPECT_NEAR(static_cast<int>(d >> 8 & 255), bc5 ? g : luma, 12) << p;
            EXPECT_EQ(d >> 24, 255u);
        }
    }
    settings().dds_format = saved;
}

}  // namespace
}  // namespace mevra
