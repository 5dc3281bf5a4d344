#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "codec_test_files.h"
#include "platform/image_limits.h"

namespace mevra {
namespace {

using namespace test;

// A hand-made BMP; `gap` bytes lie between the colour table and the rows.
struct bmp_spec {
    uint32_t info_size = 40;
    int32_t width = 1, height = 1;
    uint16_t bits = 32;
    uint32_t compression = 0, colors_used = 0;
    bytes table, rows;
    size_t gap = 0;
    bool honest_offset = true;
};

bytes make_bmp(const bmp_spec& s) {
    bytes b = {'B', 'M'};
    const uint32_t offset = 14 + s.info_size + static_cast<uint32_t>(s.table.size() + s.gap);
    for (uint32_t v :
         {offset + static_cast<uint32_t>(s.rows.size()), 0u, s.honest_offset ? offset : 0u,
          s.info_size, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height),
          1u | (uint32_t{s.bits} << 16), s.compression, 0u, 2835u, 2835u, s.colors_used, 0u})
        put_le(b, v);
    b.resize(14 + s.info_size, 0x5A);  // V4/V5 extras: masks, colour space
    b.insert(b.end(), s.table.begin(), s.table.end());
    b.insert(b.end(), s.gap, 0xEE);
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    return b;
}

TEST(BmpCodec, TrueColourHeaderAndBottomUpRowsRoundTrip) {
    auto img = make_argb(3, 2, {0x00112233, 0x80445566, 0xFF778899, 1, 2, 3});
    const bytes f = saved_as(img, IMGFMT_BMP);
    ASSERT_EQ(f.size(), 54u + 24);
    const uint32_t header[] = {78, 0, 54, 40, 3, 2, 1 | (32 << 16), 0, 0, 3780, 3780, 0, 0};
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(le_at(f, 2 + 4 * i), header[i]) << i;
    EXPECT_EQ(le_at(f, 54), 1u);  // bottom row first, alpha as it stands
    EXPECT_EQ(le_at(f, 66), 0x00112233u);
    image_info back;
    ASSERT_EQ(load_as(back, f, IMGFMT_BMP), 0);
    EXPECT_EQ(back.format, IMGFMT_BMP);
    EXPECT_EQ(back.argb_buff, img.argb_buff);
}

TEST(BmpCodec, IndexedImagesKeepIndicesAndWholeTables) {
    std::vector<uint32_t> pal(256);
    for (uint32_t i = 0; i < 256; ++i)
        pal[i] = (i << 24) | (i * 0x010203u & 0xFFFFFF);
    std::vector<int32_t> idx(21);
    for (size_t p = 0; p < idx.size(); ++p)
        idx[p] = static_cast<int32_t>(p * 37 % 256);
    auto img = make_indexed(IMGTYP_256, 7, 3, pal, idx);
    image_info back;
    ASSERT_EQ(load_as(back, saved_as(img, IMGFMT_BMP), IMGFMT_BMP), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color_num, 256);
    EXPECT_EQ(back.index_buff, img.index_buff);
    EXPECT_EQ(back.color, img.color);

    // 4-bit, odd width: left pixel in the high nibble, rows padded to 4 bytes.
    auto four = make_indexed(IMGTYP_16, 5, 2, {1, 2, 0xFFFF0000}, {1, 2, 0, 1, 2, 2, 2, 1, 1, 0});
    const bytes f = saved_as(four, IMGFMT_BMP);
    EXPECT_EQ(le_at(f, 28, 2), 4u);
    EXPECT_EQ(bytes(f.begin() + 54 + 64, f.end()), (bytes{0x22, 0x11, 0, 0, 0x12, 0x01, 0x20, 0}));
    ASSERT_EQ(load_as(back, f, IMGFMT_BMP), 0);
    EXPECT_EQ(back.image_type, IMGTYP_16);
    EXPECT_EQ(back.color_num, 16);
    EXPECT_EQ(back.index_buff, four.index_buff);
    EXPECT_EQ(back.color[2], 0xFFFF0000u);  // a table with some alpha keeps it all
}

TEST(BmpReader, PaletteAlphaAndColoursUsed) {
    bmp_spec s;
    s.bits = 8;
    s.width = 3;
    s.colors_used = 2;
    s.table = {10, 20, 30, 0, 40, 50, 60, 0};
    s.rows = {0, 1, 200, 0};
    image_info img;
    ASSERT_EQ(load_as(img, make_bmp(s), IMGFMT_BMP), 0);
    EXPECT_EQ(img.color_num, 2);
    EXPECT_EQ(img.color[0], 0xFF1E140Au);  // no fourth byte set: all opaque
    EXPECT_EQ(img.get_pos_color(2), 0u);   // an index past the table shows colour 0
    EXPECT_EQ(img.color_cnt[200], 1);
    s.table[7] = 9;
    ASSERT_EQ(load_as(img, make_bmp(s), IMGFMT_BMP), 0);
    EXPECT_EQ(img.color[0], 0x001E140Au);
    EXPECT_EQ(img.color[1], 0x093C3228u);
}

TEST(BmpReader, HonoursLargerInfoHeadersAndThePixelOffset) {
    bmp_spec s;  // 32-bit V5 with a gap before the rows
    s.info_size = 124;
    s.width = 2;
    s.height = 2;
    s.gap = 6;
    s.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    image_info img;
    ASSERT_EQ(load_as(img, make_bmp(s), IMGFMT_BMP), 0);
    EXPECT_EQ(img.argb_buff,
              (std::vector<uint32_t>{0x0C0B0A09, 0x100F0E0D, 0x04030201, 0x08070605}));
    bmp_spec p;  // 8-bit V4: the table follows the 108-byte header
    p.info_size = 108;
    p.bits = 8;
    p.colors_used = 1;
    p.table = {7, 8, 9, 0};
    p.rows = {0, 0, 0, 0};
    p.honest_offset = false;  // an offset into the headers is not trusted
    ASSERT_EQ(load_as(img, make_bmp(p), IMGFMT_BMP), 0);
    EXPECT_EQ(img.get_pos_color(0), 0xFF090807u);
}

TEST(BmpReader, DeclinesVariantsAndSizesAndChangesNothing) {
    const std::function<void(bmp_spec&)> changes[] = {
        [](bmp_spec& s) { s.compression = 3; },
        [](bmp_spec& s) { s.height = -1; },
        [](bmp_spec& s) { s.width = 0; },
        [](bmp_spec& s) { s.bits = 1; },
        [](bmp_spec& s) { s.bits = 16; },
        [](bmp_spec& s) { s.bits = 33; },
        [](bmp_spec& s) { s.info_size = 12; },
        [](bmp_spec& s) { s.width = 32769; },
        [](bmp_spec& s) { s.width = 32768, s.height = 8193; },
        [](bmp_spec& s) { s.width = s.height = INT32_MAX; }};
    for (const auto& change : changes) {
        bmp_spec s;
        s.rows = bytes(64, 0x11);
        change(s);
        auto img = make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load_as(img, make_bmp(s), IMGFMT_BMP), -2);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
    image_info other;
    EXPECT_EQ(load_as(other, bytes{'B', 'X', 0}, IMGFMT_BMP), -1);
}

TEST(ImageLimits, TheLargestSideAndPixelCountAreAccepted) {
    EXPECT_TRUE(image_size_ok(max_image_side, 1));
    EXPECT_TRUE(image_size_ok(1, max_image_side));
    EXPECT_FALSE(image_size_ok(max_image_side + 1, 1));
    EXPECT_TRUE(image_size_ok(16384, 16384));  // exactly 2^28 pixels
    EXPECT_FALSE(image_size_ok(16384, 16385));
    // And a real file of the largest width loads (its short rows read as zeros).
    bmp_spec s;
    s.width = 32768;
    image_info img;
    EXPECT_EQ(load_as(img, make_bmp(s), IMGFMT_BMP), 0);
    EXPECT_EQ(img.width, 32768);
}

TEST(BmpReader, TruncatedAndCorruptedFilesStayInBounds) {
    auto img =
        make_indexed(IMGTYP_16, 9, 5, std::vector<uint32_t>(16, 5), std::vector<int32_t>(45, 7));
    const bytes whole = saved_as(img, IMGFMT_BMP);
    for (size_t n = 2; n < whole.size(); ++n) {
        image_info part;
        const int r = load_as(part, cut(whole, n), IMGFMT_BMP);
        ASSERT_EQ(r, n < 29 ? -2 : 0) << n;  // from the depth on, zeros are valid fields
        if (r == 0) {
            EXPECT_EQ(part.index_buff.front(), n > 54 + 64 + 32 ? 7 : 0) << n;
        }
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        bytes f = whole;
        for (int k = 0; k < 4; ++k)
            f[2 + rng() % (f.size() - 2)] = static_cast<uint8_t>(rng());
        image_info any;
        const int r = load_as(any, f, IMGFMT_BMP);
        ASSERT_TRUE(r == 0 || r == -2);
    }
}

TEST(BmpWriter, FailsWithAReason) {
    temp_dir dir;
    std::string error;
    EXPECT_EQ(image_info().file_save_bmp(dir.file("x.bmp"), error), -1);
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_EQ(make_argb(1, 1, {0}).file_save_bmp(dir.file("no/x.bmp"), error), -1);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace mevra
