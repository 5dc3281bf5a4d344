// The PNG writer's own image data: libdeflate streams cut into strips and
// joined into one zlib stream, checked by decoding with zlib and libpng.
#include <gtest/gtest.h>
#include <libdeflate.h>
#include <zlib.h>

#include <random>

#include "raw_png_reader.h"
#include "formats/deflate_join.h"

namespace mevra {
namespace {

using namespace test;

bytes raw_deflate(const bytes& data, int level) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    bytes out(libdeflate_deflate_compress_bound(c, data.size()));
    out.resize(libdeflate_deflate_compress(c, data.data(), data.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

// zlib's inflation of a raw stream; empty unless it decodes completely.
bytes raw_inflate(const bytes& stream, size_t expected) {
    bytes out(expected + 1);
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<uint8_t*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int r = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    const bool whole = r == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return whole ? out : bytes{};
}

TEST(DeflateJoin, JoinedStreamsInflateToTheJoinedData) {
    // Sizes, contents and levels vary so that the last block's end falls on
    // every bit of its byte, and stored, fixed and dynamic blocks all come last.
    std::mt19937 rng(3);
    for (int round = 0; round < 60; ++round) {
        bytes first(rng() % 70000), second(rng() % 5000);
        const uint32_t spread = 1 + rng() % 255;
        for (auto& b : first)
            b = static_cast<uint8_t>(rng() % spread);
        for (auto& b : second)
            b = static_cast<uint8_t>(rng() % 7);
        bytes joined = raw_deflate(first, 1 + round % 12);
        ASSERT_TRUE(deflate_join::make_continuable(joined)) << round;
        const bytes tail = raw_deflate(second, 6);
        joined.insert(joined.end(), tail.begin(), tail.end());
        bytes expected = first;
        expected.insert(expected.end(), second.begin(), second.end());
        ASSERT_EQ(raw_inflate(joined, expected.size()), expected) << round;
    }
    bytes broken = raw_deflate(bytes(1000, 7), 6);
    broken.pop_back();
    const bytes before = broken;
    EXPECT_FALSE(deflate_join::make_continuable(broken));
    EXPECT_EQ(broken, before);
    bytes empty;
    EXPECT_FALSE(deflate_join::make_continuable(empty));
}

TEST(PngWriter, LibpngReadsBackTheSamePixelsInOneAndTwoStrips) {
    // Under and over the size at which the rows are compressed in two strips.
    for (const auto& [w, h] : {std::pair{61, 17}, std::pair{733, 509}}) {
        const image_info photo = make_photo_like(w, h, 9, true);
        const raw_png rgba = read_raw(saved_as(photo, IMGFMT_PNG), true);
        ASSERT_EQ(rgba.color_type, PNG_COLOR_TYPE_RGB_ALPHA);
        ASSERT_EQ(rgba.rows.size(), size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t c = photo.argb_buff[size_t(y * w + x)];
                const uint8_t* p = &rgba.rows[size_t(y)][size_t(4 * x)];
                ASSERT_EQ(uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2],
                          c)
                    << w << "x" << h << " at " << x << "," << y;
            }

        // Indexed images, 8-bit twice the width so that they reach two strips too.
        std::vector<uint32_t> palette(256);
        for (uint32_t i = 0; i < 256; ++i)
            palette[i] = 0xFF000000u | i * 0x010203u;
        std::vector<int32_t> index(size_t(2 * w * h));
        std::mt19937 rng(4);
        for (auto& i : index)
            i = static_cast<int32_t>(rng() % 3 + (&i - index.data()) % 200);
        for (const int type : {IMGTYP_256, IMGTYP_16}) {
            std::vector<int32_t> idx = index;
            if (type == IMGTYP_16)
                for (auto& i : idx)
                    i &= 15;
            const image_info img = make_indexed(type, 2 * w, h, palette, idx);
            const raw_png back = read_raw(saved_as(img, IMGFMT_PNG), true);
            ASSERT_EQ(back.depth, type == IMGTYP_256 ? 8 : 4);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < 2 * w; ++x) {
                    const uint8_t byte = back.rows[size_t(y)][size_t(type == IMGTYP_256 ? x : x / 2)];
                    const int got = type == IMGTYP_256 ? byte : (x % 2 ? byte & 15 : byte >> 4);
                    ASSERT_EQ(got, idx[size_t(y * 2 * w + x)]) << type << " at " << x << "," << y;
                }
        }
    }
}

}  // namespace
}  // namespace mevra
