#pragma once
// What a DDS file holds, read from its header: the layout of the pixels and
// where the first surface (first mipmap level of the first face, array slice
// or depth slice) lies. Only this surface is ever decoded.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace mevra {
class byte_reader;
}

namespace mevra::dds {

enum class surface_kind { bc1, bc2, bc3, bc4, bc5, bc7, masked };

struct surface_info {
    surface_kind kind = surface_kind::masked;
    int width = 0;
    int height = 0;
    int mipmaps = 1;         // mipmap levels the file says it holds (at least 1)
    std::string name;        // "DXT1", "BC7_UNORM", "A8R8G8B8", ...
    size_t data_offset = 0;  // where the first surface begins
    size_t data_size = 0;    // bytes of the first surface
    // Masked layouts: bits per pixel (8, 16, 24 or 32) and the channel masks.
    // A zero colour mask gives 0, a zero alpha mask 255.
    uint32_t bit_count = 0;
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0, alpha_mask = 0;
};

// Reads the header. 0: a DDS file whose first surface lies wholly inside the
// file and can be decoded; -1: not a DDS file (no "DDS " magic); -2: a DDS
// file that is damaged, truncated, too large or of a layout not read here.
// With level > 0 the surface described (size, offset, bytes) is that mipmap
// level of the first face or slice instead; -2 when the file has no such level.
int read_surface_info(byte_reader& in, surface_info& info, int level = 0);

// The width and height of a mipmap level of a surface whose top level is
// width × height: each side halves and stops at 1.
inline int mip_side(int side, int level) {
    for (int k = 0; k < level && side > 1; ++k)
        side /= 2;
    return side;
}

// The same for a whole file held in memory, for callers that only describe
// a file (the command line's info).
int describe_dds(std::span<const uint8_t> bytes, surface_info& info);

}  // namespace mevra::dds
