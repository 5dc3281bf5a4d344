// Opening AVI files and reaching any frame: exact pixels for uncompressed
// files in every bit count, nearly exact colours for the lossy codecs, in an
// order that forces seeks backwards and forwards.
#include <gtest/gtest.h>


#include "support/avi_packets.h"
#include "support/avi_test_files.h"
#include "support/test_support.h"
#include "video/avi_encoders.h"
#include "video/avi_reader.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

namespace mevra {
namespace {

const int jump_order[] = {7, 2, 9, 0, 3, 4, 5, 1, 8, 6, 9};

image_info decode(avi_reader& avi, int n) {
    std::vector<uint8_t> dib;
    avi_failure failure;
    EXPECT_EQ(avi.decode_frame(n, dib, failure), 0) << failure.text;
    image_info img;
    EXPECT_EQ(frame_to_argb(dib, img), 0);
    return img;
}

class RawAviTest : public ::testing::TestWithParam<int> {};

TEST_P(RawAviTest, EveryFrameExactAfterRandomJumps) {
    const int bits = GetParam();
    test::temp_dir dir;
    const std::string path = dir.file("raw.avi");
    test::make_avi(path, test::raw_recipe(bits));
    avi_reader avi;
    avi_failure failure;
    ASSERT_EQ(avi.open(path, failure), 0) << failure.text;
    EXPECT_EQ(avi.info().length, 10);
    EXPECT_EQ(avi.info().rate, 10u);
    EXPECT_EQ(avi.info().scale, 1u);
    EXPECT_EQ(avi.info().width, 32);
    EXPECT_EQ(avi.info().height, 24);
    EXPECT_EQ(avi.info().stream_count, 1);
    // The first access is not frame 0: an 8-bit stream must still get its palette.
    for (int n : jump_order) {
        image_info img = decode(avi, n);
        ASSERT_EQ(img.width, 32);
        ASSERT_EQ(img.height, 24);
        EXPECT_EQ(avi.last_bit_count(), bits);
        for (int y = 0; y < 24; y += 5)
            for (int x = 0; x < 32; x += 3)
                ASSERT_EQ(img.argb_buff[static_cast<size_t>(y * 32 + x)],
                          test::stored_pattern(n, x, y, bits))
                    << "frame " << n << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Bits, RawAviTest, ::testing::Values(8, 16, 24, 32));

TEST(AviReaderTest, NtscRateKeepsRateAndScale) {
    test::temp_dir dir;
    auto recipe = test::raw_recipe(24, 3);
    recipe.rate = 30000;
    recipe.scale = 1001;
    test::make_avi(dir.file("ntsc.avi"), recipe);
    avi_reader avi;
    avi_failure failure;
    ASSERT_EQ(avi.open(dir.file("ntsc.avi"), failure), 0);
    EXPECT_EQ(avi.info().rate, 30000u);
    EXPECT_EQ(avi.info().scale, 1001u);
    EXPECT_EQ(avi.info().rate / avi.info().scale, 29u);
}

struct lossy_case {
    const char* encoder;
    int b_frames;
};

class LossyAviTest : public ::testing::TestWithParam<lossy_case> {};

TEST_P(LossyAviTest, JumpsReachTheRightFrame) {
    const lossy_case c = GetParam();
    if (!find_avi_encoder(c.encoder)) GTEST_SKIP() << c.encoder << " not in this build";
    test::temp_dir dir;
    const std::string path = dir.file("lossy.avi");
    auto recipe = test::lossy_recipe(c.encoder, 30, 8);
    recipe.options.max_b_frames = c.b_frames;
    test::make_avi(path, recipe);
    avi_reader avi;
    avi_failure failure;
    ASSERT_EQ(avi.open(path, failure), 0) << failure.text;
    ASSERT_EQ(avi.info().length, 30);
    const int order[] = {17, 3, 29, 0, 1, 2, 16, 9, 8, 24, 25, 12};
    for (int n : order) {
        image_info img = decode(avi, n);
        ASSERT_EQ(img.width, 64);
        const uint32_t centre = img.argb_buff[static_cast<size_t>(24 * 64 + 32)];
        EXPECT_TRUE(test::close_color(centre, test::solid_color(n), 12))
            << c.encoder << " frame " << n << std::hex << " got " << centre << " want "
            << test::solid_color(n);
    }
}

INSTANTIATE_TEST_SUITE_P(Codecs, LossyAviTest,
                         ::testing::Values(lossy_case{"mjpeg", 0}, lossy_case{"mpeg4", 0},
                                           lossy_case{"libx264", 0}, lossy_case{"libx264", 2},
                                           // B-frames after a key frame lean on the GOP before.
                                           lossy_case{"mpeg4", 2}, lossy_case{"mpeg4", 3}));

TEST(AviReaderTest, OpenGopH264ReachesEveryFrameInAnyOrder) {
    test::temp_dir dir;
    const std::string path = dir.file("open_gop.avi");
    if (!test::make_open_gop_h264_avi(path, 30, 8, 2)) GTEST_SKIP() << "no libx264";
    avi_reader avi;
    avi_failure failure;
    ASSERT_EQ(avi.open(path, failure), 0) << failure.text;
    ASSERT_EQ(avi.info().length, 30);
    // Backwards, so that every frame is reached by a seek, then jumps.
    std::vector<int> order;
    for (int n = 29; n >= 0; --n)
        order.push_back(n);
    for (int n : {26, 29, 25, 9, 28, 17, 2})
        order.push_back(n);
    for (int n : order) {
        const uint32_t centre = decode(avi, n).argb_buff[static_cast<size_t>(24 * 64 + 32)];
        EXPECT_TRUE(test::close_color(centre, test::solid_color(n), 12))
            << "frame " << n << std::hex << " got " << centre;
    }
}

TEST(AviReaderTest, PositionsWithoutDataShowTheFrameBefore) {
    test::temp_dir dir;
    auto recipe = test::raw_recipe(24, 6);
    recipe.positions = {0, 1, 2, 5, 6, 9};
    test::make_avi(dir.file("gaps.avi"), recipe);
    avi_reader avi;
    avi_failure failure;
    ASSERT_EQ(avi.open(dir.file("gaps.avi"), failure), 0) << failure.text;
    ASSERT_EQ(avi.info().length, 10);
    // The frame written last at or before each position.
    const int shown[] = {0, 1, 2, 2, 2, 3, 4, 4, 4, 5};
    for (int n : {8, 3, 9, 4, 7, 2, 0, 6, 5, 1, 4, 3})
        EXPECT_EQ(decode(avi, n).argb_buff[0], test::stored_pattern(shown[n], 0, 0, 24))
            << "position " << n;
}

TEST(AviReaderTest, FailuresGiveThePlayersMessages) {
    test::temp_dir dir;
    test::recording_ui ui;
    avi_reader avi;
    avi_failure f;
    const std::string missing = dir.file("none.avi");
    EXPECT_EQ(avi.open(missing, f), -1);
    EXPECT_EQ(f.text, "파일  を開くことができませんでした\n" + missing);
    EXPECT_EQ(f.caption, "AVI file");

    const std::string garbage = dir.file("garbage.avi");
    test::write_bytes(garbage, std::vector<uint8_t>(3000, 0x5A));
    EXPECT_EQ(avi.open(garbage, f), -1);
    EXPECT_EQ(f.text, "error:\n" + garbage);
    EXPECT_EQ(f.caption, "AVIFileOpen");

    // A missing file leaves the open one open; a failed open closes it.
    const std::string good = dir.file("good.avi");
    test::make_avi(good, test::raw_recipe(24, 4));
    ASSERT_EQ(avi.open(good, f), 0);
    EXPECT_EQ(avi.open(missing, f), -1);
    EXPECT_TRUE(avi.is_open());
    EXPECT_EQ(avi.info().length, 4);
    EXPECT_EQ(avi.open(garbage, f), -1);
    EXPECT_FALSE(avi.is_open());
    EXPECT_EQ(avi.info().length, 0);
    std::vector<uint8_t> dib;
    EXPECT_EQ(avi.decode_frame(0, dib, f), -1);
    EXPECT_EQ(f.text, "error:\nフレーム0");
    EXPECT_EQ(f.caption, "AVIStreamGetFrames");
    EXPECT_TRUE(ui.messages.empty());  // the reader reports, the caller shows
}

TEST(AviReaderTest, TruncatedFileFailsOnlyTheLostFrames) {
    test::temp_dir dir;
    const std::string path = dir.file("cut.avi");
    test::make_avi(path, test::raw_recipe(24, 10));
    auto bytes = test::read_bytes(path);
    // Cut inside frame 5's data: the index at the end is lost too.
    bytes.resize(bytes.size() / 2);
    test::write_bytes(path, bytes);
    avi_reader avi;
    avi_failure f;
    ASSERT_EQ(avi.open(path, f), 0) << f.text;
    image_info img = decode(avi, 1);
    EXPECT_EQ(img.argb_buff[40], test::stored_pattern(1, 8, 1, 24));
    std::vector<uint8_t> dib;
    for (int n = avi.info().length - 1; n >= 0; --n)
        avi.decode_frame(n, dib, f);  // must not crash whatever it returns
    for (int n = 0; n < avi.info().length; ++n)
        avi.decode_frame(n, dib, f);
}

TEST(AviReaderTest, AFrameClaimingAHugePictureIsRefusedAtOnce) {
    test::temp_dir dir;
    test::make_avi(dir.file("small.avi"), test::lossy_recipe("mpeg4", 4, 1));
    auto big = test::lossy_recipe("mpeg4", 1, 1);
    big.width = big.height = 2048;  // its key frame carries its own size
    test::make_avi(dir.file("big.avi"), big);
    auto packets = test::read_avi_packets(dir.file("small.avi"));
    ASSERT_EQ(packets.size(), 4u);
    packets[2] = test::read_avi_packets(dir.file("big.avi")).at(0);
    test::write_avi_packets(dir.file("mixed.avi"), dir.file("small.avi"), packets);

    avi_reader avi;
    avi_failure f;
    ASSERT_EQ(avi.open(dir.file("mixed.avi"), f), 0) << f.text;
    for (int n : {3, 2, 0, 2, 1}) {
        std::vector<uint8_t> dib;
        if (avi.decode_frame(n, dib, f) != 0) continue;  // the damaged frame may fail
        image_info img;
        ASSERT_EQ(frame_to_argb(dib, img), 0);
        ASSERT_EQ(img.width, 64) << "frame " << n;
        // The damaged frame shows the one before it.
        const int shown = n == 2 ? 1 : n;
        EXPECT_TRUE(test::close_color(img.argb_buff[24 * 64 + 32], test::solid_color(shown), 12))
            << "frame " << n;
    }
}

// The coding type of each picture (VOP) start in an MPEG-4 packet.
std::vector<int> vop_types(const std::vector<uint8_t>& d) {
    std::vector<int> types;
    for (size_t i = 0; i + 4 < d.size(); ++i)
        if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1 && d[i + 3] == 0xB6)
            types.push_back(d[i + 4] >> 6);
    return types;
}

size_t first_vop(const std::vector<uint8_t>& d) {
    for (size_t i = 0; i + 3 < d.size(); ++i)
        if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1 && d[i + 3] == 0xB6) return i;
    return d.size();
}

TEST(AviReaderTest, PackedDivxFramesWithTheirHeaderInTheFirstFrameOnly) {
    // As DivX and Xvid wrote them: the stream header (with the DivX mark of
    // packed B-frames) only in the first frame, no header in the format, and
    // each B-frame packed behind the P-frame before it, its own place taken
    // by an empty "not coded" picture.
    test::temp_dir dir;
    auto recipe = test::lossy_recipe("mpeg4", 30, 8);
    recipe.options.max_b_frames = 1;
    test::make_avi(dir.file("plain.avi"), recipe);
    auto plain = test::read_avi_packets(dir.file("plain.avi"));
    const uint8_t divx_mark[] = {0, 0, 1, 0xB2, 'D', 'i', 'v', 'X', '5', '0', '3',
                                 'b', '1', '3', '9', '3', 'p'};
    auto& first = plain[0].data;
    first.insert(first.begin() + static_cast<std::ptrdiff_t>(first_vop(first)),
                 std::begin(divx_mark), std::end(divx_mark));
    // Type P, time 0 of a 4-bit clock, not coded, then stuffing.
    const std::vector<uint8_t> not_coded = {0, 0, 1, 0xB6, 0x50, 0x9F};
    std::vector<test::avi_packet> packed;
    int packed_pairs = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        auto& data = plain[i].data;
        if (i > 0) data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(first_vop(data)));
        if (vop_types(data) != std::vector<int>{2} && i + 1 < plain.size() &&
            vop_types(plain[i + 1].data) == std::vector<int>{2}) {
            data.insert(data.end(), plain[i + 1].data.begin(), plain[i + 1].data.end());
            packed.push_back(plain[i]);
            packed.push_back({not_coded, false});
            ++i;
            ++packed_pairs;
        } else {
            packed.push_back(plain[i]);
        }
    }
    ASSERT_EQ(packed.size(), 30u);
    ASSERT_GT(packed_pairs, 8);
    const std::vector<uint8_t> no_header;
    test::write_avi_packets(dir.file("packed.avi"), dir.file("plain.avi"), packed, &no_header);

    avi_reader avi;
    avi_failure f;
    ASSERT_EQ(avi.open(dir.file("packed.avi"), f), 0) << f.text;
    // Backwards, so that the first frame decoded lies deep in the file.
    for (int n = 29; n >= 0; --n) {
        const uint32_t centre = decode(avi, n).argb_buff[static_cast<size_t>(24 * 64 + 32)];
        EXPECT_TRUE(test::close_color(centre, test::solid_color(n), 12))
            << "frame " << n << std::hex << " got " << centre;
    }
}

TEST(AviReaderTest, MemoryInputMatchesFileInput) {
    test::temp_dir dir;
    test::make_avi(dir.file("a.avi"), test::raw_recipe(32, 5));
    avi_reader avi;
    avi_failure f;
    ASSERT_EQ(avi.open_memory(test::read_bytes(dir.file("a.avi")), "mem", f), 0) << f.text;
    image_info img = decode(avi, 3);
    EXPECT_EQ(img.argb_buff[0], test::stored_pattern(3, 0, 0, 32));
}

}  // namespace
}  // namespace mevra
