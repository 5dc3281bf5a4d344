// DDS files on the command line: info names the stored layout and mipmap
// count, and a DDS converts to PNG with its pixels.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mevra
