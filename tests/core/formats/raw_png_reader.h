#pragma once
// A PNG's stored rows and tRNS table, read by libpng with no transforms: what
// the writer really put in the file.
#include <png.h>

#include <csetjmp>
#include <cstdlib>

#include "codec_test_files.h"

namespace mevra::test {

struct raw_png {
    int depth = 0, color_type = 0;
    bytes first_row, trns;
    std::vector<bytes> rows;  // every row, when asked for
};

inline void read_png_bytes(png_structp png, png_bytep out, size_t n) {
    static_cast<byte_reader*>(png_get_io_ptr(png))->read(out, n);
}

inline raw_png read_raw(const bytes& file, bool all_rows = false) {
    raw_png r;
    byte_reader src(file);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_read_fn(png, &src, read_png_bytes);
    png_read_info(png, info);
    r.depth = png_get_bit_depth(png, info);
    r.color_type = png_get_color_type(png, info);
    png_bytep t = nullptr;
    int n = 0;
    if (png_get_tRNS(png, info, &t, &n, nullptr)) r.trns.assign(t, t + n);
    r.first_row.resize(png_get_rowbytes(png, info));
    png_read_row(png, r.first_row.data(), nullptr);
    if (all_rows) r.rows.push_back(r.first_row);
    for (uint32_t y = 1; all_rows && y < png_get_image_height(png, info); ++y)
        png_read_row(png, r.rows.emplace_back(r.first_row.size()).data(), nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return r;
}

}  // namespace mevra::test
