#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <random>

#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using bytes = std::vector<uint8_t>;

// A PNG made directly with libpng, so the tests can choose every header value.
struct png_spec {
    uint32_t width = 1;
    uint32_t height = 1;
    int depth = 8;
    int color_type = PNG_COLOR_TYPE_RGB_ALPHA;
    int interlace = PNG_INTERLACE_NONE;
    std::vector<png_color> palette;
    bytes trns;
    bool trns_key = false;    // an RGB colour key
    std::vector<bytes> rows;  // raw rows as stored
};

void append(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

bytes make_png(const png_spec& s) {
    bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "test PNG could not be made";
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, append, nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.depth, s.color_type, s.interlace, 0, 0);
    if (!s.palette.empty())
        png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.trns.empty())
        png_set_tRNS(png, info, s.trns.data(), static_cast<int>(s.trns.size()), nullptr);
    png_color_16 key{0, 10, 20, 30, 0};
    if (s.trns_key) png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const bytes& r : s.rows)
        rows.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The stored rows and tRNS table of a PNG file, read with no transforms.
struct raw_png {
    int depth = 0;
    int color_type = 0;
    std::vector<bytes> rows;
    bytes trns;
};

struct memory_source {
    const bytes* data;
    size_t pos;
};
void take(png_structp png, png_bytep out, size_t n) {
    auto* src = static_cast<memory_source*>(png_get_io_ptr(png));
    if (src->pos + n > src->data->size()) png_error(png, "short");
    std::copy_n(src->data->begin() + static_cast<std::ptrdiff_t>(src->pos), n, out);
    src->pos += n;
}

raw_png read_raw(const bytes& file) {
    raw_png r;
    memory_source src{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "written PNG does not decode";
        png_destroy_read_struct(&png, &info, nullptr);
        return r;
    }
    png_set_read_fn(png, &src, take);
    png_read_info(png, info);
    png_uint_32 w, h;
    png_get_IHDR(png, info, &w, &h, &r.depth, &r.color_type, nullptr, nullptr, nullptr);
    png_bytep t = nullptr;
    int n = 0;
    if (png_get_tRNS(png, info, &t, &n, nullptr)) r.trns.assign(t, t + n);
    r.rows.assign(h, bytes(png_get_rowbytes(png, info)));
    std::vector<png_bytep> ptr;
    for (auto& row : r.rows)
        ptr.push_back(row.data());
    png_read_image(png, ptr.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return r;
}

int load(image_info& img, const bytes& file) {
    byte_reader in(file);
    return img.file_load_png(in);
}

bytes save(const image_info& img) {
    test::temp_dir dir;
    std::string error;
    EXPECT_EQ(img.file_save_png(dir.file("out.png"), error), 0) << error;
    return test::read_bytes(dir.file("out.png"));
}

TEST(PngWriter, FullColourKeepsAlphaThroughRgba) {
    auto img = test::make_argb(2, 2, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x7F0000FF});
    const bytes f = save(img);
    const raw_png raw = read_raw(f);
    EXPECT_EQ(raw.color_type, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(raw.depth, 8);
    EXPECT_EQ(raw.rows[0], (bytes{0xFF, 0, 0, 0x80, 0, 0, 0, 0}));  // stored as RGBA
    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_RGB);
    EXPECT_EQ(back.format, IMGFMT_PNG);
    EXPECT_EQ(back.argb_buff, img.argb_buff);
}

TEST(PngWriter, OpaquePaletteStillGetsFullTransparencyTable) {
    std::vector<uint32_t> pal(256);
    for (uint32_t i = 0; i < 256; ++i)
        pal[i] = 0xFF000000 | (i * 0x030507u & 0xFFFFFF);
    std::vector<int32_t> idx(6 * 4);
    for (size_t p = 0; p < idx.size(); ++p)
        idx[p] = static_cast<int32_t>(255 - p * 11);
    auto img = test::make_indexed(IMGTYP_256, 6, 4, pal, idx);
    const bytes f = save(img);
    const raw_png raw = read_raw(f);
    EXPECT_EQ(raw.color_type, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(raw.depth, 8);
    EXPECT_EQ(raw.trns, bytes(256, 255));
    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color_num, 256);
    EXPECT_EQ(back.color, img.color);
    EXPECT_EQ(back.index_buff, img.index_buff);
}

TEST(PngWriter, SixteenColoursOfOddWidthPackTwoPerByte) {
    auto img =
        test::make_indexed(IMGTYP_16, 5, 1, {0x00000000, 0x80112233, 0xFF445566}, {1, 2, 0, 1, 2});
    const bytes f = save(img);
    const raw_png raw = read_raw(f);
    EXPECT_EQ(raw.depth, 4);
    ASSERT_EQ(raw.rows.size(), 1u);
    EXPECT_EQ(raw.rows[0], (bytes{0x12, 0x01, 0x20}));
    ASSERT_EQ(raw.trns.size(), 16u);
    EXPECT_EQ(raw.trns[1], 0x80);
    image_info back;
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(back.image_type, IMGTYP_16);
    EXPECT_EQ(back.color_num, 16);
    EXPECT_EQ(back.index_buff, img.index_buff);
    EXPECT_EQ(back.color[0], 0x00000000u);
    EXPECT_EQ(back.color[1], 0x80112233u);
    EXPECT_EQ(back.color[3], 0u);
    EXPECT_EQ(back.color_cnt[2], 2);
}

