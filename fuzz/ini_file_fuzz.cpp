// Feeds arbitrary bytes to the settings-file reader: whatever it reads must
// lie in the options' ranges, and what it read must be written and read back
// unchanged.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/clgbase.h"
#include "settings/ini_file.h"

using namespace mevra;

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "settings file reader: %s\n", what);
        std::abort();
    }
}

bool in(int v, int low, int high) {
    return v >= low && v <= high;
}

void check_ranges(const clgbase& c) {
    require(in(c.zoom_level, 0, 12) && in(c.grid_type, 0, 9) && in(c.draw_type, 0, 4) &&
                in(c.cursor_zoom, 0, 3) && in(c.background_type, 0, 4) &&
                in(c.jpeg_compress, 10, 100) && in(c.dds_format, 0, 4) &&
                in(c.target_color, 2, 256) && in(c.conv_mode, 0, 3) && in(c.dither_type, 0, 3) &&
                in(c.dither_level, 1, 10) && in(c.batch_conv_index, 0, 16) &&
                in(c.batch_format_type, 0, 6) && in(c.aviren_option1, 0, 2) &&
                in(c.aviren_option2, 0, 4) && in(c.aviren_option3, 0, 6),
            "an option out of range");
    for (int flag : {c.grid_mode, c.argb_unit, c.nuki_flg_color, c.nuki_flg_alpha0,
                     c.nuki_flg_palette0, c.transparency_mode, c.trim_palette_reserve,
                     c.batch_use_out_folder, c.batch_over_write_check})
        require(in(flag, 0, 1), "a flag out of range");
    require(c.image_last_open_pos == 0, "the ring position was moved");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    clgbase clg;
    const window_layout layout =
        read_ini_text(std::string_view(reinterpret_cast<const char*>(data), size), clg);
    check_ranges(clg);
    require(!layout.main_state || in(*layout.main_state, 0, 2), "a main window state out of range");
    const std::string written = write_ini_text(clg, layout);
    clgbase again;
    require(write_ini_text(again, read_ini_text(written, again)) == written,
            "a written file reads back differently");
    return 0;
}
