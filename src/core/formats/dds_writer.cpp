// Saving as DDS: checks the image and the chosen layout, builds the whole file
// in memory and writes it in one safe step.
#include <new>
#include <string>
#include <vector>

#include "formats/bc1_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/dds_block_image.h"
#include "formats/dds_dxt_encoder.h"
#include "formats/dds_header.h"
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

}  // namespace

int image_info::file_save_dds(const std::string& path, std::string& error) const {
    const int layout = settings().dds_format;
    if (layout < FMT_A8R8G8B8 || layout > FMT_BC7) {
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

    std::vector<uint8_t> bytes;
    try {
        bytes.resize(dds::header_bytes(layout) + dds::pixel_data_size(layout, width, height));
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
        return -1;
    }
    dds::write_header(bytes.data(), layout, width, height);
    uint8_t* data = bytes.data() + dds::header_bytes(layout);
    switch (layout) {
        case FMT_A8R8G8B8:
            dds::encode_a8r8g8b8(*this, data);
            break;
        case FMT_A4R4G4B4:
            dds::encode_a4r4g4b4(*this, data);
            break;
        case FMT_A1R5G5B5:
            dds::encode_a1r5g5b5(*this, data);
            break;
        case FMT_DXT1:
            dds::encode_block_image(*this, dds::encode_bc1_block, 8, 0, data);
            break;
        case FMT_BC7:
            dds::encode_block_image(*this, dds::encode_bc7_block, 16, 0, data);
            break;
        default:
            dds::encode_dxt(
                *this,
                layout == FMT_DXT5 ? dds::dxt_alpha::interpolated : dds::dxt_alpha::explicit4,
                dds::dxt_engine::fast(), data);
            break;
    }
    return write_file_atomic(path, bytes, error) ? 0 : -1;
}

}  // namespace mevra
