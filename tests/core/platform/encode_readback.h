#pragma once
// Reads encoder output back with the codec libraries themselves, the way
// other programs will see the files. Colours come back as 0xAARRGGBB.
#include <gif_lib.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace mevra::test {

struct readback {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // ARGB (TIFF, JPEG) or nothing (GIF)
    std::vector<uint32_t> colors;  // GIF global colour table, alpha 255
    std::vector<uint8_t> indices;  // GIF raster
    int transparent = -1;          // GIF transparent index
    bool gif89a_progressive = false;
};

inline readback read_gif(const std::vector<uint8_t>& bytes) {
    struct source {
        const std::vector<uint8_t>& bytes;
        size_t pos;
    } src{bytes, 0};
    auto input = [](GifFileType* gif, GifByteType* out, int length) {
        auto& s = *static_cast<source*>(gif->UserData);
        size_t n = std::min(static_cast<size_t>(length), s.bytes.size() - s.pos);
        std::memcpy(out, s.bytes.data() + s.pos, n);
        s.pos += n;
        return static_cast<int>(n);
    };
    readback r;
    int error = 0;
    GifFileType* gif = DGifOpen(&src, input, &error);
    if (!gif) return r;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 && gif->SColorMap) {
        r.ok = true;
        r.width = gif->SWidth;
        r.height = gif->SHeight;
        r.gif89a_progressive =
            std::memcmp(bytes.data(), "GIF89a", 6) == 0 && !gif->SavedImages[0].ImageDesc.Interlace;
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            r.colors.push_back(0xFF000000u | (c.Red << 16) | (c.Green << 8) | c.Blue);
        }
        r.indices.assign(gif->SavedImages[0].RasterBits,
                         gif->SavedImages[0].RasterBits + r.width * r.height);
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK) {
            r.transparent = control.TransparentColor;
        }
    }
    DGifCloseFile(gif, &error);
    return r;
}

// Only the layout the encoder writes: 8-bit RGBA, one sample plane.
inline readback read_tiff(const std::string& path) {
    readback r;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return r;
    uint16_t samples = 0, bits = 0, extra_count = 0, *extra = nullptr;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &r.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &r.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra);
    r.ok = samples == 4 && bits == 8 && extra_count == 1 && extra[0] == EXTRASAMPLE_UNASSALPHA;
    std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tif)));
    for (int y = 0; r.ok && y < r.height; ++y) {
        r.ok = TIFFReadScanline(tif, row.data(), static_cast<uint32_t>(y), 0) >= 0;
        for (int x = 0; x < r.width; ++x) {
            const uint8_t* p = row.data() + x * 4;
            r.pixels.push_back((p[3] << 24u) | (p[0] << 16u) | (p[1] << 8u) | p[2]);
        }
    }
    TIFFClose(tif);
    return r;
}

inline readback read_jpeg(const std::vector<uint8_t>& bytes) {
    // Kept outside the setjmp frame, so the jump skips no C++ object.
    static jpeg_decompress_struct cinfo;
    static struct {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
    } failure;
    static readback r;
    r = readback{};
    cinfo.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = [](j_common_ptr) { std::longjmp(failure.jump, 1); };
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return readback{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;  // little-endian 0xAARRGGBB
    jpeg_start_decompress(&cinfo);
    r.width = static_cast<int>(cinfo.output_width);
    r.height = static_cast<int>(cinfo.output_height);
    r.pixels.resize(static_cast<size_t>(r.width) * r.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(r.pixels.data() + cinfo.output_scanline * r.width);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    r.ok = true;
    return r;
}

// Mean absolute difference per colour channel, alpha ignored.
inline double mean_channel_error(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return a.size() == b.size() && !a.empty() ? sum / (a.size() * 3.0) : 1e9;
}

}  // namespace mevra::test
