// The BC1 and BC7 encoders, judged through the block decoders: error bounds
// on photograph-like and soft-alpha pictures, what transparency becomes, and
// the files the two layouts write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "dds_test_decoder.h"
#include "formats/bc1_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/bc7_tables.h"
#include "formats/bc_decode.h"
#include "formats/dds_block_image.h"
#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

int channel(uint32_t c, int shift) {
    return static_cast<int>(c >> shift & 255);
}

// Encodes every block with `block_bytes` per block and decodes it again.
std::vector<uint32_t> round_trip(const image_info& img, dds::block_encoder encode,
                                 size_t block_bytes, int threads = 1) {
    std::vector<uint8_t> blocks(static_cast<size_t>(img.pixel_count()) * block_bytes / 16);
    dds::encode_block_image(img, encode, block_bytes, threads, blocks.data());
    std::vector<uint32_t> out(static_cast<size_t>(img.pixel_count()));
    const int across = img.width / 4;
    for (size_t b = 0; b < blocks.size() / block_bytes; ++b) {
        uint32_t px[16];
        if (block_bytes == 8)
            dds::decode_bc1_block(blocks.data() + b * 8, px);
        else
            dds::decode_bc7_block(blocks.data() + b * 16, px);
        const size_t bx = b % static_cast<size_t>(across), by = b / static_cast<size_t>(across);
        for (int p = 0; p < 16; ++p)
            out[(by * 4 + static_cast<size_t>(p / 4)) * static_cast<size_t>(img.width) + bx * 4 +
                static_cast<size_t>(p % 4)] = px[p];
    }
    return out;
}

// Peak signal-to-noise ratio over RGB, or RGBA, in dB.
double psnr(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, bool with_alpha) {
    double sum = 0;
    const int channels = with_alpha ? 4 : 3;
    for (size_t i = 0; i < a.size(); ++i)
        for (int c = 0; c < channels; ++c) {
            const double d = channel(a[i], 8 * c) - channel(b[i], 8 * c);
            sum += d * d;
        }
    const double mse = sum / (static_cast<double>(a.size()) * channels);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Smooth shading, hard edges and grain that is mostly shared by the three
// channels, as a camera's is (unlike independent noise per channel, which no
// block format can follow).
image_info grainy_photo(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<float> grain(0.0f, 3.0f), tint(0.0f, 1.0f);
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto level = [](float v) { return static_cast<uint32_t>(std::fmin(255.0f, std::fmax(0.0f, v))); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / 40.0f, fy = static_cast<float>(y) / 30.0f;
            float r = 120.0f + 90.0f * std::sin(fx + fy * 0.5f);
            float g = 110.0f + 80.0f * std::cos(fx * 0.7f - fy);
            float b = 100.0f + 70.0f * std::sin((fx + fy) * 1.3f);
            if ((x / 13 + y / 17) % 4 == 0) r = 255.0f - r, b *= 0.5f;  // edges
            const float n = grain(rng);
            px[static_cast<size_t>(y) * width + x] = 0xFF000000u | level(r + n + tint(rng)) << 16 |
                                                     level(g + n + tint(rng)) << 8 |
                                                     level(b + n + tint(rng));
        }
    return image_info(width, height, px.data());
}

// A round icon: opaque inside, a soft alpha ramp at its rim, transparent
// outside, with a colour gradient across it.
image_info soft_alpha_icon(int side) {
    std::vector<uint32_t> px(static_cast<size_t>(side) * side);
    const float centre = static_cast<float>(side) / 2.0f, radius = centre * 0.8f;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const float d = std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre);
            const float a = std::fmin(1.0f, std::fmax(0.0f, (radius - d) / 6.0f));
            const auto r = static_cast<uint32_t>(255 * x / side), g = static_cast<uint32_t>(255 * y / side);
            px[static_cast<size_t>(y) * side + x] =
                static_cast<uint32_t>(a * 255.0f + 0.5f) << 24 | r << 16 | g << 8 | 160u;
        }
    return image_info(side, side, px.data());
}

TEST(Bc1Encode, OpaquePhotoStaysOpaqueInFourColourBlocksAndCloseToTheOriginal) {
    const image_info img = test::make_photo_like(128, 96, 11);
    const auto original = test::argb_pixels(img);
    const auto back = round_trip(img, dds::encode_bc1_block, 8);
    for (uint32_t c : back)
        ASSERT_EQ(c >> 24, 255u);
    EXPECT_GT(psnr(original, back, false), 33.0);

    std::vector<uint8_t> blocks(img.pixel_count() / 2);
    dds::encode_block_image(img, dds::encode_bc1_block, 8, 1, blocks.data());
    for (size_t b = 0; b < blocks.size(); b += 8)
        ASSERT_GT(blocks[b] | blocks[b + 1] << 8, blocks[b + 2] | blocks[b + 3] << 8);
}

