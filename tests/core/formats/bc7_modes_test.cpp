// The BC7 encoder mode by mode, judged through the block decoder: every mode
// decodes to the error it reports, and each wins on the content it is for.
#include <gtest/gtest.h>

#include <random>

#include "formats/bc7_encoder.h"
#include "formats/bc7_tables.h"
#include "formats/bc_decode.h"

namespace mevra {
namespace {

int decoded_error(const uint32_t px[16], const uint8_t block[16]) {
    uint32_t back[16];
    dds::decode_bc7_block(block, back);
    int sum = 0;
    for (int p = 0; p < 16; ++p)
        for (int s = 0; s < 32; s += 8) {
            const int d = static_cast<int>(px[p] >> s & 255) - static_cast<int>(back[p] >> s & 255);
            sum += d * d;
        }
    return sum;
}

int mode_of(const uint8_t block[16]) {
    int mode = 0;
    while (mode < 8 && !(block[0] >> mode & 1))
        ++mode;
    return mode;
}

uint32_t argb(int a, int r, int g, int b) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 |
           static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

TEST(Bc7Modes, EveryModeWritesItselfAndDecodesToTheErrorItReports) {
    // Random blocks of several kinds reach every partition's anchors, P-bit
    // choices, rotations and index selections.
    std::mt19937 rng(7);
    for (int t = 0; t < 1500; ++t) {
        uint32_t px[16];
        const uint32_t base = rng();
        for (int p = 0; p < 16; ++p) {
            switch (t % 4) {
                case 0:  // noise
                    px[p] = rng();
                    break;
                case 1:  // opaque, near one colour
                    px[p] = (base + (rng() % 24) * 0x010101u * static_cast<uint32_t>(p % 3)) | 0xFF000000u;
                    break;
                case 2:  // alpha ramp under noisy colour
                    px[p] = (rng() & 0x00FFFFFFu) | static_cast<uint32_t>(p * 16) << 24;
                    break;
                default:  // two colours by a random partition
                    px[p] = dds::bc7::two_subset_masks[base % 64] >> p & 1 ? base : ~base;
            }
        }
        for (int mode = 0; mode < 8; ++mode) {
            uint8_t block[16];
            const int error = dds::encode_bc7_block_in_mode(px, mode, block);
            ASSERT_EQ(mode_of(block), mode) << t;
            ASSERT_EQ(decoded_error(px, block), error) << "mode " << mode << " block " << t;
        }
    }
}

// A block where `mode` should beat mode 6; the full encoder keeps a block
// no worse than either.
void expect_wins(const uint32_t px[16], int mode, const char* what) {
    uint8_t own[16], six[16], chosen[16];
    const int error = dds::encode_bc7_block_in_mode(px, mode, own);
    const int six_error = dds::encode_bc7_block_in_mode(px, 6, six);
    EXPECT_LT(error, six_error) << what;
    dds::encode_bc7_block(px, chosen);
    EXPECT_LE(decoded_error(px, chosen), error) << what;
}

TEST(Bc7Modes, EachModeWinsOnTheContentItIsFor) {
    uint32_t px[16];
    // Three unrelated colours in the pattern of three-subset partition 0
    // (4-bit partition numbers reach it in mode 0 as well as mode 2).
    const uint32_t three[3] = {argb(255, 200, 30, 30), argb(255, 30, 200, 40), argb(255, 20, 50, 210)};
    for (int p = 0; p < 16; ++p)
        px[p] = three[dds::bc7::three_subset_maps[0][p] - '0'] + static_cast<uint32_t>(p % 2);
    expect_wins(px, 2, "three colours, mode 2");
    expect_wins(px, 0, "three colours, mode 0");

    // Two colour ramps side by side: two subsets of RGB (modes 1 and 3).
    for (int p = 0; p < 16; ++p)
        px[p] = p % 4 < 2 ? argb(255, 40 + 8 * (p / 4), 180, 20) : argb(255, 220, 20 + 9 * (p / 4), 200);
    expect_wins(px, 1, "two ramps, mode 1");
    expect_wins(px, 3, "two ramps, mode 3");

    // Blue across, red and green down: blue gets its own indices by rotation.
    for (int p = 0; p < 16; ++p)
        px[p] = argb(255, 30 + 60 * (p / 4), 200 - 50 * (p / 4), 20 + 70 * (p % 4));
    expect_wins(px, 5, "blue apart, mode 5");
    expect_wins(px, 4, "blue apart, mode 4");
    uint8_t block[16];
    dds::encode_bc7_block_in_mode(px, 5, block);
    EXPECT_EQ(block[0] >> 6 & 3, 3) << "blue exchanged with alpha";

    // Alpha down, colour across: alpha on indices of its own, no rotation.
    for (int p = 0; p < 16; ++p)
        px[p] = argb(40 + 70 * (p / 4), 250 - 60 * (p % 4), 100, 30 + 60 * (p % 4));
    expect_wins(px, 5, "alpha apart, mode 5");
    expect_wins(px, 4, "alpha apart, mode 4");

    // Two materials, each with its own alpha: two subsets of RGBA.
    for (int p = 0; p < 16; ++p)
        px[p] = p / 4 < 2 ? argb(90 + 10 * (p % 4), 200, 40 + 10 * (p % 4), 60)
                          : argb(255, 20, 90, 230 - 12 * (p % 4));
    expect_wins(px, 7, "two materials, mode 7");
}

}  // namespace
}  // namespace mevra
