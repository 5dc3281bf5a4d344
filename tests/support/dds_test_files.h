#pragma once
// Builds DDS files of any layout byte by byte, written from the published
// header layout: the 128-byte header (magic included), an optional 20-byte
// DX10 header, then the pixel data as given. Used by the DDS reader tests
// and by the tool that writes the fuzzer's DDS seeds.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace mevra::test {

struct dds_layout {
    int width = 4;
    int height = 4;
    uint32_t pf_flags = 0;  // 0x1 alpha, 0x2 alpha only, 0x4 FourCC, 0x40 RGB, 0x20000 luminance
    std::string fourcc;     // four characters when pf_flags has 0x4
    uint32_t bit_count = 0;
    uint32_t masks[4] = {};  // red, green, blue, alpha
    uint32_t mipmaps = 0;
    uint32_t depth = 0;
    uint32_t caps2 = 0;
    // DX10 header, written when fourcc is "DX10".
    uint32_t dxgi_format = 0;
    uint32_t dimension = 3;  // 2D texture
    uint32_t misc = 0;
    uint32_t array_size = 1;
};

inline void put_le32_at(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    // Also shows GCC's buffer analysis (-O2 and up) that the bytes exist.
    if (at > f.size() || f.size() - at < 4) throw std::out_of_range("put_le32_at");
    for (int i = 0; i < 4; ++i)
        f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::vector<uint8_t> dds_file(const dds_layout& l, const std::vector<uint8_t>& data) {
    const bool dx10 = l.fourcc == "DX10";
    std::vector<uint8_t> f(dx10 ? 148 : 128, 0);
    f[0] = 'D', f[1] = 'D', f[2] = 'S', f[3] = ' ';
    put_le32_at(f, 4, 124);
    put_le32_at(f, 8, 0x1007 | (l.mipmaps ? 0x20000u : 0u));
    put_le32_at(f, 12, static_cast<uint32_t>(l.height));
    put_le32_at(f, 16, static_cast<uint32_t>(l.width));
    put_le32_at(f, 24, l.depth);
    put_le32_at(f, 28, l.mipmaps);
    put_le32_at(f, 76, 32);
    put_le32_at(f, 80, l.pf_flags);
    for (size_t i = 0; i < 4 && i < l.fourcc.size(); ++i)
        f[84 + i] = static_cast<uint8_t>(l.fourcc[i]);
    put_le32_at(f, 88, l.bit_count);
    for (size_t i = 0; i < 4; ++i)
        put_le32_at(f, 92 + 4 * i, l.masks[i]);
    put_le32_at(f, 108, 0x1000);
    put_le32_at(f, 112, l.caps2);
    if (dx10) {
        put_le32_at(f, 128, l.dxgi_format);
        put_le32_at(f, 132, l.dimension);
        put_le32_at(f, 136, l.misc);
        put_le32_at(f, 140, l.array_size);
    }
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

inline dds_layout block_layout(const std::string& fourcc, int w = 4, int h = 4) {
    dds_layout l;
    l.width = w, l.height = h, l.pf_flags = 0x4, l.fourcc = fourcc;
    return l;
}

inline dds_layout dx10_layout(uint32_t dxgi_format, int w = 4, int h = 4) {
    dds_layout l = block_layout("DX10", w, h);
    l.dxgi_format = dxgi_format;
    return l;
}

inline dds_layout masked_layout(uint32_t flags, uint32_t bits, uint32_t r, uint32_t g, uint32_t b,
                                uint32_t a, int w = 4, int h = 4) {
    dds_layout l;
    l.width = w, l.height = h, l.pf_flags = flags, l.bit_count = bits;
    l.masks[0] = r, l.masks[1] = g, l.masks[2] = b, l.masks[3] = a;
    return l;
}

}  // namespace mevra::test
