#include <gtest/gtest.h>

#include <cstdlib>

#include "core/platform/encode_readback.h"
#include "platform/picture_encoder.h"
#include "support/test_support.h"

namespace mevra {
namespace {

platform_bitmap photo_bitmap(int width, int height) {
    image_info photo = test::make_photo_like(width, height, 42);
    platform_bitmap b;
    b.width = width;
    b.height = height;
    b.argb = photo.argb_buff;
    return b;
}

double mean_channel_error(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum / (a.size() * 3.0);
}

TEST(EncodeJpeg, PhotographReadsBackCloseAndQualityMatters) {
    platform_bitmap b = photo_bitmap(123, 77);
    std::vector<uint8_t> high, low;
    std::string error;
    ASSERT_TRUE(encode_jpeg(b, 95, high, error)) << error;
    ASSERT_TRUE(encode_jpeg(b, 10, low, error)) << error;
    EXPECT_LT(low.size(), high.size());

    test::jpeg_readback jpg = test::read_jpeg(high);
    ASSERT_TRUE(jpg.ok);
    EXPECT_EQ(jpg.width, 123);
    EXPECT_EQ(jpg.height, 77);
    EXPECT_EQ(jpg.components, 3);
    EXPECT_LT(mean_channel_error(jpg.rgb, b.argb), 4.0);
    test::jpeg_readback rough = test::read_jpeg(low);
    ASSERT_TRUE(rough.ok);
    EXPECT_LT(mean_channel_error(rough.rgb, b.argb), 20.0);
}

TEST(EncodeJpeg, IndexedBitmapIsWrittenInItsPaletteColours) {
    platform_bitmap b;
    b.width = 32;
    b.height = 16;
    b.index_bits = 4;
    b.palette.assign(16, 0xFF000000u);
    b.palette[1] = 0xFFE03010u;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            b.indices.push_back(x < 16 ? 0 : 1);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encode_jpeg(b, 90, bytes, error)) << error;
    test::jpeg_readback jpg = test::read_jpeg(bytes);
    ASSERT_TRUE(jpg.ok);
    std::vector<uint32_t> expected;
    for (uint8_t index : b.indices)
        expected.push_back(b.palette[index]);
    EXPECT_LT(mean_channel_error(jpg.rgb, expected), 6.0);
}

}  // namespace
}  // namespace mevra
