#include <gtest/gtest.h>

#include "image/image_info.h"
#include "views/pen_stroke.h"

using namespace mevra;
using views::pen_point;

namespace {

image_info argb_image(int w, int h, uint32_t fill) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w * h), fill);
    return image_info(w, h, pixels.data());
}

}  // namespace

TEST(PenStroke, FiveDotPenAtTheCornerPaintsOnlyThePixelsInside) {
    image_info image = argb_image(8, 8, 0xFF000000u);
    views::apply_dab(image, 0, 0, 0, 2, 0, 0xFFFFFFFFu);
    int painted = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x < 3 && y < 3;
            EXPECT_EQ(image.argb_buff[static_cast<size_t>(y * 8 + x)],
                      inside ? 0xFFFFFFFFu : 0xFF000000u);
            painted += inside;
        }
    EXPECT_EQ(painted, 9);
}

TEST(PenStroke, PenModesOnATranslucentPixel) {
    image_info image = argb_image(1, 1, 0x80102030u);
    views::apply_dab(image, 0, 0, 0, 0, 2, 0xFFFFFFFFu);  // alpha pen
    EXPECT_EQ(image.argb_buff[0], 0xFF102030u);
    image.argb_buff[0] = 0x80102030u;
    views::apply_dab(image, 0, 0, 0, 0, 1, 0xFFFFFFFFu);  // colour pen
    EXPECT_EQ(image.argb_buff[0], 0x80FFFFFFu);
    views::apply_dab(image, 0, 0, 0, 0, 0, 0x11223344u);  // plain pen
    EXPECT_EQ(image.argb_buff[0], 0x11223344u);
}

TEST(PenStroke, LineDabsFollowTheLongerAxisWithSinglePrecisionRounding) {
    const auto dabs = views::pen_line_points(0, 0, 10, 3);
    ASSERT_EQ(dabs.size(), 11u);
    const float slope = 3.0f / 10.0f;
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(dabs[static_cast<size_t>(i)],
                  (pen_point{i, static_cast<int>(static_cast<float>(i) * slope + 0.5f)}));
    EXPECT_EQ(dabs[5], (pen_point{5, 2}));  // 1.5 + 0.5 rounds up

    // Steep and backwards: rows step, columns follow; a click is one dab.
    const auto steep = views::pen_line_points(4, 6, 3, 0);
    ASSERT_EQ(steep.size(), 7u);
    EXPECT_EQ(steep.front(), (pen_point{3, 0}));
    EXPECT_EQ(steep.back(), (pen_point{4, 6}));
    EXPECT_EQ(views::pen_line_points(-3, -2, -3, -2), (std::vector<pen_point>{{-3, -2}}));
    // A vertical line keeps its column exactly, also left of the image.
    for (const pen_point& p : views::pen_line_points(-3, 0, -3, 4))
        EXPECT_EQ(p.x, -3);
}
