#pragma once
// The five PNG row filters (none, sub, up, average, Paeth), forwards for the
// writer and backwards for the reader. A filtered row is the filter byte
// followed by row_bytes bytes; `bpp` is the distance in bytes to the byte of
// the same channel in the pixel to the left (at least 1).
#include <cstddef>
#include <cstdint>

namespace mevra::png {

enum filter_type : uint8_t { filter_none, filter_sub, filter_up, filter_average, filter_paeth };

// Writes `type` and the filtered row to out[0 .. row_bytes]. `prev` is the
// unfiltered row above, all zeros for the top row.
void filter_row(filter_type type, const uint8_t* row, const uint8_t* prev, size_t row_bytes,
                size_t bpp, uint8_t* out);

// Filters with the type whose output has the smallest sum of magnitudes (the
// bytes read as signed), the usual choice for true-colour images; ties go to
// the lower type. `scratch` holds row_bytes + 1 bytes.
void filter_row_adaptive(const uint8_t* row, const uint8_t* prev, size_t row_bytes, size_t bpp,
                         uint8_t* out, uint8_t* scratch);

// Undoes the filter of one row in place: `row` holds the filter byte and
// row_bytes filtered bytes, and becomes the unfiltered bytes at row + 1.
// `prev` is the unfiltered row above (row_bytes bytes), all zeros for the
// top row. Returns false for an unknown filter type.
bool unfilter_row(uint8_t* row, const uint8_t* prev, size_t row_bytes, size_t bpp);

}  // namespace mevra::png
