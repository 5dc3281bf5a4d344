// BC4 and BC5 judged through the block decoders and the reader, and the
// exactness of one-colour blocks in BC4, BC5 and BC7.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>

#include "dds_test_decoder.h"
#include "formats/bc45_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/bc_decode.h"
#include "formats/dds_block_image.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

uint32_t grey(uint32_t v) {
    return 0xFF000000u | v << 16 | v << 8 | v;
}

TEST(SolidBlocks, EveryGreyAndRandomColoursAreExactInBc7Bc4AndBc5) {
    uint32_t px[16], out[16];
    uint8_t block[16];
    for (uint32_t v = 0; v < 256; ++v) {
        std::fill(px, px + 16, grey(v));
        dds::encode_bc7_block(px, block);
        dds::decode_bc7_block(block, out);
        for (uint32_t c : out)
            ASSERT_EQ(c, grey(v)) << "BC7 grey " << v;
        dds::encode_bc4_block(px, block);
        dds::decode_bc4_block(block, out);
        for (uint32_t c : out)
            ASSERT_EQ(c, grey(v)) << "BC4 grey " << v;
        // BC5 with red and green far apart
        std::fill(px, px + 16, 0xFF000000u | v << 16 | (255 - v) << 8 | 77);
        dds::encode_bc5_block(px, block);
        dds::decode_bc5_block(block, out);
        for (uint32_t c : out)
            ASSERT_EQ(c, 0xFF000000u | v << 16 | (255 - v) << 8) << "BC5 " << v;
    }
    std::mt19937 rng(27);
    for (int k = 0; k < 4000; ++k) {
        const uint32_t colour = rng();
        std::fill(px, px + 16, colour);
        dds::encode_bc7_block(px, block);
        dds::decode_bc7_block(block, out);
        for (uint32_t c : out)
            ASSERT_EQ(c, colour) << std::hex << colour;
    }
}

// The level a BC4 code stands for, straight from the format's definition
// (eight levels, or six plus 0 and 255), rounded to nearest.
int reference_level(int v0, int v1, int code) {
    if (code == 0) return v0;
    if (code == 1) return v1;
    if (v0 > v1) return ((8 - code) * v0 + (code - 1) * v1 + 3) / 7;
    if (code == 6) return 0;
    if (code == 7) return 255;
    return ((6 - code) * v0 + (code - 1) * v1 + 2) / 5;
}

TEST(Bc4Encode, PicksTheSixLevelModeForHardMasksAndStaysCloseOnSmoothRamps) {
    // 0 and 255 beside two middle values: only the six-level mode is exact.
    uint8_t values[16], half[8];
    for (int p = 0; p < 16; ++p)
        values[p] = static_cast<uint8_t>(p % 4 == 0 ? 0 : p % 4 == 1 ? 255 : p % 4 == 2 ? 100 : 120);
    dds::encode_channel_half(values, half);
    EXPECT_LE(half[0], half[1]);
    const auto codes_of = [&] {
        uint64_t c = 0;
        for (int k = 0; k < 6; ++k)
            c |= uint64_t{half[2 + k]} << (8 * k);
        return c;
    };
    uint64_t codes = codes_of();
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(reference_level(half[0], half[1], static_cast<int>(codes >> (3 * p) & 7)),
                  values[p]);

    // A 16-value ramp over 70 levels: the eight-level mode, every pixel
    // within half a step (5 levels) of its value.
    // (levels as the block decoders show them agree with the definition)
    for (int p = 0; p < 16; ++p)
        values[p] = static_cast<uint8_t>(40 + p * 70 / 15);
    dds::encode_channel_half(values, half);
    EXPECT_GT(half[0], half[1]);
    uint32_t levels[8];
    dds::channel_levels(half[0], half[1], levels);
    codes = codes_of();
    for (int p = 0; p < 16; ++p) {
        const int code = static_cast<int>(codes >> (3 * p) & 7);
        EXPECT_EQ(static_cast<int>(levels[code]), reference_level(half[0], half[1], code));
        EXPECT_LE(std::abs(static_cast<int>(levels[code]) - values[p]), 5) << p;
    }
}

class Bc45File : public ::testing::Test {
  protected:
    void TearDown() override { settings().dds_format = saved_; }
    test::temp_dir dir;

  private:
    int saved_ = settings().dds_format;
};

TEST_F(Bc45File, HeadersSizesAndWhatTheReaderShows) {
    const image_info img = test::make_photo_like(24, 8, 5, true);
    for (int layout : {FMT_BC4, FMT_BC5}) {
        settings().dds_format = layout;
        const std::string path = dir.file("t.dds");
        std::string error;
        ASSERT_EQ(img.file_save_dds(path, error), 0) << error;
        const auto f = test::read_bytes(path);
        const bool bc5 = layout == FMT_BC5;
        const size_t data = bc5 ? 24 * 8 : 24 * 8 / 2;
        ASSERT_EQ(f.size(), 128 + data);
        EXPECT_EQ(test::le32(f, 8), 0x81007u);
        EXPECT_EQ(test::le32(f, 20), data);
        EXPECT_EQ(std::string(f.begin() + 84, f.begin() + 88), bc5 ? "ATI2" : "ATI1");
        EXPECT_EQ(test::le32(f, 108), 0x1000u);

        image_info back;
        byte_reader in(f);
        ASSERT_EQ(back.file_load_dds(in), 0);
        ASSERT_EQ(back.width, 24);
        ASSERT_EQ(back.height, 8);
        for (int64_t p = 0; p < img.pixel_count(); ++p) {
            const uint32_t c = img.get_pos_color(p), d = back.get_pos_color(p);
            const int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
            if (bc5) {
                EXPECT_NEAR(static_cast<int>(d >> 16 & 255), r, 12) << p;
                EXPECT_NEAR(static_cast<int>(d >> 8 & 255), g, 12) << p;
                EXPECT_EQ(d & 0xFF0000FFu, 0xFF000000u);
            } else {
                const int luma = (77 * r + 150 * g + 29 * b + 128) >> 8;
                EXPECT_NEAR(static_cast<int>(d & 255), luma, 12) << p;
                EXPECT_EQ(d, grey(d & 255));
            }
        }
    }
}

TEST(Bc45Encode, BytesDoNotDependOnTheNumberOfThreads) {
    const image_info img = test::make_photo_like(520, 132, 9);
    for (auto [encode, bytes] : {std::pair{dds::block_encoder(dds::encode_bc4_block), size_t{8}},
                                 std::pair{dds::block_encoder(dds::encode_bc5_block), size_t{16}}}) {
        std::vector<uint8_t> one(static_cast<size_t>(img.pixel_count()) * bytes / 16), two(one.size());
        dds::encode_block_image(img, encode, bytes, 1, one.data());
        dds::encode_block_image(img, encode, bytes, 2, two.data());
        EXPECT_EQ(one, two);
    }
}

}  // namespace
}  // namespace mevra
