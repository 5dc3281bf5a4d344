#include <gtest/gtest.h>

#include <random>

#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using bytes = std::vector<uint8_t>;

struct tga_spec {
    uint8_t id_length = 0;
    uint8_t map_type = 0;
    uint8_t image_type = 2;
    uint16_t map_length = 0;
    uint8_t map_bits = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    uint8_t pixel_bits = 32;
    uint8_t descriptor = 0;
};

// Header, ID field (filled with 0xAA), then `body` (colour map and pixels).
bytes make_tga(const tga_spec& s, const bytes& body) {
    bytes b = {s.id_length,
               s.map_type,
               s.image_type,
               0,
               0,
               static_cast<uint8_t>(s.map_length),
               static_cast<uint8_t>(s.map_length >> 8),
               s.map_bits,
               0,
               0,
               0,
               0,
               static_cast<uint8_t>(s.width),
               static_cast<uint8_t>(s.width >> 8),
               static_cast<uint8_t>(s.height),
               static_cast<uint8_t>(s.height >> 8),
               s.pixel_bits,
               s.descriptor};
    b.insert(b.end(), s.id_length, 0xAA);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

int load(image_info& img, const bytes& file) {
    byte_reader in(file);
    return img.file_load_tga(in);
}

bytes save(const image_info& img) {
    test::temp_dir dir;
    std::string error;
    EXPECT_EQ(img.file_save_tga(dir.file("out.tga"), error), 0) << error;
    return test::read_bytes(dir.file("out.tga"));
}

TEST(TgaWriter, FullColourIsUncompressedBottomUpWithoutFooter) {
    auto img = test::make_argb(2, 2, {0x01020304, 0x05060708, 0x090A0B0C, 0x0D0E0F10});
    const bytes f = save(img);
    const bytes header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
    ASSERT_EQ(f.size(), 18u + 16);
    EXPECT_EQ(bytes(f.begin(), f.begin() + 18), header);
    EXPECT_EQ(bytes(f.begin() + 18, f.begin() + 22), (bytes{0x0C, 0x0B, 0x0A, 0x09}));
    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.format, IMGFMT_TGA);
    EXPECT_EQ(back.argb_buff, img.argb_buff);
}

TEST(TgaWriter, SixteenColoursComeBackAs256WithWholeMap) {
    auto img = test::make_indexed(IMGTYP_16, 3, 1, {0x80102030, 0xFF405060}, {1, 0, 1});
    const bytes f = save(img);
    const bytes header = {0, 1, 1, 0, 0, 0, 1, 32, 0, 0, 0, 0, 3, 0, 1, 0, 8, 8};
    ASSERT_EQ(f.size(), 18u + 1024 + 3);
    EXPECT_EQ(bytes(f.begin(), f.begin() + 18), header);
    EXPECT_EQ(bytes(f.begin() + 18, f.begin() + 22), (bytes{0x30, 0x20, 0x10, 0x80}));
    EXPECT_EQ(bytes(f.end() - 3, f.end()), (bytes{1, 0, 1}));
    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color_num, 256);
    EXPECT_EQ(back.index_buff, img.index_buff);
    EXPECT_EQ(back.color[0], 0x80102030u);
    EXPECT_EQ(back.color_cnt[1], 2);
}

TEST(TgaReader, ColourMapEntrySizes) {
    tga_spec s;
    s.map_type = 1;
    s.image_type = 1;
    s.map_length = 256;
    s.map_bits = 24;
    s.width = 2;
    bytes body;
    for (int i = 0; i < 256; ++i)
        body.insert(body.end(), {static_cast<uint8_t>(i), 1, 2});
    body.insert(body.end(), {255, 3});
    image_info rgb;
    ASSERT_EQ(load(rgb, make_tga(s, body)), 0);
    EXPECT_EQ(rgb.color_num, 256);
    EXPECT_EQ(rgb.color[255], 0xFF0201FFu);
    EXPECT_EQ(rgb.index_buff, (std::vector<int32_t>{255, 3}));

    s.map_bits = 16;
    s.map_length = 1;
    s.width = 1;
    image_info red;
    ASSERT_EQ(load(red, make_tga(s, {0x00, 0x7C, 0})), 0);
    EXPECT_EQ(red.color[0], 0xFFF80000u);

    // 300 entries: 256 are used, the rest are read past to reach the pixels.
    s.map_bits = 32;
    s.map_length = 300;
    s.id_length = 3;
    bytes big(300 * 4, 0x11);
    big.push_back(7);
    image_info many;
    ASSERT_EQ(load(many, make_tga(s, big)), 0);
    EXPECT_EQ(many.color_num, 256);
    EXPECT_EQ(many.index_buff, std::vector<int32_t>{7});
}

TEST(TgaReader, DescriptorChoosesRowOrder) {
    tga_spec s;
    s.pixel_bits = 24;
    s.height = 2;
    const bytes body = {1, 1, 1, 2, 2, 2};
    image_info bottom_up;
    ASSERT_EQ(load(bottom_up, make_tga(s, body)), 0);
    EXPECT_EQ(bottom_up.argb_buff, (std::vector<uint32_t>{0xFF020202, 0xFF010101}));
    s.descriptor = 0x20;
    image_info top_down;
    ASSERT_EQ(load(top_down, make_tga(s, body)), 0);
    EXPECT_EQ(top_down.argb_buff, (std::vector<uint32_t>{0xFF010101, 0xFF020202}));
}

