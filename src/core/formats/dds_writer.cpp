// Saving as DDS: checks the image and the chosen layout, builds the whole file
// (the top level, then when asked the mipmap chain below it) in memory and
// writes it in one safe step.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "formats/bc1_encoder.h"
#include "formats/bc45_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/dds_block_image.h"
#include "formats/dds_dxt_encoder.h"
#include "formats/dds_header.h"
#include "formats/dds_mip_chain.h"
#include "formats/dds_uncompressed.h"
#include "image/image_info.h"
#include "platform/file_io.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

// get_pos_color trusts the model's invariants; a damaged object must be
// refused here rather than read out of bounds.
bool pixels_readable(const image_info& img) {
    const size_t n = static_cast<size_t>(img.pixel_count());
    if (img.image_type == IMGTYP_RGB && !img.argb_buff.empty()) return img.argb_buff.size() >= n;
    if (img.index_buff.size() < n) return false;
    const size_t colours = img.color.size();
    for (size_t p = 0; p < n; ++p)
        if (img.index_buff[p] < 0 || static_cast<size_t>(img.index_buff[p]) >= colours)
            return false;
    return true;
}

// Bytes of one level; block layouts round each side up to whole blocks.
size_t level_data_size(int layout, int width, int height) {
    if (!dds::is_block_layout(layout)) return dds::pixel_data_size(layout, width, height);
    return dds::pixel_data_size(layout, (width + 3) / 4 * 4, (height + 3) / 4 * 4);
}

// A level as an image to encode: block layouts get the sides rounded up to
// whole blocks, the padding repeating the last column and row (a reader
// ignores it; repeating keeps the edge blocks' endpoints on the real colours).
image_info padded_level(int layout, const dds::mip_level& level) {
    if (!dds::is_block_layout(layout)) return image_info(level.width, level.height, level.argb.data());
    const int w = (level.width + 3) / 4 * 4, h = (level.height + 3) / 4 * 4;
    std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                level.argb[static_cast<size_t>(std::min(y, level.height - 1)) *
                               static_cast<size_t>(level.width) +
                           static_cast<size_t>(std::min(x, level.width - 1))];
    return image_info(w, h, px.data());
}

void encode_level(const image_info& img, int layout, uint8_t* data) {
    switch (layout) {
        case FMT_A8R8G8B8:
            dds::encode_a8r8g8b8(img, data);
            break;
        case FMT_A4R4G4B4:
            dds::encode_a4r4g4b4(img, data);
            break;
        case FMT_A1R5G5B5:
            dds::encode_a1r5g5b5(img, data);
            break;
        case FMT_DXT1:
            dds::encode_block_image(img, dds::encode_bc1_block, 8, 0, data);
            break;
        case FMT_BC7:
            dds::encode_block_image(img, dds::encode_bc7_block, 16, 0, data);
            break;
        case FMT_BC4:
            dds::encode_block_image(img, dds::encode_bc4_block, 8, 0, data);
            break;
        case FMT_BC5:
            dds::encode_block_image(img, dds::encode_bc5_block, 16, 0, data);
            break;
        default:
            dds::encode_dxt(img,
                            layout == FMT_DXT5 ? dds::dxt_alpha::interpolated
                                               : dds::dxt_alpha::explicit4,
                            dds::dxt_engine::fast(), data);
            break;
    }
}

}  // namespace

int image_info::file_save_dds(const std::string& path, std::string& error) const {
    const int layout = settings().dds_format;
    if (layout < FMT_A8R8G8B8 || layout > FMT_BC5) {
        error = "unknown DDS layout " + std::to_string(layout);
        return -1;
    }
    if (flag == 0 || width <= 0 || height <= 0 || !pixels_readable(*this)) {
        error = "there is no image to save";
        return -1;
    }
    if (dds::is_block_layout(layout) && (width % 4 != 0 || height % 4 != 0)) {
        // The user is told here why; the empty reason tells the caller that
        // nothing was written and that no second message is due.
        show_message(path + "\n" + ui_text("file", "ファイルの保存に失敗しました。") + "\n" +
                         ui_text("file", "ファイルの幅と高さを４の倍数にして下さい。"),
                     ui_text("file", "エラー"));
        error.clear();
        return -1;
    }

    const bool chain = settings().dds_mipmaps != 0 && (width > 1 || height > 1);
    std::vector<dds::mip_level> below;
    std::vector<uint8_t> bytes;
    try {
        size_t size = dds::header_bytes(layout) + dds::pixel_data_size(layout, width, height);
        if (chain) {
            std::vector<uint32_t> top(static_cast<size_t>(pixel_count()));
            for (size_t p = 0; p < top.size(); ++p)
                top[p] = get_pos_color(static_cast<int64_t>(p));
            below = dds::build_mip_chain(top.data(), width, height,
                                         settings().dds_mip_alpha_reference);
            for (const dds::mip_level& level : below)
                size += level_data_size(layout, level.width, level.height);
        }
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
        return -1;
    }
    dds::write_header(bytes.data(), layout, width, height, 1 + static_cast<int>(below.size()));
    uint8_t* data = bytes.data() + dds::header_bytes(layout);
    encode_level(*this, layout, data);
    data += dds::pixel_data_size(layout, width, height);
    for (const dds::mip_level& level : below) {
        try {
            encode_level(padded_level(layout, level), layout, data);
        } catch (const std::bad_alloc&) {
            error = "not enough memory";
            return -1;
        }
        data += level_data_size(layout, level.width, level.height);
    }
    return write_file_atomic(path, bytes, error) ? 0 : -1;
}

}  // namespace mevra
