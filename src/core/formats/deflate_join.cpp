#include "formats/deflate_join.h"

#include <zlib.h>

#include <climits>
#include <cstring>

namespace mevra::deflate_join {
namespace {

// zlib reports the unused bits of the last byte it took; the next block
// header starts right after the used ones.
struct bit_position {
    size_t byte = 0;
    int bit = 0;
};

bit_position next_header(const z_stream& z, const uint8_t* start) {
    const size_t consumed = static_cast<size_t>(z.next_in - start);
    const int unused = z.data_type & 7;
    if (unused == 0) return {consumed, 0};
    return {consumed - 1, 8 - unused};
}

}  // namespace

bool make_continuable(std::vector<uint8_t>& stream) {
    if (stream.empty() || stream.size() > UINT_MAX) return false;
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit2(&z, -15) != Z_OK) return false;  // raw deflate
    // The inflated bytes are not needed, only the block boundaries.
    static thread_local uint8_t sink[1 << 16];
    z.next_in = stream.data();
    z.avail_in = static_cast<uInt>(stream.size());
    bit_position last_header{0, 0};
    int padding = -1;  // zero bits after the final end-of-block code
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = sink;
        z.avail_out = sizeof sink;
        result = inflate(&z, Z_BLOCK);
        // Bit 128: stopped after an end-of-block code (the first block's
        // header needs no stop: it is at bit 0). Bit 64: that block was the
        // final one; zlib drops the padding after this stop, so it is
        // counted here, before the stream's end is reported.
        if (result != Z_OK || !(z.data_type & 128)) continue;
        if (z.data_type & 64)
            padding = z.data_type & 7;
        else
            last_header = next_header(z, stream.data());
    }
    const bool complete = result == Z_STREAM_END && z.avail_in == 0 && padding >= 0;
    inflateEnd(&z);
    if (!complete) return false;

    stream[last_header.byte] &= static_cast<uint8_t>(~(1u << last_header.bit));
    // An empty stored block: header bits 0, 00 (in the padding when it has
    // room, else in a new zero byte), then the length 0 and its complement.
    if (padding > 0) stream.back() &= static_cast<uint8_t>((1u << (8 - padding)) - 1);
    if (padding < 3) stream.push_back(0x00);
    const uint8_t empty_stored[4] = {0x00, 0x00, 0xFF, 0xFF};
    stream.insert(stream.end(), empty_stored, empty_stored + 4);
    return true;
}

}  // namespace mevra::deflate_join
