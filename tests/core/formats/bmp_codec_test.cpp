#include <gtest/gtest.h>

#include <random>

#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using bytes = std::vector<uint8_t>;

uint32_t u32_at(const bytes& b, size_t o) {
    return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (uint32_t{b[o + 3]} << 24);
}
uint16_t u16_at(const bytes& b, size_t o) {
    return static_cast<uint16_t>(b[o] | (b[o + 1] << 8));
}

void put32(bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

// A hand-made BMP. `gap` bytes lie between the colour table and the rows, and
// the pixel-data offset says so when `honest_offset` is set.
struct bmp_spec {
    uint32_t info_size = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 32;
    uint32_t compression = 0;
    uint32_t colors_used = 0;
    bytes table;
    bytes rows;
    size_t gap = 0;
    bool honest_offset = true;
};

bytes make_bmp(const bmp_spec& s) {
    bytes b = {'B', 'M'};
    const uint32_t offset = 14 + s.info_size + static_cast<uint32_t>(s.table.size() + s.gap);
    put32(b, offset + static_cast<uint32_t>(s.rows.size()));
    put32(b, 0);
    put32(b, s.honest_offset ? offset : 0);
    put32(b, s.info_size);
    put32(b, static_cast<uint32_t>(s.width));
    put32(b, static_cast<uint32_t>(s.height));
    put16(b, 1);
    put16(b, s.bits);
    put32(b, s.compression);
    put32(b, 0);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, s.colors_used);
    put32(b, 0);
    b.resize(14 + s.info_size, 0x5A);  // V4/V5 extra fields: masks, colour space
    b.insert(b.end(), s.table.begin(), s.table.end());
    b.insert(b.end(), s.gap, 0xEE);
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    return b;
}

int load(image_info& img, const bytes& file) {
    byte_reader in(file);
    return img.file_load_bmp(in);
}

bytes save(const image_info& img) {
    test::temp_dir dir;
    std::string error;
    EXPECT_EQ(img.file_save_bmp(dir.file("out.bmp"), error), 0) << error;
    return test::read_bytes(dir.file("out.bmp"));
}

TEST(BmpWriter, TrueColourHeaderAndRowsAreLaidOutBottomUp) {
    auto img = test::make_argb(3, 2,
                               {0x00112233, 0x80445566, 0xFF778899,  //
                                0x01000000, 0x02000000, 0x03000000});
    const bytes f = save(img);
    ASSERT_EQ(f.size(), 54u + 3 * 4 * 2);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(u32_at(f, 2), f.size());
    EXPECT_EQ(u32_at(f, 6), 0u);
    EXPECT_EQ(u32_at(f, 10), 54u);
    EXPECT_EQ(u32_at(f, 14), 40u);
    EXPECT_EQ(u32_at(f, 18), 3u);
    EXPECT_EQ(u32_at(f, 22), 2u);  // positive height
    EXPECT_EQ(u16_at(f, 26), 1);
    EXPECT_EQ(u16_at(f, 28), 32);
    EXPECT_EQ(u32_at(f, 30), 0u);
    EXPECT_EQ(u32_at(f, 34), 0u);
    EXPECT_EQ(u32_at(f, 38), 3780u);
    EXPECT_EQ(u32_at(f, 42), 3780u);
    EXPECT_EQ(u32_at(f, 46), 0u);
    EXPECT_EQ(u32_at(f, 50), 0u);
    // First stored row is the bottom image row; alpha is written unchanged.
    EXPECT_EQ(u32_at(f, 54), 0x01000000u);
    EXPECT_EQ(u32_at(f, 54 + 12), 0x00112233u);
    EXPECT_EQ(u32_at(f, 54 + 16), 0x80445566u);

    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_RGB);
    EXPECT_EQ(back.format, IMGFMT_BMP);
    EXPECT_EQ(back.flag, 1);
    EXPECT_EQ(back.argb_buff, img.argb_buff);
}

TEST(BmpWriter, IndexedImagesRoundTripWithWholeTables) {
    std::vector<uint32_t> pal(256);
    for (uint32_t i = 0; i < 256; ++i)
        pal[i] = (i << 24) | (i * 0x010203u & 0xFFFFFF);
    std::vector<int32_t> idx(7 * 3);
    for (size_t p = 0; p < idx.size(); ++p)
        idx[p] = static_cast<int32_t>((p * 37) % 256);
    auto img = test::make_indexed(IMGTYP_256, 7, 3, pal, idx);
    const bytes f = save(img);
    EXPECT_EQ(u16_at(f, 28), 8);
    EXPECT_EQ(u32_at(f, 10), 54u + 1024);
    EXPECT_EQ(f.size(), 54u + 1024 + 8 * 3);
    EXPECT_EQ(u32_at(f, 54 + 4 * 200), pal[200]);

    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color_num, 256);
    EXPECT_EQ(back.index_buff, img.index_buff);
    EXPECT_EQ(back.color, img.color);
    EXPECT_EQ(back.color_cnt[37], img.color_cnt[37]);
}