TEST(Bc1Encode, AlphaBelowHalfBecomesTransparentAndTheRestOpaque) {
    image_info img = test::make_photo_like(64, 64, 5);
    std::mt19937 rng(7);
    for (auto& c : img.argb_buff)
        c = (c & 0xFFFFFFu) | (rng() & 0xFF000000u);
    // Blocks with no opaque pixel at all, and blocks with just one.
    for (int p = 0; p < 16; ++p) {
        img.argb_buff[static_cast<size_t>(p / 4) * 64 + p % 4] = 0x7FFFFFFFu;
        img.argb_buff[static_cast<size_t>(p / 4) * 64 + 4 + p % 4] = p == 5 ? 0x80102030u : 0u;
    }
    const auto back = round_trip(img, dds::encode_bc1_block, 8);
    double err = 0;
    int opaque = 0;
    for (size_t i = 0; i < back.size(); ++i) {
        if (img.argb_buff[i] >> 24 < 128) {
            ASSERT_EQ(back[i], 0u) << i;
            continue;
        }
        ASSERT_EQ(back[i] >> 24, 255u) << i;
        for (int s = 0; s < 24; s += 8)
            err += std::abs(channel(back[i], s) - channel(img.argb_buff[i], s));
        opaque += 3;
    }
    EXPECT_LT(err / opaque, 8.0);
    // The one opaque pixel of its block (alpha 128) comes out exact up to 5:6:5.
    EXPECT_EQ(back[64 + 5] >> 24, 255u);
    EXPECT_LE(std::abs(channel(back[64 + 5], 16) - 0x10), 4);
    EXPECT_LE(std::abs(channel(back[64 + 5], 8) - 0x20), 2);
    EXPECT_LE(std::abs(channel(back[64 + 5], 0) - 0x30), 4);
}

TEST(Bc1Encode, SolidBlocksAreExactUpToFiveSixFiveLevels) {
    std::mt19937 rng(3);
    std::vector<uint32_t> colours = {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u, 0xFFFF0000u,
                                     0xFF00FF00u, 0xFF0000FFu, 0xFF7F7F7Fu};
    for (int i = 0; i < 200; ++i)
        colours.push_back(0xFF000000u | (rng() & 0xFFFFFFu));
    for (uint32_t c : colours) {
        uint32_t px[16], back[16];
        std::fill(px, px + 16, c);
        uint8_t block[8];
        dds::encode_bc1_block(px, block);
        dds::decode_bc1_block(block, back);
        for (int p = 0; p < 16; ++p) {
            ASSERT_EQ(back[p], back[0]);
            ASSERT_EQ(back[p] >> 24, 255u);
            // Half a 5-bit (or 6-bit) step at most.
            ASSERT_LE(std::abs(channel(back[p], 16) - channel(c, 16)), 4) << std::hex << c;
            ASSERT_LE(std::abs(channel(back[p], 8) - channel(c, 8)), 2) << std::hex << c;
            ASSERT_LE(std::abs(channel(back[p], 0) - channel(c, 0)), 4) << std::hex << c;
        }
    }
}

TEST(Bc7Encode, PhotoBeatsBc1ByThreeDecibelsAndKeepsAlphaOpaque) {
    const image_info img = grainy_photo(128, 96, 11);
    const auto original = test::argb_pixels(img);
    const auto bc7 = round_trip(img, dds::encode_bc7_block, 16);
    const auto bc1 = round_trip(img, dds::encode_bc1_block, 8);
    for (uint32_t c : bc7)
        ASSERT_EQ(c >> 24, 255u);
    const double q7 = psnr(original, bc7, false), q1 = psnr(original, bc1, false);
    EXPECT_GT(q7, 40.0);
    EXPECT_GT(q7, q1 + 3.0) << q7 << " vs " << q1;
}

TEST(Bc7Encode, BlocksSplitByAnyPartitionUseTwoSubsetsAndComeBackClose) {
    // Subset 0 two dark colours, subset 1 a bright one off their line: no
    // single line fits the three, the right partition fits them exactly.
    for (int k = 0; k < 64; ++k) {
        uint32_t px[16], back[16];
        int first_subset = 0;
        for (int p = 0; p < 16; ++p)
            px[p] = dds::bc7::two_subset_masks[k] >> p & 1
                        ? 0xFFE0C040u
                        : (first_subset++ % 2 ? 0xFF203040u : 0xFF20A040u);
        uint8_t block[16];
        dds::encode_bc7_block(px, block);
        const bool mode1 = (block[0] & 3) == 2, mode3 = (block[0] & 15) == 8;
        EXPECT_TRUE(mode1 || mode3) << "mode 1 or 3 expected for partition " << k;
        dds::decode_bc7_block(block, back);
        for (int p = 0; p < 16; ++p)
            for (int s = 0; s < 32; s += 8)
                ASSERT_LE(std::abs(channel(back[p], s) - channel(px[p], s)), 3)
                    << "partition " << k << " pixel " << p;
    }
}

