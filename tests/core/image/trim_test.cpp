#include <gtest/gtest.h>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::make_argb_by;

struct trim_result {
    int left, top, width, height;
    bool operator==(const trim_result&) const = default;
};

std::ostream& operator<<(std::ostream& os, const trim_result& r) {
    return os << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}

class Trim : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }

    // trim_calc on a blank w × h picture.
    static trim_result calc(int w, int h) {
        auto img = make_argb_by(w, h, [](int, int) { return 0u; });
        EXPECT_EQ(img.trim_calc(), 0);
        const clgbase& s = settings();
        return {s.trim_left, s.trim_top, s.trim_width, s.trim_height};
    }
    static void size_mode(int w, int h, int unit, int aspect, int wstyle = 0, int hstyle = 0) {
        clgbase& s = settings();
        s.trim_mode = 0;
        s.trim_1width = w;
        s.trim_1height = h;
        s.trim_1size_type = unit;
        s.trim_1kotei_mode = aspect;
        s.trim_1w_style = wstyle;
        s.trim_1h_style = hstyle;
    }
};

TEST_F(Trim, SizeHelpers) {
    EXPECT_EQ(image_info::trim_size(100, 33), 33);
    EXPECT_EQ(image_info::trim_size(101, 33), 34);
    EXPECT_EQ(image_info::trim_size(7, 50), 4);
    EXPECT_EQ(image_info::trim_size(200, 50), 100);
    EXPECT_EQ(image_info::trim_size(32768, 1000), 327680);
    EXPECT_EQ(image_info::ruijo_size(-5), 1);
    EXPECT_EQ(image_info::ruijo_size(0), 1);
    EXPECT_EQ(image_info::ruijo_size(1), 1);
    EXPECT_EQ(image_info::ruijo_size(2), 2);
    EXPECT_EQ(image_info::ruijo_size(3), 4);
    EXPECT_EQ(image_info::ruijo_size(33), 64);
    EXPECT_EQ(image_info::ruijo_size(32768), 32768);
    EXPECT_EQ(image_info::ruijo_size(32769), 65536);
}

TEST_F(Trim, SizeModePlacesTheOldImage) {
    size_mode(200, 200, 0, 0, 1, 1);
    EXPECT_EQ(calc(100, 50), (trim_result{50, 75, 200, 200}));
    size_mode(50, 50, 0, 0, 2, 2);
    EXPECT_EQ(calc(100, 50), (trim_result{-50, 0, 50, 50}));
    size_mode(50, 200, 1, 0);  // percent, rounded up
    EXPECT_EQ(calc(101, 10), (trim_result{0, 0, 51, 20}));
}

TEST_F(Trim, FitAndCoverKeepTheAspectRatio) {
    size_mode(100, 100, 0, 1);
    EXPECT_EQ(calc(200, 50), (trim_result{0, 0, 100, 25}));
    EXPECT_EQ(calc(50, 200), (trim_result{0, 0, 25, 100}));
    size_mode(100, 100, 0, 2);
    EXPECT_EQ(calc(200, 50), (trim_result{0, 0, 400, 100}));
    EXPECT_EQ(calc(50, 200), (trim_result{0, 0, 100, 400}));
}

TEST_F(Trim, MarginsMultiplesAndPowers) {
    clgbase& s = settings();
    s.trim_mode = 1;
    s.trim_2top = -2;
    s.trim_2bottom = 0;
    s.trim_2left = 3;
    s.trim_2right = 3;
    EXPECT_EQ(calc(10, 10), (trim_result{3, -2, 16, 8}));

    s.trim_mode = 2;
    s.trim_3mode = 1;  // pad to 4
    EXPECT_EQ(calc(30, 17), (trim_result{0, 0, 32, 20}));
    s.trim_3mode = 3;  // pad to 16
    EXPECT_EQ(calc(32, 1), (trim_result{0, 0, 32, 16}));
    s.trim_3mode = 7;  // cut to 16, never below 16
    EXPECT_EQ(calc(30, 17), (trim_result{0, 0, 16, 16}));
    EXPECT_EQ(calc(10, 40), (trim_result{0, 0, 16, 32}));
    s.trim_3mode = 4;  // cut to 2
    EXPECT_EQ(calc(31, 1), (trim_result{0, 0, 30, 2}));

    s.trim_mode = 3;
    s.trim_4size = 100;
    s.trim_4mode = 1;
    EXPECT_EQ(calc(100, 30), (trim_result{0, 0, 128, 128}));
    s.trim_4mode = 0;
    EXPECT_EQ(calc(100, 30), (trim_result{0, 0, 128, 32}));
    s.trim_4size = 50;
    EXPECT_EQ(calc(100, 30), (trim_result{0, 0, 64, 16}));
}

