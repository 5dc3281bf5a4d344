#pragma once
// A small DDS reader for the tests, written from the file format alone and
// independent of the encoder: it reads the header, then decodes either masked
// uncompressed pixels or DXT3 / DXT5 blocks to ARGB.
#include <cstdint>
#include <string>
#include <vector>

namespace mevra::test {

struct dds_image {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
};

inline uint32_t le16(const std::vector<uint8_t>& f, size_t at) {
    return f.at(at) | uint32_t{f.at(at + 1)} << 8;
}
inline uint32_t le32(const std::vector<uint8_t>& f, size_t at) {
    return le16(f, at) | le16(f, at + 2) << 16;
}

// Scales a masked channel up to 8 bits by bit replication (how readers
// expand 4-, 5- and 6-bit values).
inline uint32_t expand_masked(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 255;
    int shift = 0, bits = 0;
    while (!(mask >> shift & 1))
        ++shift;
    while (uint64_t{mask} >> (shift + bits) & 1)
        ++bits;
    uint32_t v = (pixel & mask) >> shift;
    uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += bits)
        out = (out << bits) | v;
    return bits >= 8 ? v : out >> ((8 + bits - 1) / bits * bits - 8);
}

inline uint32_t rgb565_to_argb(uint32_t v) {
    const uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return 0xFF000000u | ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 |
           ((b << 3) | (b >> 2));
}

// Mixes two colours channel by channel: (wa × a + wb × b) / (wa + wb).
inline uint32_t mix(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb) {
    uint32_t out = 0;
    for (int s = 0; s < 32; s += 8)
        out |= (((a >> s & 255) * wa + (b >> s & 255) * wb) / (wa + wb)) << s;
    return out;
}

// The four colours of a DXT3/DXT5 colour block; these formats always use the
// four-colour interpretation whatever the endpoint order.
inline void block_colours(uint32_t c0, uint32_t c1, uint32_t out[4]) {
    out[0] = rgb565_to_argb(c0);
    out[1] = rgb565_to_argb(c1);
    out[2] = mix(out[0], out[1], 2, 1);
    out[3] = mix(out[0], out[1], 1, 2);
}

inline void dxt5_alpha_levels(uint32_t a0, uint32_t a1, uint32_t out[8]) {
    out[0] = a0;
    out[1] = a1;
    if (a0 > a1) {
        for (uint32_t k = 1; k < 7; ++k)
            out[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    } else {
        for (uint32_t k = 1; k < 5; ++k)
            out[k + 1] = ((5 - k) * a0 + k * a1) / 5;
        out[6] = 0;
        out[7] = 255;
    }
}

// Decodes a whole file; returns false (with a reason) when it is not a
// well-formed single-surface file of a supported layout.
inline bool decode_dds(const std::vector<uint8_t>& f, dds_image& img, std::string& why) {
    if (f.size() < 128 || f[0] != 'D' || f[1] != 'D' || f[2] != 'S' || f[3] != ' ') {
        why = "no DDS magic";
        return false;
    }
    img.height = static_cast<int>(le32(f, 12));
    img.width = static_cast<int>(le32(f, 16));
    const uint32_t pf_flags = le32(f, 80), fourcc = le32(f, 84);
    const size_t w = static_cast<size_t>(img.width), h = static_cast<size_t>(img.height);
    img.argb.assign(w * h, 0);
    if (pf_flags & 0x4) {
        const bool dxt5 = fourcc == 0x35545844u, dxt3 = fourcc == 0x33545844u;
        if (!dxt5 && !dxt3) {
            why = "unsupported four-character code";
            return false;
        }
        if (f.size() != 128 + w * h) {
            why = "wrong data size";
            return false;
        }
        size_t at = 128;
        for (size_t by = 0; by < h / 4; ++by)
            for (size_t bx = 0; bx < w / 4; ++bx, at += 16) {
                uint32_t alpha[16];
                if (dxt3) {
                    for (int p = 0; p < 16; ++p)
                        alpha[p] = ((f[at + p / 2] >> (4 * (p & 1))) & 15) * 17;
                } else {
                    uint32_t levels[8];
                    dxt5_alpha_levels(f[at], f[at + 1], levels);
                    uint64_t bits = 0;
                    for (int k = 0; k < 6; ++k)
                        bits |= uint64_t{f[at + 2 + k]} << (8 * k);
                    for (int p = 0; p < 16; ++p)
                        alpha[p] = levels[(bits >> (3 * p)) & 7];
                }
                uint32_t colours[4];
                block_colours(le16(f, at + 8), le16(f, at + 10), colours);
                const uint32_t codes = le32(f, at + 12);
                for (int p = 0; p < 16; ++p) {
                    const size_t x = bx * 4 + p % 4, y = by * 4 + p / 4;
                    img.argb[y * w + x] = (colours[(codes >> (2 * p)) & 3] & 0xFFFFFFu) | alpha[p]
                                                                                              << 24;
                }
            }
        return true;
    }
    if (!(pf_flags & 0x40)) {
        why = "not an RGB layout";
        return false;
    }
    const uint32_t bits = le32(f, 88);
    const uint32_t rmask = le32(f, 92), gmask = le32(f, 96), bmask = le32(f, 100);
    const uint32_t amask = (pf_flags & 0x1) ? le32(f, 104) : 0;
    const size_t bytes = bits / 8;
    if ((bits != 16 && bits != 32) || f.size() != 128 + w * h * bytes) {
        why = "wrong pixel size or data size";
        return false;
    }
    for (size_t i = 0; i < w * h; ++i) {
        const uint32_t v = bytes == 4 ? le32(f, 128 + i * 4) : le16(f, 128 + i * 2);
        img.argb[i] = expand_masked(v, amask) << 24 | expand_masked(v, rmask) << 16 |
                      expand_masked(v, gmask) << 8 | expand_masked(v, bmask);
    }
    return true;
}

}  // namespace mevra::test
