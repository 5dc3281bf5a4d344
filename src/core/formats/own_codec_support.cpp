#include "formats/own_codec_support.h"

#include <utility>

#include "platform/file_io.h"
#include "platform/image_limits.h"

namespace mevra::codec {

void decoded_image::start_indexed(int w, int h, int type) {
    width = w;
    height = h;
    image_type = type;
    index.assign(static_cast<size_t>(int64_t{w} * h), 0);
    color.assign(256, 0);
    color_cnt.assign(256, 0);
}

void decoded_image::start_argb(int w, int h) {
    width = w;
    height = h;
    image_type = IMGTYP_RGB;
    color_num = 0;
    argb.assign(static_cast<size_t>(int64_t{w} * h), 0);
}

void commit(image_info& img, decoded_image&& pic, int format) {
    img.flag = 1;
    img.width = pic.width;
    img.height = pic.height;
    img.image_type = pic.image_type;
    img.color_num = pic.color_num;
    img.argb_buff = std::move(pic.argb);
    img.index_buff = std::move(pic.index);
    img.color = std::move(pic.color);
    img.color_cnt = std::move(pic.color_cnt);
    img.format = format;
}

bool image_is_writable(const image_info& img, std::string& error) {
    if (img.flag == 0) {
        error = "there is no image to save";
        return false;
    }
    if (!image_size_ok(img.width, img.height)) {
        error = "the image size is out of range";
        return false;
    }
    const size_t pixels = static_cast<size_t>(img.pixel_count());
    if (img.image_type == IMGTYP_RGB) {
        if (img.argb_buff.size() < pixels) {
            error = "the image has no pixels";
            return false;
        }
        return true;
    }
    if (img.image_type == IMGTYP_256 || img.image_type == IMGTYP_16) {
        if (img.index_buff.size() < pixels) {
            error = "the image has no pixels";
            return false;
        }
        return true;
    }
    error = "the image has an unknown pixel type";
    return false;
}

int save_file_bytes(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string& error) {
    return write_file_atomic(path, bytes, error) ? 0 : -1;
}

}  // namespace mevra::codec
