// TIFF encoding with libtiff into memory. libtiff wants a seekable file; a
// growable byte buffer with client procedures plays that part, so the whole
// file is complete before anything touches the disc.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/picture_encoder.h"

namespace mevra {
namespace {

struct memory_file {
    std::vector<uint8_t> bytes;
    uint64_t position = 0;
    std::string error;  // the first message libtiff reported
};

memory_file& file_of(thandle_t handle) {
    return *static_cast<memory_file*>(handle);
}

tmsize_t read_proc(thandle_t handle, void* data, tmsize_t size) {
    memory_file& file = file_of(handle);
    if (size <= 0 || file.position >= file.bytes.size()) return 0;
    uint64_t count =
        std::min<uint64_t>(static_cast<uint64_t>(size), file.bytes.size() - file.position);
    std::memcpy(data, file.bytes.data() + file.position, static_cast<size_t>(count));
    file.position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t write_proc(thandle_t handle, void* data, tmsize_t size) {
    memory_file& file = file_of(handle);
    if (size <= 0) return 0;
    uint64_t end = file.position + static_cast<uint64_t>(size);
    if (end > file.bytes.max_size()) return 0;
    if (end > file.bytes.size()) file.bytes.resize(static_cast<size_t>(end));
    std::memcpy(file.bytes.data() + file.position, data, static_cast<size_t>(size));
    file.position = end;
    return size;
}

// Seeking past the end is allowed; a later write fills the gap with zeros.
toff_t seek_proc(thandle_t handle, toff_t offset, int whence) {
    memory_file& file = file_of(handle);
    uint64_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? file.bytes.size() : 0;
    file.position = base + offset;
    return file.position;
}

int close_proc(thandle_t) {
    return 0;
}

toff_t size_proc(thandle_t handle) {
    return file_of(handle).bytes.size();
}

int map_proc(thandle_t, void**, toff_t*) {
    return 0;
}

void unmap_proc(thandle_t, void*, toff_t) {}

int error_handler(TIFF*, void* user_data, const char* module, const char* format, va_list args) {
    auto& file = *static_cast<memory_file*>(user_data);
    if (file.error.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        file.error = std::string(module ? module : "TIFF") + ": " + text;
    }
    return 1;  // handled: keep it off stderr
}

int warning_handler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// The whole picture as one strip of R, G, B, A bytes per pixel.
bool write_pixels(TIFF* tif, const platform_bitmap& bitmap) {
    const uint32_t width = static_cast<uint32_t>(bitmap.width);
    const uint32_t height = static_cast<uint32_t>(bitmap.height);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));

    std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
    for (uint32_t y = 0; y < height; ++y) {
        const size_t start = static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x) {
            uint32_t c = bitmap_pixel_argb(bitmap, start + x);
            row[x * 4 + 0] = static_cast<uint8_t>(c >> 16);
            row[x * 4 + 1] = static_cast<uint8_t>(c >> 8);
            row[x * 4 + 2] = static_cast<uint8_t>(c);
            row[x * 4 + 3] = static_cast<uint8_t>(c >> 24);
        }
        if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) return false;
    }
    return TIFFWriteDirectory(tif) != 0;
}

}  // namespace

bool encode_tiff(const platform_bitmap& bitmap, std::vector<uint8_t>& out, std::string& error) {
    if (!bitmap_is_consistent(bitmap, error)) return false;
    memory_file file;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, error_handler, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, warning_handler, nullptr);
    TIFF* tif = TIFFClientOpenExt("memory", "w", &file, read_proc, write_proc, seek_proc,
                                  close_proc, size_proc, map_proc, unmap_proc, options);
    TIFFOpenOptionsFree(options);
    bool ok = tif != nullptr && write_pixels(tif, bitmap);
    if (tif) TIFFClose(tif);
    if (!ok) {
        error = file.error.empty() ? "TIFF encoder failed" : file.error;
        return false;
    }
    out = std::move(file.bytes);
    return true;
}

}  // namespace mevra
