#include <gtest/gtest.h>

#include <random>

#include "core/platform/encode_readback.h"
#include "platform/picture_encoder.h"
#include "support/test_support.h"

namespace mevra {
namespace {

test::tiff_readback encode_and_read(const platform_bitmap& b) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encode_tiff(b, bytes, error)) << error;
    test::temp_dir dir;
    test::write_bytes(dir.file("out.tif"), bytes);
    return test::read_tiff(dir.file("out.tif"));
}

TEST(EncodeTiff, TrueColourKeepsEveryChannelIncludingAlpha) {
    platform_bitmap b;
    b.width = 67;  // odd sizes and several strips
    b.height = 301;
    std::mt19937 rng(5);
    for (int i = 0; i < b.width * b.height; ++i)
        b.argb.push_back(rng());
    test::tiff_readback tif = encode_and_read(b);
    ASSERT_TRUE(tif.ok);
    EXPECT_EQ(tif.width, 67u);
    EXPECT_EQ(tif.height, 301u);
    EXPECT_EQ(tif.samples, 4);
    EXPECT_EQ(tif.bits, 8);
    EXPECT_EQ(tif.extra_kind, EXTRASAMPLE_UNASSALPHA);
    EXPECT_EQ(tif.argb, b.argb);
}

TEST(EncodeTiff, IndexedBitmapsAreWrittenAs32BitColour) {
    for (int bits : {8, 4}) {
        platform_bitmap b;
        b.width = 5;
        b.height = 3;
        b.index_bits = bits;
        for (int i = 0; i < (1 << bits); ++i)
            b.palette.push_back(0x11000000u * (i % 16) + i);
        for (int i = 0; i < 15; ++i)
            b.indices.push_back(static_cast<uint8_t>((i * 7) % (1 << bits)));
        test::tiff_readback tif = encode_and_read(b);
        ASSERT_TRUE(tif.ok) << bits;
        EXPECT_EQ(tif.samples, 4);
        std::vector<uint32_t> expected;
        for (uint8_t index : b.indices)
            expected.push_back(b.palette[index]);
        EXPECT_EQ(tif.argb, expected) << bits;
    }
}

TEST(EncodeTiff, RefusesAnInconsistentBitmap) {
    platform_bitmap b;
    b.width = 3;
    b.height = 3;
    b.argb.assign(8, 0);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(encode_tiff(b, bytes, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace mevra
