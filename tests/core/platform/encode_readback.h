#pragma once
// Reads encoder output back with the codec libraries themselves, so the tests
// check the files the way other programs will see them.
#include <gif_lib.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace mevra::test {

struct gif_readback {
    bool ok = false;
    std::string version;  // "GIF87a" or "GIF89a"
    int width = 0, height = 0;
    bool interlaced = false;
    int image_count = 0;
    std::vector<uint32_t> colors;  // the global colour table as 0xFFRRGGBB
    std::vector<uint8_t> indices;
    int transparent = -1;  // from the graphics control extension
};

inline gif_readback read_gif(const std::vector<uint8_t>& bytes) {
    gif_readback result;
    if (bytes.size() < 6) return result;
    result.version.assign(bytes.begin(), bytes.begin() + 6);
    struct source {
        const std::vector<uint8_t>* bytes;
        size_t pos;
    } src{&bytes, 0};
    auto input = [](GifFileType* gif, GifByteType* out, int length) -> int {
        auto& s = *static_cast<source*>(gif->UserData);
        size_t n = std::min(static_cast<size_t>(length), s.bytes->size() - s.pos);
        std::memcpy(out, s.bytes->data() + s.pos, n);
        s.pos += n;
        return static_cast<int>(n);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&src, input, &error);
    if (!gif) return result;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
        result.ok = true;
        result.width = gif->SWidth;
        result.height = gif->SHeight;
        result.image_count = gif->ImageCount;
        const SavedImage& image = gif->SavedImages[0];
        result.interlaced = image.ImageDesc.Interlace;
        if (gif->SColorMap) {
            for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
                const GifColorType& c = gif->SColorMap->Colors[i];
                result.colors.push_back(0xFF000000u | (uint32_t{c.Red} << 16) |
                                        (uint32_t{c.Green} << 8) | c.Blue);
            }
        }
        size_t count = static_cast<size_t>(image.ImageDesc.Width) * image.ImageDesc.Height;
        result.indices.assign(image.RasterBits, image.RasterBits + count);
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK) {
            result.transparent = control.TransparentColor;
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

struct tiff_readback {
    bool ok = false;
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0, extra_kind = 0;
    std::vector<uint32_t> argb;  // rebuilt from the stored R, G, B, A bytes
};

inline tiff_readback read_tiff(const std::string& path) {
    tiff_readback result;
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return result;
    uint16_t extra_count = 0;
    uint16_t* extra = nullptr;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &result.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &result.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &result.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &result.bits);
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra) && extra_count == 1) {
        result.extra_kind = extra[0];
    }
    if (result.samples == 4 && result.bits == 8) {
        std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tif)));
        result.ok = true;
        for (uint32_t y = 0; y < result.height && result.ok; ++y) {
            if (TIFFReadScanline(tif, row.data(), y, 0) < 0) result.ok = false;
            for (uint32_t x = 0; x < result.width; ++x) {
                const uint8_t* p = row.data() + x * 4;
                result.argb.push_back((uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) |
                                      (uint32_t{p[1]} << 8) | p[2]);
            }
        }
    }
    TIFFClose(tif);
    return result;
}

struct jpeg_readback {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    std::vector<uint32_t> rgb;  // 0xFFRRGGBB
};

inline jpeg_readback read_jpeg(const std::vector<uint8_t>& bytes) {
    struct failure {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
    };
    // Kept outside the setjmp frame: longjmp must not skip C++ objects.
    static thread_local jpeg_decompress_struct cinfo;
    static thread_local failure fail;
    jpeg_readback result;
    std::vector<uint8_t> row;
    cinfo.err = jpeg_std_error(&fail.manager);
    fail.manager.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<failure*>(c->err)->jump, 1);
    };
    if (setjmp(fail.jump)) {
        jpeg_destroy_decompress(&cinfo);
        result.ok = false;
        return result;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    result.components = cinfo.num_components;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    result.width = static_cast<int>(cinfo.output_width);
    result.height = static_cast<int>(cinfo.output_height);
    row.resize(static_cast<size_t>(cinfo.output_width) * 3);
    result.rgb.reserve(static_cast<size_t>(result.width) * result.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (size_t x = 0; x < cinfo.output_width; ++x) {
            result.rgb.push_back(0xFF000000u | (uint32_t{row[x * 3]} << 16) |
                                 (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2]);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    result.ok = true;
    return result;
}

}  // namespace mevra::test