TEST_F(Trim, UnknownModesAndEmptyImagesLeaveTheResults) {
    clgbase& s = settings();
    s.trim_width = 7;
    s.trim_mode = 4;
    auto img = make_argb_by(4, 4, [](int, int) { return 0u; });
    EXPECT_EQ(img.trim_calc(), -1);
    s.trim_mode = 2;
    s.trim_3mode = 8;
    EXPECT_EQ(img.trim_calc(), -1);
    s.trim_3mode = 0;
    EXPECT_EQ(image_info().trim_calc(), -1);
    EXPECT_EQ(s.trim_width, 7);
}

TEST_F(Trim, CanvasPadsWithTheBackColourAndCutsAtNegativeOffsets) {
    settings().back_color = 0xFF0000FFu;
    auto img = make_argb_by(10, 10, [](int x, int y) { return uint32_t(y * 10 + x); });
    ASSERT_EQ(img.image_triming(3, -2, 16, 8), 0);
    ASSERT_EQ(img.width, 16);
    ASSERT_EQ(img.height, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t want = (x < 3 || x >= 13) ? 0xFF0000FFu : uint32_t((y + 2) * 10 + x - 3);
            ASSERT_EQ(img.argb_buff[y * 16 + x], want) << x << "," << y;
        }
}

TEST_F(Trim, IndexedCanvasUsesIndexZeroAndRecounts) {
    auto img = test::make_indexed(IMGTYP_16, 3, 2, {0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u},
                                  {1, 1, 2, 2, 2, 1});
    ASSERT_EQ(img.image_triming(-1, 0, 4, 4), 0);
    EXPECT_EQ(img.index_buff,
              (std::vector<int32_t>{1, 2, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(img.color_cnt[0], 12);
    EXPECT_EQ(img.color_cnt[1], 2);
    EXPECT_EQ(img.color_cnt[2], 2);
    EXPECT_EQ(img.image_type, IMGTYP_16);

    // Entirely outside: all index 0.
    ASSERT_EQ(img.image_triming(100, 100, 2, 1), 0);
    EXPECT_EQ(img.index_buff, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(img.color_cnt[1], 0);
}

TEST_F(Trim, RefusesSizesThatCannotBeBuilt) {
    test::recording_ui ui;
    auto img = make_argb_by(10, 10, [](int x, int y) { return uint32_t(x + y); });
    const auto before = img.argb_buff;
    clgbase& s = settings();
    s.trim_mode = 1;
    s.trim_2left = -6;
    s.trim_2right = -4;  // width 0
    ASSERT_EQ(img.trim_calc(), 0);
    EXPECT_EQ(img.image_triming(s.trim_left, s.trim_top, s.trim_width, s.trim_height), -1);
    EXPECT_EQ(img.image_triming(0, 0, 10, -3), -1);
    EXPECT_EQ(img.image_triming(0, 0, 32769, 1), -1);
    EXPECT_EQ(img.image_triming(0, 0, 20000, 20000), -1);  // beyond 2^28 pixels
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].caption, "リサイズ");
    EXPECT_NE(ui.messages[0].text.find("0 x 10"), std::string::npos);
    EXPECT_EQ(img.width, 10);
    EXPECT_EQ(img.argb_buff, before);
    EXPECT_EQ(image_info().image_triming(0, 0, 1, 1), -1);
}

}  // namespace
}  // namespace mevra
