// Reading the DDS header: the legacy pixel format (four-character codes and
// bit masks) and the DX10 extension header with its DXGI format, checked
// against the file's length before anything is decoded.
#include "formats/dds_surface.h"

#include <algorithm>
#include <bit>

#include "formats/dds_header.h"
#include "platform/byte_reader.h"
#include "platform/image_limits.h"

namespace mevra::dds {
namespace {

// Pixel format flags.
constexpr uint32_t pf_alpha_pixels = 0x1;
constexpr uint32_t pf_alpha_only = 0x2;
constexpr uint32_t pf_fourcc = 0x4;
constexpr uint32_t pf_rgb = 0x40;
constexpr uint32_t pf_luminance = 0x20000;
// Second capabilities: cube map with its six face bits, volume.
constexpr uint32_t caps2_cubemap = 0x200;
constexpr uint32_t caps2_cube_faces = 0xFC00;
constexpr uint32_t caps2_volume = 0x200000;
// DX10 header: resource dimensions, and the cube flag.
constexpr uint32_t dimension_1d = 2, dimension_3d = 4;
constexpr uint32_t misc_texturecube = 0x4;

struct header {
    uint32_t size, flags, height, width, pitch, depth, mipmaps;
    uint32_t pf_size, pf_flags, pf_fourcc, pf_bits, masks[4];
    uint32_t caps, caps2;
};

header read_header(byte_reader& in) {
    header h{};
    in.seek(4);
    h.size = in.u32le();
    h.flags = in.u32le();
    h.height = in.u32le();
    h.width = in.u32le();
    h.pitch = in.u32le();  // not trusted: writers disagree on it, the size decides
    h.depth = in.u32le();
    h.mipmaps = in.u32le();
    in.seek(76);
    h.pf_size = in.u32le();
    h.pf_flags = in.u32le();
    h.pf_fourcc = in.u32le();
    h.pf_bits = in.u32le();
    for (auto& m : h.masks)
        m = in.u32le();
    h.caps = in.u32le();
    h.caps2 = in.u32le();
    return h;
}

struct block_layout {
    uint32_t code;  // FourCC or DXGI format
    surface_kind kind;
    const char* name;
};

// DXT2 and DXT4 carry premultiplied colour; they are shown as stored, like
// DXT3 and DXT5.
constexpr block_layout fourcc_layouts[] = {
    {fourcc('D', 'X', 'T', '1'), surface_kind::bc1, "DXT1"},
    {fourcc('D', 'X', 'T', '2'), surface_kind::bc2, "DXT2"},
    {fourcc('D', 'X', 'T', '3'), surface_kind::bc2, "DXT3"},
    {fourcc('D', 'X', 'T', '4'), surface_kind::bc3, "DXT4"},
    {fourcc('D', 'X', 'T', '5'), surface_kind::bc3, "DXT5"},
    {fourcc('A', 'T', 'I', '1'), surface_kind::bc4, "ATI1"},
    {fourcc('B', 'C', '4', 'U'), surface_kind::bc4, "BC4U"},
    {fourcc('A', 'T', 'I', '2'), surface_kind::bc5, "ATI2"},
    {fourcc('B', 'C', '5', 'U'), surface_kind::bc5, "BC5U"},
};

// The DXGI block formats read (the signed BC4/BC5 ones are not).
constexpr block_layout dxgi_block_layouts[] = {
    {70, surface_kind::bc1, "BC1_TYPELESS"},   {71, surface_kind::bc1, "BC1_UNORM"},
    {72, surface_kind::bc1, "BC1_UNORM_SRGB"}, {73, surface_kind::bc2, "BC2_TYPELESS"},
    {74, surface_kind::bc2, "BC2_UNORM"},      {75, surface_kind::bc2, "BC2_UNORM_SRGB"},
    {76, surface_kind::bc3, "BC3_TYPELESS"},   {77, surface_kind::bc3, "BC3_UNORM"},
    {78, surface_kind::bc3, "BC3_UNORM_SRGB"}, {79, surface_kind::bc4, "BC4_TYPELESS"},
    {80, surface_kind::bc4, "BC4_UNORM"},      {82, surface_kind::bc5, "BC5_TYPELESS"},
    {83, surface_kind::bc5, "BC5_UNORM"},      {97, surface_kind::bc7, "BC7_TYPELESS"},
    {98, surface_kind::bc7, "BC7_UNORM"},      {99, surface_kind::bc7, "BC7_UNORM_SRGB"},
};

// The DXGI 8-bit-per-channel formats read, as masks of a 32-bit pixel.
struct rgba_layout {
    uint32_t code;
    const char* name;
    bool red_first;  // R8G8B8A8; else B8G8R8A8
    bool alpha;      // false for the X8 formats: alpha 255
};
constexpr rgba_layout dxgi_rgba_layouts[] = {
    {27, "R8G8B8A8_TYPELESS", true, true},     {28, "R8G8B8A8_UNORM", true, true},
    {29, "R8G8B8A8_UNORM_SRGB", true, true},   {87, "B8G8R8A8_UNORM", false, true},
    {88, "B8G8R8X8_UNORM", false, false},      {90, "B8G8R8A8_TYPELESS", false, true},
    {91, "B8G8R8A8_UNORM_SRGB", false, true},  {92, "B8G8R8X8_TYPELESS", false, false},
    {93, "B8G8R8X8_UNORM_SRGB", false, false},
};

bool set_masked(surface_info& info, const char* name, uint32_t bits, uint32_t r, uint32_t g,
                uint32_t b, uint32_t a) {
    info.kind = surface_kind::masked;
    info.name = name;
    info.bit_count = bits;
    info.red_mask = r;
    info.green_mask = g;
    info.blue_mask = b;
    info.alpha_mask = a;
    return true;
}

template <size_t n>
bool find_block_layout(const block_layout (&table)[n], uint32_t code, surface_info& info) {
    for (const auto& l : table)
        if (l.code == code) {
            info.kind = l.kind;
            info.name = l.name;
            return true;
        }
    return false;
}

bool dxgi_layout(uint32_t format, surface_info& info) {
    if (find_block_layout(dxgi_block_layouts, format, info)) return true;
    for (const auto& l : dxgi_rgba_layouts)
        if (l.code == format) {
            const uint32_t r = l.red_first ? 0xFF : 0xFF0000, b = l.red_first ? 0xFF0000 : 0xFF;
            return set_masked(info, l.name, 32, r, 0xFF00, b, l.alpha ? 0xFF000000u : 0);
        }
    return false;
}

// A mask must be one run of bits that fits the pixel.
bool mask_ok(uint32_t mask, uint32_t bits) {
    if (mask == 0) return true;
    if (bits < 32 && (mask >> bits) != 0) return false;
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// The usual names of masked layouts, for the description; others are named
// by their depth.
const char* masked_name(const header& h, uint32_t a) {
    struct named {
        uint32_t bits, r, g, b, a;
        const char* name;
    };
    static const named names[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, "A8R8G8B8"},
        {32, 0xFF0000, 0xFF00, 0xFF, 0, "X8R8G8B8"},
        {32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u, "A8B8G8R8"},
        {32, 0xFF, 0xFF00, 0xFF0000, 0, "X8B8G8R8"},
        {32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000u, "A2R10G10B10"},
        {32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000u, "A2B10G10R10"},
        {24, 0xFF0000, 0xFF00, 0xFF, 0, "R8G8B8"},
        {16, 0xF800, 0x7E0, 0x1F, 0, "R5G6B5"},
        {16, 0xF00, 0xF0, 0xF, 0xF000, "A4R4G4B4"},
        {16, 0xF00, 0xF0, 0xF, 0, "X4R4G4B4"},
        {16, 0x7C00, 0x3E0, 0x1F, 0x8000, "A1R5G5B5"},
        {16, 0x7C00, 0x3E0, 0x1F, 0, "X1R5G5B5"},
        {16, 0xE0, 0x1C, 0x3, 0xFF00, "A8R3G3B2"},
        {8, 0xE0, 0x1C, 0x3, 0, "R3G3B2"},
    };
    for (const auto& n : names)
        if (n.bits == h.pf_bits && n.r == h.masks[0] && n.g == h.masks[1] && n.b == h.masks[2] &&
            n.a == a)
            return n.name;
    switch (h.pf_bits) {
        case 8:
            return "RGB8";
        case 16:
            return "RGB16";
        case 24:
            return "RGB24";
        default:
            return "RGB32";
    }
}

bool legacy_masked_layout(const header& h, surface_info& info) {
    const uint32_t bits = h.pf_bits;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const uint32_t alpha = (h.pf_flags & (pf_alpha_pixels | pf_alpha_only)) ? h.masks[3] : 0;
    if (h.pf_flags & pf_luminance) {
        // Luminance: the red mask holds the grey level.
        const uint32_t l = h.masks[0];
        if (l == 0 || !mask_ok(l, bits) || !mask_ok(alpha, bits) || (l & alpha)) return false;
        const char* name = bits == 8 && l == 0xFF && alpha == 0         ? "L8"
                           : bits == 16 && l == 0xFF && alpha == 0xFF00 ? "A8L8"
                           : bits == 16 && l == 0xFFFF && alpha == 0    ? "L16"
                           : bits == 8 && l == 0xF && alpha == 0xF0     ? "A4L4"
                                                                        : "luminance";
        return set_masked(info, name, bits, l, l, l, alpha);
    }
    if (h.pf_flags & pf_rgb) {
        const uint32_t r = h.masks[0], g = h.masks[1], b = h.masks[2];
        for (uint32_t m : {r, g, b, alpha})
            if (!mask_ok(m, bits)) return false;
        if ((r | g | b) == 0 || (r & g) || (r & b) || (g & b) || ((r | g | b) & alpha))
            return false;
        return set_masked(info, masked_name(h, alpha), bits, r, g, b, alpha);
    }
    if (h.pf_flags & pf_alpha_only) {
        // Alpha only: shown as black with the stored alpha.
        if (alpha == 0 || !mask_ok(alpha, bits)) return false;
        return set_masked(info, bits == 8 && alpha == 0xFF ? "A8" : "alpha", bits, 0, 0, 0, alpha);
    }
    return false;
}

// Reads the DX10 extension header; false for a layout or shape not read here.
bool read_dx10(byte_reader& in, uint32_t depth, surface_info& info) {
    in.seek(header_size);
    const uint32_t format = in.u32le();
    const uint32_t dimension = in.u32le();
    const uint32_t misc = in.u32le();
    const uint32_t array_size = in.u32le();
    if (dimension < dimension_1d || dimension > dimension_3d) return false;
    if (array_size == 0) return false;
    if (dimension == dimension_3d && (array_size != 1 || depth == 0)) return false;
    if ((misc & misc_texturecube) && dimension == dimension_3d) return false;
    return dxgi_layout(format, info);
}

// Bytes of one surface of the layout, or 0 when it does not fit in size_t.
size_t surface_bytes(const surface_info& info) {
    const uint64_t w = static_cast<uint64_t>(info.width), h = static_cast<uint64_t>(info.height);
    if (info.kind == surface_kind::masked) return static_cast<size_t>(w * h * (info.bit_count / 8));
    const uint64_t block_bytes =
        info.kind == surface_kind::bc1 || info.kind == surface_kind::bc4 ? 8 : 16;
    return static_cast<size_t>(((w + 3) / 4) * ((h + 3) / 4) * block_bytes);
}

}  // namespace

int read_surface_info(byte_reader& in, surface_info& info, int level) {
    in.seek(0);
    if (in.u8() != 'D' || in.u8() != 'D' || in.u8() != 'S' || in.u8() != ' ') return -1;
    if (in.size() < header_size) return -2;
    const header h = read_header(in);
    if (h.size != 124 || h.pf_size != 32) return -2;
    if (!image_size_ok(h.width, h.height)) return -2;
    // No surface of the largest size has more than 16 levels; a count far
    // beyond that is damage, not a texture.
    if (h.mipmaps > 32) return -2;
    // A volume needs at least one slice and a cube map at least one face.
    if ((h.caps2 & caps2_volume) && h.depth == 0) return -2;
    if ((h.caps2 & caps2_cubemap) && (h.caps2 & caps2_cube_faces) == 0) return -2;

    surface_info s;
    s.width = static_cast<int>(h.width);
    s.height = static_cast<int>(h.height);
    s.mipmaps = h.mipmaps > 1 ? static_cast<int>(h.mipmaps) : 1;
    s.data_offset = header_size;
    if (h.pf_flags & pf_fourcc) {
        if (h.pf_fourcc == fourcc('D', 'X', '1', '0')) {
            if (!read_dx10(in, h.depth, s)) return -2;
            s.data_offset += dx10_extension_size;
        } else if (!find_block_layout(fourcc_layouts, h.pf_fourcc, s)) {
            return -2;
        }
    } else if (!legacy_masked_layout(h, s)) {
        return -2;
    }
    if (level < 0 || level >= s.mipmaps) return -2;
    // Levels follow one another; the offset of the one wanted is the sum of
    // the sizes above it (none of which can overflow: each is below the file's).
    for (int k = 0; k < level; ++k) {
        const size_t bytes = surface_bytes(s);
        if (s.data_offset > in.size() || bytes > in.size() - s.data_offset) return -2;
        s.data_offset += bytes;
        s.width = std::max(1, s.width / 2);
        s.height = std::max(1, s.height / 2);
    }
    s.data_size = surface_bytes(s);
    if (s.data_offset > in.size() || s.data_size > in.size() - s.data_offset) return -2;
    info = std::move(s);
    return 0;
}

int describe_dds(std::span<const uint8_t> bytes, surface_info& info) {
    byte_reader in(bytes);
    return read_surface_info(in, info);
}

}  // namespace mevra::dds
