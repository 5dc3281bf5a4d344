// Re-saving an AVI with another encoder: one stream, every frame in place,
// and a failed or cancelled save that leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/avi_test_files.h"
#include "support/test_support.h"
#include "video/avi_reencode.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

int files_in(const fs::path& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(AviReencodeTest, EveryEncoderWritesOneStreamWithAllFrames) {
    test::temp_dir dir;
    auto recipe = test::raw_recipe(32, 6);
    recipe.rate = 30000;
    recipe.scale = 1001;
    test::make_avi(dir.file("in.avi"), recipe);
    avi_reader source;
    avi_failure f;
    ASSERT_EQ(source.open(dir.file("in.avi"), f), 0);
    for (const auto& enc : available_avi_encoders()) {
        avi_encode_options opt;
        opt.encoder = enc.name;
        opt.keyint = 3;
        const std::string out = dir.file("out_" + enc.name + ".avi");
        int calls = 0;
        ASSERT_EQ(reencode_avi(
                      source, out, opt,
                      [&](int done, int total) {
                          EXPECT_EQ(done, ++calls);
                          EXPECT_EQ(total, 6);
                          return true;
                      },
                      f),
                  avi_save_done)
            << enc.name << ": " << f.text;
        avi_reader result;
        ASSERT_EQ(result.open(out, f), 0) << enc.name;
        EXPECT_EQ(result.info().stream_count, 1);
        EXPECT_EQ(result.info().length, 6) << enc.name;
        EXPECT_EQ(result.info().rate, 30000u);
        EXPECT_EQ(result.info().scale, 1001u);
        std::vector<uint8_t> dib;
        ASSERT_EQ(result.decode_frame(4, dib, f), 0) << enc.name;
        image_info img;
        ASSERT_EQ(frame_to_argb(dib, img), 0);
        const bool lossless = enc.name == "ffv1" || enc.name == "huffyuv" ||
                              enc.name == "utvideo" || enc.name == "rawvideo";
        if (lossless) {
            // Uncompressed RGB keeps 24 bits, the others keep alpha too.
            const int bits = enc.name == "rawvideo" ? 24 : 32;
            // Ut Video's planar alpha passes the scaler, which may round by one.
            EXPECT_TRUE(test::close_color(img.argb_buff[5 * 32 + 9],
                                          test::stored_pattern(4, 9, 5, bits),
                                          enc.name == "utvideo" ? 1 : 0))
                << enc.name;
        }
    }
}

TEST(AviReencodeTest, FailureAndCancelLeaveTheTargetAlone) {
    test::temp_dir dir;
    test::make_avi(dir.file("in.avi"), test::raw_recipe(24, 5));
    avi_reader source;
    avi_failure f;
    ASSERT_EQ(source.open(dir.file("in.avi"), f), 0);
    avi_encode_options opt;
    opt.encoder = "mjpeg";

    const std::string nowhere = dir.file("missing/out.avi");
    EXPECT_EQ(reencode_avi(source, nowhere, opt, nullptr, f), avi_save_failed);
    EXPECT_EQ(f.caption, "AVI保存");
    EXPECT_EQ(f.text.rfind(nowhere + "\nファイルの保存に失敗しました。\n", 0), 0u) << f.text;

    const std::string target = dir.file("keep.avi");
    test::write_bytes(target, {1, 2, 3});
    EXPECT_EQ(reencode_avi(
                  source, target, opt, [](int done, int) { return done < 3; }, f),
              avi_save_cancelled);
    opt.encoder = "no-such-encoder";
    EXPECT_EQ(reencode_avi(source, target, opt, nullptr, f), avi_save_failed);
    EXPECT_EQ(test::read_bytes(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(files_in(dir.path()), 2);  // no temporary file left behind

    avi_reader closed;
    EXPECT_EQ(reencode_avi(closed, target, opt, nullptr, f), avi_save_failed);
}

TEST(AviReencodeTest, PreviewShowsTheEncodedFrame) {
    const auto dib = test::pattern_dib(3, 64, 48, 24, true);
    for (const char* name : {"mjpeg", "mpeg4", "ffv1"}) {
        avi_encode_options opt;
        opt.encoder = name;
        std::vector<uint8_t> preview;
        size_t bytes = 0;
        std::string error;
        ASSERT_EQ(encode_preview(dib, 30, 1, opt, preview, bytes, error), 0) << name << error;
        EXPECT_GT(bytes, 0u);
        image_info img;
        ASSERT_EQ(frame_to_argb(preview, img), 0);
        EXPECT_EQ(img.width, 64);
        EXPECT_TRUE(test::close_color(img.argb_buff[1000], test::solid_color(3), 12)) << name;
    }
}

}  // namespace
}  // namespace mevra
