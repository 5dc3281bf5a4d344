// Damaged and hostile files: every decoder must either produce a consistent
// picture or fail with a reason, never touch memory outside its buffers
// (the tests run under the address sanitizer) and never leak.
#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "platform/picture_decoder.h"
#include "test_encoders.h"

namespace mevra {
namespace {

using test::bytes;

// The promises decode_picture makes to the load path.
void expect_consistent(const bytes& file, const char* what, size_t variant) {
    decoded_picture pic;
    std::string error;
    if (!decode_picture(file, pic, error)) {
        EXPECT_FALSE(error.empty()) << what << " " << variant;
        return;
    }
    ASSERT_GT(pic.width, 0) << what << " " << variant;
    ASSERT_GT(pic.height, 0) << what << " " << variant;
    const size_t pixels = static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height);
    if (pic.indexed()) {
        ASSERT_TRUE(pic.index_bits == 1 || pic.index_bits == 4 || pic.index_bits == 8);
        ASSERT_GE(pic.palette.size(), 1u);
        ASSERT_LE(pic.palette.size(), 256u);
        ASSERT_EQ(pic.indices.size(), pixels) << what << " " << variant;
        for (uint8_t i : pic.indices)
            ASSERT_LT(i, pic.palette.size()) << what << " " << variant;
    } else {
        ASSERT_EQ(pic.argb.size(), pixels) << what << " " << variant;
    }
}

std::vector<std::pair<const char*, bytes>> sample_files() {
    bytes rgb;
    for (int i = 0; i < 16 * 16; ++i)
        rgb.insert(rgb.end(), {uint8_t(i), uint8_t(i * 7), 90});
    bytes indices(12 * 5);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<uint8_t>(i % 16);
    std::vector<uint32_t> palette16(16);
    for (uint32_t i = 0; i < 16; ++i)
        palette16[i] = i * 0x0F0F0F;
    // Four rows of a run and an absolute packet, then a jump and the end of the picture.
    const bytes rle = {0x04, 0x33, 0x00, 0x03, 0x12, 0x34, 0x00, 0x00,  //
                       0x04, 0x33, 0x00, 0x03, 0x12, 0x34, 0x00, 0x00,  //
                       0x04, 0x33, 0x00, 0x03, 0x12, 0x34, 0x00, 0x00,  //
                       0x04, 0x33, 0x00, 0x03, 0x12, 0x34, 0x00, 0x00,  //
                       0x00, 0x02, 0x01, 0x01, 0x00, 0x01};
    return {
        {"jpeg", test::encode_jpeg(16, 16, 3, rgb)},
        {"tiff", test::encode_tiff_rgb(16, 16, 3, rgb)},
        {"palette tiff", test::encode_tiff_palette(12, 5, 4, palette16, indices)},
        {"gif", test::encode_gif(14, 6, palette16, {1, 1, 12, 5, true}, indices, 3)},
        {"png",
         test::encode_png(16, 16, 8, PNG_COLOR_TYPE_GRAY, bytes(rgb.begin(), rgb.begin() + 256))},
        {"palette png",
         test::encode_png(12, 5, 2, PNG_COLOR_TYPE_PALETTE, bytes(15, 0x6C), {1, 2, 3, 4}, {0})},
        {"webp", test::encode_webp_lossless(8, 8, std::vector<uint32_t>(64, 0x80FF8000))},
        {"rle4 bmp", test::make_bmp(test::bmp_info(40, 6, 5, 4, 2), bytes(64, 9), rle)},
        {"bitfield bmp", test::make_bmp(test::bmp_info(124, 5, -3, 16, 3, 0, {0xF800, 0x7E0, 0x1F}),
                                        {}, bytes(24, 0x5A))},
    };
}

TEST(HostileInput, TruncatedFilesFailCleanlyOrStayConsistent) {
    for (const auto& [what, file] : sample_files()) {
        expect_consistent(file, what, file.size());
        for (size_t length = 0; length < file.size(); ++length)
            expect_consistent(
                bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)), what,
                length);
    }
}

TEST(HostileInput, CorruptedBytesFailCleanlyOrStayConsistent) {
    std::mt19937 random(1234);
    for (const auto& [what, file] : sample_files()) {
        for (size_t round = 0; round < 300; ++round) {
            bytes damaged = file;
            const size_t hits = 1 + random() % 4;
            for (size_t h = 0; h < hits; ++h) {
                // Keep the magic so the damage reaches the decoder behind it.
                const size_t at = 4 + random() % (damaged.size() - 4);
                damaged[at] = static_cast<uint8_t>(random());
            }
            expect_consistent(damaged, what, round);
        }
    }
}

// A little-endian TIFF with other width and height values in its first IFD.
bytes with_tiff_size(bytes f, uint32_t width, uint32_t height) {
    auto u16 = [&f](size_t at) { return uint32_t{f[at]} | uint32_t{f[at + 1]} << 8; };
    for (size_t e = 0, ifd = u16(4) | u16(6) << 16; e < u16(ifd); ++e) {
        const size_t entry = ifd + 2 + 12 * e, tag = u16(entry);
        for (int k = 0; k < 4 && (tag == 256 || tag == 257); ++k)  // SHORT values: first 2 bytes
            f[entry + 8 + k] = static_cast<uint8_t>((tag == 256 ? width : height) >> (8 * k));
    }
    return f;
}

TEST(HostileInput, OversizedPicturesAreRefusedBeforeAllocating) {
    auto refused = [](const bytes& file) {
        decoded_picture pic;
        std::string error;
        return !decode_picture(file, pic, error) && !error.empty();
    };
    EXPECT_TRUE(refused(test::encode_jpeg(40000, 1, 1, bytes(40000, 0))));
    EXPECT_TRUE(refused(test::encode_tiff_rgb(40000, 1, 1, bytes(40000, 0))));
    EXPECT_TRUE(refused(test::encode_png(40000, 1, 1, PNG_COLOR_TYPE_GRAY, bytes(5000, 0))));
    EXPECT_TRUE(refused(test::encode_gif(65535, 65535, {0, 1}, {0, 0, 1, 1, false}, {0}, -1)));
    EXPECT_TRUE(refused(test::encode_gif(4, 4, {0, 1}, {0, 0, 40000, 1, false}, bytes(40000), -1)));
    // More than 2^28 pixels with both sides in range, and the most negative height.
    EXPECT_TRUE(refused(test::make_bmp(test::bmp_info(40, 32768, 8193, 8, 1), {}, {})));
    EXPECT_TRUE(refused(test::make_bmp(test::bmp_info(40, 4, INT32_MIN, 24, 0), {}, {})));
    EXPECT_TRUE(refused(test::make_bmp(test::bmp_info(40, 0, 4, 24, 0), {}, {})));
    // A few hundred bytes of LZW data cannot fill 32768 x 8192 pixels: refused
    // before the picture's buffer is allocated, while the true size reads.
    const bytes tiff = test::encode_tiff_rgb(16, 16, 3, bytes(16 * 16 * 3, 40));
    decoded_picture pic;
    std::string error;
    ASSERT_TRUE(decode_picture(with_tiff_size(tiff, 16, 16), pic, error)) << error;
    EXPECT_FALSE(decode_picture(with_tiff_size(tiff, 32768, 8192), pic, error));
    EXPECT_EQ(error, "the TIFF image data is too short for its size");
}

}  // namespace
}  // namespace mevra
