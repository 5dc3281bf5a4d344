#pragma once
// The settings object: every option of the program, the static tables indexed
// by option values, and the recent-file ring. Exactly one instance exists,
// reached through clgbase::CLG.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mevra {

class clgbase {
  public:
    // The one instance; set by the constructor.
    static clgbase* CLG;

    static constexpr int zoom_table_len = 13;
    static constexpr float zoom_table[zoom_table_len] = {
        0.0625f, 0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 8.0f, 12.0f, 16.0f};
    static constexpr int zoom_size[4] = {1, 2, 4, 8};
    static constexpr int BGIMG_NUM = 5;
    static constexpr int recent_count = 10;

    clgbase();
    ~clgbase();
    clgbase(const clgbase&) = delete;
    clgbase& operator=(const clgbase&) = delete;

    // Restores every option to its default (the constructor's values).
    void reset_defaults();

    // Steps zoom_level: direction 0 zooms in, any other value zooms out; never wraps.
    void zoom_proc(int direction);

    // Records a path in the recent-file ring; a path already listed keeps its place.
    void set_image_last_open(const std::string& path);
    // The non-empty ring slots, oldest first and newest last.
    std::vector<std::string> recent_files() const;

    // The key-colour test: 1 when the colour (or palette index of an indexed
    // image) is the transparent target colour, else 0.
    int nukicheck(int type, int index, uint32_t colour) const;

    // The settings folder ($XDG_CONFIG_HOME/mevra, else ~/.config/mevra),
    // created on first use.
    static std::string get_clg_app_path();

    // --- options (defaults in reset_defaults) ---
    std::string image_last_open_file;
    int image_last_open_pos;
    std::array<std::string, recent_count> image_last_open_log10;
    int zoom_level;
    int grid_mode;
    int grid_type;
    int argb_unit;
    int draw_type;
    int cursor_zoom;
    int background_type;
    int jpeg_compress;
    int dds_format;
    uint32_t nuki_color;
    int nuki_flg_color;
    int nuki_flg_alpha0;
    int nuki_flg_palette0;
    uint32_t back_color;
    int target_color;
    int conv_mode;
    int dither_type;
    int dither_level;
    int transparency_mode;
    // Refinement passes over the reduced palette before mapping, 0..16 (0: off).
    int refine_passes;
    int trim_or_scaling;
    int trim_palette_reserve;
    int trim_left, trim_top, trim_width, trim_height;
    int trim_mode, trim_1w_style, trim_1h_style, trim_1size_type, trim_1kotei_mode, trim_1width,
        trim_1height, trim_2top, trim_2bottom, trim_2left, trim_2right, trim_3mode, trim_4mode,
        trim_4size;
    int batch_conv_index;
    int batch_use_out_folder;
    std::string batch_out_folder_name;
    int batch_format_type;
    int batch_over_write_check;
    int aviren_option1;
    int aviren_option2;
    int aviren_option3;
    // DDS: write the whole mipmap chain (saved); the alpha-test reference
    // whose coverage every level keeps, -1 for none (command line only).
    int dds_mipmaps;
    int dds_mip_alpha_reference;
    // The mipmap level DDS files are read at (command line only, 0 the top).
    int dds_read_level;
};

// The settings instance. Created on first use when no instance exists yet, so
// the core and the command line work without a main window.
clgbase& settings();

}  // namespace mevra