TEST(BmpWriter, FourBitOddWidthPacksNibblesAndPadsRows) {
    // Only 3 colours: the writer still stores 16 entries and colours-used 0.
    auto img = test::make_indexed(IMGTYP_16, 5, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000},
                                  {1, 2, 0, 1, 2,  //
                                   2, 2, 1, 1, 0});
    const bytes f = save(img);
    EXPECT_EQ(u16_at(f, 28), 4);
    EXPECT_EQ(u32_at(f, 46), 0u);
    ASSERT_EQ(f.size(), 54u + 64 + 4 * 2);
    const size_t rows = 54 + 64;
    // Bottom image row first: 2 2 1 1 0 -> 0x22 0x11 0x00, then padding.
    EXPECT_EQ(bytes(f.begin() + rows, f.begin() + rows + 4), (bytes{0x22, 0x11, 0x00, 0x00}));
    EXPECT_EQ(bytes(f.begin() + rows + 4, f.end()), (bytes{0x12, 0x01, 0x20, 0x00}));

    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_16);
    EXPECT_EQ(back.color_num, 16);
    EXPECT_EQ(back.index_buff, img.index_buff);
    EXPECT_EQ(back.color[2], 0xFFFF0000u);
    EXPECT_EQ(back.color[3], 0u);
    EXPECT_EQ(back.color_cnt[2], 4);
}

TEST(BmpWriter, RefusesEmptyObjectAndKeepsOldFileOnFailure) {
    test::temp_dir dir;
    std::string error;
    image_info empty;
    EXPECT_EQ(empty.file_save_bmp(dir.file("x.bmp"), error), -1);
    EXPECT_FALSE(error.empty());
    auto img = test::make_argb(1, 1, {0xFF000000});
    error.clear();
    EXPECT_EQ(img.file_save_bmp(dir.file("missing/x.bmp"), error), -1);
    EXPECT_FALSE(error.empty());
}

TEST(BmpReader, ThirtyTwoBitAlphaIsTakenAsStored) {
    bmp_spec s;
    s.width = 2;
    s.rows = {1, 2, 3, 0, 4, 5, 6, 0};
    image_info img;
    ASSERT_EQ(load(img, make_bmp(s)), 0);
    EXPECT_EQ(img.argb_buff, (std::vector<uint32_t>{0x00030201, 0x00060504}));
}

TEST(BmpReader, TwentyFourBitRowsArePadded) {
    bmp_spec s;
    s.width = 1;
    s.height = 2;
    s.bits = 24;
    s.rows = {1, 2, 3, 0, 4, 5, 6, 0};  // bottom row 010203, top row 040506
    image_info img;
    ASSERT_EQ(load(img, make_bmp(s)), 0);
    EXPECT_EQ(img.argb_buff, (std::vector<uint32_t>{0xFF060504, 0xFF030201}));
}

TEST(BmpReader, PaletteAlphaOnlyWhenSomeFourthByteIsSet) {
    bmp_spec s;
    s.bits = 8;
    s.width = 2;
    s.colors_used = 2;
    s.table = {10, 20, 30, 0, 40, 50, 60, 0};
    s.rows = {0, 1, 0, 0};
    image_info opaque;
    ASSERT_EQ(load(opaque, make_bmp(s)), 0);
    EXPECT_EQ(opaque.color[0], 0xFF1E140Au);
    EXPECT_EQ(opaque.color[1], 0xFF3C3228u);

    s.table[7] = 9;
    image_info keyed;
    ASSERT_EQ(load(keyed, make_bmp(s)), 0);
    EXPECT_EQ(keyed.color[0], 0x001E140Au);
    EXPECT_EQ(keyed.color[1], 0x093C3228u);
}

TEST(BmpReader, ColoursUsedLimitsTheTableButNotTheIndices) {
    bmp_spec s;
    s.bits = 8;
    s.width = 3;
    s.colors_used = 2;
    s.table = {1, 1, 1, 0, 2, 2, 2, 0};
    s.rows = {0, 1, 200, 0};
    image_info img;
    ASSERT_EQ(load(img, make_bmp(s)), 0);
    EXPECT_EQ(img.color_num, 2);
    ASSERT_EQ(img.color.size(), 256u);
    for (size_t i = 2; i < 256; ++i)
        ASSERT_EQ(img.color[i], 0u);
    EXPECT_EQ(img.get_pos_color(2), 0u);  // index past the table shows colour 0
    EXPECT_EQ(img.color_cnt[200], 1);
}