TEST(TgaReader, RunLengthPacketsDecodeLikeRawPixels) {
    tga_spec s;
    s.image_type = 10;
    s.width = 5;
    s.descriptor = 0x20;
    image_info run;
    ASSERT_EQ(load(run, make_tga(s, {0x83, 1, 2, 3, 4, 0x00, 9, 9, 9, 9})), 0);
    EXPECT_EQ(run.argb_buff,
              (std::vector<uint32_t>{0x04030201, 0x04030201, 0x04030201, 0x04030201, 0x09090909}));

    // 16-bit: the same pixels raw and run-length encoded; the top bit is ignored.
    tga_spec raw16;
    raw16.pixel_bits = 16;
    raw16.width = 3;
    image_info plain;
    ASSERT_EQ(load(plain, make_tga(raw16, {0x1F, 0x80, 0x1F, 0x80, 0xE0, 0x03})), 0);
    tga_spec rle16 = raw16;
    rle16.image_type = 10;
    image_info packed;
    ASSERT_EQ(load(packed, make_tga(rle16, {0x81, 0x1F, 0x80, 0x00, 0xE0, 0x03})), 0);
    EXPECT_EQ(plain.argb_buff, (std::vector<uint32_t>{0xFF0000F8, 0xFF0000F8, 0xFF00F800}));
    EXPECT_EQ(packed.argb_buff, plain.argb_buff);
}

TEST(TgaReader, PacketsRunningPastThePictureStopAtItsEnd) {
    tga_spec s;
    s.image_type = 10;
    s.width = 3;
    s.height = 2;
    // A run of 128 and a raw packet of 128 into a 6-pixel picture.
    image_info run;
    ASSERT_EQ(load(run, make_tga(s, {0xFF, 5, 5, 5, 5})), 0);
    EXPECT_EQ(run.argb_buff, std::vector<uint32_t>(6, 0x05050505));
    bytes raw = {0x7F};
    for (int i = 0; i < 128 * 4; ++i)
        raw.push_back(static_cast<uint8_t>(i / 4));
    image_info many;
    ASSERT_EQ(load(many, make_tga(s, raw)), 0);
    // Stored bottom row first.
    EXPECT_EQ(many.argb_buff, (std::vector<uint32_t>{0x03030303, 0x04040404, 0x05050505, 0,
                                                     0x01010101, 0x02020202}));
}

TEST(TgaReader, TrueColourSkipsAColourMapItDoesNotNeed) {
    tga_spec s;
    s.map_type = 1;
    s.map_length = 2;
    s.map_bits = 24;
    s.pixel_bits = 24;
    image_info img;
    ASSERT_EQ(load(img, make_tga(s, {9, 9, 9, 8, 8, 8, 1, 2, 3})), 0);
    EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF030201});
}

TEST(TgaReader, RefusesHeadersItCannotUse) {
    auto variant = [](auto change) {
        tga_spec s;
        change(s);
        return make_tga(s, bytes(64, 1));
    };
    const bytes cases[] = {
        variant([](tga_spec& s) { s.map_type = 2; }),
        variant([](tga_spec& s) { s.image_type = 3; }),
        variant([](tga_spec& s) { s.image_type = 9; }),
        variant([](tga_spec& s) { s.width = 0; }),
        variant([](tga_spec& s) { s.height = 0; }),
        variant([](tga_spec& s) { s.width = 32769; }),
        variant([](tga_spec& s) { s.width = 65535, s.height = 65535; }),
        variant([](tga_spec& s) { s.image_type = 1, s.map_type = 1, s.map_length = 0; }),
        bytes{},
    };
    for (const bytes& f : cases) {
        auto img = test::make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load(img, f), -1);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
}

TEST(TgaReader, ShortAndCorruptedFilesStayInsideTheirBuffers) {
    auto img =
        test::make_indexed(IMGTYP_256, 7, 5, {0xFF0000FF, 0xFF00FF00}, std::vector<int32_t>(35, 1));
    const bytes whole = save(img);
    for (size_t n = 18; n < whole.size(); n += 7) {
        image_info part;
        ASSERT_EQ(load(part, bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n))),
                  0);
        // The missing pixels read as index 0; the bottom row is stored first.
        EXPECT_EQ(part.index_buff.back(), n >= 18 + 1024 + 7 ? 1 : 0) << n;
        EXPECT_EQ(part.index_buff.front(), n > 18 + 1024 + 28 ? 1 : 0) << n;
    }
    tga_spec s;
    s.image_type = 10;
    s.width = 40;
    s.height = 30;
    bytes rle = make_tga(s, {});
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        bytes f = round % 2 ? rle : whole;
        f.resize(f.size() + rng() % 300);
        for (size_t k = 18; k < f.size(); ++k) {
            if (rng() % 4 == 0) f[k] = static_cast<uint8_t>(rng());
        }
        image_info any;
        ASSERT_EQ(load(any, f), 0);
        for (int32_t i : any.index_buff)
            ASSERT_TRUE(i >= 0 && i < 256);
    }
}

}  // namespace
}  // namespace mevra
