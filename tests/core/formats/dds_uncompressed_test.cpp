#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "dds_test_decoder.h"
#include "formats/dds_uncompressed.h"
#include "image/image_info.h"
#include "reduce/color_space.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::le16;
using test::le32;

// Saves with a layout and restores the setting afterwards.
class DdsSave : public ::testing::Test {
  protected:
    void TearDown() override { settings().dds_format = saved_; }
    std::vector<uint8_t> save(const image_info& img, int layout,
                              const std::string& name = "a.dds") {
        settings().dds_format = layout;
        std::string error;
        EXPECT_EQ(img.file_save_dds(dir.file(name), error), 0) << error;
        return test::read_bytes(dir.file(name));
    }
    test::temp_dir dir;

  private:
    int saved_ = settings().dds_format;
};

TEST_F(DdsSave, HeaderOfEveryLayout) {
    struct expected {
        uint32_t pf_flags, fourcc, bits, r, g, b, a, caps;
        size_t data;
    };
    const expected want[5] = {
        {0x41, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x1002, 8 * 12 * 4},
        {0x41, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, 0x1002, 8 * 12 * 2},
        {0x41, 0, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, 0x1002, 8 * 12 * 2},
        {0x4, 0x35545844, 0, 0, 0, 0, 0, 0x1000, 8 * 12},
        {0x4, 0x33545844, 0, 0, 0, 0, 0, 0x1000, 8 * 12},
    };
    const image_info img = test::make_photo_like(8, 12, 3);
    for (int layout = 0; layout < 5; ++layout) {
        SCOPED_TRACE(layout);
        const auto f = save(img, layout);
        ASSERT_EQ(f.size(), 128 + want[layout].data);
        EXPECT_EQ(le32(f, 0), 0x20534444u);  // "DDS "
        EXPECT_EQ(le32(f, 4), 124u);
        EXPECT_EQ(le32(f, 8), 0x1007u);
        EXPECT_EQ(le32(f, 12), 12u);  // height before width
        EXPECT_EQ(le32(f, 16), 8u);
        EXPECT_EQ(le32(f, 20), 8u);  // the width, whatever the layout
        for (size_t at = 24; at < 76; at += 4)
            EXPECT_EQ(le32(f, at), 0u) << at;  // depth, mipmaps, reserved
        EXPECT_EQ(le32(f, 76), 32u);
        EXPECT_EQ(le32(f, 80), want[layout].pf_flags);
        EXPECT_EQ(le32(f, 84), want[layout].fourcc);
        EXPECT_EQ(le32(f, 88), want[layout].bits);
        EXPECT_EQ(le32(f, 92), want[layout].r);
        EXPECT_EQ(le32(f, 96), want[layout].g);
        EXPECT_EQ(le32(f, 100), want[layout].b);
        EXPECT_EQ(le32(f, 104), want[layout].a);
        EXPECT_EQ(le32(f, 108), want[layout].caps);
        for (size_t at = 112; at < 128; at += 4)
            EXPECT_EQ(le32(f, at), 0u) << at;
    }
}

TEST_F(DdsSave, A8R8G8B8KeepsEveryPixelTopRowFirst) {
    const image_info img = test::make_photo_like(7, 5, 11, true);  // any size will do
    const auto f = save(img, FMT_A8R8G8B8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const size_t at = 128 + static_cast<size_t>(y * 7 + x) * 4;
            const uint32_t c = img.argb_buff[static_cast<size_t>(y * 7 + x)];
            ASSERT_EQ(f[at], c & 0xFF);  // blue first
            ASSERT_EQ(le32(f, at), c);
        }
    test::dds_image back;
    std::string why;
    ASSERT_TRUE(test::decode_dds(f, back, why)) << why;
    EXPECT_EQ(back.argb, img.argb_buff);
}

TEST_F(DdsSave, IndexedImagesAreWrittenWithTheirPaletteColours) {
    const std::vector<uint32_t> palette = {0xFF102030u, 0x80FFFFFFu, 0x00000000u};
    const image_info img = test::make_indexed(IMGTYP_256, 3, 2, palette, {2, 1, 0, 0, 1, 2});
    const auto f = save(img, FMT_A8R8G8B8);
    test::dds_image back;
    std::string why;
    ASSERT_TRUE(test::decode_dds(f, back, why)) << why;
    EXPECT_EQ(back.argb, test::argb_pixels(img));
}

TEST(DdsDither, OffsetsFollowTheMatrix) {
    const int four[16] = {-8, -6, -5, -4, -3, -2, -1, 0, 0, 1, 2, 3, 4, 5, 6, 8};
    const int five[16] = {-4, -3, -2, -2, -1, -1, 0, 0, 0, 0, 1, 1, 2, 2, 3, 4};
    for (int d = 0; d < 16; ++d) {
        EXPECT_EQ(dds::offset_a4r4g4b4(static_cast<float>(d)), four[d]) << d;
        EXPECT_EQ(dds::offset_a1r5g5b5(static_cast<float>(d)), five[d]) << d;
    }
}

