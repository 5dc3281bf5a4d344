#pragma once
// The image data of a PNG file (the zlib stream of filtered rows that the
// IDAT chunks carry), made and taken apart with libdeflate, which compresses
// and decompresses whole buffers several times faster than zlib's streams.
// libpng still writes and reads every other part of the file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace mevra::png {

// Puts the unfiltered bytes of row y (row_bytes of them) at `row`.
using row_source = std::function<void(size_t y, uint8_t* row)>;

struct idat_layout {
    size_t height = 0;
    size_t row_bytes = 0;  // without the filter byte
    size_t bpp = 1;        // bytes per pixel, at least 1
    bool adaptive = true;  // choose a filter per row; otherwise no filtering
};

// The zlib stream of the filtered rows. Large images are filtered and
// compressed in two strips on two threads, joined into one stream. Returns
// false when memory ran out; `stream` is then empty.
bool encode_idat(const idat_layout& layout, const row_source& rows, std::vector<uint8_t>& stream);

// The image data of a non-interlaced file whose first IDAT chunk's data
// starts at `data_start` in `file`: the consecutive IDAT chunks are checked
// (lengths, CRCs), joined and decompressed into height × (row_bytes + 1)
// bytes, then unfiltered in place. Each row then starts at
// out + y × (row_bytes + 1) + 1. Returns false for anything unexpected; the
// caller then lets libpng read the file and judge it.
bool decode_idat(std::span<const uint8_t> file, size_t data_start, const idat_layout& layout,
                 std::vector<uint8_t>& out);

}  // namespace mevra::png
