#include "platform/gif_animation.h"

#include <gif_lib.h>

#include "platform/gif_support.h"

namespace mevra {
namespace {

// The smallest table of 2^k entries (k ≥ 1) that holds `n` colours.
int table_bits(int n) {
    int bits = 1;
    while ((1 << bits) < n)
        ++bits;
    return bits;
}

bool put_loop_forever(GifFileType* file) {
    static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                              'P', 'E', '2', '.', '0'};
    static const GifByteType loop[] = {1, 0, 0};  // sub-block 1, repeat count 0 = for ever
    return EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(file, sizeof application, application) != GIF_ERROR &&
           EGifPutExtensionBlock(file, sizeof loop, loop) != GIF_ERROR &&
           EGifPutExtensionTrailer(file) != GIF_ERROR;
}

}  // namespace

gif_animation_encoder::~gif_animation_encoder() {
    if (file_) EGifCloseFile(file_, nullptr);
}

bool gif_animation_encoder::fail(std::string& error) {
    error = gif::error_text(file_ ? file_->Error : E_GIF_ERR_NOT_ENOUGH_MEM);
    return false;
}

bool gif_animation_encoder::start(int width, int height, const std::vector<uint32_t>& palette,
                                  int delay_cs, std::string& error) {
    if (file_ || palette.empty() || palette.size() > 256 || width < 1 || height < 1 ||
        width > 0xFFFF || height > 0xFFFF || delay_cs < 0 || delay_cs > 0xFFFF) {
        error = "GIF encoder: the canvas, palette or delay is out of range";
        return false;
    }
    width_ = width;
    height_ = height;
    colours_ = static_cast<int>(palette.size());
    delay_cs_ = delay_cs;
    transparent_ = gif::transparent_index(palette);
    const int bits = table_bits(colours_);
    std::vector<GifColorType> table(size_t{1} << bits, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        table[i] = {static_cast<GifByteType>(palette[i] >> 16),
                    static_cast<GifByteType>(palette[i] >> 8),
                    static_cast<GifByteType>(palette[i])};
    int code = 0;
    file_ = EGifOpen(&bytes_, gif::append_output, &code);
    if (!file_) {
        error = gif::error_text(code);
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
    if (!map) return fail(error);
    EGifSetGifVersion(file_, true);
    const bool ok = EGifPutScreenDesc(file_, width, height, bits, 0, map) != GIF_ERROR;
    GifFreeMapObject(map);  // the file keeps its own copy
    if (!ok || !put_loop_forever(file_)) return fail(error);
    return true;
}

bool gif_animation_encoder::add_frame(const std::vector<uint8_t>& indices, std::string& error) {
    const size_t pixels = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    if (!file_ || indices.size() != pixels) {
        error = "GIF encoder: a frame does not match the canvas";
        return false;
    }
    for (uint8_t i : indices) {
        if (i >= colours_) {
            error = "GIF encoder: a frame uses colours outside the palette";
            return false;
        }
    }
    GraphicsControlBlock control{};
    control.DisposalMode = transparent_ >= 0 ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay_cs_;
    control.TransparentColor = transparent_ >= 0 ? transparent_ : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(file_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR ||
        EGifPutImageDesc(file_, 0, 0, width_, height_, false, nullptr) == GIF_ERROR)
        return fail(error);
    std::vector<GifPixelType> row(static_cast<size_t>(width_));
    for (int y = 0; y < height_; ++y) {
        const uint8_t* start = indices.data() + static_cast<size_t>(y) * row.size();
        row.assign(start, start + row.size());
        if (EGifPutLine(file_, row.data(), width_) == GIF_ERROR) return fail(error);
    }
    ++frames_;
    return true;
}

bool gif_animation_encoder::finish(std::vector<uint8_t>& out, std::string& error) {
    if (!file_ || frames_ == 0) {
        error = "GIF encoder: an animation needs at least one frame";
        return false;
    }
    int code = 0;
    const int closed = EGifCloseFile(file_, &code);
    file_ = nullptr;
    if (closed == GIF_ERROR) {
        error = gif::error_text(code);
        return false;
    }
    out = std::move(bytes_);
    return true;
}

}  // namespace mevra
