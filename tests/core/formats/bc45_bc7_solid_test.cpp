// BC4 and BC5 through the block decoders (the files: DdsMipmaps and the Pillow
// check); one-colour blocks exact in BC4/BC5/BC7.
#include <gtest/gtest.h>

#include <random>

#include "formats/bc45_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/bc_decode.h"

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

}  // namespace
}  // namespace mevra