TEST(BmpReader, HonoursLargerInfoHeadersAndThePixelOffset) {
    // A V5 header with a gap before the rows, as many programs write 32-bit files.
    bmp_spec s;
    s.info_size = 124;
    s.width = 2;
    s.height = 2;
    s.gap = 6;
    s.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    image_info img;
    ASSERT_EQ(load(img, make_bmp(s)), 0);
    EXPECT_EQ(img.argb_buff,
              (std::vector<uint32_t>{0x0C0B0A09, 0x100F0E0D, 0x04030201, 0x08070605}));

    // An 8-bit V4 file: the colour table follows the 108-byte header.
    bmp_spec p;
    p.info_size = 108;
    p.bits = 8;
    p.colors_used = 1;
    p.table = {7, 8, 9, 0};
    p.rows = {0, 0, 0, 0};
    image_info pal;
    ASSERT_EQ(load(pal, make_bmp(p)), 0);
    EXPECT_EQ(pal.color[0], 0xFF090807u);

    // An offset pointing into the headers is not trusted: rows follow the table.
    p.honest_offset = false;
    p.rows = {0, 0, 0, 0};
    image_info fallback;
    ASSERT_EQ(load(fallback, make_bmp(p)), 0);
    EXPECT_EQ(fallback.get_pos_color(0), 0xFF090807u);
}

TEST(BmpReader, DeclinesVariantsItDoesNotDecodeAndChangesNothing) {
    auto variant = [](auto change) {
        bmp_spec s;
        s.rows = bytes(64, 0x11);
        change(s);
        return make_bmp(s);
    };
    const bytes cases[] = {
        variant([](bmp_spec& s) { s.compression = 1; }),
        variant([](bmp_spec& s) { s.compression = 3; }),
        variant([](bmp_spec& s) { s.height = -1; }),
        variant([](bmp_spec& s) { s.height = 0; }),
        variant([](bmp_spec& s) { s.width = 0; }),
        variant([](bmp_spec& s) { s.width = INT32_MIN; }),
        variant([](bmp_spec& s) { s.bits = 1; }),
        variant([](bmp_spec& s) { s.bits = 16; }),
        variant([](bmp_spec& s) { s.bits = 33; }),
        variant([](bmp_spec& s) { s.info_size = 12; }),
        variant([](bmp_spec& s) { s.width = 32769; }),
        variant([](bmp_spec& s) { s.width = 32768, s.height = 8193; }),
        variant([](bmp_spec& s) { s.width = INT32_MAX, s.height = INT32_MAX; }),
    };
    for (const bytes& f : cases) {
        auto img = test::make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load(img, f), -2);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
    image_info other;
    EXPECT_EQ(load(other, bytes{'B', 'X', 0, 0}), -1);
    EXPECT_EQ(load(other, bytes{}), -1);
    EXPECT_EQ(other.flag, 0);
}

TEST(BmpReader, TruncatedAndCorruptedFilesNeverReadOutside) {
    std::vector<uint32_t> pal(16, 0xFF102030);
    auto img = test::make_indexed(IMGTYP_16, 9, 5, pal, std::vector<int32_t>(45, 7));
    const bytes whole = save(img);
    for (size_t n = 0; n < whole.size(); ++n) {
        image_info part;
        const bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const int r = load(part, cut);
        if (n < 2) {
            EXPECT_EQ(r, -1);
        } else if (n < 29) {
            EXPECT_EQ(r, -2) << n;  // no bit depth yet: it reads as 0
        } else {
            // Everything after the depth may be missing: zeros are valid
            // values for all later fields, and missing rows read as index 0.
            ASSERT_EQ(r, 0) << n;
            ASSERT_EQ(part.index_buff.size(), 45u);
            for (int32_t i : part.index_buff)
                ASSERT_TRUE(i == 0 || i == 7) << n;
            // The top image row is the last one stored.
            EXPECT_EQ(part.index_buff.front() == 7, n > 54 + 64 + 4 * 8) << n;
        }
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        bytes f = whole;
        for (int k = 0; k < 4; ++k)
            f[rng() % f.size()] = static_cast<uint8_t>(rng());
        image_info any;
        const int r = load(any, f);
        const bool magic = f[0] == 'B' && f[1] == 'M';
        EXPECT_TRUE(magic ? (r == 0 || r == -2) : r == -1);
        if (r == 0) {
            for (int32_t i : any.index_buff)
                ASSERT_TRUE(i >= 0 && i < 256);
        }
    }
}

}  // namespace
}  // namespace mevra
