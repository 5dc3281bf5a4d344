// Loading: the own readers first (PNG, BMP and DDS by content, TGA by
// extension), then the platform decoder for everything they decline.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "formats/load_messages.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "platform/clipboard_port.h"
#include "platform/file_io.h"
#include "platform/image_limits.h"
#include "platform/picture_decoder.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace mevra {
namespace {

bool has_tga_extension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".tga";
}

// A decoded picture must be internally consistent before the model takes it.
bool picture_is_sound(const decoded_picture& pic, std::string& error) {
    if (!image_size_ok(pic.width, pic.height)) {
        error = "the picture is too large or has no pixels";
        return false;
    }
    const size_t pixels = static_cast<size_t>(int64_t{pic.width} * pic.height);
    if (pic.indexed()) {
        if (pic.palette.empty() || pic.palette.size() > 256 || pic.indices.size() < pixels) {
            error = "the picture's palette or indices are damaged";
            return false;
        }
        const size_t n = pic.palette.size();
        if (std::any_of(pic.indices.begin(),
                        pic.indices.begin() + static_cast<std::ptrdiff_t>(pixels),
                        [n](uint8_t i) { return i >= n; })) {
            error = "the picture uses colours outside its palette";
            return false;
        }
    } else if (pic.argb.size() < pixels) {
        error = "the picture's pixels are incomplete";
        return false;
    }
    return true;
}

}  // namespace

std::string load_failure_text(const std::string& path, const std::string& reason) {
    return path + "\n" + ui_text("file", "画像を開くことが出来ませんでした") + " : " + reason;
}

void image_info::file_to_image(const std::string& path) {
    reset_for_load();
    if (path.empty()) {
        decoded_picture pic;
        std::string error;
        if (clipboard().has_image() && clipboard().get_image(pic) && picture_is_sound(pic, error)) {
            image_create(pic);
            format = IMGFMT_CLIPBOARD;
        }
        return;
    }

    std::vector<uint8_t> bytes;
    std::string error;
    if (!read_whole_file(path, bytes, error)) {
        show_message(load_failure_text(path, error), ui_text("file", "エラー"));
        return;
    }
    byte_reader in(bytes);
    int result = file_load_png(in);
    if (result == -1) {
        in.seek(0);
        result = file_load_bmp(in);
    }
    if (result == -1 && has_tga_extension(path)) {
        in.seek(0);
        result = file_load_tga(in);
    }
    if (result == -1) {
        in.seek(0);
        result = file_load_dds(in);
        // The platform decoder reads no DDS, so a refused one ends here.
        if (result == -2) {
            show_message(load_failure_text(path, "the DDS file is damaged or of a layout not read"),
                         ui_text("file", "エラー"));
            return;
        }
    }
    if (result == 0) return;

    decoded_picture pic;
    if (!decode_picture(bytes, pic, error) || !picture_is_sound(pic, error)) {
        reset_for_load();
        show_message(load_failure_text(path, error), ui_text("file", "エラー"));
        return;
    }
    image_create(pic);
}

}  // namespace mevra