TEST(PngWriter, ReportsWhyNothingWasWritten) {
    test::temp_dir dir;
    std::string error;
    EXPECT_EQ(image_info().file_save_png(dir.file("a.png"), error), -1);
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_EQ(test::make_argb(1, 1, {0}).file_save_png(dir.file("no/a.png"), error), -1);
    EXPECT_FALSE(error.empty());
}

TEST(PngReader, PaletteTransparencyDefaultsToOpaque) {
    png_spec s;
    s.color_type = PNG_COLOR_TYPE_PALETTE;
    s.width = 3;
    s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    s.rows = {{0, 1, 2}};
    image_info none;
    ASSERT_EQ(load(none, make_png(s)), 0);
    EXPECT_EQ(none.color[0], 0xFFFF0000u);
    EXPECT_EQ(none.color[2], 0xFF0000FFu);
    EXPECT_EQ(none.color_num, 256);  // even with a 3-entry palette
    EXPECT_EQ(none.color[3], 0u);

    s.trns = {0x10};  // shorter than the palette
    image_info partial;
    ASSERT_EQ(load(partial, make_png(s)), 0);
    EXPECT_EQ(partial.color[0], 0x10FF0000u);
    EXPECT_EQ(partial.color[1], 0xFF00FF00u);
}

TEST(PngReader, FourBitPaletteLoadsAsSixteenColours) {
    png_spec s;
    s.color_type = PNG_COLOR_TYPE_PALETTE;
    s.depth = 4;
    s.width = 3;
    s.height = 2;
    s.palette = {{1, 2, 3}, {4, 5, 6}};
    s.rows = {{0x01, 0x10}, {0x11, 0x00}};
    image_info img;
    ASSERT_EQ(load(img, make_png(s)), 0);
    EXPECT_EQ(img.image_type, IMGTYP_16);
    EXPECT_EQ(img.color_num, 16);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{0, 1, 1, 1, 1, 0}));
    EXPECT_EQ(img.color_cnt[1], 4);
}

TEST(PngReader, RgbIgnoresColourKeyAndInterlacingIsUndone) {
    png_spec s;
    s.color_type = PNG_COLOR_TYPE_RGB;
    s.width = 2;
    s.trns_key = true;
    s.rows = {{10, 20, 30, 1, 2, 3}};
    image_info rgb;
    ASSERT_EQ(load(rgb, make_png(s)), 0);
    EXPECT_EQ(rgb.argb_buff, (std::vector<uint32_t>{0xFF0A141E, 0xFF010203}));

    png_spec i;
    i.width = 9;
    i.height = 9;
    i.interlace = PNG_INTERLACE_ADAM7;
    std::vector<uint32_t> expect;
    for (uint8_t y = 0; y < 9; ++y) {
        bytes row;
        for (uint8_t x = 0; x < 9; ++x) {
            row.insert(row.end(), {x, y, static_cast<uint8_t>(x * y), static_cast<uint8_t>(x + y)});
            expect.push_back(static_cast<uint32_t>((x + y) << 24 | x << 16 | y << 8 | x * y));
        }
        i.rows.push_back(row);
    }
    image_info inter;
    ASSERT_EQ(load(inter, make_png(i)), 0);
    EXPECT_EQ(inter.argb_buff, expect);
}

TEST(PngReader, LeavesOtherVariantsToThePlatformDecoder) {
    png_spec grey;
    grey.color_type = PNG_COLOR_TYPE_GRAY;
    grey.rows = {{7}};
    png_spec grey_alpha;
    grey_alpha.color_type = PNG_COLOR_TYPE_GRAY_ALPHA;
    grey_alpha.rows = {{7, 8}};
    png_spec deep;
    deep.depth = 16;
    deep.rows = {bytes(8, 1)};
    png_spec two_bit;
    two_bit.color_type = PNG_COLOR_TYPE_PALETTE;
    two_bit.depth = 2;
    two_bit.palette = {{1, 1, 1}};
    two_bit.rows = {{0}};
    for (const png_spec* s : {&grey, &grey_alpha, &deep, &two_bit}) {
        auto img = test::make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load(img, make_png(*s)), -2);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
    image_info none;
    EXPECT_EQ(load(none, bytes{'B', 'M'}), -1);
}

uint32_t chunk_crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

// Overwrites IHDR's width and height and fixes the chunk's CRC.
bytes with_size(bytes f, uint32_t w, uint32_t h) {
    for (int i = 0; i < 4; ++i) {
        f[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
        f[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
    }
    uint32_t crc = chunk_crc(f.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        f[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return f;
}

TEST(PngReader, HostileFilesFailCleanly) {
    const bytes whole = save(test::make_photo_like(13, 11, 3, true));
    for (size_t n = 0; n < whole.size(); ++n) {
        image_info part;
        const int r =
            load(part, bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)));
        // Without IEND the image data is still complete when the cut is late.
        EXPECT_TRUE(n < 8 ? r == -1 : (r == -2 || (r == 0 && n >= whole.size() - 12))) << n;
        if (r != 0) {
            EXPECT_EQ(part.flag, 0);
        }
    }
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{32769, 1},
                        {1, 32769},
                        {32768, 8193},
                        {0, 5},
                        {0x80000000u, 1}}) {
        image_info big;
        EXPECT_EQ(load(big, with_size(whole, w, h)), -2) << w << "x" << h;
    }
    std::mt19937 rng(11);
    for (int round = 0; round < 1500; ++round) {
        bytes f = whole;
        for (int k = 0; k < 3; ++k)
            f[8 + rng() % (f.size() - 8)] = static_cast<uint8_t>(rng());
        image_info any;
        const int r = load(any, f);
        EXPECT_TRUE(r == 0 || r == -2);
    }
}

}  // namespace
}  // namespace mevra
