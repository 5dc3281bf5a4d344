#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csetjmp>
#include <random>

#include "raw_png_reader.h"
#include "formats/png_idat.h"
#include "platform/picture_decoder.h"

namespace mevra {
namespace {

using namespace test;

// A PNG made directly with libpng, so a test can choose every header value.
struct png_spec {
    uint32_t width = 1, height = 1;
    int depth = 8, color_type = PNG_COLOR_TYPE_RGB_ALPHA, interlace = PNG_INTERLACE_NONE;
    std::vector<png_color> palette;
    bytes trns;
    bool trns_key = false;  // an RGB colour key
    std::vector<bytes> rows;
    int filters = 0;        // PNG_FILTER_* mask to force, 0: libpng's choice
    size_t idat_bytes = 0;  // IDAT chunk size, 0: libpng's default
};

void append(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

bytes make_png(const png_spec& s) {
    bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_write_fn(png, &out, append, nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.depth, s.color_type, s.interlace, 0, 0);
    if (s.filters) png_set_filter(png, 0, s.filters);
    if (s.idat_bytes) png_set_compression_buffer_size(png, s.idat_bytes);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
    if (!s.trns.empty()) png_set_tRNS(png, info, s.trns.data(), int(s.trns.size()), nullptr);
    png_color_16 key{0, 10, 20, 30, 0};
    if (s.trns_key) png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (const bytes& r : s.rows)
            png_write_row(png, r.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST(PngCodec, FullColourSavesAsRgbaAndKeepsAlpha) {
    auto img = make_argb(2, 2, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x7F0000FF});
    const bytes f = saved_as(img, IMGFMT_PNG);
    const raw_png raw = read_raw(f);
    EXPECT_EQ(raw.color_type, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(raw.first_row, (bytes{0xFF, 0, 0, 0x80, 0, 0, 0, 0}));
    image_info back;
    ASSERT_EQ(load_as(back, f, IMGFMT_PNG), 0);
    EXPECT_EQ(back.format, IMGFMT_PNG);
    EXPECT_EQ(back.argb_buff, img.argb_buff);
}

TEST(PngCodec, PalettesAlwaysCarryAFullTransparencyTable) {
    std::vector<uint32_t> pal(256);
    for (uint32_t i = 0; i < 256; ++i)
        pal[i] = 0xFF000000 | (i * 0x030507u & 0xFFFFFF);
    std::vector<int32_t> idx(24);
    for (size_t p = 0; p < idx.size(); ++p)
        idx[p] = static_cast<int32_t>(255 - p * 11);
    auto img = make_indexed(IMGTYP_256, 6, 4, pal, idx);
    const bytes f = saved_as(img, IMGFMT_PNG);
    EXPECT_EQ(read_raw(f).trns, bytes(256, 255));
    image_info back;
    ASSERT_EQ(load_as(back, f, IMGFMT_PNG), 0);
    EXPECT_EQ(back.image_type, IMGTYP_256);
    EXPECT_EQ(back.color, img.color);
    EXPECT_EQ(back.index_buff, img.index_buff);

    // 16 colours, width 5: 3 bytes per row, the last low nibble 0.
    auto four = make_indexed(IMGTYP_16, 5, 1, {0, 0x80112233, 0xFF445566}, {1, 2, 0, 1, 2});
    const raw_png raw = read_raw(saved_as(four, IMGFMT_PNG));
    EXPECT_EQ(raw.depth, 4);
    EXPECT_EQ(raw.first_row, (bytes{0x12, 0x01, 0x20}));
    EXPECT_EQ(raw.trns.size(), 16u);
    ASSERT_EQ(load_as(back, saved_as(four, IMGFMT_PNG), IMGFMT_PNG), 0);
    EXPECT_EQ(back.image_type, IMGTYP_16);
    EXPECT_EQ(back.color_num, 16);
    EXPECT_EQ(back.index_buff, four.index_buff);
    EXPECT_EQ(back.color[1], 0x80112233u);
}

TEST(PngReader, ShortTransparencyTablesAndColourKeys) {
    png_spec s;
    s.color_type = PNG_COLOR_TYPE_PALETTE;
    s.width = 3;
    s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    s.trns = {0x10};
    s.rows = {{0, 1, 2}};
    image_info img;
    ASSERT_EQ(load_as(img, make_png(s), IMGFMT_PNG), 0);
    EXPECT_EQ(img.color[0], 0x10FF0000u);
    EXPECT_EQ(img.color[1], 0xFF00FF00u);
    EXPECT_EQ(img.color_num, 256);  // even with a 3-entry palette
    EXPECT_EQ(img.color[3], 0u);

    png_spec rgb;
    rgb.color_type = PNG_COLOR_TYPE_RGB;
    rgb.trns_key = true;
    rgb.rows = {{10, 20, 30}};
    ASSERT_EQ(load_as(img, make_png(rgb), IMGFMT_PNG), 0);
    EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF0A141E});
}

TEST(PngReader, InterlacedFilesAreUndone) {
    png_spec s;
    s.width = s.height = 9;
    s.interlace = PNG_INTERLACE_ADAM7;
    std::vector<uint32_t> expect;
    for (uint8_t y = 0; y < 9; ++y) {
        bytes row;
        for (uint8_t x = 0; x < 9; ++x) {
            row.insert(row.end(), {x, y, uint8_t(x * y), uint8_t(x + y)});
            expect.push_back(static_cast<uint32_t>((x + y) << 24 | x << 16 | y << 8 | x * y));
        }
        s.rows.push_back(row);
    }
    image_info img;
    ASSERT_EQ(load_as(img, make_png(s), IMGFMT_PNG), 0);
    EXPECT_EQ(img.argb_buff, expect);
}

TEST(PngReader, LeavesOtherVariantsToThePlatformDecoder) {
    const png_spec variants[] = {
        {1, 1, 8, PNG_COLOR_TYPE_GRAY, 0, {}, {}, false, {{7}}},
        {1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, 0, {}, {}, false, {{7, 8}}},
        {1, 1, 16, PNG_COLOR_TYPE_RGB, 0, {}, {}, false, {bytes(6)}},
        {1, 1, 2, PNG_COLOR_TYPE_PALETTE, 0, {{1, 1, 1}}, {}, false, {{0}}}};
    for (const png_spec& s : variants) {
        auto img = make_argb(1, 1, {0xFF123456});
        EXPECT_EQ(load_as(img, make_png(s), IMGFMT_PNG), -2);
        EXPECT_EQ(img.argb_buff, std::vector<uint32_t>{0xFF123456});
        EXPECT_EQ(img.format, IMGFMT_NONE);
    }
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

// The file with other IHDR width and height and a matching CRC.
bytes with_size(bytes f, uint32_t w, uint32_t h) {
    for (int i = 0; i < 4; ++i) {
        f[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
        f[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
    }
    const uint32_t crc = chunk_crc(f.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        f[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return f;
}

TEST(PngReader, HostileFilesFailCleanly) {
    const bytes whole = saved_as(make_photo_like(13, 11, 3, true), IMGFMT_PNG);
    for (size_t n = 0; n < whole.size(); ++n) {
        image_info part;
        const int r = load_as(part, cut(whole, n), IMGFMT_PNG);
        // Only a cut inside the closing IEND chunk leaves the pixels whole.
        ASSERT_EQ(r, n < 8 ? -1 : n >= whole.size() - 12 ? 0 : -2) << n;
        EXPECT_EQ(part.flag, r == 0 ? 1 : 0);
    }
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{32769, 1}, {32768, 8193}, {0, 5}}) {
        image_info big;
        EXPECT_EQ(load_as(big, with_size(whole, w, h), IMGFMT_PNG), -2) << w << "x" << h;
    }
    std::mt19937 rng(11);
    for (int round = 0; round < 1500; ++round) {
        bytes f = whole;
        for (int k = 0; k < 3; ++k)
            f[8 + rng() % (f.size() - 8)] = static_cast<uint8_t>(rng());
        image_info any;
        const int r = load_as(any, f, IMGFMT_PNG);
        ASSERT_TRUE(r == 0 || r == -2);
    }
}

// A file of a few hundred bytes that declares 32768 x 8192 pixels cannot
// fill them: both PNG paths refuse it without touching a buffer of that size.
// Measured in a child process, whose peak memory is its own.
TEST(PngReader, TinyFilesDeclaringHugePicturesTouchLittleMemory) {
    const bytes rgba = with_size(saved_as(make_photo_like(13, 11, 3, true), IMGFMT_PNG), 32768, 8192);
    png_spec grey_spec;
    grey_spec.width = 8;
    grey_spec.height = 2;
    grey_spec.color_type = PNG_COLOR_TYPE_GRAY;
    grey_spec.rows.assign(2, bytes(8, 7));
    const bytes grey = with_size(make_png(grey_spec), 32768, 8192);
    ASSERT_LT(rgba.size(), 2000u);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        image_info img;
        decoded_picture pic;
        std::string error;
        const bool refused =
            load_as(img, rgba, IMGFMT_PNG) != 0 && !decode_picture(grey, pic, error);
        getrusage(RUSAGE_SELF, &after);
        const long grown_kib = after.ru_maxrss - before.ru_maxrss;
        _exit(!refused ? 1 : grown_kib > 64 * 1024 ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not refused, 2: more than 64 MiB touched";
}

// Rows of a busy picture: every filter predicts something different.
std::vector<bytes> busy_rows(uint32_t width, uint32_t height, size_t bytes_per_pixel,
                             uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<bytes> rows(height, bytes(width * bytes_per_pixel));
    for (uint32_t y = 0; y < height; ++y)
        for (size_t k = 0; k < rows[y].size(); ++k)
            rows[y][k] = static_cast<uint8_t>(k * 3 + y * 5 + rng() % 9);
    return rows;
}

// Offset of the first IDAT chunk's data, as libpng leaves the reader there.
size_t first_idat_data(const bytes& f) {
    for (size_t p = 8; p + 8 <= f.size();) {
        const size_t length = size_t{f[p]} << 24 | size_t{f[p + 1]} << 16 |
                              size_t{f[p + 2]} << 8 | f[p + 3];
        if (std::equal(f.begin() + long(p) + 4, f.begin() + long(p) + 8, "IDAT")) return p + 8;
        p += 12 + length;
    }
    return 0;
}

TEST(PngReader, FastImageDataMatchesTheRowsForEveryFilterAndChunking) {
    struct variant {
        int color_type, depth;
        size_t bpp;
    };
    for (const variant v : {variant{PNG_COLOR_TYPE_RGB, 8, 3}, {PNG_COLOR_TYPE_RGB_ALPHA, 8, 4},
                            {PNG_COLOR_TYPE_PALETTE, 8, 1}, {PNG_COLOR_TYPE_PALETTE, 4, 1}}) {
        for (int filters : {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG,
                            PNG_FILTER_PAETH, PNG_ALL_FILTERS}) {
            png_spec s;
            s.color_type = v.color_type;
            s.depth = v.depth;
            s.width = 37;
            s.height = 23;
            s.filters = filters;
            s.idat_bytes = filters == PNG_ALL_FILTERS ? 64 : 0;  // many small chunks
            const size_t row_bytes = v.depth == 4 ? (s.width + 1) / 2 : s.width * v.bpp;
            s.rows = busy_rows(static_cast<uint32_t>(row_bytes / v.bpp), s.height, v.bpp, 5);
            if (v.color_type == PNG_COLOR_TYPE_PALETTE) s.palette.assign(1u << v.depth, {1, 2, 3});
            const bytes f = make_png(s);
            png::idat_layout layout{s.height, row_bytes, v.bpp, true};
            bytes out;
            ASSERT_TRUE(png::decode_idat(f, first_idat_data(f), layout, out)) << filters;
            for (uint32_t y = 0; y < s.height; ++y)
                ASSERT_TRUE(std::equal(s.rows[y].begin(), s.rows[y].end(),
                                       out.begin() + long(y * (row_bytes + 1) + 1)))
                    << "colour type " << v.color_type << ", filters " << filters << ", row " << y;

            // Damage is left to libpng: a wrong CRC, a cut, a wrong place.
            bytes bad = f;
            bad[first_idat_data(f) + 2] ^= 1;
            EXPECT_FALSE(png::decode_idat(bad, first_idat_data(f), layout, out));
            EXPECT_FALSE(png::decode_idat(cut(f, first_idat_data(f) + 5), first_idat_data(f),
                                          layout, out));
            EXPECT_FALSE(png::decode_idat(f, 20, layout, out));
            layout.height += 1;  // more rows than the stream holds
            EXPECT_FALSE(png::decode_idat(f, first_idat_data(f), layout, out));
        }
    }
}

// Files libpng wrote with each filter forced, 8 and 16 bits, plain and
// interlaced, give their pixels; what the writer makes, libpng reads back.
// libpng is the independent judge of every predictor, Paeth's ties included.
TEST(PngFilters, AgreeWithLibpngBothWays) {
    for (const int depth : {8, 16})
        for (const int interlace : {PNG_INTERLACE_NONE, PNG_INTERLACE_ADAM7})
            for (const int filters : {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                                      PNG_FILTER_AVG, PNG_FILTER_PAETH}) {
                png_spec s;
                s.width = 19;
                s.height = 13;
                s.depth = depth;
                s.interlace = interlace;
                s.filters = filters;
                const size_t sample_bytes = depth / 8;
                s.rows = busy_rows(s.width, s.height, 4 * sample_bytes, 3);
                std::vector<uint32_t> expect;
                for (const bytes& row : s.rows)
                    for (size_t x = 0; x < s.width; ++x) {
                        const uint8_t* p = &row[x * 4 * sample_bytes];  // high bytes first
                        expect.push_back(uint32_t{p[3 * sample_bytes]} << 24 | uint32_t{p[0]} << 16 |
                                         uint32_t{p[sample_bytes]} << 8 | p[2 * sample_bytes]);
                    }
                const bytes file = make_png(s);
                std::vector<uint32_t> got;
                if (depth == 8) {
                    image_info img;
                    ASSERT_EQ(load_as(img, file, IMGFMT_PNG), 0);
                    got = img.argb_buff;
                } else {
                    decoded_picture pic;
                    std::string error;
                    ASSERT_TRUE(decode_picture(file, pic, error)) << error;
                    got = pic.argb;
                }
                EXPECT_EQ(got, expect) << "depth " << depth << ", interlace " << interlace
                                       << ", filters " << filters;
            }

    const image_info photo = make_photo_like(41, 29, 8, true);
    const raw_png raw = read_raw(saved_as(photo, IMGFMT_PNG), true);
    ASSERT_EQ(raw.color_type, PNG_COLOR_TYPE_RGB_ALPHA);
    ASSERT_EQ(raw.depth, 8);
    std::vector<uint32_t> read;
    for (const bytes& row : raw.rows)
        for (size_t x = 0; x < row.size(); x += 4)
            read.push_back(uint32_t{row[x + 3]} << 24 | uint32_t{row[x]} << 16 | uint32_t{row[x + 1]} << 8 | row[x + 2]);
    EXPECT_EQ(read, photo.argb_buff);
}

TEST(PngWriter, FailsWithAReason) {
    temp_dir dir;
    std::string error;
    EXPECT_EQ(image_info().file_save_png(dir.file("a.png"), error), -1);
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_EQ(make_argb(1, 1, {0}).file_save_png(dir.file("no/a.png"), error), -1);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace mevra
