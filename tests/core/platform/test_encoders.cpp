#include "test_encoders.h"

#include <cstdio>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <cstdlib>
#include <stdexcept>

#include "support/test_support.h"

namespace mevra::test {

bytes encode_jpeg(int width, int height, int components, const bytes& samples) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                       static_cast<size_t>(cinfo.next_scanline) * width * components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

namespace {

bytes write_tiff(int width, int height, uint16_t samples_per_pixel, uint16_t bits,
                 uint16_t photometric, const bytes& rows, size_t row_bytes,
                 const std::vector<uint32_t>* palette, bool alpha) {
    temp_dir dir;
    const std::string path = dir.file("t.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) throw std::runtime_error("cannot write TIFF");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples_per_pixel);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2u);
    if (alpha) {
        uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (palette) {
        std::vector<uint16_t> r(size_t{1} << bits), g(r.size()), b(r.size());
        for (size_t i = 0; i < palette->size() && i < r.size(); ++i) {
            const uint32_t c = (*palette)[i];
            r[i] = static_cast<uint16_t>(((c >> 16) & 255) * 257);
            g[i] = static_cast<uint16_t>(((c >> 8) & 255) * 257);
            b[i] = static_cast<uint16_t>((c & 255) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    for (int y = 0; y < height; ++y)
        TIFFWriteScanline(tif, const_cast<uint8_t*>(rows.data()) + y * row_bytes,
                          static_cast<uint32_t>(y), 0);
    TIFFClose(tif);
    return read_bytes(path);
}

}  // namespace

bytes encode_tiff_rgb(int width, int height, int samples_per_pixel, const bytes& samples) {
    const uint16_t photometric = samples_per_pixel == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB;
    return write_tiff(width, height, static_cast<uint16_t>(samples_per_pixel), 8, photometric,
                      samples, static_cast<size_t>(width) * samples_per_pixel, nullptr,
                      samples_per_pixel == 4);
}

bytes encode_tiff_palette(int width, int height, int bits, const std::vector<uint32_t>& palette,
                          const bytes& indices) {
    const size_t row_bytes = (static_cast<size_t>(width) * bits + 7) / 8;
    bytes rows(row_bytes * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned bit = static_cast<unsigned>(x * bits);
            rows[y * row_bytes + bit / 8] |=
                static_cast<uint8_t>(indices[y * width + x] << (8 - bits - bit % 8));
        }
    return write_tiff(width, height, 1, static_cast<uint16_t>(bits), PHOTOMETRIC_PALETTE, rows,
                      row_bytes, &palette, false);
}

namespace {
int gif_write(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}
}  // namespace

bytes encode_gif(int screen_width, int screen_height, const std::vector<uint32_t>& palette,
                 const gif_frame& frame, const bytes& indices, int transparent, int background) {
    bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, gif_write, &error);
    std::vector<GifColorType> colors;
    for (uint32_t c : palette)
        colors.push_back({static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                          static_cast<GifByteType>(c)});
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screen_width, screen_height, 8, background, map);
    if (transparent >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = transparent;
        GifByteType block[4];
        const size_t length = EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block);
    }
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                     nullptr);
    // Interlaced frames are written in the four-pass row order.
    std::vector<int> order;
    if (frame.interlaced) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = start[pass]; row < frame.height; row += step[pass])
                order.push_back(row);
    } else {
        for (int row = 0; row < frame.height; ++row)
            order.push_back(row);
    }
    for (int row : order)
        EGifPutLine(gif, const_cast<GifPixelType*>(indices.data()) + row * frame.width,
                    frame.width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

namespace {
void png_write(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void png_flush(png_structp) {}
}  // namespace

bytes encode_png(int width, int height, int bit_depth, int color_type, const bytes& rows,
                 const std::vector<uint32_t>& palette, const bytes& alphas, int interlace) {
    bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, png_write, png_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 bit_depth, color_type, interlace, 0, 0);
    std::vector<png_color> entries;
    for (uint32_t c : palette)
        entries.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                           static_cast<png_byte>(c)});
    if (!entries.empty()) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
    if (!alphas.empty())
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    png_write_info(png, info);
    const size_t row_bytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y)
        pointers.push_back(const_cast<png_bytep>(rows.data()) + y * row_bytes);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bytes encode_webp_lossless(int width, int height, const std::vector<uint32_t>& argb) {
    bytes rgba;
    for (uint32_t c : argb) {
        rgba.push_back(static_cast<uint8_t>(c >> 16));
        rgba.push_back(static_cast<uint8_t>(c >> 8));
        rgba.push_back(static_cast<uint8_t>(c));
        rgba.push_back(static_cast<uint8_t>(c >> 24));
    }
    uint8_t* data = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(rgba.data(), width, height, width * 4, &data);
    bytes out(data, data + size);
    WebPFree(data);
    return out;
}

void put_u16(bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void put_u32(bytes& out, uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

bytes bmp_info(uint32_t size, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
               uint32_t colors_used, const std::vector<uint32_t>& masks) {
    bytes h;
    put_u32(h, size);
    put_u32(h, static_cast<uint32_t>(width));
    put_u32(h, static_cast<uint32_t>(height));
    put_u16(h, 1);
    put_u16(h, bits);
    put_u32(h, compression);
    put_u32(h, 0);
    put_u32(h, 3780);
    put_u32(h, 3780);
    put_u32(h, colors_used);
    put_u32(h, 0);
    for (size_t i = 0; i < masks.size() && h.size() < size; ++i)
        put_u32(h, masks[i]);
    h.resize(size, 0);
    return h;
}

bytes make_bmp(const bytes& info, const bytes& palette_and_masks, const bytes& pixels) {
    const uint32_t offset = static_cast<uint32_t>(14 + info.size() + palette_and_masks.size());
    bytes out = {'B', 'M'};
    put_u32(out, offset + static_cast<uint32_t>(pixels.size()));
    put_u32(out, 0);
    put_u32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette_and_masks.begin(), palette_and_masks.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace mevra::test
