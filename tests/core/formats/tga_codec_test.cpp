#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "codec_test_files.h"

namespace mevra {
namespace {

using namespace test;

struct tga_spec {
    uint8_t id_length = 0, map_type = 0, image_type = 2;
    uint16_t map_length = 0;
    uint8_t map_bits = 0;
    uint16_t width = 1, height = 1;
    uint8_t pixel_bits = 32, descriptor = 0;
};

// Header, an ID field of 0xAA bytes, then `body` (colour map and pixels).
bytes make_tga(const tga_spec& s, const bytes& body) {
    bytes b = {s.id_length, s.map_type, s.image_type, 0, 0};
    put_le(b, s.map_length, 2);
    b.push_back(s.map_bits);
    put_le(b, 0);
    put_le(b, s.width, 2);
    put_le(b, s.height, 2);
    b.insert(b.end(), {s.pixel_bits, s.descriptor});
    b.insert(b.end(), s.id_length, 0xAA);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

TEST(TgaCodec, WrittenLayoutsAndRoundTrips) {
    auto argb = make_argb(2, 2, {0x01020304, 0x05060708, 0x090A0B0C, 0x0D0E0F10});
    bytes f = saved_as(argb, IMGFMT_TGA);
    ASSERT_EQ(f.size(), 18u + 16);  // no ID field, no footer
    EXPECT_EQ(cut(f, 22),
              (bytes{0,    0,    2,    0,   0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8,  //
                     0x0C, 0x0B, 0x0A, 0x09}));  // bottom row
    image_info back;
    ASSERT_EQ(load_as(back, f, IMGFMT_TGA), 0);
    EXPECT_EQ(back.format, IMGFMT_TGA);
    EXPECT_EQ(back.argb_buff, argb.argb_buff);

    auto sixteen = make_indexed(IMGTYP_16, 3, 1, {0x80102030, 0xFF405060}, {1, 0, 1});
    f = saved_as(sixteen, IMGFMT_TGA);
    ASSERT_EQ(f.size(), 18u + 1024 + 3);
    EXPECT_EQ(cut(f, 22),
              (bytes{0,    1,    1,    0,   0, 0, 1, 32, 0, 0, 0, 0, 3, 0, 1, 0, 8, 8,  //
                     0x30, 0x20, 0x10, 0x80}));
    ASSERT_EQ(load_as(back, f, IMGFMT_TGA), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color_num, 256);
    EXPECT_EQ(back.index_buff, sixteen.index_buff);
    EXPECT_EQ(back.color[0], 0x80102030u);
}

TEST(TgaReader, ColourMapsAndRowOrder) {
    tga_spec s;
    s.map_type = s.image_type = 1;
    s.map_bits = 16;
    s.map_length = 1;
    image_info img;
    ASSERT_EQ(load_as(img, make_tga(s, {0x00, 0x7C, 0}), IMGFMT_TGA), 0);
    EXPECT_EQ(img.color[0], 0xFFF80000u);  // 5-bit red expands to 248

    s.map_bits = 24;  // 300 entries: 256 used, the rest read past
    s.map_length = 300;
    s.id_length = 3;
    s.height = 2;
    bytes body(300 * 3, 0x11);
    body.push_back(7);
    body.push_back(9);
    ASSERT_EQ(load_as(img, make_tga(s, body), IMGFMT_TGA), 0);
    EXPECT_EQ(img.color_num, 256);
    EXPECT_EQ(img.color[255], 0xFF111111u);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{9, 7}));  // first stored row at the bottom
    s.descriptor = 0x20;
    ASSERT_EQ(load_as(img, make_tga(s, body), IMGFMT_TGA), 0);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{7, 9}));

    tga_spec t;  // true colour with a colour map: the pixels follow the map
    t.map_type = 1;
    t.map_length = 2;
    t.map_bits = t.pixel_bits = 24;
    ASSERT_EQ(load_as(img, make_tga(t, {9, 9, 9, 8, 8, 8, 1, 2, 3}), IMGFMT_TGA), 0);
    EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF030201});
}

