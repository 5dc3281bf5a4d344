#pragma once
// The in-memory image: 32-bit ARGB pixels or indices into a colour table with
// per-entry pixel counts, plus the file format it came from and three view
// settings of the image window.
//
// Buffers are owned vectors; an empty vector means "absent". Pixels are
// row-major, top row first, no padding; a colour is 0xAARRGGBB.
#include <cstdint>
#include <string>
#include <vector>

#include "image/image_types.h"
#include "platform/picture.h"

namespace mevra {

class byte_reader;

class image_info {
  public:
    int flag = 0;  // 0 empty, 1 holds an image, 2 holds a reduction result
    int width = 0;
    int height = 0;
    int is_alpha = 0;
    int color_num = 0;
    int image_type = IMGTYP_NONE;
    int format = IMGFMT_NONE;
    std::vector<uint32_t> argb_buff;  // present only for IMGTYP_RGB
    std::vector<int32_t> index_buff;  // present only for indexed images
    std::vector<uint32_t> color;      // colour table
    std::vector<int32_t> color_cnt;   // pixels per colour-table entry
    int zoom_scale_level = 4;
    int grid_mode = 0;
    int draw_type = 0;

    // An empty object.
    image_info();
    // Loads a file; an empty path takes the image from the clipboard.
    explicit image_info(const std::string& path);
    // An ARGB image from width × height pixels (copied).
    image_info(int width, int height, const uint32_t* pixels);
    // Deep copy.
    image_info(const image_info& other);
    image_info& operator=(const image_info& other);
    image_info(image_info&&) noexcept = default;
    image_info& operator=(image_info&&) noexcept = default;
    ~image_info() = default;

    int64_t pixel_count() const { return int64_t{width} * height; }

    // --- model (image/image_info.cpp, image/color_census.cpp) ---
    void image_create(const decoded_picture& picture);
    int argb_to_color_index();
    void image_to_argb();
    uint32_t get_pos_color(int64_t pos) const {
        return image_type == IMGTYP_RGB && !argb_buff.empty()
                   ? argb_buff[static_cast<size_t>(pos)]
                   : color[static_cast<size_t>(index_buff[static_cast<size_t>(pos)])];
    }
    void set_color_cnt();
    void image_delete();
    // The number of distinct colours the image shows (not the table size).
    int count_distinct_colors() const;

    // --- loading (formats/) ---
    void file_to_image(const std::string& path);
    int file_check_png(byte_reader& in);
    int file_load_png(byte_reader& in);
    int file_check_bmp(byte_reader& in);
    int file_load_bmp(byte_reader& in);
    int file_load_tga(byte_reader& in);
    int file_load_dds(byte_reader& in);

    // --- saving (formats/): 0 written, -1 failed with the reason in `error` ---
    int file_save_bmp(const std::string& path, std::string& error) const;
    int file_save_png(const std::string& path, std::string& error) const;
    int file_save_tga(const std::string& path, std::string& error) const;
    // DDS in the layout of settings().dds_format. A block layout refuses a
    // width or height that is not a multiple of 4: it shows the message itself,
    // writes nothing and returns -1 with an empty `error` (no second message due).
    int file_save_dds(const std::string& path, std::string& error) const;
    // Saves in an IMGFMT format; 0 when written, -1 when not (already reported).
    int save_to_file(int format, const std::string& path);

    // --- colour reduction (reduce/) ---
    int image_to_index_pre(int target, int mode);
    int image_to_index_core();
    // The palette-building half of a reduction on the census form (colour
    // table and counts): groups, then merge passes down to `target`. 0 when
    // the groups are ready in the reduction state, -1 when refused (reported).
    int image_to_index_groups(int target);
    void image_to_index_post(int target, int mode);
    void image_to_index(int target);

    // --- transforms (image/) ---
    void flip_and_rotate(int mode);
    void color_one_calc(int op);
    // size × percent / 100, rounded up.
    static int trim_size(int size, int percent);
    // The smallest power of two that is at least n (1 for n <= 1).
    static int ruijo_size(int n);
    // Turns the trim_* settings and this image's size into trim_left/top/width/
    // height. 0 when computed; -1 (results untouched) for an empty image or a
    // setting outside its range.
    int trim_calc() const;
    // 0 done; -1 refused (size out of range, reported; image unchanged).
    int image_triming(int left, int top, int new_width, int new_height);
    int image_scaling(int new_width, int new_height);

  private:
    void reset_for_load();
};

}  // namespace mevra
