#include "image/image_info.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

#include "settings/clgbase.h"

namespace mevra {

const char* imgtyp_name(int type) {
    switch (type) {
        case IMGTYP_RGB:
            return "IMGTYP_RGB";
        case IMGTYP_256:
            return "IMGTYP_256";
        case IMGTYP_16:
            return "IMGTYP_16";
        default:
            return "IMGTYP_NONE";
    }
}

const char* imgfmt_name(int format) {
    switch (format) {
        case IMGFMT_BMP:
            return "IMGFMT_BMP";
        case IMGFMT_JPG:
            return "IMGFMT_JPG";
        case IMGFMT_PNG:
            return "IMGFMT_PNG";
        case IMGFMT_TIF:
            return "IMGFMT_TIF";
        case IMGFMT_GIF:
            return "IMGFMT_GIF";
        case IMGFMT_TGA:
            return "IMGFMT_TGA";
        case IMGFMT_DDS:
            return "IMGFMT_DDS";
        case IMGFMT_CLIPBOARD:
            return "IMGFMT_CLIPBOARD";
        default:
            return "IMGFMT_NONE";
    }
}

image_info::image_info() {
    draw_type = settings().draw_type;
}

image_info::image_info(const std::string& path) {
    image_type = IMGTYP_NONE;
    file_to_image(path);
}

image_info::image_info(int w, int h, const uint32_t* pixels) {
    flag = 1;
    width = w;
    height = h;
    image_type = IMGTYP_RGB;
    format = IMGFMT_NONE;
    draw_type = settings().draw_type;
    argb_buff.assign(pixels, pixels + pixel_count());
}

image_info::image_info(const image_info& other) {
    *this = other;
}

image_info& image_info::operator=(const image_info& other) {
    if (this == &other) return *this;
    argb_buff.clear();
    index_buff.clear();
    color.clear();
    color_cnt.clear();
    if (other.image_type == IMGTYP_RGB || !other.argb_buff.empty()) {
        argb_buff = other.argb_buff;
    }
    if (!other.index_buff.empty() || !other.color.empty()) {
        index_buff = other.index_buff;
        // Tables keep room for at least 256 entries; only the valid ones are copied.
        size_t n = static_cast<size_t>(std::max(other.color_num, 0));
        size_t room = std::max<size_t>(n, 256);
        color.assign(room, 0);
        color_cnt.assign(room, 0);
        std::copy_n(other.color.begin(), std::min(n, other.color.size()), color.begin());
        std::copy_n(other.color_cnt.begin(), std::min(n, other.color_cnt.size()),
                    color_cnt.begin());
    }
    flag = other.flag;
    width = other.width;
    height = other.height;
    is_alpha = other.is_alpha;
    color_num = other.color_num;
    image_type = other.image_type;
    format = other.format;
    zoom_scale_level = other.zoom_scale_level;
    grid_mode = other.grid_mode;
    draw_type = other.draw_type;
    return *this;
}

void image_info::reset_for_load() {
    flag = 0;
    width = height = 0;
    is_alpha = 0;
    color_num = 0;
    image_type = IMGTYP_NONE;
    argb_buff.clear();
    index_buff.clear();
    color.clear();
    color_cnt.clear();
    zoom_scale_level = 4;
    grid_mode = 0;
    draw_type = settings().draw_type;
    format = IMGFMT_NONE;
}

void image_info::image_create(const decoded_picture& pic) {
    if (format == IMGFMT_NONE) {
        switch (pic.container) {
            case picture_container::bmp:
                format = IMGFMT_BMP;
                break;
            case picture_container::jpeg:
                format = IMGFMT_JPG;
                break;
            case picture_container::png:
                format = IMGFMT_PNG;
                break;
            case picture_container::tiff:
                format = IMGFMT_TIF;
                break;
            case picture_container::gif:
                format = IMGFMT_GIF;
                break;
            default:
                break;
        }
    }
    flag = 1;
    width = pic.width;
    height = pic.height;
    is_alpha = 0;
    const size_t pixels = static_cast<size_t>(pixel_count());
    if (pic.indexed()) {
        const int n = static_cast<int>(pic.palette.size());
        color_num = n;
        image_type = (n <= 16 && pic.index_bits != 8) ? IMGTYP_16 : IMGTYP_256;
        argb_buff.clear();
        index_buff.assign(pixels, 0);
        color.assign(256, 0);
        color_cnt.assign(256, 0);
        std::copy_n(pic.palette.begin(), std::min(n, 256), color.begin());
        for (size_t p = 0; p < pixels; ++p) {
            int index = pic.indices[p];
            index_buff[p] = index;
            ++color_cnt[static_cast<size_t>(index)];
        }
        // Translucency in use: two or more fully transparent entries, or any partial one.
        int transparent = 0, translucent = 0;
        for (int i = 0; i < color_num; ++i) {
            if (color_cnt[static_cast<size_t>(i)] == 0) continue;
            uint32_t a = color[static_cast<size_t>(i)] >> 24;
            if (a == 0)
                ++transparent;
            else if (a < 255)
                ++translucent;
        }
        is_alpha = (transparent > 1 || translucent > 0) ? 1 : 0;
    } else {
        color_num = 0;
        image_type = IMGTYP_RGB;
        argb_buff.assign(pic.argb.begin(), pic.argb.begin() + static_cast<std::ptrdiff_t>(pixels));
    }
}

void image_info::image_to_argb() {
    if (flag == 0 || !argb_buff.empty()) return;
    const size_t pixels = static_cast<size_t>(pixel_count());
    std::vector<uint32_t> argb(pixels);
    for (size_t p = 0; p < pixels; ++p)
        argb[p] = color[static_cast<size_t>(index_buff[p])];
    argb_buff = std::move(argb);
    index_buff.clear();
    color.clear();
    color_cnt.clear();
    image_type = IMGTYP_RGB;
    color_num = 0;
    flag = 1;
}

void image_info::set_color_cnt() {
    if (image_type == IMGTYP_RGB && index_buff.empty()) return;
    if (color_cnt.size() < static_cast<size_t>(color_num)) color_cnt.resize(color_num, 0);
    std::fill_n(color_cnt.begin(), color_num, 0);
    for (int32_t index : index_buff)
        ++color_cnt[static_cast<size_t>(index)];
}

void image_info::image_delete() {
    if (flag == 0) return;
    flag = 0;
    color_num = 0;
    image_type = IMGTYP_NONE;
    width = height = 0;
    argb_buff = {};
    index_buff = {};
    color = {};
    color_cnt = {};
}

int image_info::count_distinct_colors() const {
    if (flag == 0) return 0;
    std::unordered_set<uint32_t> seen;
    if (!argb_buff.empty()) {
        seen.reserve(1024);
        seen.insert(argb_buff.begin(), argb_buff.end());
    } else {
        for (int i = 0; i < color_num; ++i)
            if (color_cnt[static_cast<size_t>(i)] > 0) seen.insert(color[static_cast<size_t>(i)]);
    }
    return static_cast<int>(seen.size());
}

}  // namespace mevra
