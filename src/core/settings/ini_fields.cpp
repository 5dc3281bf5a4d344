#include "settings/ini_fields.h"

#include <array>

#include "image/image_types.h"

namespace mevra::ini {
namespace {

using K = field_kind;

constexpr field option(const char* key, int clgbase::*member, int low, int high, int fallback) {
    return {.key = key,
            .kind = K::option_int,
            .low = low,
            .high = high,
            .fallback = fallback,
            .number = member};
}

constexpr field flag(const char* key, int clgbase::*member, int fallback) {
    return option(key, member, 0, 1, fallback);
}

constexpr field colour(const char* key, uint32_t clgbase::*member, uint32_t fallback) {
    return {.key = key, .kind = K::option_colour, .colour = member, .colour_fallback = fallback};
}

constexpr field position(const char* key, placement window_layout::*window,
                         std::optional<int> placement::*coordinate, int written_fallback) {
    return {.key = key,
            .kind = K::window_number,
            .low = ini_coordinate_min,
            .high = ini_coordinate_max,
            .fallback = written_fallback,
            .window = window,
            .coordinate = coordinate};
}

constexpr field extent(const char* key, placement window_layout::*window,
                       std::optional<int> placement::*coordinate, int written_fallback) {
    return {.key = key,
            .kind = K::window_number,
            .low = 1,
            .high = ini_size_max,
            .fallback = written_fallback,
            .window = window,
            .coordinate = coordinate};
}

constexpr field shown(const char* key, placement window_layout::*window) {
    return {.key = key, .kind = K::window_visible, .window = window};
}

constexpr field folder(const char* key, std::optional<std::string> window_layout::*member) {
    return {.key = key, .kind = K::layout_string, .layout_text = member};
}

constexpr field recent(const char* key, int slot) {
    return {.key = key, .kind = K::recent, .slot = slot};
}

using W = window_layout;
using P = placement;
using C = clgbase;

// The written fallbacks of the window fields are the placements of a start
// without a settings file (main window bounds: the initial 645 x 422 client
// area; AVI player: its 515 x 257 client area).
constexpr std::array<field, 61> table = {{
    {.key = "Setting File Version", .kind = K::version},
    position("MainWindow Left", &W::main_window, &P::left, 0),
    position("MainWindow Top", &W::main_window, &P::top, 0),
    extent("MainWindow Width", &W::main_window, &P::width, 645),
    extent("MainWindow Height", &W::main_window, &P::height, 422),
    {.key = "MainWindow State",
     .kind = K::main_state,
     .low = 0,
     .high = 2,
     .fallback = state_maximised},
    shown("Palette Disp", &W::palette),
    position("Palette Left", &W::palette, &P::left, 520),
    position("Palette Top", &W::palette, &P::top, 40),
    shown("Listview Disp", &W::listview),
    position("Listview Left", &W::listview, &P::left, 0),
    position("Listview Top", &W::listview, &P::top, 0),
    folder("Listview PATH1", &W::listview_path1),
    folder("Listview PATH2", &W::listview_path2),
    position("AVI Player Left", &W::avi_player, &P::left, 0),
    position("AVI Player Top", &W::avi_player, &P::top, 0),
    extent("AVI Player Width", &W::avi_player, &P::width, 515),
    extent("AVI Player Height", &W::avi_player, &P::height, 257),
    shown("AVI Player Disp", &W::avi_player),
    position("Option Left", &W::option_dialog, &P::left, 64),
    position("Option Top", &W::option_dialog, &P::top, 64),
    option("Option ImageZoomLevel", &C::zoom_level, 0, C::zoom_table_len - 1, 4),
    flag("Option ImageGridMode", &C::grid_mode, 0),
    option("Option GridType", &C::grid_type, 0, 9, 3),
    flag("Option ARGBUnit", &C::argb_unit, 0),
    option("Option DrawType", &C::draw_type, 0, 4, 0),
    option("Option CursorZoom", &C::cursor_zoom, 0, 3, 2),
    option("Option BackGroundType", &C::background_type, 0, C::BGIMG_NUM - 1, 0),
    option("Option JpegCompressPercent", &C::jpeg_compress, 10, 100, 80),
    option("Option DDSFormat", &C::dds_format, FMT_A8R8G8B8, FMT_BC5, FMT_A8R8G8B8),
    colour("EnvOption NukiColor", &C::nuki_color, 0xFF00FF00u),
    flag("EnvOption NukiFlgColor", &C::nuki_flg_color, 0),
    flag("EnvOption NukiFlgAlpha0", &C::nuki_flg_alpha0, 0),
    flag("EnvOption NukiFlgPalette0", &C::nuki_flg_palette0, 0),
    colour("EnvOption BackColor", &C::back_color, 0xFF000000u),
    option("Option TargetColor", &C::target_color, 2, 256, 256),
    option("Option TargetColorMode", &C::conv_mode, 0, 3, 2),
    option("Option DitherType", &C::dither_type, 0, 3, 3),
    option("Option DitherLevel", &C::dither_level, 1, 10, 5),
    flag("Option TransparencyMode", &C::transparency_mode, 0),
    flag("TRIM trim_palette_reserve", &C::trim_palette_reserve, 0),
    option("BATCH batch_conv_index", &C::batch_conv_index, 0, 16, 0),
    flag("BATCH batch_use_out_folder", &C::batch_use_out_folder, 1),
    {.key = "BATCH batch_out_folder_name",
     .kind = K::option_string,
     .text = &C::batch_out_folder_name},
    option("BATCH batch_format_type", &C::batch_format_type, 0, 6, 0),
    flag("BATCH batch_over_write_check", &C::batch_over_write_check, 1),
    option("AVIREN aviren_option1", &C::aviren_option1, 0, 2, 0),
    option("AVIREN aviren_option2", &C::aviren_option2, 0, 4, 0),
    option("AVIREN aviren_option3", &C::aviren_option3, 0, 6, 0),
    recent("image_last_open_pos0", 0),
    recent("image_last_open_pos1", 1),
    recent("image_last_open_pos2", 2),
    recent("image_last_open_pos3", 3),
    recent("image_last_open_pos4", 4),
    recent("image_last_open_pos5", 5),
    recent("image_last_open_pos6", 6),
    recent("image_last_open_pos7", 7),
    recent("image_last_open_pos8", 8),
    recent("image_last_open_pos9", 9),
    // Appended after the original pairs; a file without it reads 0 (off).
    option("Option RefinePasses", &C::refine_passes, 0, 16, 0),
    flag("Option DDSMipmaps", &C::dds_mipmaps, 0),
}};

}  // namespace

std::span<const field> fields() {
    return table;
}

}  // namespace mevra::ini
