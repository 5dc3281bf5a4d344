#include "video/frame_bitmap.h"

#include <cstdlib>
#include <cstring>

namespace mevra {
namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}
uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

int64_t dib_stride(int64_t width, int bits) {
    return (width * bits + 31) / 32 * 4;
}

int64_t dib_table_bytes(const dib_header& h) {
    if (h.bit_count == 8 && h.clr_used == 0) return 256 * 4;
    return int64_t{h.clr_used} * 4;
}

bool read_dib_header(std::span<const uint8_t> dib, dib_header& h) {
    if (dib.size() < dib_info_header_size) return false;
    const uint8_t* p = dib.data();
    h.size = le32(p);
    h.width = static_cast<int32_t>(le32(p + 4));
    h.height = static_cast<int32_t>(le32(p + 8));
    h.planes = le16(p + 12);
    h.bit_count = le16(p + 14);
    h.compression = le32(p + 16);
    h.size_image = le32(p + 20);
    h.x_pels_per_meter = static_cast<int32_t>(le32(p + 24));
    h.y_pels_per_meter = static_cast<int32_t>(le32(p + 28));
    h.clr_used = le32(p + 32);
    h.clr_important = le32(p + 36);
    return true;
}

std::vector<uint8_t> make_dib(int width, int height, int bits, std::span<const uint32_t> colours) {
    const int64_t rows = std::llabs(height);
    const int64_t stride = dib_stride(width, bits);
    std::vector<uint8_t> dib(
        static_cast<size_t>(dib_info_header_size + colours.size() * 4 + stride * rows));
    uint8_t* p = dib.data();
    put32(p, dib_info_header_size);
    put32(p + 4, static_cast<uint32_t>(width));
    put32(p + 8, static_cast<uint32_t>(height));
    p[12] = 1;
    p[14] = static_cast<uint8_t>(bits);
    put32(p + 20, static_cast<uint32_t>(stride * rows));
    put32(p + 32, static_cast<uint32_t>(colours.size()));
    uint8_t* table = p + dib_info_header_size;
    for (size_t i = 0; i < colours.size(); ++i)
        put32(table + i * 4, colours[i] & 0x00FFFFFFu);
    return dib;
}

}  // namespace mevra
