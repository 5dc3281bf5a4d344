// GIF through giflib, read record by record from memory. Only the first frame
// is decoded; it is placed on the logical screen, whose uncovered pixels take
// the transparent index when there is one, else the background index.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/image_limits.h"
#include "platform/picture_decoders.h"

namespace mevra::decoders {
namespace {

struct gif_source {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

int read_input(GifFileType* gif, GifByteType* dst, int size) {
    auto* src = static_cast<gif_source*>(gif->UserData);
    if (size <= 0 || src->position >= src->bytes.size()) return 0;
    const size_t n = std::min(static_cast<size_t>(size), src->bytes.size() - src->position);
    std::memcpy(dst, src->bytes.data() + src->position, n);
    src->position += n;
    return static_cast<int>(n);
}

std::string gif_reason(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "damaged GIF file";
}

// Reads the extension blocks in front of the first frame; keeps the
// transparent index of the last graphic control block (-1 for none).
bool read_extension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
    }
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

// Reads the frame's rows (interlaced files deliver them in four passes) into
// the screen-sized index buffer, clipped to the screen.
bool read_frame_rows(GifFileType* gif, decoded_picture& out) {
    const GifImageDesc& frame = gif->Image;
    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
    auto store = [&](int row) {
        const int y = frame.Top + row;
        if (y >= out.height) return;
        uint8_t* dst = out.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
        for (int x = 0; x < frame.Width && frame.Left + x < out.width; ++x)
            dst[frame.Left + x] = line[static_cast<size_t>(x)];
    };
    if (frame.Interlace) {
        static constexpr int start[4] = {0, 4, 2, 1};
        static constexpr int step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = start[pass]; row < frame.Height; row += step[pass]) {
                if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
                store(row);
            }
    } else {
        for (int row = 0; row < frame.Height; ++row) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
            store(row);
        }
    }
    return true;
}

// The palette covers every index the picture uses: colours past the file's
// colour map are opaque black.
void build_palette(const ColorMapObject* map, int transparent, decoded_picture& out) {
    int needed = map ? map->ColorCount : 0;
    for (uint8_t index : out.indices)
        needed = std::max(needed, index + 1);
    needed = std::clamp(needed, 1, 256);
    out.palette.assign(static_cast<size_t>(needed), 0xFF000000u);
    for (int i = 0; map && i < map->ColorCount && i < needed; ++i) {
        const GifColorType& c = map->Colors[i];
        out.palette[static_cast<size_t>(i)] = make_argb(255, c.Red, c.Green, c.Blue);
    }
    if (transparent >= 0 && transparent < needed)
        out.palette[static_cast<size_t>(transparent)] &= 0x00FFFFFFu;
    out.index_bits = needed > 16 ? 8 : 4;
}

bool read_first_frame(GifFileType* gif, decoded_picture& out, std::string& error) {
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) return false;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!read_extension(gif, transparent)) return false;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            break;
        } else {
            error = "the GIF file holds no picture";
            return false;
        }
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& frame = gif->Image;
    if (!image_size_ok(frame.Width, frame.Height) || frame.Left < 0 || frame.Top < 0) {
        error = "the picture is too large or has no pixels";
        return false;
    }
    // Some writers leave the screen size 0; the frame then defines the picture.
    const int64_t width = gif->SWidth > 0 ? gif->SWidth : int64_t{frame.Left} + frame.Width;
    const int64_t height = gif->SHeight > 0 ? gif->SHeight : int64_t{frame.Top} + frame.Height;
    if (!accept_size(width, height, out, error)) return false;

    const int fill = transparent >= 0 ? transparent : gif->SBackGroundColor;
    out.indices.assign(pixel_count(out), static_cast<uint8_t>(std::clamp(fill, 0, 255)));
    if (!read_frame_rows(gif, out)) return false;
    build_palette(frame.ColorMap ? frame.ColorMap : gif->SColorMap, transparent, out);
    return true;
}

}  // namespace

bool decode_gif(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out.container = picture_container::gif;
    gif_source source;
    source.bytes = bytes;
    int code = 0;
    GifFileType* gif = DGifOpen(&source, read_input, &code);
    if (gif == nullptr) {
        error = gif_reason(code);
        return false;
    }
    bool ok = false;
    try {
        ok = read_first_frame(gif, out, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
    }
    if (!ok && error.empty()) error = gif_reason(gif->Error);
    DGifCloseFile(gif, &code);
    return ok;
}

}  // namespace mevra::decoders
