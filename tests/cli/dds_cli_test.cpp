// DDS files on the command line: info names the stored layout and mipmap
// count, and a DDS converts to PNG with its pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_runner.h"
#include "image/image_info.h"
#include "support/dds_test_files.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::run_mevra_cli;
using test::shell_quote;

TEST(DdsCli, InfoNamesTheLayoutAndConvertReadsTheFile) {
    test::temp_dir dir;
    // 4x4 A4R4G4B4 with 3 mipmap levels (4x4, 2x2, 1x1).
    test::dds_layout l = test::masked_layout(0x41, 16, 0xF00, 0xF0, 0xF, 0xF000);
    l.mipmaps = 3;
    std::vector<uint8_t> data;
    for (int i = 0; i < 16 + 4 + 1; ++i)
        data.push_back(0x34), data.push_back(0x12);
    const std::string dds = dir.file("tex.dds");
    test::write_bytes(dds, test::dds_file(l, data));

    auto r = run_mevra_cli("info --json " + shell_quote(dds));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"format\": \"IMGFMT_DDS\", \"width\": 4, \"height\": 4, "
                         "\"image_type\": \"IMGTYP_RGB\", \"color_num\": 0, \"colors\": 1, "
                         "\"dds_format\": \"A4R4G4B4\", \"mipmaps\": 3, \"levels\": [{\"width\": 4, "
                         "\"height\": 4}, {\"width\": 2, \"height\": 2}, {\"width\": 1, \"height\": 1}]}"),
              std::string::npos)
        << r.out;

    r = run_mevra_cli("convert --format png " + shell_quote(dds));
    ASSERT_EQ(r.status, 0) << r.out;
    const image_info png(dir.file("tex.png"));
    EXPECT_EQ(png.format, IMGFMT_PNG);
    EXPECT_EQ(test::argb_pixels(png), std::vector<uint32_t>(16, 0x11223344u));

    // Any level opens; one past the last is refused.
    r = run_mevra_cli("convert --overwrite --dds-level 1 --format png " + shell_quote(dds));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(image_info(dir.file("tex.png")).width * 10 + image_info(dir.file("tex.png")).height, 22);
    r = run_mevra_cli("convert --overwrite --dds-level 3 --format png " + shell_quote(dds));
    EXPECT_NE(r.status, 0) << r.out;
}

// Level 0 of a file with mipmaps in every layout Pillow knows, read by
// Pillow (an independent reader) and by MEVRA: the same pixels, up to the
// rounding of the colours between two block endpoints.
TEST(DdsCli, PillowReadsTheTopLevelOfEveryMipmappedLayout) {
    test::temp_dir dir;
    std::string error;
    ASSERT_EQ(test::make_photo_like(1000, 600, 4, true).file_save_png(dir.file("in.png"), error), 0);
    const std::string script = "from PIL import Image\nimport sys\nim = Image.open(sys.argv[1])\n"
                               "assert im.size == (1000, 600)\n"
                               "open(sys.argv[1] + '.rgba', 'wb').write(im.convert('RGBA').tobytes())\n";
    for (const std::string layout : {"a8r8g8b8", "dxt1", "dxt3", "dxt5", "bc4", "bc5", "bc7"}) {
        const std::string dds = dir.file(layout + ".dds");
        auto r = run_mevra_cli("convert --format dds --mipmaps --dds " + layout + " -o " +
                               shell_quote(dds) + " " + shell_quote(dir.file("in.png")));
        ASSERT_EQ(r.status, 0) << r.out;
        ASSERT_EQ(std::system(("/usr/bin/python3 -c " + shell_quote(script) + " " + shell_quote(dds)).c_str()), 0)
            << layout;
        const auto theirs = test::read_bytes(dds + ".rgba");
        const auto ours = test::argb_pixels(image_info(dds));
        ASSERT_EQ(theirs.size(), ours.size() * 4) << layout;
        // BC4 holds one channel and BC5 two: only those are compared.
        const int channels = layout == "bc4" ? 1 : layout == "bc5" ? 2 : 4;
        int worst = 0;
        for (size_t i = 0; i < ours.size(); ++i)
            for (int c = 0; c < channels; ++c) {
                const int mine = static_cast<int>(ours[i] >> (c == 3 ? 24 : 16 - 8 * c) & 255);
                worst = std::max(worst, std::abs(mine - theirs[4 * i + static_cast<size_t>(c)]));
            }
        EXPECT_LE(worst, 1) << layout;
    }
}

}  // namespace
}  // namespace mevra
