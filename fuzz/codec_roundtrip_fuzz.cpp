// Loads arbitrary bytes with the own readers and, when one takes them, saves
// the picture as BMP, PNG and TGA and loads each file again: every writer's
// output must load back to the same pixels.
#include <cstdio>

#include "fuzz_support.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"

using namespace mevra;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "round trip broke: %s\n", what);
    std::abort();
}

// BMP keeps palette alpha only when some table entry has a non-zero alpha;
// otherwise every colour comes back opaque.
bool bmp_keeps_palette_alpha(const image_info& img) {
    const size_t entries = img.image_type == IMGTYP_16 ? 16 : 256;
    for (size_t i = 0; i < entries && i < img.color.size(); ++i)
        if (img.color[i] >> 24) return true;
    return false;
}

void check_round_trip(const image_info& img, int format) {
    const char* ext = format == IMGFMT_BMP ? ".bmp" : format == IMGFMT_PNG ? ".png" : ".tga";
    const std::string path = fuzz::scratch_path(std::string("-rt") + ext);
    std::string error;
    const int saved = format == IMGFMT_BMP   ? img.file_save_bmp(path, error)
                      : format == IMGFMT_PNG ? img.file_save_png(path, error)
                                             : img.file_save_tga(path, error);
    if (saved != 0) fail(error.c_str());
    image_info back(path);
    std::remove(path.c_str());
    if (back.flag == 0 || back.format != format) fail("the written file does not load");
    fuzz::check_loaded(back);
    if (back.width != img.width || back.height != img.height) fail("size changed");
    if ((back.image_type == IMGTYP_RGB) != (img.image_type == IMGTYP_RGB)) fail("type changed");
    if (img.image_type != IMGTYP_RGB) {
        // Indices survive as written: 4-bit files keep the low nibble.
        for (size_t p = 0; p < img.index_buff.size(); ++p) {
            const int32_t want = img.image_type == IMGTYP_16 && format != IMGFMT_TGA
                                     ? (img.index_buff[p] & 15)
                                     : (img.index_buff[p] & 255);
            if (back.index_buff[p] != want) fail("index changed");
        }
    }
    const bool opaque_palette =
        format == IMGFMT_BMP && img.image_type != IMGTYP_RGB && !bmp_keeps_palette_alpha(img);
    for (int64_t p = 0; p < img.pixel_count(); ++p) {
        if (img.image_type != IMGTYP_RGB &&
            static_cast<size_t>(back.index_buff[static_cast<size_t>(p)]) !=
                static_cast<size_t>(img.index_buff[static_cast<size_t>(p)]))
            continue;  // a 4-bit file cannot hold the index; its colour is another's
        uint32_t want = img.get_pos_color(p);
        if (opaque_palette) want |= 0xFF000000u;
        if (back.get_pos_color(p) != want) fail("colour changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::silent_ui quiet;
    if (fuzz::too_slow(data, size)) return -1;
    image_info img;
    byte_reader in(std::span<const uint8_t>(data, size));
    int r = img.file_load_png(in);
    if (r == -1) r = img.file_load_bmp(in);
    if (r == -1) r = img.file_load_tga(in);
    if (r != 0) return 0;
    fuzz::check_loaded(img);
    check_round_trip(img, IMGFMT_BMP);
    check_round_trip(img, IMGFMT_PNG);
    check_round_trip(img, IMGFMT_TGA);
    return 0;
}
