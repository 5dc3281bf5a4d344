#include <gtest/gtest.h>

#include <cstdlib>

#include "image/image_types.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

TEST(Settings, DefaultsAndSingleInstance) {
    clgbase clg;
    EXPECT_EQ(clgbase::CLG, &clg);
    EXPECT_EQ(clg.zoom_level, 4);
    EXPECT_EQ(clgbase::zoom_table[clg.zoom_level], 1.0f);
    EXPECT_EQ(clg.grid_type, 3);
    EXPECT_EQ(clg.cursor_zoom, 2);
    EXPECT_EQ(clg.jpeg_compress, 80);
    EXPECT_EQ(clg.nuki_color, 0xFF00FF00u);
    EXPECT_EQ(clg.back_color, 0xFF000000u);
    EXPECT_EQ(clg.target_color, 256);
    EXPECT_EQ(clg.conv_mode, 2);
    EXPECT_EQ(clg.dither_type, 3);
    EXPECT_EQ(clg.dither_level, 5);
    EXPECT_EQ(clg.batch_use_out_folder, 1);
    EXPECT_EQ(clg.batch_over_write_check, 1);
    EXPECT_EQ(&settings(), &clg);
}

TEST(Settings, ZoomStepsStopAtBothEnds) {
    clgbase clg;
    clg.zoom_level = 12;
    clg.zoom_proc(0);
    EXPECT_EQ(clg.zoom_level, 12);
    clg.zoom_proc(1);
    EXPECT_EQ(clg.zoom_level, 11);
    clg.zoom_level = 0;
    clg.zoom_proc(-1);
    EXPECT_EQ(clg.zoom_level, 0);
    clg.zoom_proc(0);
    EXPECT_EQ(clg.zoom_level, 1);
}

TEST(Settings, RecentRingKeepsKnownPathsAndOverwritesOldest) {
    clgbase clg;
    for (int i = 0; i < 10; ++i)
        clg.set_image_last_open("/f" + std::to_string(i));
    EXPECT_EQ(clg.image_last_open_pos, 0);
    clg.set_image_last_open("/f3");  // already listed: keeps its place
    EXPECT_EQ(clg.image_last_open_pos, 0);
    EXPECT_EQ(clg.image_last_open_file, "/f3");
    clg.set_image_last_open("/new");
    EXPECT_EQ(clg.image_last_open_log10[0], "/new");
    EXPECT_EQ(clg.image_last_open_pos, 1);
    auto list = clg.recent_files();
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "/f1");
    EXPECT_EQ(list.back(), "/new");
    clg.image_last_open_pos = 99;  // as a damaged settings file might leave it
    clg.set_image_last_open("/other");
    EXPECT_EQ(clg.image_last_open_log10[0], "/other");
}

TEST(Settings, KeyColourTest) {
    clgbase clg;
    for (uint32_t c : {0u, 0xFF00FF00u, 0x00FFFFFFu}) {
        EXPECT_EQ(clg.nukicheck(IMGTYP_RGB, 0, c), 0);
        EXPECT_EQ(clg.nukicheck(IMGTYP_256, 0, c), 0);
    }
    clg.nuki_flg_palette0 = 1;
    EXPECT_EQ(clg.nukicheck(IMGTYP_256, 0, 0xFF123456u), 1);
    EXPECT_EQ(clg.nukicheck(IMGTYP_16, 1, 0xFF123456u), 0);
    EXPECT_EQ(clg.nukicheck(IMGTYP_RGB, 0, 0xFF123456u), 0);
    clg.nuki_flg_palette0 = 0;
    clg.nuki_flg_color = 1;
    EXPECT_EQ(clg.nukicheck(IMGTYP_RGB, 5, 0xFF00FF00u), 1);
    EXPECT_EQ(clg.nukicheck(IMGTYP_RGB, 5, 0xFE00FF00u), 0);  // alpha counts
    clg.nuki_flg_alpha0 = 1;
    EXPECT_EQ(clg.nukicheck(IMGTYP_RGB, 5, 0x00123456u), 1);
}

TEST(Settings, AppPathFollowsXdgConfigHome) {
    test::temp_dir dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    std::string path = clgbase::get_clg_app_path();
    EXPECT_EQ(path, (dir.path() / "mevra").string());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace mevra