TEST(DdsDither, WhiteAndBlackAtEveryMatrixValue) {
    for (int d = 0; d < 16; ++d) {
        const float D = static_cast<float>(d);
        EXPECT_EQ(dds::pack_a4r4g4b4(0xFFFFFFFFu, D), 0xFFFF);
        EXPECT_EQ(dds::pack_a4r4g4b4(0x00000000u, D), 0x0000);
        // Only the strongest negative offset pulls white below the top level.
        EXPECT_EQ(dds::pack_a1r5g5b5(0xFFFFFFFFu, D), d == 0 ? 0xFBDE : 0xFFFF) << d;
        EXPECT_EQ(dds::pack_a1r5g5b5(0x00000000u, D), 0x0000);
    }
    // The alpha bit is the top bit of the alpha byte, never dithered.
    EXPECT_EQ(dds::pack_a1r5g5b5(0x7FFFFFFFu, 15.0f) >> 15, 0);
    EXPECT_EQ(dds::pack_a1r5g5b5(0x80000000u, 0.0f) >> 15, 1);
}

// Every pixel of the 16-bit layouts against levels worked out independently:
// the offset tables as listed, 4-bit levels (v + 8) / 17, 5-bit levels
// (v + 4) / 8.23 rounded down.
TEST_F(DdsSave, SixteenBitLayoutsDecodeToTheDitheredLevels) {
    const int four[16] = {-8, -6, -5, -4, -3, -2, -1, 0, 0, 1, 2, 3, 4, 5, 6, 8};
    const int five[16] = {-4, -3, -2, -2, -1, -1, 0, 0, 0, 0, 1, 1, 2, 2, 3, 4};
    const int w = 37, h = 23;
    const image_info img = test::make_photo_like(w, h, 5, true);
    const auto f4 = save(img, FMT_A4R4G4B4, "4.dds");
    const auto f5 = save(img, FMT_A1R5G5B5, "5.dds");
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = img.argb_buff[static_cast<size_t>(y * w + x)];
            const int m = static_cast<int>(dither_pattern[(y % 4) * 4 + x % 4]);
            uint32_t v4 = 0, v5 = (c >> 31) << 15;
            for (int ch = 0; ch < 4; ++ch) {
                const int channel = static_cast<int>(c >> (8 * ch) & 255);
                v4 |= static_cast<uint32_t>((clamp(channel + four[m]) + 8) / 17) << (4 * ch);
                if (ch < 3)
                    v5 |= static_cast<uint32_t>((clamp(channel + five[m]) + 4) * 100 / 823)
                          << (5 * ch);
            }
            const size_t at = 128 + static_cast<size_t>(y * w + x) * 2;
            ASSERT_EQ(le16(f4, at), v4) << x << "," << y;
            ASSERT_EQ(le16(f5, at), v5) << x << "," << y;
        }
    // A reader expanding the masked channels sees every level as 17 × level.
    test::dds_image back;
    std::string why;
    ASSERT_TRUE(test::decode_dds(f4, back, why)) << why;
    for (size_t i = 0; i < back.argb.size(); ++i)
        for (int s = 0; s < 32; s += 8)
            ASSERT_EQ((back.argb[i] >> s & 255) % 17, 0u);
}

TEST_F(DdsSave, BlockLayoutsRefuseSidesThatAreNotMultiplesOfFour) {
    const image_info wide = test::make_photo_like(30, 8, 1);
    const image_info tall = test::make_photo_like(8, 30, 1);
    const std::string path = dir.file("refused.dds");
    for (int layout : {FMT_DXT5, FMT_DXT3}) {
        for (const image_info* img : {&wide, &tall}) {
            test::recording_ui ui;
            settings().dds_format = layout;
            std::string error = "stale";
            EXPECT_EQ(img->file_save_dds(path, error), -1);
            EXPECT_TRUE(error.empty());  // already told the user
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, path +
                                               "\nファイルの保存に失敗しました。\n"
                                               "ファイルの幅と高さを４の倍数にして下さい。");
            EXPECT_EQ(ui.messages[0].caption, "エラー");
            EXPECT_FALSE(std::filesystem::exists(path));
        }
    }
    // An existing file survives a refusal.
    test::write_bytes(path, {1, 2, 3});
    {
        test::recording_ui ui;
        std::string error;
        EXPECT_EQ(wide.file_save_dds(path, error), -1);
    }
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{1, 2, 3}));
    // The uncompressed layouts take any size, silently.
    test::recording_ui ui;
    EXPECT_EQ(save(wide, FMT_A8R8G8B8).size(), 128u + 30 * 8 * 4);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DdsSave, FailuresReportAReasonAndLeaveFilesAlone) {
    const image_info img = test::make_photo_like(8, 8, 2);
    std::string error;
    settings().dds_format = FMT_DXT5;
    EXPECT_EQ(img.file_save_dds(dir.file("missing/a.dds"), error), -1);
    EXPECT_FALSE(error.empty());

    settings().dds_format = 9;  // no such layout
    const std::string path = dir.file("kept.dds");
    test::write_bytes(path, {7});
    error.clear();
    EXPECT_EQ(img.file_save_dds(path, error), -1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{7}));

    settings().dds_format = FMT_A8R8G8B8;
    const image_info empty;
    error.clear();
    EXPECT_EQ(empty.file_save_dds(path, error), -1);
    EXPECT_FALSE(error.empty());
    // An index outside the colour table is refused, not read.
    image_info broken = test::make_indexed(IMGTYP_256, 2, 1, {0xFF000000u}, {0, 0});
    broken.index_buff[1] = 4000;
    error.clear();
    EXPECT_EQ(broken.file_save_dds(path, error), -1);
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{7}));
}

}  // namespace
}  // namespace mevra
