#pragma once
// Byte helpers for the BMP, PNG and TGA tests: little-endian fields, saving
// through a writer into memory, loading bytes through a reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "support/test_support.h"

namespace mevra::test {

using bytes = std::vector<uint8_t>;

inline uint32_t le_at(const bytes& b, size_t o, int n = 4) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b.at(o + static_cast<size_t>(i));
    return v;
}

inline void put_le(bytes& b, uint32_t v, int n = 4) {
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The bytes a writer produces for `img`.
inline bytes saved_as(const image_info& img, int format) {
    temp_dir dir;
    const std::string path = dir.file("out");
    std::string error;
    const int r = format == IMGFMT_BMP   ? img.file_save_bmp(path, error)
                  : format == IMGFMT_PNG ? img.file_save_png(path, error)
                                         : img.file_save_tga(path, error);
    EXPECT_EQ(r, 0) << error;
    return read_bytes(path);
}

// Runs one reader over `file`; returns its result code.
inline int load_as(image_info& img, const bytes& file, int format) {
    byte_reader in(file);
    return format == IMGFMT_BMP   ? img.file_load_bmp(in)
           : format == IMGFMT_PNG ? img.file_load_png(in)
                                  : img.file_load_tga(in);
}

// The first n bytes of a file.
inline bytes cut(const bytes& b, size_t n) {
    return bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace mevra::test
