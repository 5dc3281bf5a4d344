#include <gtest/gtest.h>

#include "platform/picture_decoder.h"
#include "platform/picture_encoder.h"

namespace mevra {
namespace {

// Straight alpha must survive a save and load unchanged, including the colour
// of translucent and fully transparent pixels.
TEST(TiffAlpha, StraightAlphaRoundTripsExactly) {
    platform_bitmap bitmap;
    bitmap.width = 7;
    bitmap.height = 5;
    for (int p = 0; p < 35; ++p)
        bitmap.argb.push_back(static_cast<uint32_t>(p * 7) << 24 | 0x00A0B0C0u | p);
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encode_tiff(bitmap, file, error)) << error;
    decoded_picture pic;
    ASSERT_TRUE(decode_picture(file, pic, error)) << error;
    EXPECT_EQ(pic.container, picture_container::tiff);
    ASSERT_FALSE(pic.indexed());
    EXPECT_EQ(pic.argb, bitmap.argb);
}

}  // namespace
}  // namespace mevra
