#include "formats/save_bitmap.h"

#include <algorithm>
#include <array>

namespace mevra {
namespace {

constexpr uint32_t opaque_black = 0xFF000000u;

std::vector<uint32_t> palette_of(const image_info& image, size_t entries) {
    std::vector<uint32_t> palette(entries, opaque_black);
    size_t known =
        std::min({entries, static_cast<size_t>(std::max(image.color_num, 0)), image.color.size()});
    std::copy_n(image.color.begin(), known, palette.begin());
    return palette;
}

// The pixels of an ARGB image as a 256-colour bitmap with a transparent slot.
bool reduce_for_gif(const image_info& image, platform_bitmap& out, std::string& error) {
    const size_t pixels = image.argb_buff.size();
    image_info copy(image);
    // Fully transparent pixels carry no colour in a GIF: make them one colour
    // so they take a single place in the census, and leave one slot free for
    // them by reducing to 255 colours.
    std::vector<bool> transparent(pixels, false);
    bool any_transparent = false;
    for (size_t i = 0; i < pixels; ++i) {
        if ((copy.argb_buff[i] >> 24) == 0) {
            transparent[i] = true;
            any_transparent = true;
            copy.argb_buff[i] = 0;
        }
    }
    copy.image_to_index(any_transparent ? 255 : 256);
    if (copy.image_type == IMGTYP_RGB || copy.index_buff.size() != pixels) {
        error = "the colours could not be reduced to 256 for GIF";
        return false;
    }

    out.index_bits = 8;
    out.palette = palette_of(copy, 256);
    // GIF knows only "transparent or not"; keep alpha 0 for the one slot that
    // stands for the transparent pixels.
    for (uint32_t& entry : out.palette)
        entry |= opaque_black;
    out.indices.resize(pixels);
    std::array<bool, 256> used{};
    for (size_t i = 0; i < pixels; ++i) {
        uint8_t index = static_cast<uint8_t>(copy.index_buff[i]);
        out.indices[i] = index;
        if (!transparent[i]) used[index] = true;
    }
    if (any_transparent) {
        auto free_slot = std::find(used.begin(), used.end(), false);
        if (free_slot == used.end()) {
            error = "no palette slot is left for the transparent pixels";
            return false;
        }
        const uint8_t slot = static_cast<uint8_t>(free_slot - used.begin());
        out.palette[slot] = 0;
        for (size_t i = 0; i < pixels; ++i) {
            if (transparent[i]) out.indices[i] = slot;
        }
    }
    return true;
}

}  // namespace

platform_bitmap make_platform_bitmap(const image_info& image) {
    platform_bitmap bitmap;
    if (image.flag == 0 || image.width <= 0 || image.height <= 0) return bitmap;
    const size_t pixels = static_cast<size_t>(image.pixel_count());
    bitmap.width = image.width;
    bitmap.height = image.height;
    if (image.image_type == IMGTYP_RGB) {
        if (image.argb_buff.size() == pixels) bitmap.argb = image.argb_buff;
        return bitmap;
    }
    if (image.index_buff.size() != pixels) return bitmap;
    const bool four_bit = image.image_type == IMGTYP_16;
    bitmap.index_bits = four_bit ? 4 : 8;
    bitmap.palette = palette_of(image, four_bit ? 16 : 256);
    const int32_t mask = four_bit ? 0x0F : 0xFF;
    bitmap.indices.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) {
        bitmap.indices[i] = static_cast<uint8_t>(image.index_buff[i] & mask);
    }
    return bitmap;
}

bool make_gif_bitmap(const image_info& image, platform_bitmap& out, std::string& error) {
    out = make_platform_bitmap(image);
    if (out.index_bits != 0 || out.argb.empty()) return true;
    return reduce_for_gif(image, out, error);
}

}  // namespace mevra
