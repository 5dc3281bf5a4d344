// The single way out for an image: the own writers for BMP, PNG, TGA and DDS,
// the platform encoders for JPEG, TIFF and GIF, and the clipboard. Every file
// is built in memory and written through write_file_atomic, so a failed save
// never leaves a damaged file behind; the failure is reported here once.
#include <string>
#include <vector>

#include "formats/save_bitmap.h"
#include "image/image_info.h"
#include "platform/clipboard_port.h"
#include "platform/file_io.h"
#include "platform/picture_encoder.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

void report_save_failure(const std::string& path, const std::string& reason) {
    show_message(path + "\n" + ui_text("file", "ファイルの保存に失敗しました。") + "\n" + reason,
                 ui_text("file", "エラー"));
}

bool save_encoded(const image_info& image, int format, const std::string& path,
                  std::string& error) {
    std::vector<uint8_t> bytes;
    bool encoded = false;
    if (format == IMGFMT_GIF) {
        platform_bitmap bitmap;
        encoded = make_gif_bitmap(image, bitmap, error) && encode_gif(bitmap, bytes, error);
    } else {
        const platform_bitmap bitmap = make_platform_bitmap(image);
        encoded = format == IMGFMT_JPG ? encode_jpeg(bitmap, settings().jpeg_compress, bytes, error)
                                       : encode_tiff(bitmap, bytes, error);
    }
    return encoded && write_file_atomic(path, bytes, error);
}

bool copy_to_clipboard(const image_info& image, std::string& error) {
    const platform_bitmap bitmap = make_platform_bitmap(image);
    if (bitmap.argb.empty() && bitmap.indices.empty()) {
        error = "the image has no pixels";
        return false;
    }
    return clipboard().set_image(bitmap, error);
}

}  // namespace

int image_info::save_to_file(int format, const std::string& path) {
    std::string error;
    bool saved = false;
    switch (format) {
        case IMGFMT_BMP:
            saved = file_save_bmp(path, error) == 0;
            break;
        case IMGFMT_PNG:
            saved = file_save_png(path, error) == 0;
            break;
        case IMGFMT_TGA:
            saved = file_save_tga(path, error) == 0;
            break;
        case IMGFMT_DDS:
            saved = file_save_dds(path, error) == 0;
            // A refused size has been explained by the DDS writer already.
            if (!saved && error.empty()) return -1;
            break;
        case IMGFMT_JPG:
        case IMGFMT_TIF:
        case IMGFMT_GIF:
            saved = save_encoded(*this, format, path, error);
            break;
        case IMGFMT_CLIPBOARD:
            saved = copy_to_clipboard(*this, error);
            break;
        default:
            // No such target: nothing is written and nothing is said.
            return -1;
    }
    if (saved) return 0;
    report_save_failure(path, error);
    return -1;
}

}  // namespace mevra
