// TIFF through libtiff, read from memory. Palette files keep their indices;
// every other kind goes through libtiff's RGBA conversion. Only the first
// directory (page) is read.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/picture_decoders.h"

namespace mevra::decoders {
namespace {

// The file held in memory, as libtiff's client procedures see it.
struct tiff_source {
    std::span<const uint8_t> bytes;
    uint64_t position = 0;
    std::string message;  // first error libtiff reported
};

tmsize_t read_proc(thandle_t handle, void* dst, tmsize_t size) {
    auto* src = static_cast<tiff_source*>(handle);
    if (size <= 0 || src->position >= src->bytes.size()) return 0;
    const uint64_t available = src->bytes.size() - src->position;
    const uint64_t n = std::min<uint64_t>(available, static_cast<uint64_t>(size));
    std::memcpy(dst, src->bytes.data() + src->position, n);
    src->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t write_proc(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seek_proc(thandle_t handle, toff_t offset, int whence) {
    auto* src = static_cast<tiff_source*>(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = src->position;
    else if (whence == SEEK_END)
        base = src->bytes.size();
    if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
    src->position = base + offset;
    return src->position;
}

int close_proc(thandle_t) {
    return 0;
}
toff_t size_proc(thandle_t handle) {
    return static_cast<tiff_source*>(handle)->bytes.size();
}
// No mapping: libtiff then reads through read_proc and never writes into our bytes.
int map_proc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmap_proc(thandle_t, void*, toff_t) {}

// Keeps the first error message; returning 1 stops libtiff from printing it.
int on_error(TIFF*, void* user, const char*, const char* format, va_list args) {
    auto* src = static_cast<tiff_source*>(user);
    if (src->message.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        src->message = text;
    }
    return 1;
}

int on_warning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Palette files with 1, 2, 4 or 8 bits per pixel in strips stay indexed.
bool is_plain_palette(TIFF* tif) {
    uint16_t photometric = 0, bits = 0, samples = 1;
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric)) return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    return photometric == PHOTOMETRIC_PALETTE && samples == 1 && !TIFFIsTiled(tif) &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

bool read_palette_image(TIFF* tif, decoded_picture& out, std::string& error) {
    uint16_t bits = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
        error = "the TIFF palette is missing";
        return false;
    }
    const size_t entries = size_t{1} << bits;
    // Colour maps hold 16-bit values; a few old writers put 8-bit values there.
    const bool eight_bit_map =
        std::all_of(red, red + entries, [](uint16_t v) { return v < 256; }) &&
        std::all_of(green, green + entries, [](uint16_t v) { return v < 256; }) &&
        std::all_of(blue, blue + entries, [](uint16_t v) { return v < 256; });
    const int shift = eight_bit_map ? 0 : 8;
    for (size_t i = 0; i < entries; ++i)
        out.palette.push_back(make_argb(255, red[i] >> shift, green[i] >> shift, blue[i] >> shift));
    out.index_bits = bits == 1 ? 1 : bits == 8 ? 8 : 4;

    const uint64_t packed_row = (static_cast<uint64_t>(out.width) * bits + 7) / 8;
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || static_cast<uint64_t>(scanline) < packed_row) {
        error = "the TIFF rows are damaged";
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(scanline));
    out.indices.resize(pixel_count(out));
    const unsigned per_byte = 8u / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int y = 0; y < out.height; ++y) {
        if (TIFFReadScanline(tif, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        uint8_t* dst = out.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
        for (int x = 0; x < out.width; ++x) {
            const unsigned byte = row[static_cast<size_t>(x) / per_byte];
            const unsigned slot = static_cast<unsigned>(x) % per_byte;
            dst[x] = static_cast<uint8_t>((byte >> (8 - bits - slot * bits)) & mask);
        }
    }
    return true;
}

// libtiff packs RGBA as A<<24 | B<<16 | G<<8 | R and premultiplies alpha.
uint32_t tiff_to_argb(uint32_t abgr) {
    uint32_t a = TIFFGetA(abgr), r = TIFFGetR(abgr), g = TIFFGetG(abgr), b = TIFFGetB(abgr);
    if (a != 0 && a != 255) {
        r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
        g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
        b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
    }
    return make_argb(a, r, g, b);
}

bool read_rgba_image(TIFF* tif, decoded_picture& out, std::string& error) {
    char reason[1024] = {};
    if (!TIFFRGBAImageOK(tif, reason)) {
        error = reason[0] ? reason : "unsupported TIFF layout";
        return false;
    }
    out.argb.resize(pixel_count(out));
    if (!TIFFReadRGBAImageOriented(tif, static_cast<uint32_t>(out.width),
                                   static_cast<uint32_t>(out.height), out.argb.data(),
                                   ORIENTATION_TOPLEFT, 1))
        return false;
    std::transform(out.argb.begin(), out.argb.end(), out.argb.begin(), tiff_to_argb);
    return true;
}

// Plain 8-bit RGB or RGB with straight alpha in strips: read the samples as
// stored. libtiff's RGBA conversion would premultiply the alpha and lose the
// colour of translucent and fully transparent pixels.
bool is_straight_rgb8(TIFF* tif) {
    uint16_t photometric = 0, bits = 0, samples = 0, planar = PLANARCONFIG_CONTIG;
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) || photometric != PHOTOMETRIC_RGB)
        return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (bits != 8 || planar != PLANARCONFIG_CONTIG || TIFFIsTiled(tif)) return false;
    if (samples == 3) return true;
    if (samples != 4) return false;
    uint16_t extra_count = 0;
    uint16_t* extra = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra) || extra_count != 1)
        return false;
    return extra[0] == EXTRASAMPLE_UNASSALPHA;
}