TEST(Bc7Encode, SoftAlphaIconAndNoisyAlphaStayClose) {
    const image_info icon = soft_alpha_icon(64);
    EXPECT_GT(psnr(test::argb_pixels(icon), round_trip(icon, dds::encode_bc7_block, 16), true),
              40.0);
    const image_info noisy = test::make_photo_like(64, 64, 9, true);
    EXPECT_GT(psnr(test::argb_pixels(noisy), round_trip(noisy, dds::encode_bc7_block, 16), true),
              32.0);
}

TEST(Bc7Encode, BytesDoNotDependOnTheNumberOfThreads) {
    // With alpha (modes 4, 5, 6, 7) and opaque (modes 0 to 6).
    for (bool alpha : {true, false}) {
        const image_info img = test::make_photo_like(256, 256, 4, alpha);
        std::vector<uint8_t> one(static_cast<size_t>(img.pixel_count())), two(one.size()),
            three(one.size());
        dds::encode_block_image(img, dds::encode_bc7_block, 16, 1, one.data());
        dds::encode_block_image(img, dds::encode_bc7_block, 16, 2, two.data());
        dds::encode_block_image(img, dds::encode_bc7_block, 16, 3, three.data());
        EXPECT_EQ(one, two);
        EXPECT_EQ(one, three);
    }
}

// ---- files ----

class BcFile : public ::testing::Test {
  protected:
    void TearDown() override { settings().dds_format = saved_; }
    test::temp_dir dir;

  private:
    int saved_ = settings().dds_format;
};

TEST_F(BcFile, HeadersSizesAndPixelsOfBothLayouts) {
    const image_info img = test::make_photo_like(24, 8, 2, true);
    for (int layout : {FMT_DXT1, FMT_BC7}) {
        settings().dds_format = layout;
        const std::string path = dir.file("t.dds");
        std::string error;
        ASSERT_EQ(img.file_save_dds(path, error), 0) << error;
        const auto f = test::read_bytes(path);
        const bool bc7 = layout == FMT_BC7;
        const size_t head = bc7 ? 148 : 128, data = bc7 ? 24 * 8 : 24 * 8 / 2;
        ASSERT_EQ(f.size(), head + data);
        EXPECT_EQ(test::le32(f, 8), 0x81007u);  // with the linear size
        EXPECT_EQ(test::le32(f, 12), 8u);
        EXPECT_EQ(test::le32(f, 16), 24u);
        EXPECT_EQ(test::le32(f, 20), data);
        EXPECT_EQ(test::le32(f, 28), 0u);  // no mipmaps
        EXPECT_EQ(test::le32(f, 80), 4u);  // four-character code
        EXPECT_EQ(std::string(f.begin() + 84, f.begin() + 88), bc7 ? "DX10" : "DXT1");
        EXPECT_EQ(test::le32(f, 88), 0u);
        EXPECT_EQ(test::le32(f, 108), 0x1000u);
        if (bc7) {
            EXPECT_EQ(test::le32(f, 128), 98u);  // BC7_UNORM
            EXPECT_EQ(test::le32(f, 132), 3u);   // 2D texture
            EXPECT_EQ(test::le32(f, 136), 0u);
            EXPECT_EQ(test::le32(f, 140), 1u);  // one surface
        }
        // The blocks are the encoder's, in rows from the top.
        const auto want = round_trip(img, bc7 ? dds::encode_bc7_block : dds::encode_bc1_block,
                                     bc7 ? 16 : 8);
        uint32_t px[16];
        const size_t last = head + data - (bc7 ? 16 : 8);  // block (5, 1)
        bc7 ? dds::decode_bc7_block(f.data() + last, px) : dds::decode_bc1_block(f.data() + last, px);
        EXPECT_EQ(px[15], want[7 * 24 + 23]);
    }
}

TEST_F(BcFile, SidesThatAreNotMultiplesOfFourAreRefusedAsForDxt5) {
    const image_info img = test::make_photo_like(30, 8, 1);
    const std::string path = dir.file("refused.dds");
    test::write_bytes(path, {9});
    for (int layout : {FMT_DXT1, FMT_BC7}) {
        test::recording_ui ui;
        settings().dds_format = layout;
        std::string error = "stale";
        EXPECT_EQ(img.file_save_dds(path, error), -1);
        EXPECT_TRUE(error.empty());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, path +
                                           "\nファイルの保存に失敗しました。\n"
                                           "ファイルの幅と高さを４の倍数にして下さい。");
        EXPECT_EQ(ui.messages[0].caption, "エラー");
    }
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{9}));
}

}  // namespace
}  // namespace mevra
