// The settings file as text and on disc: the 61 pairs byte for byte, the
// accepted line ends, positional pairs, the recent-file order and the
// missing-file and failed-write behaviour.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include <string>
#include <vector>

#include "settings/clgbase.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

namespace mevra {
namespace {

// Joins lines with CR LF after each, as the writer ends them.
std::string crlf_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string crlf(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string text;
    for (const auto& [key, value] : pairs)
        text += key + "\r\n" + value + "\r\n";
    return text;
}

const std::vector<std::pair<std::string, std::string>> defaults_file = {
    {"Setting File Version", "1.0"},
    {"MainWindow Left", "0"},
    {"MainWindow Top", "0"},
    {"MainWindow Width", "645"},
    {"MainWindow Height", "422"},
    {"MainWindow State", "2"},
    {"Palette Disp", "0"},
    {"Palette Left", "520"},
    {"Palette Top", "40"},
    {"Listview Disp", "0"},
    {"Listview Left", "0"},
    {"Listview Top", "0"},
    {"Listview PATH1", ""},
    {"Listview PATH2", ""},
    {"AVI Player Left", "0"},
    {"AVI Player Top", "0"},
    {"AVI Player Width", "515"},
    {"AVI Player Height", "257"},
    {"AVI Player Disp", "0"},
    {"Option Left", "64"},
    {"Option Top", "64"},
    {"Option ImageZoomLevel", "4"},
    {"Option ImageGridMode", "0"},
    {"Option GridType", "3"},
    {"Option ARGBUnit", "0"},
    {"Option DrawType", "0"},
    {"Option CursorZoom", "2"},
    {"Option BackGroundType", "0"},
    {"Option JpegCompressPercent", "80"},
    {"Option DDSFormat", "0"},
    {"EnvOption NukiColor", "ff00ff00"},
    {"EnvOption NukiFlgColor", "0"},
    {"EnvOption NukiFlgAlpha0", "0"},
    {"EnvOption NukiFlgPalette0", "0"},
    {"EnvOption BackColor", "ff000000"},
    {"Option TargetColor", "256"},
    {"Option TargetColorMode", "2"},
    {"Option DitherType", "3"},
    {"Option DitherLevel", "5"},
    {"Option TransparencyMode", "0"},
    {"TRIM trim_palette_reserve", "0"},
    {"BATCH batch_conv_index", "0"},
    {"BATCH batch_use_out_folder", "1"},
    {"BATCH batch_out_folder_name", ""},
    {"BATCH batch_format_type", "0"},
    {"BATCH batch_over_write_check", "1"},
    {"AVIREN aviren_option1", "0"},
    {"AVIREN aviren_option2", "0"},
    {"AVIREN aviren_option3", "0"},
    {"image_last_open_pos0", ""},
    {"image_last_open_pos1", ""},
    {"image_last_open_pos2", ""},
    {"image_last_open_pos3", ""},
    {"image_last_open_pos4", ""},
    {"image_last_open_pos5", ""},
    {"image_last_open_pos6", ""},
    {"image_last_open_pos7", ""},
    {"image_last_open_pos8", ""},
    {"image_last_open_pos9", ""},
    {"Option RefinePasses", "0"},
    {"Option DDSMipmaps", "0"},
};

// Every value differs from its default.
const std::vector<std::pair<std::string, std::string>> custom_file = {
    {"Setting File Version", "1.0"},
    {"MainWindow Left", "-8"},
    {"MainWindow Top", "12"},
    {"MainWindow Width", "1024"},
    {"MainWindow Height", "700"},
    {"MainWindow State", "2"},
    {"Palette Disp", "1"},
    {"Palette Left", "300"},
    {"Palette Top", "20"},
    {"Listview Disp", "1"},
    {"Listview Left", "1930"},
    {"Listview Top", "100"},
    {"Listview PATH1", "/home/u/図版"},
    {"Listview PATH2", "/tmp/b c"},
    {"AVI Player Left", "5"},
    {"AVI Player Top", "6"},
    {"AVI Player Width", "640"},
    {"AVI Player Height", "480"},
    {"AVI Player Disp", "1"},
    {"Option Left", "200"},
    {"Option Top", "150"},
    {"Option ImageZoomLevel", "12"},
    {"Option ImageGridMode", "1"},
    {"Option GridType", "9"},
    {"Option ARGBUnit", "1"},
    {"Option DrawType", "4"},
    {"Option CursorZoom", "3"},
    {"Option BackGroundType", "4"},
    {"Option JpegCompressPercent", "10"},
    {"Option DDSFormat", "4"},
    {"EnvOption NukiColor", "0"},
    {"EnvOption NukiFlgColor", "1"},
    {"EnvOption NukiFlgAlpha0", "1"},
    {"EnvOption NukiFlgPalette0", "1"},
    {"EnvOption BackColor", "ab0c"},
    {"Option TargetColor", "2"},
    {"Option TargetColorMode", "0"},
    {"Option DitherType", "1"},
    {"Option DitherLevel", "10"},
    {"Option TransparencyMode", "1"},
    {"TRIM trim_palette_reserve", "1"},
    {"BATCH batch_conv_index", "16"},
    {"BATCH batch_use_out_folder", "0"},
    {"BATCH batch_out_folder_name", "/out"},
    {"BATCH batch_format_type", "6"},
    {"BATCH batch_over_write_check", "0"},
    {"AVIREN aviren_option1", "2"},
    {"AVIREN aviren_option2", "4"},
    {"AVIREN aviren_option3", "6"},
    {"image_last_open_pos0", "/a.png"},
    {"image_last_open_pos1", ""},
    {"image_last_open_pos2", "/c.bmp"},
    {"image_last_open_pos3", "/d.tga"},
    {"image_last_open_pos4", ""},
    {"image_last_open_pos5", ""},
    {"image_last_open_pos6", ""},
    {"image_last_open_pos7", ""},
    {"image_last_open_pos8", ""},
    {"image_last_open_pos9", "/j.gif"},
    {"Option RefinePasses", "16"},
    {"Option DDSMipmaps", "1"},
};

TEST(IniFile, DefaultsAndNoLayoutWriteTheStatedFile) {
    clgbase clg;
    EXPECT_EQ(defaults_file.size(), 61u);
    EXPECT_EQ(write_ini_text(clg, missing_file_layout()), crlf(defaults_file));
    EXPECT_EQ(write_ini_text(clg, window_layout{}), crlf(defaults_file));
}

TEST(IniFile, EveryPairSurvivesAReadAndWriteByteForByte) {
    clgbase clg;
    const window_layout layout = read_ini_text(crlf(custom_file), clg);
    EXPECT_EQ(clg.zoom_level, 12);
    EXPECT_EQ(clg.nuki_color, 0u);
    EXPECT_EQ(clg.back_color, 0xAB0Cu);
    EXPECT_EQ(clg.batch_out_folder_name, "/out");
    EXPECT_EQ(clg.dds_mipmaps, 1);
    EXPECT_EQ(layout.main_window.left, -8);
    EXPECT_EQ(layout.main_state, 2);
    EXPECT_EQ(layout.listview_path1, "/home/u/図版");
    EXPECT_EQ(layout.avi_player.visible, true);
    EXPECT_EQ(write_ini_text(clg, layout), crlf(custom_file));
}

TEST(IniFile, AnyLineEndAndAByteOrderMarkAreRead) {
    const std::string lf = "\xEF\xBB\xBFOption TargetColor\n16\nOption DitherLevel\n7";
    const std::string cr = "Option TargetColor\r16\rOption DitherLevel\r7\r";
    const std::string mixed = "Option TargetColor\r\n16\nOption DitherLevel\r7\r\n";
    for (const std::string& text : {lf, cr, mixed}) {
        clgbase clg;
        read_ini_text(text, clg);
        EXPECT_EQ(clg.target_color, 16);
        EXPECT_EQ(clg.dither_level, 7);
    }
    // A byte-order mark is only one at the very start.
    clgbase clg;
    read_ini_text("Option TargetColor\n16\n\xEF\xBB\xBFOption DitherLevel\n7\n", clg);
    EXPECT_EQ(clg.dither_level, 5);
}

TEST(IniFile, PairsArePositionalLastValueWinsUnknownKeysAreSkipped) {
    clgbase clg;
    const window_layout layout = read_ini_text(
        crlf_lines({"Option DitherType", "1",                                        //
                    "No Such Key", "Option TargetColor", "option targetcolor", "9",  // case matters
                    "Palette Left", "10",                                            //
                    "Option DitherType", "2",                                        //
                    "Palette Left", "11",                                            //
                    "Option TargetColor"}),                                          // no value
        clg);
    EXPECT_EQ(clg.dither_type, 2);
    EXPECT_EQ(clg.target_color, 256);
    EXPECT_EQ(layout.palette.left, 11);
    EXPECT_FALSE(layout.palette.top.has_value());
    EXPECT_FALSE(layout.main_state.has_value());
}

TEST(IniFile, RecentFilesComeBackOldestFirstAndTheNextOneIsListedLast) {
    clgbase clg;
    for (int i = 0; i < 13; ++i)  // the ring position ends at 3, not 0
        clg.set_image_last_open("/f" + std::to_string(i));
    const std::vector<std::string> before = clg.recent_files();
    const std::string text = write_ini_text(clg, {});
    EXPECT_NE(text.find("image_last_open_pos0\r\n/f3\r\n"), std::string::npos);
    EXPECT_NE(text.find("image_last_open_pos9\r\n/f12\r\n"), std::string::npos);

    clgbase loaded;
    loaded.image_last_open_pos = 7;
    read_ini_text(text, loaded);
    EXPECT_EQ(loaded.image_last_open_pos, 0);
    EXPECT_EQ(loaded.recent_files(), before);
    loaded.set_image_last_open("/new");
    EXPECT_EQ(loaded.recent_files().back(), "/new");
    EXPECT_EQ(loaded.recent_files().front(), "/f4");
    // An empty value leaves its slot alone.
    read_ini_text(crlf_lines({"image_last_open_pos1", ""}), loaded);
    EXPECT_EQ(loaded.image_last_open_log10[1], "/f4");
}

TEST(IniFile, UnusableValuesFallBackToTheDefaultOrLeaveTheWindowAlone) {
    clgbase clg;
    clg.target_color = 16;
    const window_layout layout =
        read_ini_text(crlf({{"Option TargetColor", "1"},
                            {"Option DitherLevel", "11"},
                            {"Option ImageZoomLevel", "99999999999"},
                            {"Option GridType", "3x"},
                            {"EnvOption NukiColor", "1ff00ff00"},
                            {"EnvOption BackColor", "-1"},
                            {"Option CursorZoom", " 1 "},
                            {"Option DrawType", "+2"},
                            {"MainWindow Width", "0"},
                            {"MainWindow Left", "40000"},
                            {"MainWindow State", "3"},
                            {"Palette Disp", "7"},
                            {"AVI Player Disp", "yes"},
                            {"Listview PATH1", "/a\tb"},
                            {"BATCH batch_out_folder_name", std::string(5000, 'x')}}),
                      clg);
    EXPECT_EQ(clg.target_color, 256);
    EXPECT_EQ(clg.dither_level, 5);
    EXPECT_EQ(clg.zoom_level, 4);
    EXPECT_EQ(clg.grid_type, 3);
    EXPECT_EQ(clg.nuki_color, 0xFF00FF00u);
    EXPECT_EQ(clg.back_color, 0xFF000000u);
    EXPECT_EQ(clg.cursor_zoom, 1);  // blanks around a number are fine
    EXPECT_EQ(clg.draw_type, 2);
    EXPECT_EQ(clg.batch_out_folder_name, "");
    EXPECT_FALSE(layout.main_window.width.has_value());
    EXPECT_FALSE(layout.main_window.left.has_value());
    EXPECT_FALSE(layout.main_state.has_value());
    EXPECT_EQ(layout.palette.visible, true);  // any non-zero number means shown
    EXPECT_FALSE(layout.avi_player.visible.has_value());
    EXPECT_FALSE(layout.listview_path1.has_value());
}

TEST(IniFile, DdsFormatTakesAllNineLayoutsAndFallsBackBeyondThem) {
    for (const auto& [text, want] : {std::pair<const char*, int>{"5", 5}, {"6", 6}, {"4", 4},
                                     {"7", 7}, {"8", 8}, {"9", 0}, {"-1", 0}}) {
        clgbase clg;
        clg.dds_format = 3;
        read_ini_text(crlf({{"Option DDSFormat", text}}), clg);
        EXPECT_EQ(clg.dds_format, want) << text;
    }
}

TEST(IniFile, AStringWithALineBreakIsWrittenAsAnEmptyLine) {
    clgbase clg;
    clg.set_image_last_open("/odd\nname.png");
    clg.batch_out_folder_name = "/x\ry";
    const std::string text = write_ini_text(clg, {});
    EXPECT_EQ(text, crlf(defaults_file));
}

TEST(IniFile, MissingFileGivesTheStartPlacementsAndKeepsTheOptions) {
    test::temp_dir dir;
    clgbase clg;
    clg.target_color = 16;
    window_layout layout;
    std::string error;
    EXPECT_EQ(read_ini(dir.file("mevra.ini"), clg, layout, error), ini_read_status::missing);
    EXPECT_EQ(layout, missing_file_layout());
    EXPECT_EQ(layout.main_state, state_maximised);
    EXPECT_EQ(layout.palette.visible, false);
    EXPECT_EQ(layout.palette.left, 520);
    EXPECT_EQ(layout.option_dialog.top, 64);
    EXPECT_EQ(clg.target_color, 16);
    // A folder in the file's place cannot be read: the same start, with a reason.
    EXPECT_EQ(read_ini(dir.path().string(), clg, layout, error), ini_read_status::unreadable);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(layout, missing_file_layout());
}

TEST(IniFile, WriteAndReadBackThroughTheDisc) {
    test::temp_dir dir;
    const std::string path = dir.file("mevra.ini");
    clgbase clg;
    const window_layout layout = read_ini_text(crlf(custom_file), clg);
    std::string error;
    ASSERT_TRUE(write_ini(path, clg, layout, error)) << error;
    const auto bytes = test::read_bytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), crlf(custom_file));

    clgbase again;
    window_layout back;
    EXPECT_EQ(read_ini(path, again, back, error), ini_read_status::loaded);
    EXPECT_EQ(back, layout);
    EXPECT_EQ(again.recent_files(), clg.recent_files());
}

TEST(IniFile, AFailedWriteLeavesTheOldFileWhole) {
    test::temp_dir dir;
    const std::string path = dir.file("mevra.ini");
    test::write_bytes(path, {'o', 'l', 'd'});
    // A file-size limit stands in for a full disc: it stops the write half
    // way, for root as well.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    clgbase clg;
    std::string error;
    const bool written = write_ini(path, clg, {}, error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file is left behind";
}

TEST(IniFile, RefinePassesFollowTheOriginalPairsAndOlderFilesReadThemAsOff) {
    clgbase clg;  // a file of the 59 original pairs leaves the setting alone
    clg.refine_passes = 5;
    read_ini_text(crlf({defaults_file.begin(), defaults_file.begin() + 59}), clg);
    EXPECT_EQ(clg.refine_passes, 5);
    read_ini_text(crlf({{"Option RefinePasses", "17"}}), clg);  // out of range: off
    EXPECT_EQ(clg.refine_passes, 0);
}

}  // namespace
}  // namespace mevra