bool read_straight_rgb8(TIFF* tif, decoded_picture& out) {
    uint16_t samples = 3;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const tmsize_t line = TIFFScanlineSize(tif);
    if (line < static_cast<tmsize_t>(out.width) * samples) return false;
    std::vector<uint8_t> row(static_cast<size_t>(line));
    out.argb.resize(pixel_count(out));
    for (int y = 0; y < out.height; ++y) {
        if (TIFFReadScanline(tif, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        uint32_t* dst = out.argb.data() + static_cast<size_t>(y) * out.width;
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* px = row.data() + static_cast<size_t>(x) * samples;
            dst[x] = make_argb(samples == 4 ? px[3] : 255, px[0], px[1], px[2]);
        }
    }
    return true;
}

// How many times its size the image data of a compression can grow at most;
// 0 when no useful bound is known (fax and JPEG codecs, for instance).
uint64_t max_expansion(uint16_t compression) {
    switch (compression) {
        case COMPRESSION_NONE: return 1;
        case COMPRESSION_PACKBITS: return 64;  // 2 bytes give at most 128
        case COMPRESSION_LZW: return 2731;     // a 12-bit code gives at most 4096 bytes
        case COMPRESSION_DEFLATE:
        case COMPRESSION_ADOBE_DEFLATE: return 1032;
        default: return 0;
    }
}

// Whether the image data the file holds can fill the declared picture. A
// tiny file declaring a huge picture is refused before the picture's buffer
// (zeroed, so touched whole) is allocated; the first strip would fail anyway.
bool data_can_fill(TIFF* tif, uint64_t file_size, const decoded_picture& out) {
    uint16_t compression = COMPRESSION_NONE, bits = 1, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const uint64_t expansion = max_expansion(compression);
    if (expansion == 0) return true;
    const uint64_t row_bytes =
        (static_cast<uint64_t>(out.width) * std::max<uint16_t>(bits, 1) * std::max<uint16_t>(samples, 1) + 7) / 8;
    const uint64_t needed = row_bytes * static_cast<uint64_t>(out.height) / expansion;
    constexpr uint64_t slack = 64;
    const uint32_t pieces = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint64_t held = 0;  // image data actually inside the file
    for (uint32_t i = 0; i < pieces && held + slack < needed; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(tif, i);
        const uint64_t count = TIFFGetStrileByteCount(tif, i);
        if (offset < file_size) held += std::min(count, file_size - offset);
    }
    return held + slack >= needed;
}

bool read_first_page(TIFF* tif, uint64_t file_size, decoded_picture& out, std::string& error) {
    uint32_t width = 0, height = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height)) {
        error = "the TIFF size is missing";
        return false;
    }
    if (!accept_size(width, height, out, error)) return false;
    if (!data_can_fill(tif, file_size, out)) {
        error = "the TIFF image data is too short for its size";
        return false;
    }
    if (is_plain_palette(tif)) return read_palette_image(tif, out, error);
    if (is_straight_rgb8(tif)) return read_straight_rgb8(tif, out);
    return read_rgba_image(tif, out, error);
}

}  // namespace

bool decode_tiff(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out.container = picture_container::tiff;
    tiff_source source;
    source.bytes = bytes;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        error = "not enough memory for the picture";
        return false;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, on_error, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options, on_warning, &source);
    // A damaged header must not make libtiff reserve more than a big picture needs.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{1} << 30);
    TIFF* tif = TIFFClientOpenExt("memory", "r", &source, read_proc, write_proc, seek_proc,
                                  close_proc, size_proc, map_proc, unmap_proc, options);
    TIFFOpenOptionsFree(options);
    if (tif == nullptr) {
        error = source.message.empty() ? "damaged TIFF file" : source.message;
        return false;
    }
    bool ok = false;
    try {
        ok = read_first_page(tif, bytes.size(), out, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
    }
    if (!ok && error.empty()) error = source.message.empty() ? "damaged TIFF file" : source.message;
    TIFFClose(tif);
    return ok;
}

}  // namespace mevra::decoders
