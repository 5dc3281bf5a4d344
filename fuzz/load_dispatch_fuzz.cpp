// Feeds arbitrary bytes to each own reader directly and to the whole load
// dispatch through a file, checking that a declined file changes nothing and
// a loaded one keeps the image model's rules.
#include <cstdio>

#include "fuzz_support.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"

using namespace mevra;

namespace {

template <class Reader>
void try_reader(const uint8_t* data, size_t size, Reader read) {
    byte_reader in(std::span<const uint8_t>(data, size));
    image_info img;
    const int r = read(img, in);
    if (r == 0) {
        fuzz::check_loaded(img);
    } else if (img.flag != 0 || !img.argb_buff.empty() || !img.index_buff.empty() ||
               !img.color.empty() || img.format != IMGFMT_NONE) {
        std::fprintf(stderr, "a declined file changed the object\n");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::silent_ui quiet;
    if (fuzz::too_slow(data, size)) return -1;
    try_reader(data, size, [](image_info& i, byte_reader& in) { return i.file_load_png(in); });
    try_reader(data, size, [](image_info& i, byte_reader& in) { return i.file_load_bmp(in); });
    try_reader(data, size, [](image_info& i, byte_reader& in) { return i.file_load_tga(in); });
    try_reader(data, size, [](image_info& i, byte_reader& in) { return i.file_load_dds(in); });

    static const char* const extensions[] = {".tga", ".bmp", ".png", ".dds"};
    const std::string path = fuzz::scratch_path(extensions[size % 4]);
    fuzz::write_scratch(path, data, size);
    image_info img(path);
    if (img.flag != 0) fuzz::check_loaded(img);
    std::remove(path.c_str());
    return 0;
}
