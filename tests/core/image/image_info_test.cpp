#include <gtest/gtest.h>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::make_argb_by;

TEST(ColorCensus, SmallImagesKeepFirstAppearanceOrder) {
    // 100 × 100 = 10000 pixels: linear census.
    auto img = make_argb_by(100, 100, [](int x, int) {
        return x % 3 == 0 ? 0xFF0000FFu : (x % 3 == 1 ? 0xFF000001u : 0x80FF0000u);
    });
    ASSERT_EQ(img.argb_to_color_index(), 3);
    EXPECT_EQ(img.color[0], 0xFF0000FFu);
    EXPECT_EQ(img.color[1], 0xFF000001u);
    EXPECT_EQ(img.color[2], 0x80FF0000u);
    ASSERT_EQ(img.color.size(), 256u);
    for (size_t i = 3; i < 256; ++i)
        EXPECT_EQ(img.color[i], 0u);
    EXPECT_EQ(img.color_cnt[0], 3400);
    EXPECT_EQ(img.color_cnt[1], 3300);
    EXPECT_EQ(img.color_cnt[2], 3300);
    EXPECT_TRUE(img.argb_buff.empty());
    EXPECT_EQ(img.image_type, IMGTYP_RGB);  // the caller sets the type
}

TEST(ColorCensus, LargeImagesAreSortedByArgbValue) {
    // 128 × 128 = 16384 pixels: bucket census.
    auto img = make_argb_by(128, 128, [](int x, int y) {
        return x % 3 == 0 ? 0xFF0000FFu
                          : (x % 3 == 1 ? 0xFF000001u : (y ? 0x80FF0000u : 0x80FE0000u));
    });
    ASSERT_EQ(img.argb_to_color_index(), 4);
    EXPECT_EQ(img.color[0], 0x80FE0000u);
    EXPECT_EQ(img.color[1], 0x80FF0000u);
    EXPECT_EQ(img.color[2], 0xFF000001u);
    EXPECT_EQ(img.color[3], 0xFF0000FFu);
    EXPECT_EQ(img.color_cnt[0], 42);
    for (int p = 0; p < 128 * 128; ++p) {
        int x = p % 128;
        uint32_t want = x % 3 == 0
                            ? 0xFF0000FFu
                            : (x % 3 == 1 ? 0xFF000001u : (p >= 128 ? 0x80FF0000u : 0x80FE0000u));
        ASSERT_EQ(img.color[img.index_buff[p]], want) << p;
    }
}

TEST(ColorCensus, WideImagesBeyondSixteenBitPositionsStayExact) {
    // Positions past 32767 in either direction must not wrap.
    auto img =
        make_argb_by(40000, 2, [](int x, int y) { return 0xFF000000u | (x * 7 + y) % 5000; });
    auto before = test::argb_pixels(img);
    ASSERT_EQ(img.argb_to_color_index(), 5000);
    img.color_num = 5000;
    img.image_type = IMGTYP_256;
    EXPECT_EQ(test::argb_pixels(img), before);
}

TEST(ColorCensus, RefusesIndexedImages) {
    auto img = test::make_indexed(IMGTYP_256, 2, 1, {0xFF000000u, 0xFFFFFFFFu}, {0, 1});
    EXPECT_EQ(img.argb_to_color_index(), -1);
    EXPECT_EQ(img.color_num, 2);
}

TEST(ImageModel, ImageToArgbRoundTripsAndIsHarmlessOnArgb) {
    auto img = test::make_indexed(IMGTYP_16, 3, 1, {0xFF112233u, 0x00445566u}, {1, 0, 1});
    img.image_to_argb();
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.color_num, 0);
    EXPECT_TRUE(img.index_buff.empty() && img.color.empty() && img.color_cnt.empty());
    EXPECT_EQ(img.argb_buff, (std::vector<uint32_t>{0x00445566u, 0xFF112233u, 0x00445566u}));
    auto again = img.argb_buff;
    img.image_to_argb();
    EXPECT_EQ(img.argb_buff, again);
}

TEST(ImageModel, DeleteEmptiesOnceAndIgnoresEmptyObjects) {
    image_info empty;
    empty.image_delete();
    EXPECT_EQ(empty.flag, 0);
    auto img = make_argb_by(2, 2, [](int, int) { return 0xFFFFFFFFu; });
    img.image_delete();
    EXPECT_EQ(img.flag, 0);
    EXPECT_EQ(img.image_type, IMGTYP_NONE);
    EXPECT_EQ(img.width, 0);
    EXPECT_TRUE(img.argb_buff.empty());
}

