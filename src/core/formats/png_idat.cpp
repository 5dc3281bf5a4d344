#include "formats/png_idat.h"
#include "platform/thread_start.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "formats/deflate_join.h"
#include "platform/image_limits.h"
#include "formats/png_filter.h"
#include "platform/worker_threads.h"

namespace mevra::png {
namespace {

// libdeflate's level 7 compresses photographs a little better than zlib's
// default level 6 in about two thirds of its processor time; level 8 gains
// another 3 % for more than twice the time.
constexpr int compression_level = 7;

// Below this many bytes of rows a second thread costs more than it saves.
constexpr size_t two_thread_bytes = 1 << 20;

struct compressor_deleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
struct decompressor_deleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

uint32_t be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Filters rows [first, last) into `out`, which holds all filtered rows.
void filter_rows(const idat_layout& l, const row_source& rows, size_t first, size_t last,
                 uint8_t* out) {
    std::vector<uint8_t> above(l.row_bytes, 0), current(l.row_bytes), scratch(l.row_bytes + 1);
    if (first > 0) rows(first - 1, above.data());
    for (size_t y = first; y < last; ++y) {
        rows(y, current.data());
        uint8_t* f = out + y * (l.row_bytes + 1);
        if (l.adaptive)
            filter_row_adaptive(current.data(), above.data(), l.row_bytes, l.bpp, f,
                                scratch.data());
        else
            filter_row(filter_none, current.data(), above.data(), l.row_bytes, l.bpp, f);
        above.swap(current);
    }
}

// Raw deflate of `size` bytes into `out`; false when memory ran out.
bool compress_raw(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    std::unique_ptr<libdeflate_compressor, compressor_deleter> compressor(
        libdeflate_alloc_compressor(compression_level));
    if (!compressor) return false;
    // Room for the worst case, left uninitialised: the pages the stream does
    // not reach are never touched and so cost no memory.
    const size_t bound = libdeflate_deflate_compress_bound(compressor.get(), size);
    std::unique_ptr<uint8_t[]> room(new (std::nothrow) uint8_t[bound]);
    if (!room) return false;
    const size_t n = libdeflate_deflate_compress(compressor.get(), data, size, room.get(), bound);
    if (n == 0) return false;
    out.assign(room.get(), room.get() + n);
    return true;
}

}  // namespace

bool encode_idat(const idat_layout& l, const row_source& rows, std::vector<uint8_t>& stream) {
    stream.clear();
    const size_t stride = l.row_bytes + 1;
    const size_t filtered_size = l.height * stride;
    // Large images are cut into two strips, each filtered and compressed on
    // its own thread; the first strip's stream is then made continuable and
    // the second's follows it. The first strip is a little shorter because
    // it also carries the joining walk.
    size_t middle = filtered_size >= two_thread_bytes ? l.height * 15 / 32 : l.height;
    if (middle == 0) middle = l.height;
    try {
        std::vector<uint8_t> filtered(filtered_size);
        std::vector<uint8_t> first, second;
        bool first_ok = true;
        auto first_strip = [&] {
            try {
                filter_rows(l, rows, 0, middle, filtered.data());
                first_ok = compress_raw(filtered.data(), middle * stride, first) &&
                           (middle == l.height || deflate_join::make_continuable(first));
            } catch (const std::bad_alloc&) {
                first_ok = false;
            }
        };
        std::thread helper;
        if (middle < l.height && worker_threads() > 1) start_thread(helper, first_strip);
        if (!helper.joinable()) first_strip();
        bool second_ok = true;
        try {
            if (middle < l.height) {
                filter_rows(l, rows, middle, l.height, filtered.data());
                second_ok = compress_raw(filtered.data() + middle * stride,
                                         (l.height - middle) * stride, second);
            }
        } catch (const std::bad_alloc&) {
            second_ok = false;  // the helper must still be joined
        }
        if (helper.joinable()) helper.join();
        if (!first_ok || !second_ok) return false;

        const uint32_t adler = libdeflate_adler32(1, filtered.data(), filtered_size);
        filtered = {};
        stream.reserve(2 + first.size() + second.size() + 4);
        stream.push_back(0x78);  // deflate, 32 KiB window
        stream.push_back(0x9C);  // default level; the header's check bits
        stream.insert(stream.end(), first.begin(), first.end());
        stream.insert(stream.end(), second.begin(), second.end());
        for (int shift = 24; shift >= 0; shift -= 8)
            stream.push_back(static_cast<uint8_t>(adler >> shift));
    } catch (const std::bad_alloc&) {
        stream.clear();
        return false;
    }
    return true;
}

bool decode_idat(std::span<const uint8_t> file, size_t data_start, const idat_layout& l,
                 std::vector<uint8_t>& out) {
    // The chunk header (length, "IDAT") sits just before the data.
    if (data_start < 8 || data_start > file.size()) return false;
    size_t header = data_start - 8;
    std::vector<uint8_t> joined;
    std::span<const uint8_t> stream;
    int chunks = 0;
    try {
        while (header <= file.size() && file.size() - header >= 12 &&
               std::memcmp(file.data() + header + 4, "IDAT", 4) == 0) {
            const size_t length = be32(file.data() + header);
            if (length > file.size() - header - 12) return false;  // cut short
            const uint8_t* type_and_data = file.data() + header + 4;
            const uint32_t crc = be32(type_and_data + 4 + length);
            if (libdeflate_crc32(0, type_and_data, 4 + length) != crc) return false;
            const std::span<const uint8_t> data(type_and_data + 4, length);
            // One chunk is decompressed where it lies; several are joined first.
            if (chunks == 1) joined.assign(stream.begin(), stream.end());
            if (chunks >= 1)
                joined.insert(joined.end(), data.begin(), data.end());
            else
                stream = data;
            ++chunks;
            header += 12 + length;
        }
        if (chunks == 0) return false;
        if (chunks > 1) stream = joined;

        const size_t stride = l.row_bytes + 1;
        if (!deflate_can_fill(stream.size(), uint64_t{l.height} * stride)) return false;
        out.resize(l.height * stride);
        std::unique_ptr<libdeflate_decompressor, decompressor_deleter> d(
            libdeflate_alloc_decompressor());
        if (!d) return false;
        size_t produced = 0;
        if (libdeflate_zlib_decompress(d.get(), stream.data(), stream.size(), out.data(),
                                       out.size(), &produced) != LIBDEFLATE_SUCCESS ||
            produced != out.size())
            return false;
        joined = {};

        const std::vector<uint8_t> zeros(l.row_bytes, 0);
        const uint8_t* above = zeros.data();
        for (size_t y = 0; y < l.height; ++y) {
            uint8_t* row = out.data() + y * stride;
            if (!unfilter_row(row, above, l.row_bytes, l.bpp)) return false;
            above = row + 1;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace mevra::png
