#include "settings/clgbase.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "image/image_types.h"

namespace mevra {

clgbase* clgbase::CLG = nullptr;

clgbase::clgbase() {
    reset_defaults();
    CLG = this;
}

clgbase::~clgbase() {
    if (CLG == this) CLG = nullptr;
}

void clgbase::reset_defaults() {
    image_last_open_file.clear();
    image_last_open_pos = 0;
    for (auto& slot : image_last_open_log10)
        slot.clear();
    zoom_level = 4;
    grid_mode = 0;
    grid_type = 3;
    argb_unit = 0;
    draw_type = 0;
    cursor_zoom = 2;
    background_type = 0;
    jpeg_compress = 80;
    dds_format = 0;
    nuki_color = 0xFF00FF00u;
    nuki_flg_color = 0;
    nuki_flg_alpha0 = 0;
    nuki_flg_palette0 = 0;
    back_color = 0xFF000000u;
    target_color = 256;
    conv_mode = 2;
    dither_type = 3;
    dither_level = 5;
    transparency_mode = 0;
    refine_passes = 0;
    trim_or_scaling = 0;
    trim_palette_reserve = 0;
    trim_left = trim_top = trim_width = trim_height = 0;
    trim_mode = trim_1w_style = trim_1h_style = trim_1size_type = trim_1kotei_mode = 0;
    trim_1width = trim_1height = trim_2top = trim_2bottom = trim_2left = trim_2right = 0;
    trim_3mode = trim_4mode = trim_4size = 0;
    batch_conv_index = 0;
    batch_use_out_folder = 1;
    batch_out_folder_name.clear();
    batch_format_type = 0;
    batch_over_write_check = 1;
    aviren_option1 = aviren_option2 = aviren_option3 = 0;
    dds_mipmaps = 0;
    dds_mip_alpha_reference = -1;
    dds_read_level = 0;
}

void clgbase::zoom_proc(int direction) {
    if (direction == 0) {
        if (zoom_level < zoom_table_len - 1) ++zoom_level;
    } else {
        if (zoom_level > 0) --zoom_level;
    }
}

void clgbase::set_image_last_open(const std::string& path) {
    image_last_open_file = path;
    for (const auto& slot : image_last_open_log10)
        if (slot == path) return;
    // A position read from a damaged settings file must not index outside the ring.
    if (image_last_open_pos < 0 || image_last_open_pos >= recent_count) image_last_open_pos = 0;
    image_last_open_log10[image_last_open_pos] = path;
    image_last_open_pos = (image_last_open_pos + 1) % recent_count;
}

std::vector<std::string> clgbase::recent_files() const {
    std::vector<std::string> list;
    int start =
        (image_last_open_pos >= 0 && image_last_open_pos < recent_count) ? image_last_open_pos : 0;
    for (int k = 0; k < recent_count; ++k) {
        const auto& slot = image_last_open_log10[(start + k) % recent_count];
        if (!slot.empty()) list.push_back(slot);
    }
    return list;
}

int clgbase::nukicheck(int type, int index, uint32_t colour) const {
    if (nuki_flg_color && colour == nuki_color) return 1;
    if (nuki_flg_alpha0 && (colour >> 24) == 0) return 1;
    if (type != IMGTYP_RGB && nuki_flg_palette0 && index == 0) return 1;
    return 0;
}

std::string clgbase::get_clg_app_path() {
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".config";
    } else {
        base = fs::temp_directory_path();
    }
    fs::path folder = base / "mevra";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder.string();
}

clgbase& settings() {
    static std::unique_ptr<clgbase> fallback;
    if (!clgbase::CLG) fallback = std::make_unique<clgbase>();
    return *clgbase::CLG;
}

}  // namespace mevra