TEST(ImageModel, CopySizesTablesToAtLeast256Entries) {
    std::vector<uint32_t> pal(300);
    std::vector<int32_t> idx(300);
    for (int i = 0; i < 300; ++i)
        pal[i] = 0xFF000000u | i, idx[i] = i;
    auto big = test::make_indexed(IMGTYP_256, 300, 1, pal, idx);
    image_info copy(big);
    EXPECT_EQ(copy.color.size(), 300u);
    EXPECT_EQ(copy.color_cnt.size(), 300u);
    EXPECT_EQ(copy.color, big.color);

    auto small = test::make_indexed(IMGTYP_16, 16, 1, std::vector<uint32_t>(16, 0xFF123456u),
                                    std::vector<int32_t>(16, 3));
    small.color[20] = 0xFF000000u;  // filler beyond color_num is not copied
    image_info copy2(small);
    ASSERT_EQ(copy2.color.size(), 256u);
    for (size_t i = 16; i < 256; ++i)
        EXPECT_EQ(copy2.color[i], 0u);
    EXPECT_EQ(copy2.color_cnt[3], 16);
    copy2.index_buff[0] = 5;
    EXPECT_EQ(small.index_buff[0], 3);  // buffers are never shared
}

decoded_picture indexed_picture(int bits, std::vector<uint32_t> palette, std::vector<uint8_t> idx) {
    decoded_picture pic;
    pic.container = picture_container::gif;
    pic.width = static_cast<int>(idx.size());
    pic.height = 1;
    pic.index_bits = bits;
    pic.palette = std::move(palette);
    pic.indices = std::move(idx);
    return pic;
}

TEST(ImageCreate, PixelTypeFollowsPaletteSizeAndDepth) {
    std::vector<uint32_t> pal16(16, 0xFF000000u);
    image_info a, b, c;
    a.image_create(indexed_picture(8, pal16, {0, 1}));
    EXPECT_EQ(a.image_type, IMGTYP_256);
    b.image_create(indexed_picture(4, pal16, {0, 1}));
    EXPECT_EQ(b.image_type, IMGTYP_16);
    c.image_create(indexed_picture(1, {0xFF000000u, 0xFFFFFFFFu}, {0, 1, 1}));
    EXPECT_EQ(c.image_type, IMGTYP_16);
    EXPECT_EQ(c.color_num, 2);
    EXPECT_EQ(c.color_cnt[1], 2);
    EXPECT_EQ(c.format, IMGFMT_GIF);
    EXPECT_EQ(c.color.size(), 256u);
}

TEST(ImageCreate, AlphaFlagNeedsTwoTransparentOrOneTranslucentUsedEntry) {
    image_info one, two, part, unused;
    one.image_create(indexed_picture(8, {0x00000000u, 0xFF0000FFu, 0x00FFFFFFu}, {0, 1}));
    EXPECT_EQ(one.is_alpha, 0);
    two.image_create(indexed_picture(8, {0x00000000u, 0xFF0000FFu, 0x00FFFFFFu}, {0, 1, 2}));
    EXPECT_EQ(two.is_alpha, 1);
    part.image_create(indexed_picture(8, {0x80000000u, 0xFF0000FFu}, {0, 1}));
    EXPECT_EQ(part.is_alpha, 1);
    unused.image_create(indexed_picture(8, {0x80000000u, 0xFF0000FFu}, {1, 1}));
    EXPECT_EQ(unused.is_alpha, 0);
}

TEST(ImageCreate, TrueColourKeepsPixelsAndFormatFromContainer) {
    decoded_picture pic;
    pic.container = picture_container::jpeg;
    pic.width = 2;
    pic.height = 1;
    pic.argb = {0xFF010203u, 0x7F040506u};
    image_info img;
    img.image_create(pic);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.format, IMGFMT_JPG);
    EXPECT_EQ(img.argb_buff, pic.argb);
    pic.container = picture_container::webp;
    image_info other;
    other.image_create(pic);
    EXPECT_EQ(other.format, IMGFMT_NONE);
}

}  // namespace
}  // namespace mevra
