#include <gtest/gtest.h>

#include <vector>

#include "settings/screen_fit.h"

namespace mevra {
namespace {

TEST(ScreenFit, WindowsOffEveryScreenComeBackToThePrimary) {
    // Primary 1920 x 1080 at the origin, a second screen to its left.
    const std::vector<screen_rect> screens = {{0, 0, 1920, 1080}, {-1280, 56, 1280, 1024}};
    const screen_rect on_second{-1200, 100, 600, 400};
    EXPECT_EQ(keep_on_screen(on_second, screens), on_second);
    // Half off the right edge but with enough title bar to grab: stays.
    EXPECT_EQ(keep_on_screen({1880, 10, 600, 400}, screens), (screen_rect{1880, 10, 600, 400}));
    // Title bar above every screen: moved down, keeps its left and size.
    EXPECT_EQ(keep_on_screen({100, -20, 600, 400}, screens), (screen_rect{100, 0, 600, 400}));
    // On a screen that is gone: pulled to the nearest place on the primary.
    EXPECT_EQ(keep_on_screen({4000, 500, 600, 400}, screens), (screen_rect{1320, 500, 600, 400}));
    // Between the second screen's top and the primary's: above both.
    EXPECT_EQ(keep_on_screen({-600, 20, 100, 100}, screens), (screen_rect{0, 20, 100, 100}));
    // Larger than the primary: its top left corner.
    EXPECT_EQ(keep_on_screen({-30000, 30000, 4000, 3000}, screens),
              (screen_rect{0, 0, 4000, 3000}));
    // Extreme stored values do not overflow.
    EXPECT_EQ(keep_on_screen({32767, 32767, 32767, 32767}, screens),
              (screen_rect{0, 0, 32767, 32767}));
    EXPECT_EQ(keep_on_screen({5, 5, 10, 10}, {}), (screen_rect{5, 5, 10, 10}));
}

}  // namespace
}  // namespace mevra
