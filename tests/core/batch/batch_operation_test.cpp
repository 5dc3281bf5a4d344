#include <gtest/gtest.h>

#include <set>
#include <string>

#include "batch/batch_operation.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::argb_pixels;
using test::make_argb;

class BatchOperation : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }
};

TEST_F(BatchOperation, NamesAndIndicesMapBothWays) {
    std::set<std::string> seen;
    for (int op = 0; op < batch_operation_count; ++op) {
        const char* name = batch_operation_name(op);
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(seen.insert(name).second) << name;
        EXPECT_EQ(batch_operation_from_name(name), op);
        EXPECT_EQ(batch_operation_from_name(std::to_string(op)), op);
        EXPECT_NE(batch_operation_text(op), nullptr);
    }
    EXPECT_EQ(batch_operation_from_name("Rotate-Right"), 4);
    EXPECT_EQ(batch_operation_from_name("key-to-first"), 16);
    EXPECT_STREQ(batch_operation_text(4), "우로 90°회전 ");
    for (const char* bad : {"", "17", "-1", "+4", "4x", " 4", "rotate", "mirror ", "999999999999"})
        EXPECT_EQ(batch_operation_from_name(bad), -1) << bad;
    EXPECT_EQ(batch_operation_name(17), nullptr);
    EXPECT_EQ(batch_operation_name(-1), nullptr);
}

TEST_F(BatchOperation, EachIndexRunsItsTransform) {
    const std::vector<uint32_t> px = {0xFF000001u, 0xFF000002u, 0x00000003u,
                                      0xFF000004u, 0xFF000005u, 0xFF000006u};
    auto expect_same = [&](int op, auto direct) {
        auto via_batch = make_argb(3, 2, px);
        auto reference = make_argb(3, 2, px);
        ASSERT_EQ(run_batch_operation(via_batch, op), 0) << op;
        direct(reference);
        EXPECT_EQ(via_batch.width, reference.width) << op;
        EXPECT_EQ(argb_pixels(via_batch), argb_pixels(reference)) << op;
    };
    expect_same(0, [](image_info&) {});
    for (int mode = 0; mode < 4; ++mode)
        expect_same(4 + mode, [mode](image_info& i) { i.flip_and_rotate(mode); });
    for (int c = 0; c < 8; ++c)
        expect_same(9 + c, [c](image_info& i) { i.color_one_calc(c); });

    auto indexed = test::make_indexed(IMGTYP_256, 2, 1, {0xFF000000u, 0xFFFFFFFFu}, {1, 0});
    ASSERT_EQ(run_batch_operation(indexed, 8), 0);
    EXPECT_EQ(indexed.image_type, IMGTYP_RGB);
    EXPECT_EQ(argb_pixels(indexed), (std::vector<uint32_t>{0xFFFFFFFFu, 0xFF000000u}));
}

TEST_F(BatchOperation, ResizeTrimsAndScaleResamplesByEachImagesOwnSize) {
    clgbase& s = settings();
    s.trim_1size_type = 1;  // 50 % × 200 %
    s.trim_1width = 50;
    s.trim_1height = 200;
    for (int scaling = 0; scaling < 2; ++scaling) {
        s.trim_or_scaling = scaling;
        auto img = make_argb(4, 2, std::vector<uint32_t>(8, 0xFF808080u));
        ASSERT_EQ(run_batch_operation(img, 2 + scaling), 0);
        EXPECT_EQ(img.width, 2);
        EXPECT_EQ(img.height, 4);
        // Trimming pads the new rows with the back colour; scaling stretches the picture.
        EXPECT_EQ(argb_pixels(img)[7], scaling ? 0xFF808080u : s.back_color);
    }
}

TEST_F(BatchOperation, ReduceUsesTheTargetColourCount) {
    settings().target_color = 2;
    auto img = test::make_argb_by(8, 8, [](int x, int y) {
        return 0xFF000000u | ((x < 4 ? 0x000000u : 0xFFFFFFu) ^ uint32_t(y & 1));
    });
    ASSERT_EQ(run_batch_operation(img, 1), 0);
    EXPECT_NE(img.image_type, IMGTYP_RGB);
    EXPECT_EQ(img.flag, 2);
    EXPECT_LE(img.count_distinct_colors(), 2);

    // Two protected key colours leave no room for a third: refused, unchanged.
    test::recording_ui ui;
    settings().transparency_mode = 1;
    settings().nuki_flg_alpha0 = 1;
    auto keyed = make_argb(3, 1, {0x00000000u, 0x00FFFFFFu, 0xFF808080u});
    EXPECT_EQ(run_batch_operation(keyed, 1), -1);
    EXPECT_EQ(keyed.image_type, IMGTYP_RGB);
    EXPECT_EQ(keyed.flag, 1);
    EXPECT_EQ(argb_pixels(keyed), (std::vector<uint32_t>{0x00000000u, 0x00FFFFFFu, 0xFF808080u}));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(BatchOperation, RefusalsAreReportedAndChangeNothing) {
    test::recording_ui ui;
    image_info empty;
    EXPECT_EQ(run_batch_operation(empty, 4), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "変換する画像を選んでください");

    auto img = make_argb(4, 4, std::vector<uint32_t>(16, 0xFF123456u));
    EXPECT_EQ(run_batch_operation(img, 17), -1);
    EXPECT_EQ(run_batch_operation(img, -1), -1);

    clgbase& s = settings();
    s.trim_mode = 1;
    s.trim_2left = -4;  // nothing left of the width
    EXPECT_EQ(run_batch_operation(img, 2), -1);
    s.trim_mode = 9;  // no such mode
    EXPECT_EQ(run_batch_operation(img, 3), -1);
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(img.width, 4);
    EXPECT_EQ(argb_pixels(img), std::vector<uint32_t>(16, 0xFF123456u));
}

}  // namespace
}  // namespace mevra