TEST(TgaReader, RunLengthPacketsStopAtTheEndOfThePicture) {
    tga_spec s;
    s.image_type = 10;
    s.width = 5;
    s.descriptor = 0x20;
    image_info img;
    ASSERT_EQ(load_as(img, make_tga(s, {0x83, 1, 2, 3, 4, 0x00, 9, 9, 9, 9}), IMGFMT_TGA), 0);
    EXPECT_EQ(img.argb_buff,
              (std::vector<uint32_t>{0x04030201, 0x04030201, 0x04030201, 0x04030201, 0x09090909}));
    // 16-bit run and raw packets decode alike; the top bit is ignored.
    s.pixel_bits = 16;
    s.width = 3;
    ASSERT_EQ(load_as(img, make_tga(s, {0x81, 0x1F, 0x80, 0x00, 0xE0, 0x03}), IMGFMT_TGA), 0);
    EXPECT_EQ(img.argb_buff, (std::vector<uint32_t>{0xFF0000F8, 0xFF0000F8, 0xFF00F800}));

    // Packets of 128 into a 3 × 2 picture, stored bottom row first.
    s.pixel_bits = 32;
    s.height = 2;
    s.descriptor = 0;
    ASSERT_EQ(load_as(img, make_tga(s, {0xFF, 5, 5, 5, 5}), IMGFMT_TGA), 0);
    EXPECT_EQ(img.argb_buff, std::vector<uint32_t>(6, 0x05050505));
    bytes raw = {0x7F};
    for (int i = 0; i < 128 * 4; ++i)
        raw.push_back(static_cast<uint8_t>(i / 4));
    ASSERT_EQ(load_as(img, make_tga(s, raw), IMGFMT_TGA), 0);
    EXPECT_EQ(img.argb_buff, (std::vector<uint32_t>{0x03030303, 0x04040404, 0x05050505, 0,
                                                    0x01010101, 0x02020202}));
}

TEST(TgaReader, RefusesHeadersItCannotUseAndChangesNothing) {
    const std::function<void(tga_spec&)> changes[] = {
        [](tga_spec& s) { s.map_type = 2; },  [](tga_spec& s) { s.image_type = 9; },
        [](tga_spec& s) { s.width = 0; },     [](tga_spec& s) { s.height = 0; },
        [](tga_spec& s) { s.width = 32769; }, [](tga_spec& s) { s.width = s.height = 20000; },
        [](tga_spec& s) { s.image_type = 1; }};  // colour-mapped without a map
    for (const auto& change : changes) {
        tga_spec s;
        change(s);
        auto img = make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load_as(img, make_tga(s, bytes(64, 1)), IMGFMT_TGA), -1);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
}

TEST(TgaReader, ShortAndCorruptedFilesStayInBounds) {
    auto img = make_indexed(IMGTYP_256, 7, 5, {1, 2}, std::vector<int32_t>(35, 1));
    const bytes whole = saved_as(img, IMGFMT_TGA);
    for (size_t n = 18; n < whole.size(); n += 5) {
        image_info part;
        ASSERT_EQ(load_as(part, cut(whole, n), IMGFMT_TGA), 0);  // missing bytes read as 0
        EXPECT_EQ(part.index_buff.back(), n >= 18 + 1024 + 7 ? 1 : 0) << n;
    }
    tga_spec s;
    s.image_type = 10;
    s.width = 40;
    s.height = 30;
    const bytes rle = make_tga(s, {});
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        bytes f = round % 2 ? rle : whole;
        f.resize(f.size() + rng() % 300);
        for (size_t k = 18; k < f.size(); ++k)
            if (rng() % 4 == 0) f[k] = static_cast<uint8_t>(rng());
        image_info any;
        ASSERT_EQ(load_as(any, f, IMGFMT_TGA), 0);
    }
}

}  // namespace
}  // namespace mevra
