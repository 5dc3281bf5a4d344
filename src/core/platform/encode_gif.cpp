// GIF89a encoding with giflib into memory. The bitmap arrives already
// indexed (a true-colour picture is reduced by the caller with the program's
// own reduction), so this only lays out the colour table, the transparency
// extension and the LZW-coded rows.
#include <gif_lib.h>

#include "platform/gif_support.h"
#include "platform/picture_encoder.h"

namespace mevra {
namespace {

constexpr int table_size = 256;

bool write_gif(GifFileType* gif, const platform_bitmap& bitmap, ColorMapObject* map, int& code) {
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, bitmap.width, bitmap.height, 8, 0, map) == GIF_ERROR) {
        code = gif->Error;
        return false;
    }
    int transparent = gif::transparent_index(bitmap.palette);
    if (transparent >= 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.UserInputFlag = false;
        control.DelayTime = 0;
        control.TransparentColor = transparent;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR) {
            code = gif->Error;
            return false;
        }
    }
    if (EGifPutImageDesc(gif, 0, 0, bitmap.width, bitmap.height, false, nullptr) == GIF_ERROR) {
        code = gif->Error;
        return false;
    }
    std::vector<GifPixelType> row(static_cast<size_t>(bitmap.width));
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* start = bitmap.indices.data() + static_cast<size_t>(y) * row.size();
        row.assign(start, start + row.size());
        if (EGifPutLine(gif, row.data(), bitmap.width) == GIF_ERROR) {
            code = gif->Error;
            return false;
        }
    }
    return true;
}

}  // namespace

bool encode_gif(const platform_bitmap& bitmap, std::vector<uint8_t>& out, std::string& error) {
    if (!bitmap_is_consistent(bitmap, error)) return false;
    if (bitmap.index_bits == 0) {
        error = "GIF encoder: the picture must be reduced to 256 colours first";
        return false;
    }
    if (bitmap.width > 0xFFFF || bitmap.height > 0xFFFF) {
        error = "the image is too large for GIF";
        return false;
    }
    // Slots the bitmap's palette does not fill are opaque black, as in the
    // indexed bitmaps themselves.
    GifColorType colors[table_size];
    for (int i = 0; i < table_size; ++i) {
        uint32_t c = i < static_cast<int>(bitmap.palette.size()) ? bitmap.palette[i] : 0xFF000000u;
        colors[i].Red = static_cast<GifByteType>(c >> 16);
        colors[i].Green = static_cast<GifByteType>(c >> 8);
        colors[i].Blue = static_cast<GifByteType>(c);
    }
    ColorMapObject* map = GifMakeMapObject(table_size, colors);
    if (!map) {
        error = gif::error_text(E_GIF_ERR_NOT_ENOUGH_MEM);
        return false;
    }
    std::vector<uint8_t> bytes;
    int code = 0;
    GifFileType* gif = EGifOpen(&bytes, gif::append_output, &code);
    if (!gif) {
        GifFreeMapObject(map);
        error = gif::error_text(code);
        return false;
    }
    bool ok = write_gif(gif, bitmap, map, code);
    GifFreeMapObject(map);  // EGifPutScreenDesc keeps its own copy
    int close_code = 0;
    if (EGifCloseFile(gif, &close_code) == GIF_ERROR && ok) {
        ok = false;
        code = close_code;
    }
    if (!ok) {
        error = gif::error_text(code);
        return false;
    }
    out = std::move(bytes);
    return true;
}

}  // namespace mevra
