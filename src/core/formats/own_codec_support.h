#pragma once
// Pieces shared by the BMP, PNG and TGA readers and writers.
//
// Readers decode into a `decoded_image` first and hand it to the object only
// when the whole file has been taken, so a declined or refused file leaves the
// object exactly as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "image/image_info.h"

namespace mevra::codec {

struct decoded_image {
    int width = 0;
    int height = 0;
    int image_type = IMGTYP_NONE;
    int color_num = 0;
    std::vector<uint32_t> argb;      // true-colour pixels
    std::vector<int32_t> index;      // palette indices
    std::vector<uint32_t> color;     // 256-entry colour table
    std::vector<int32_t> color_cnt;  // 256 counts

    // Allocates the buffers for an indexed picture: indices, a zeroed
    // 256-entry colour table and zeroed counts.
    void start_indexed(int w, int h, int type);
    // Allocates the ARGB buffer of a true-colour picture.
    void start_argb(int w, int h);
    // Stores an index and counts it; callers pass indices below 256.
    void put_index(size_t pos, uint32_t idx) {
        index[pos] = static_cast<int32_t>(idx);
        ++color_cnt[idx];
    }
};

// Moves a finished picture into the object with the given file format.
void commit(image_info& img, decoded_image&& pic, int format);

// ARGB from blue, green, red and alpha bytes.
inline uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// A 16-bit 5-5-5 value as opaque ARGB; each channel is the 5-bit value << 3.
inline uint32_t argb_from_555(uint16_t v) {
    return bgra(static_cast<uint8_t>((v & 31) << 3), static_cast<uint8_t>(((v >> 5) & 31) << 3),
                static_cast<uint8_t>(((v >> 10) & 31) << 3), 255);
}

// --- writing ---

// Whether the object holds a picture whose buffers match its size and type,
// so a writer can walk it without checks. Gives the reason when not.
bool image_is_writable(const image_info& img, std::string& error);

// Colour-table entry i, or 0 for a slot the table does not have.
inline uint32_t table_color(const image_info& img, size_t i) {
    return i < img.color.size() ? img.color[i] : 0;
}

inline void put_u8(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
}
inline void put_u16le(std::vector<uint8_t>& out, uint32_t v) {
    put_u8(out, v);
    put_u8(out, v >> 8);
}
inline void put_u32le(std::vector<uint8_t>& out, uint32_t v) {
    put_u16le(out, v);
    put_u16le(out, v >> 16);
}

// Writes the finished file; 0 written, -1 with the reason.
int save_file_bytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace mevra::codec
